#include "results/session_list.h"

#include <algorithm>
#include <charconv>

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

}  // namespace

std::string SessionFileName(int number) {
  return number == kFirstSession ? std::string("Result.lst") : "Result " + std::to_string(number) + ".lst";
}

std::string SessionNameKey(int number) { return "Session " + std::to_string(number) + " Name"; }
std::string SessionEventKey(int number) { return "Session " + std::to_string(number) + " Event"; }

SessionList SessionList::Read(const Reader& read) {
  SessionList list;
  std::vector<int> numbers{kFirstSession};
  if (const std::optional<std::string> stored = read(kSessionsKey)) {
    std::string_view rest = *stored;
    while (!rest.empty()) {
      const std::size_t comma = rest.find(',');
      const std::optional<int> n = Number(rest.substr(0, comma));
      if (n && std::find(numbers.begin(), numbers.end(), *n) == numbers.end()) numbers.push_back(*n);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
  }
  for (const int n : numbers) {
    Session session;
    session.number = n;
    const std::optional<std::string> name = read(SessionNameKey(n));
    const std::optional<std::string> event = read(SessionEventKey(n));
    const bool first = n == kFirstSession;
    session.name = name && !name->empty() ? *name
                   : first                ? std::string(kFirstSessionName)
                                          : "Session " + std::to_string(n);
    session.event = event && !event->empty() ? *event : std::string(kFirstSessionEvent);
    list.sessions_.push_back(std::move(session));
  }
  if (const std::optional<std::string> current = read(kCurrentSessionKey)) {
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
    keys.emplace_back(SessionNameKey(s.number), s.name);
    keys.emplace_back(SessionEventKey(s.number), s.event);
  }
  keys.emplace_back(std::string(kSessionsKey), numbers);
  keys.emplace_back(std::string(kCurrentSessionKey), std::to_string(Current().number));
  return keys;
}

std::optional<std::size_t> SessionList::IndexOf(int number) const {
  for (std::size_t i = 0; i < sessions_.size(); ++i) {
    if (sessions_[i].number == number) return i;
  }
  return std::nullopt;
}

std::optional<int> SessionList::Add(std::string name, std::string event) {
  for (int n = kFirstSession + 1; n <= kLastSessionNumber; ++n) {
    if (IndexOf(n)) continue;
    sessions_.push_back(Session{n, OneLine(std::move(name)), OneLine(std::move(event))});
    return n;
  }
  return std::nullopt;
}

bool SessionList::Rename(int number, std::string name, std::string event) {
  const std::optional<std::size_t> i = IndexOf(number);
  if (!i || name.empty()) return false;
  sessions_[*i].name = OneLine(std::move(name));
  sessions_[*i].event = OneLine(std::move(event));
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
