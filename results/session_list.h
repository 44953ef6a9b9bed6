#pragma once
// The sessions: one result log each, with a name and a WCA event. The first is
// Result.lst itself, named "3x3x3" until the user renames it, so a user who never
// makes a second session sees nothing new. The others are "Result 2.lst",
// "Result 3.lst", ... beside it. The list lives in the settings file under keys that
// are written only once a session is made or changed.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tw::results {

struct Session {
  int number = 1;  // 1 is Result.lst; the number names the file and never changes
  std::string name;
  std::string event;  // a WCA event id: "333", "222", "pyram", ...
};

inline constexpr int kFirstSession = 1;
inline constexpr int kLastSessionNumber = 999;
inline constexpr std::string_view kFirstSessionName = "3x3x3";
inline constexpr std::string_view kFirstSessionEvent = "333";

// "Result.lst" for the first session, "Result <n>.lst" for the others.
std::string SessionFileName(int number);

// The settings keys of the list: "Sessions" (the numbers in order, "1,2,5"),
// "Session <n> Name", "Session <n> Event" and "Current Session".
inline constexpr std::string_view kSessionsKey = "Sessions";
inline constexpr std::string_view kCurrentSessionKey = "Current Session";
std::string SessionNameKey(int number);
std::string SessionEventKey(int number);

class SessionList {
 public:
  using Reader = std::function<std::optional<std::string>(std::string_view key)>;

  // The list as stored; missing keys mean the first session alone. Damaged keys are
  // read as well as they can be: numbers out of range, repeated or unreadable are
  // left out, the first session is always there and always first, a current session
  // that is not in the list is the first, and a session without a name gets one.
  static SessionList Read(const Reader& read);
  // Every key and value that stores the list as it is now.
  std::vector<std::pair<std::string, std::string>> Keys() const;

  const std::vector<Session>& All() const { return sessions_; }
  std::size_t CurrentIndex() const { return current_; }
  const Session& Current() const { return sessions_[current_]; }
  std::optional<std::size_t> IndexOf(int number) const;

  // A new session after the others, with the lowest number no session has; nothing
  // when every number is taken.
  std::optional<int> Add(std::string name, std::string event);
  bool Rename(int number, std::string name, std::string event);
  // The first session cannot be removed (Reset empties it instead).
  bool Remove(int number);
  bool SetCurrent(std::size_t index);

 private:
  std::vector<Session> sessions_;
  std::size_t current_ = 0;
};

}  // namespace tw::results
