#include "exchange/cubedesk.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "scramble/events.h"

namespace tw::exchange {

namespace {

using Json = nlohmann::json;

constexpr std::string_view kSessions = "sessions";
constexpr std::string_view kSolves = "solves";
constexpr std::int64_t kMillisPerSecond = 1000;
constexpr std::int64_t kPlusTwoMillis = 2000;
// Past this many seconds a time is longer than the log holds anyway.
constexpr double kLongestSeconds = 1e9;

// CubeDesk's cube types are the WCA's ids but for the blindfolded cube's.
constexpr std::pair<std::string_view, std::string_view> kCubeTypes[] = {{"333bl", "333bf"}};

ImportResult Fail(std::string message) {
  ImportResult result;
  result.error = std::move(message);
  return result;
}

std::string_view EventOfCubeType(std::string_view type) {
  for (const auto& [cubeType, event] : kCubeTypes) {
    if (cubeType == type) return event;
  }
  for (const scramble::EventRow& event : scramble::EventRows()) {
    if (event.id == type) return event.id;
  }
  return scramble::kDefaultEventId;
}

// "a string", "a boolean", ...: what a value of the wrong type is.
std::string TypeOf(const Json& value) {
  const std::string name = value.type_name();
  return (name == "array" || name == "object" ? "an " : "a ") + name;
}

std::string WrongType(std::string_view field, const Json& value, std::string_view belongs) {
  return "\"" + std::string(field) + "\" is " + TypeOf(value) + " where " + std::string(belongs) + " belongs";
}

// A field of a solve read as its type, or why it is not. Missing and null are nothing.
class SolveFields {
 public:
  explicit SolveFields(const Json& solve) : solve_(solve) {}

  const std::optional<std::string>& Problem() const { return problem_; }

  std::optional<double> Number(std::string_view field) {
    const Json* value = Find(field);
    if (!value) return std::nullopt;
    if (value->is_number() && std::isfinite(value->get<double>())) return value->get<double>();
    Note(WrongType(field, *value, "a number"));
    return std::nullopt;
  }

  bool Flag(std::string_view field) {
    const Json* value = Find(field);
    if (!value) return false;
    if (value->is_boolean()) return value->get<bool>();
    // Some back-ups keep flags as 0 and 1.
    if (value->is_number_integer() && (value->get<std::int64_t>() == 0 || value->get<std::int64_t>() == 1)) {
      return value->get<std::int64_t>() == 1;
    }
    Note(WrongType(field, *value, "true or false"));
    return false;
  }

  std::string_view Text(std::string_view field) {
    const Json* value = Find(field);
    if (!value) return {};
    if (value->is_string()) return value->get_ref<const std::string&>();
    Note(WrongType(field, *value, "text"));
    return {};
  }

 private:
  const Json* Find(std::string_view field) const {
    const auto found = solve_.find(field);
    return found == solve_.end() || found->is_null() ? nullptr : &*found;
  }
  void Note(std::string problem) {
    if (!problem_) problem_ = std::move(problem);
  }

  const Json& solve_;
  std::optional<std::string> problem_;
};

std::optional<std::int64_t> Millis(std::optional<double> seconds) {
  if (!seconds || *seconds < 0 || *seconds > kLongestSeconds) return std::nullopt;
  return std::llround(*seconds * kMillisPerSecond);
}

// Reads one solve, or says which field is wrong.
std::optional<std::string> ReadSolve(const Json& solve, std::size_t session, ImportBuilder& builder) {
  if (!solve.is_object()) return "it is " + TypeOf(solve) + " where a solve's object belongs";
  SolveFields fields(solve);
  const std::optional<double> time = fields.Number("time");
  const std::optional<double> raw = fields.Number("raw_time");
  const bool dnf = fields.Flag("dnf") || (time && *time == -1);
  const bool plusTwo = fields.Flag("plus_two");
  const std::optional<double> started = fields.Number("started_at");
  const std::optional<double> ended = fields.Number("ended_at");
  ImportedSolve read;
  read.scramble = fields.Text("scramble");
  read.comment = fields.Text("notes");
  if (fields.Problem()) return fields.Problem();

  const std::optional<std::int64_t> timeMillis = Millis(time);
  const std::optional<std::int64_t> rawMillis = Millis(raw);
  std::optional<std::int64_t> logged;
  if (dnf) {
    read.penalty = results::Penalty::Dnf;
    logged = rawMillis ? rawMillis : std::optional<std::int64_t>(0);
  } else if (plusTwo) {
    read.penalty = results::Penalty::PlusTwo;
    logged = timeMillis ? timeMillis : rawMillis ? std::optional<std::int64_t>(*rawMillis + kPlusTwoMillis) : std::nullopt;
  } else {
    logged = timeMillis ? timeMillis : rawMillis;
  }
  if (!logged) return "it has no \"time\" of zero seconds or more";
  const std::optional<results::Hundredths> hundredths = HundredthsOfMillis(*logged);
  if (!hundredths) return "its \"time\" is longer than 99 hours";
  read.time = *hundredths;
  const std::int64_t measured = rawMillis ? *rawMillis : *logged;
  const ImportOptions& options = builder.Options();
  std::int64_t stop = options.undatedStop;
  if (ended && *ended > 0) {
    stop = static_cast<std::int64_t>(*ended) / kMillisPerSecond;
  } else if (started && *started > 0) {
    stop = (static_cast<std::int64_t>(*started) + measured) / kMillisPerSecond;
  }
  read.stop = options.zone.toLocal(stop);
  builder.AddSolve(session, read);
  return std::nullopt;
}

// A session's id as the solves name it: text or a number.
std::string IdOf(const Json& value) { return value.is_string() ? value.get<std::string>() : value.dump(); }

struct FoundSession {
  std::string id;
  std::string name;  // UTF-8
  double order = 0;
  std::vector<const Json*> solves;
};

std::vector<FoundSession> ListedSessions(const Json& sessions) {
  std::vector<FoundSession> found;
  if (!sessions.is_array()) return found;
  for (const Json& entry : sessions) {
    if (!entry.is_object() || !entry.contains("id")) continue;
    FoundSession session;
    session.id = IdOf(entry["id"]);
    const auto name = entry.find("name");
    session.name = name != entry.end() && name->is_string() ? name->get<std::string>() : "";
    const auto order = entry.find("order");
    session.order = order != entry.end() && order->is_number() ? order->get<double>() : static_cast<double>(found.size());
    found.push_back(std::move(session));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const FoundSession& a, const FoundSession& b) { return a.order < b.order; });
  return found;
}

std::string_view CubeTypeOf(const Json& solve) {
  if (!solve.is_object()) return {};
  const auto type = solve.find("cube_type");
  return type != solve.end() && type->is_string() ? std::string_view(type->get_ref<const std::string&>())
                                                  : std::string_view();
}

}  // namespace

