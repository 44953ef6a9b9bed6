#include "results/session_list.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

#include "scramble/events.h"
#include "storage/settings_schema.h"

namespace tw::results {

namespace {

std::optional<int> Number(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < kFirstSession || value > kLastSessionNumber) return std::nullopt;
  return value;
}

// Names and events are single-line values of the settings file.
std::string OneLine(std::string text) {
  std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }, ' ');
  return text;
}

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The cube count's range is the older global key's.
constexpr settings::NumberKey kCubes{settings::kSessionCubes.field, settings::kMultiBlindCubes.minimum,
                                     settings::kMultiBlindCubes.maximum, std::nullopt};

// A Multi-Blind session keeps a count within the range; any other session none.
int CubesFor(const std::string& event, int cubes) {
  if (event != kMultiBlindEvent) return 0;
  if (cubes < kCubes.minimum || cubes > kCubes.maximum) return *settings::kMultiBlindCubes.fallback;
  return cubes;
}

// Every session number the keys and the logs present name, in order.
std::set<int> PresentNumbers(const SessionList::Present& present) {
  std::set<int> numbers;
  const auto take = [&numbers](std::optional<int> n) {
    if (n && *n >= kFirstSession && *n <= kLastSessionNumber) numbers.insert(*n);
  };
  for (const std::string& key : present.keys) {
    for (const settings::SessionKey* kind : settings::kSessionKeys) take(kind->NumberIn(key));
  }
  for (const std::string& file : present.files) take(SessionOfFile(file));
  return numbers;
}

}  // namespace

std::string SessionFileName(int number) {
  return number == kFirstSession ? std::string("Result.lst") : "Result " + std::to_string(number) + ".lst";
}

std::optional<int> SessionOfFile(std::string_view fileName) {
  constexpr std::string_view kPrefix = "Result ";
  constexpr std::string_view kSuffix = ".lst";
  if (SameLetters(fileName, SessionFileName(kFirstSession))) return kFirstSession;
  if (fileName.size() <= kPrefix.size() + kSuffix.size()) return std::nullopt;
  if (!SameLetters(fileName.substr(0, kPrefix.size()), kPrefix)) return std::nullopt;
  if (!SameLetters(fileName.substr(fileName.size() - kSuffix.size()), kSuffix)) return std::nullopt;
  const std::string_view digits = fileName.substr(kPrefix.size(), fileName.size() - kPrefix.size() - kSuffix.size());
  const std::optional<int> number = Number(digits);
  // Only the name SessionFileName gives: "Result 02.lst" and "Result  2.lst" are no session's.
  if (!number || *number == kFirstSession || std::to_string(*number) != digits) return std::nullopt;
  return number;
}

