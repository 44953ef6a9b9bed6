#include "exchange/cstimer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "scramble/events.h"
#include "exchange/json_text.h"

namespace tw::exchange {

namespace {

using Json = nlohmann::json;

constexpr std::string_view kSessionKey = "session";
constexpr std::string_view kProperties = "properties";
constexpr std::string_view kSessionData = "sessionData";
constexpr std::string_view kSessionCount = "sessionN";
constexpr std::string_view kCurrentSession = "session";
constexpr std::string_view kName = "name";
constexpr std::string_view kOptions = "opt";
constexpr std::string_view kScrambleType = "scrType";
constexpr std::string_view kOlderScrambleType = "scr";
constexpr std::string_view kRank = "rank";

// csTimer's penalties, in milliseconds added; a DNF is -1.
constexpr std::int64_t kNoPenalty = 0;
constexpr std::int64_t kPlusTwoMillis = 2000;
constexpr std::int64_t kDnfPenalty = -1;
constexpr std::int64_t kMillisPerSecond = 1000;
constexpr std::int64_t kMillisPerHundredth = 10;
constexpr std::int64_t kPlusTwoHundredths = 200;
constexpr std::int64_t kHundredthsPerSecond = 100;
// About the length of a solve in the file, to reserve the text at once.
constexpr std::size_t kSolveGuess = 112;

// Past 2^53 a double no longer holds every whole number.
constexpr double kLargestWholeDouble = 9007199254740992.0;

// Indexes into a solve and into its times.
constexpr std::size_t kTimes = 0, kScramble = 1, kComment = 2, kStart = 3;
constexpr std::size_t kPenalty = 0, kTotal = 1;

ImportResult Fail(std::string message) {
  ImportResult result;
  result.error = std::move(message);
  return result;
}

// A number of the file as a whole number; csTimer writes some as fractions.
std::optional<std::int64_t> WholeNumber(const Json& value) {
  if (value.is_number_integer()) return value.get<std::int64_t>();
  if (!value.is_number_float()) return std::nullopt;
  const double number = std::floor(value.get<double>());
  if (!std::isfinite(number) || std::abs(number) > kLargestWholeDouble) {
    return std::nullopt;
  }
  return static_cast<std::int64_t>(number);
}

// The parser's message without its "[json.exception.parse_error.101] " prefix.
std::string JsonProblem(const Json::exception& error) {
  std::string_view message = error.what();
  const std::size_t prefixEnd = message.find("] ");
  if (message.starts_with("[json.") && prefixEnd != std::string_view::npos) message.remove_prefix(prefixEnd + 2);
  return std::string(message);
}

// csTimer keeps some values as JSON text inside a string (sessionData always, the
// sessions and properties in older files); either form reads.
const Json* Unwrapped(const Json& value, Json& parsed) {
  if (!value.is_string()) return &value;
  const std::string& text = value.get_ref<const std::string&>();
  // Parsed from characters as the whole file is, so that one parser is compiled in.
  parsed = Json::parse(text.data(), text.data() + text.size(), nullptr, /*allow_exceptions=*/false);
  return parsed.is_discarded() ? nullptr : &parsed;
}

// csTimer shows session names as HTML, so it keeps them escaped.
std::string HtmlUnescaped(std::string_view text) {
  static constexpr std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&#x27;", '\''}};
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&') {
      for (const auto& [entity, c] : kEntities) {
        if (text.substr(i).starts_with(entity)) {
          plain += c;
          i += entity.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) plain += text[i++];
  }
  return plain;
}

std::string HtmlEscaped(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default: escaped += c; break;
    }
  }
  return escaped;
}

struct FoundSession {
  int number = 0;
  double rank = 0;
  const Json* solves = nullptr;
  std::string name;  // UTF-8
  std::string_view event;
};

std::optional<int> SessionNumber(std::string_view key) {
  if (!key.starts_with(kSessionKey)) return std::nullopt;
  key.remove_prefix(kSessionKey.size());
  int number = 0;
  const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
  if (key.empty() || error != std::errc() || end != key.data() + key.size() || number < 1) return std::nullopt;
  return number;
}

// The names, scramble types and ranks of the sessions, by number; null when the file has none.
Json SessionData(const Json& root) {
  const auto properties = root.find(kProperties);
  if (properties == root.end()) return nullptr;
  Json parsedProperties;
  const Json* props = Unwrapped(*properties, parsedProperties);
  if (props == nullptr || !props->is_object()) return nullptr;
  const auto data = props->find(kSessionData);
  if (data == props->end()) return nullptr;
  Json parsedData;
  const Json* sessionData = Unwrapped(*data, parsedData);
  if (sessionData == nullptr || !sessionData->is_object()) return nullptr;
  return *sessionData;
}

