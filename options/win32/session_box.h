#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "options/win32/small_box.h"

namespace tw::options {

// A session as the user names it: its name in the log's code page and its WCA event id.
struct SessionChoice {
  std::string name;
  std::string event;
  int cubes = 0;  // Multi-Blind's number of cubes; 0 for any other event
  std::string cases = {};  // a PLL or OLL training session's cases ("" for all, and for other events)
  bool operator==(const SessionChoice&) const = default;
};

// The small modal box of New... and Rename...: a one-line name, which may not be empty,
// and the event from the WCA's list (the 3x3x3 training kinds after it, PLL and OLL
// with their Cases...). Enter is OK and Escape is Cancel, as in any
// dialog; closing it any way gives the keys back to the window it was asked from.
class SessionBox : public SmallBox {
 public:
  explicit SessionBox(bool isNew);

  // The name (one line, trimmed) and event with OK; nothing with Cancel, Escape or the
  // title bar's close.
  std::optional<SessionChoice> Ask(HWND owner, const SessionChoice& current);

  HWND NameEdit() const { return name_; }
  HWND EventList() const { return event_; }
  HWND CubesEdit() const { return cubes_; }
  HWND CasesButton() const { return casesButton_; }

  // The box being asked, while it is on the screen; null otherwise.
  static SessionBox* Current();

 protected:
  void OnCreate() override;
  void OnOk() override;
  void OnFieldCommand(int id, int code, HWND control) override;
  HWND FirstFocus() const override { return name_; }

 private:
  std::string TypedName() const;
  std::string ChosenEvent() const;
  // The number of cubes typed, or 0 when it is none a Multi-Blind attempt may have.
  int TypedCubes() const;
  void ShowCubesFor(const std::string& event);
  void ChooseCases();

  HWND name_ = nullptr;
  HWND event_ = nullptr;
  HWND cubes_ = nullptr;
  HWND casesButton_ = nullptr;
  // The cases chosen so far, for the event they were chosen for.
  std::string cases_;
  std::string casesEvent_;
  // The event ids in the list's order.
  std::vector<std::string> events_;
  std::optional<SessionChoice> answer_;
};

// Asks through a SessionBox owned by `owner`, or through the answer a test gives.
std::optional<SessionChoice> AskForSession(HWND owner, bool isNew, const SessionChoice& current);
void SetSessionAnswerForTesting(
    std::function<std::optional<SessionChoice>(bool isNew, const SessionChoice& current)> answer);

}  // namespace tw::options
