#pragma once
// The sessions: one result log each, with a name and a WCA event. The first is
// Result.lst itself, named "3x3x3" until the user renames it, so a user who never
// makes a second session sees nothing new. The others are "Result 2.lst",
// "Result 3.lst", ... beside it. The list lives in the settings file under keys that
// are written only once a session is made or changed (the keys are declared in the
// settings schema).
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
  int cubes = 0;      // a Multi-Blind session's number of cubes; 0 for any other event
  std::string cases = {};  // the PLL or OLL cases a training session drills ("Ua,Ub,T"), "" for all
};

inline constexpr int kFirstSession = 1;
inline constexpr int kLastSessionNumber = 999;
inline constexpr std::string_view kFirstSessionName = "3x3x3";
inline constexpr std::string_view kMultiBlindEvent = "333mbf";

// "Result.lst" for the first session, "Result <n>.lst" for the others.
std::string SessionFileName(int number);
// The session a file of this folder is the log of ("Result 7.lst": 7, the letters in
// any case, as the file system compares them), or nothing.
std::optional<int> SessionOfFile(std::string_view fileName);

class SessionList {
 public:
  using Reader = std::function<std::optional<std::string>(std::string_view key)>;
  // What else there is: the names of every key of the settings file and of the files
  // beside Result.lst. A session whose keys or log are there belongs to the list.
  struct Present {
    std::vector<std::string> keys;
    std::vector<std::string> files;
  };

  // The list as stored; missing keys mean the first session alone. Damaged keys are
  // read as well as they can be: numbers out of range, repeated or unreadable are
  // left out, the first session is always there and always first, a current session
  // that is not in the list is the first, and a session without a name gets one.
  // Sessions the stored list leaves out although their keys or logs are present are
  // found again, after the others in the order of their numbers.
  static SessionList Read(const Reader& read, const Present& present = {});
  // Every key and value that stores the list as it is now.
  std::vector<std::pair<std::string, std::string>> Keys() const;
  // The keys a session had, which go with it.
  static std::vector<std::string> KeysOf(int number);
  // How many sessions Read found again that the stored list left out.
  std::size_t FoundAgain() const { return foundAgain_; }

  const std::vector<Session>& All() const { return sessions_; }
  std::size_t CurrentIndex() const { return current_; }
  const Session& Current() const { return sessions_[current_]; }
  std::optional<std::size_t> IndexOf(int number) const;

  // A new session after the others, with the lowest number no session has and `taken`
  // does not refuse (a log of that number already there); nothing when every number
  // is taken. `cubes` counts only for a Multi-Blind session (outside 2 to 100: 2).
  std::optional<int> Add(std::string name, std::string event, int cubes = 0,
                         const std::function<bool(int number)>& taken = {});
  // A Multi-Blind session renamed without a count (0) keeps its own.
  bool Rename(int number, std::string name, std::string event, int cubes = 0);
  bool SetCases(int number, std::string cases);
  // The first session cannot be removed (Reset empties it instead).
  bool Remove(int number);
  bool SetCurrent(std::size_t index);

 private:
  std::vector<Session> sessions_;
  std::size_t current_ = 0;
  std::size_t foundAgain_ = 0;
};

}  // namespace tw::results