void Describe(FoundSession& session, const Json& sessionData) {
  session.name = std::to_string(session.number);
  session.rank = session.number;
  session.event = scramble::kDefaultEventId;
  if (!sessionData.is_object()) return;
  const auto entry = sessionData.find(std::to_string(session.number));
  if (entry == sessionData.end() || !entry->is_object()) return;
  const auto name = entry->find(kName);
  if (name != entry->end() && name->is_string() && !name->get_ref<const std::string&>().empty()) {
    session.name = HtmlUnescaped(name->get_ref<const std::string&>());
  } else if (name != entry->end() && name->is_number()) {
    session.name = name->dump();
  }
  const auto rank = entry->find(kRank);
  if (rank != entry->end() && rank->is_number()) session.rank = rank->get<double>();
  std::string_view type;
  const auto options = entry->find(kOptions);
  if (options != entry->end() && options->is_object()) {
    const auto scrambleType = options->find(kScrambleType);
    if (scrambleType != options->end() && scrambleType->is_string()) type = scrambleType->get_ref<const std::string&>();
  }
  const auto olderType = entry->find(kOlderScrambleType);
  if (type.empty() && olderType != entry->end() && olderType->is_string()) {
    type = olderType->get_ref<const std::string&>();
  }
  session.event = scramble::EventOfCsTimerType(type);
}

// "a string", "an array", ...: what a value of the wrong type is.
std::string TypeOf(const Json& value) {
  const std::string name = value.type_name();
  return (name == "array" || name == "object" ? "an " : "a ") + name;
}

// A solve's scramble or comment: text, or nothing when it is missing or null.
std::optional<std::string> ReadText(const Json& solve, std::size_t index, std::string_view field,
                                    std::string_view& text) {
  if (index >= solve.size() || solve[index].is_null()) return std::nullopt;
  if (!solve[index].is_string()) return "the " + std::string(field) + " is " + TypeOf(solve[index]) + " where text belongs";
  text = solve[index].get_ref<const std::string&>();
  return std::nullopt;
}

// Reads one solve into the builder, or says which of its fields is wrong.
std::optional<std::string> ReadSolve(const Json& solve, std::size_t session, ImportBuilder& builder) {
  if (!solve.is_array()) return "it is " + TypeOf(solve) + " where a solve's list [times, scramble, comment, start] belongs";
  if (solve.empty() || !solve[kTimes].is_array()) return "it holds no times [penalty, milliseconds]";
  const Json& times = solve[kTimes];
  if (times.size() <= kTotal) return "its times hold no time";
  const std::optional<std::int64_t> penalty = WholeNumber(times[kPenalty]);
  if (!penalty) return "the penalty is " + TypeOf(times[kPenalty]) + " where a number belongs";
  // With several phases the total comes first, the phases after it.
  const std::optional<std::int64_t> measured = WholeNumber(times[kTotal]);
  if (!measured) return "the time is " + TypeOf(times[kTotal]) + " where a number of milliseconds belongs";
  if (*measured < 0) return "a negative time";
  ImportedSolve read;
  std::int64_t logged = *measured;
  if (*penalty == kPlusTwoMillis) {
    read.penalty = results::Penalty::PlusTwo;
    logged += kPlusTwoMillis;  // the log's +2 holds the two seconds
  } else if (*penalty == kDnfPenalty) {
    read.penalty = results::Penalty::Dnf;
  } else if (*penalty != kNoPenalty) {
    return "a penalty of " + std::to_string(*penalty) + " ms, which is neither +2 nor DNF";
  }
  const std::optional<results::Hundredths> time = HundredthsOfMillis(logged);
  if (!time) return "a time longer than 99 hours";
  read.time = *time;
  if (auto problem = ReadText(solve, kScramble, "scramble", read.scramble)) return problem;
  if (auto problem = ReadText(solve, kComment, "comment", read.comment)) return problem;
  if (kStart < solve.size() && !solve[kStart].is_null() && !solve[kStart].is_number()) {
    return "the start is " + TypeOf(solve[kStart]) + " where a number of seconds belongs";
  }
  const std::optional<std::int64_t> start = kStart < solve.size() ? WholeNumber(solve[kStart]) : std::nullopt;
  const std::int64_t stop =
      start && *start > 0 ? *start + *measured / kMillisPerSecond : builder.Options().undatedStop;
  read.stop = builder.Options().zone.toLocal(stop);
  builder.AddSolve(session, read);
  return std::nullopt;
}