SessionList SessionList::Read(const Reader& read, const Present& present) {
  SessionList list;
  std::vector<int> numbers{kFirstSession};
  const auto listed = [&numbers](int n) { return std::find(numbers.begin(), numbers.end(), n) != numbers.end(); };
  if (const std::optional<std::string> stored = read(settings::kSessions)) {
    std::string_view rest = *stored;
    while (!rest.empty()) {
      const std::size_t comma = rest.find(',');
      const std::optional<int> n = Number(rest.substr(0, comma));
      if (n && !listed(*n)) numbers.push_back(*n);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
  }
  for (const int n : PresentNumbers(present)) {
    if (listed(n)) continue;
    numbers.push_back(n);
    ++list.foundAgain_;
  }
  // The count a Multi-Blind session had before each session kept its own.
  const std::optional<std::string> olderCubes = read(settings::kMultiBlindCubes.name);
  const int olderCount = settings::ParseNumber(settings::kMultiBlindCubes, olderCubes.value_or("")).value_or(0);
  for (const int n : numbers) {
    Session session;
    session.number = n;
    const std::optional<std::string> name = read(settings::kSessionName.For(n));
    const std::optional<std::string> event = read(settings::kSessionEvent.For(n));
    const bool first = n == kFirstSession;
    session.name = name && !name->empty() ? *name
                   : first                ? std::string(kFirstSessionName)
                                          : "Session " + std::to_string(n);
    session.event = event && !event->empty() ? *event : std::string(scramble::kDefaultEventId);
    const std::optional<std::string> cubes = read(settings::kSessionCubes.For(n));
    session.cubes = CubesFor(session.event, settings::ParseNumber(kCubes, cubes.value_or("")).value_or(olderCount));
    session.cases = OneLine(read(settings::kSessionCases.For(n)).value_or(""));
    list.sessions_.push_back(std::move(session));
  }
  if (const std::optional<std::string> current = read(settings::kCurrentSession)) {
    if (const std::optional<int> n = Number(*current)) list.current_ = list.IndexOf(*n).value_or(0);
  }
  return list;
}

std::vector<std::pair<std::string, std::string>> SessionList::Keys() const {
  std::vector<std::pair<std::string, std::string>> keys;
  std::string numbers;
  for (const Session& s : sessions_) {
    if (!numbers.empty()) numbers += ',';
    numbers += std::to_string(s.number);
    keys.emplace_back(settings::kSessionName.For(s.number), s.name);
    keys.emplace_back(settings::kSessionEvent.For(s.number), s.event);
    if (s.cubes > 0) keys.emplace_back(settings::kSessionCubes.For(s.number), std::to_string(s.cubes));
    if (!s.cases.empty()) keys.emplace_back(settings::kSessionCases.For(s.number), s.cases);
  }
  keys.emplace_back(std::string(settings::kSessions), numbers);
  keys.emplace_back(std::string(settings::kCurrentSession), std::to_string(Current().number));
  return keys;
}

std::vector<std::string> SessionList::KeysOf(int number) {
  std::vector<std::string> keys;
  for (const settings::SessionKey* kind : settings::kSessionKeys) keys.push_back(kind->For(number));
  return keys;
}

std::optional<std::size_t> SessionList::IndexOf(int number) const {
  for (std::size_t i = 0; i < sessions_.size(); ++i) {
    if (sessions_[i].number == number) return i;
  }
  return std::nullopt;
}

std::optional<int> SessionList::Add(std::string name, std::string event, int cubes,
                                    const std::function<bool(int number)>& taken) {
  for (int n = kFirstSession + 1; n <= kLastSessionNumber; ++n) {
    if (IndexOf(n) || (taken && taken(n))) continue;
    event = OneLine(std::move(event));
    cubes = CubesFor(event, cubes);
    sessions_.push_back(Session{n, OneLine(std::move(name)), std::move(event), cubes});
    return n;
  }
  return std::nullopt;
}

bool SessionList::Rename(int number, std::string name, std::string event, int cubes) {
  const std::optional<std::size_t> i = IndexOf(number);
  if (!i || name.empty()) return false;
  Session& session = sessions_[*i];
  session.name = OneLine(std::move(name));
  session.event = OneLine(std::move(event));
  // A count not given is the session's own, when it stays Multi-Blind.
  session.cubes = CubesFor(session.event, cubes > 0 ? cubes : session.cubes);
  return true;
}

bool SessionList::SetCases(int number, std::string cases) {
  const std::optional<std::size_t> i = IndexOf(number);
  if (!i) return false;
  sessions_[*i].cases = OneLine(std::move(cases));
  return true;
}

bool SessionList::Remove(int number) {
  const std::optional<std::size_t> i = IndexOf(number);
  if (!i || number == kFirstSession) return false;
  const int current = Current().number;
  sessions_.erase(sessions_.begin() + static_cast<std::ptrdiff_t>(*i));
  current_ = IndexOf(current).value_or(0);
  return true;
}

bool SessionList::SetCurrent(std::size_t index) {
  if (index >= sessions_.size()) return false;
  current_ = index;
  return true;
}

}  // namespace tw::results