bool LooksLikeCubeDesk(std::string_view text) {
  const std::size_t open = text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  if (open == std::string_view::npos || text[open] != '{') return false;
  const std::size_t key = text.find_first_not_of(" \t\r\n", open + 1);
  if (key == std::string_view::npos || text[key] != '"') return false;
  const std::string_view first = text.substr(key + 1);
  const bool csTimer = first.starts_with("properties\"") ||
                       (first.starts_with("session") && first.size() > 7 && first[7] >= '0' && first[7] <= '9');
  return !csTimer && text.find("\"solves\"") != std::string_view::npos;
}

ImportResult ImportCubeDesk(std::string_view text, const ImportOptions& options) {
  text = WithoutBom(text);
  const Json root = Json::parse(text.data(), text.data() + text.size(), nullptr, /*allow_exceptions=*/false);
  if (root.is_discarded()) return Fail("It is not a CubeDesk back-up: it is not valid JSON.");
  if (!root.is_object()) return Fail("It is not a CubeDesk back-up: it holds no JSON object.");
  const auto solves = root.find(kSolves);
  if (solves == root.end() || !solves->is_array()) {
    return Fail("It is not a CubeDesk back-up: \"solves\" is not a list of solves.");
  }
  const auto sessionList = root.find(kSessions);
  std::vector<FoundSession> sessions = sessionList != root.end() ? ListedSessions(*sessionList)
                                                                 : std::vector<FoundSession>();
  std::map<std::string, std::size_t> byId;
  for (std::size_t i = 0; i < sessions.size(); ++i) byId.emplace(sessions[i].id, i);
  // Solves of no session listed: one session for each cube type, after the others.
  std::map<std::string, std::size_t> byType;
  for (const Json& solve : *solves) {
    const auto id = solve.is_object() ? solve.find("session_id") : solve.end();
    if (solve.is_object() && id != solve.end() && !id->is_null()) {
      if (const auto known = byId.find(IdOf(*id)); known != byId.end()) {
        sessions[known->second].solves.push_back(&solve);
        continue;
      }
    }
    const std::string type(EventOfCubeType(CubeTypeOf(solve)));
    auto [entry, added] = byType.try_emplace(type, sessions.size());
    if (added) {
      FoundSession unlisted;
      unlisted.name = scramble::EventName(type);
      sessions.push_back(std::move(unlisted));
    }
    sessions[entry->second].solves.push_back(&solve);
  }

  ImportBuilder builder(options, std::string(kCubeDeskFormat));
  std::size_t done = 0;
  for (const FoundSession& session : sessions) {
    const std::string_view event = session.solves.empty() ? scramble::kDefaultEventId : EventOfCubeType(CubeTypeOf(*session.solves.front()));
    const std::size_t index = builder.AddSession(session.name, event);
    std::size_t number = 0;
    for (const Json* solve : session.solves) {
      ++number;
      if (const std::optional<std::string> problem = ReadSolve(*solve, index, builder)) {
        builder.LeaveOut("session \"" + session.name + "\", solve " + std::to_string(number), *problem);
      }
      if (!builder.Step(++done, solves->size())) return Fail(std::string(kStoppedMessage));
    }
  }
  return builder.Finish();
}

}  // namespace tw::exchange