// [[penalty, measured milliseconds], scramble, comment, start]: csTimer keeps the
// measured time and the penalty apart, and the start where the log has the stop.
void AppendSolve(std::string& text, const results::Solve& solve, const ExportOptions& options) {
  const bool plusTwo = solve.penalty == results::Penalty::PlusTwo;
  const results::Hundredths measured = plusTwo ? std::max<results::Hundredths>(solve.time - kPlusTwoHundredths, 0)
                                               : solve.time;
  const std::int64_t penalty = plusTwo                                     ? kPlusTwoMillis
                               : solve.penalty == results::Penalty::Dnf ? kDnfPenalty
                                                                         : kNoPenalty;
  text += "[[";
  AppendJsonNumber(text, penalty);
  text += ',';
  AppendJsonNumber(text, measured * kMillisPerHundredth);
  text += "],";
  AppendJsonString(text, ConvertText(options.toUtf8, solve.scramble));
  text += ',';
  AppendJsonString(text, ConvertText(options.toUtf8, solve.comment));
  text += ',';
  AppendJsonNumber(text, options.zone.toUnix(solve.when) - measured / kHundredthsPerSecond);
  text += ']';
}

}  // namespace

ImportResult ImportCsTimer(std::string_view text, const ImportOptions& options) {
  text = WithoutBom(text);
  Json root;
  try {
    root = Json::parse(text.data(), text.data() + text.size());
  } catch (const Json::exception& error) {
    return Fail("It is not a csTimer export: it is not valid JSON (" + JsonProblem(error) + ").");
  }
  if (!root.is_object()) return Fail("It is not a csTimer export: it holds no JSON object.");

  const Json sessionData = SessionData(root);
  std::vector<FoundSession> found;
  std::vector<Json> unwrapped;  // sessions an older csTimer kept as text
  unwrapped.reserve(root.size());
  std::size_t total = 0;
  for (const auto& [key, value] : root.items()) {
    const std::optional<int> number = SessionNumber(key);
    if (!number) continue;
    FoundSession session;
    session.number = *number;
    Describe(session, sessionData);
    unwrapped.emplace_back();
    session.solves = Unwrapped(value, unwrapped.back());
    if (session.solves == nullptr || !session.solves->is_array()) {
      return Fail("It is not a csTimer export: \"" + std::string(key) + "\" is not a list of solves.");
    }
    total += session.solves->size();
    found.push_back(std::move(session));
  }
  if (found.empty()) return Fail("It is not a csTimer export: it holds no session (\"session1\", ...).");
  std::stable_sort(found.begin(), found.end(), [](const FoundSession& a, const FoundSession& b) {
    return a.rank != b.rank ? a.rank < b.rank : a.number < b.number;
  });

  ImportBuilder builder(options, std::string(kCsTimerFormat));
  std::size_t done = 0;
  for (const FoundSession& session : found) {
    const std::size_t index = builder.AddSession(session.name, session.event);
    std::size_t number = 0;
    for (const Json& solve : *session.solves) {
      ++number;
      if (const std::optional<std::string> problem = ReadSolve(solve, index, builder)) {
        builder.LeaveOut("session \"" + session.name + "\", solve " + std::to_string(number), *problem);
      }
      if (!builder.Step(++done, total)) return Fail(std::string(kStoppedMessage));
    }
  }
  return builder.Finish();
}

ExportResult ExportCsTimer(std::span<const ExportSession> sessions, const ExportOptions& options) {
  ExportResult result;
  std::size_t total = 0;
  for (const ExportSession& session : sessions) total += session.lines.size();
  std::size_t done = 0;
  const std::size_t every = std::max<std::size_t>(options.progressEvery, 1);

  // The solves are written as text as they are read; the properties, a few values,
  // through the library. csTimer knows its file by the first session coming first.
  std::string& text = result.text;
  text.reserve(total * kSolveGuess);
  text += '{';
  Json sessionData = Json::object();
  int number = 0;
  for (const ExportSession& session : sessions) {
    ++number;
    if (number > 1) text += ',';
    AppendJsonString(text, std::string(kSessionKey) + std::to_string(number));
    text += ":[";
    bool first = true;
    for (const std::string& line : session.lines) {
      if (options.progress && ++done % every == 0 && !options.progress(done, total)) return StoppedExport();
      const std::optional<results::Solve> solve = results::Parse(line);
      if (!solve) {
        ++result.skipped;
        continue;
      }
      if (!first) text += ',';
      first = false;
      AppendSolve(text, *solve, options);
      ++result.solves;
    }
    text += ']';
    sessionData[std::to_string(number)] = {
        {kName, HtmlEscaped(ConvertText(options.toUtf8, session.name))},
        {kOptions, {{kScrambleType, scramble::CsTimerTypeOfEvent(session.event)}}},
        {kRank, number}};
  }
  if (number == 0) {
    text += "\"session1\":[]";
    number = 1;
  }
  const Json properties = {
      {kSessionCount, number},
      {kCurrentSession, 1},
      {kSessionData, sessionData.dump(-1, ' ', false, Json::error_handler_t::replace)}};
  text += ",\"properties\":";
  text += properties.dump(-1, ' ', false, Json::error_handler_t::replace);
  text += '}';
  if (options.progress) options.progress(total, total);
  return result;
}

}  // namespace tw::exchange
