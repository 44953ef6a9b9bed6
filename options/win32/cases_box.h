#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "options/win32/small_box.h"
#include "scramble/events.h"
#include "toolkit/win32/gdi_objects.h"

namespace tw::scramble::training {
class LastLayerCases;
}

namespace tw::options {

// The small modal box of the session box's Cases...: the PLL or OLL cases of a training
// session, each by its name with a picture of it from above (and the picture in words
// for a screen reader), ticked for those the session drills. Space ticks the case with
// the focus and Ctrl+A ticks them all; OK with none ticked only beeps.
class CasesBox : public SmallBox {
 public:
  // `kind` is 333pll or 333oll.
  explicit CasesBox(scramble::Event kind);
  ~CasesBox() override;

  // The cases ticked with OK, kept as case_choice.h keeps them ("" for all); nothing
  // with Cancel, Escape or the title bar's close. `current` is the session's choice.
  std::optional<std::string> Ask(HWND owner, const std::string& current);

  HWND List() const { return list_; }
  bool Ticked(int item) const;
  void Tick(int item, bool ticked);
  void TickAll();

  // The box being asked, while it is on the screen; null otherwise.
  static CasesBox* Current();

 protected:
  void OnCreate() override;
  void OnOk() override;
  HWND FirstFocus() const override { return list_; }
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FillList(const std::vector<bool>& chosen);

  const scramble::training::LastLayerCases& cases_;
  bool orientation_;
  HWND list_ = nullptr;
  HIMAGELIST images_ = nullptr;
  std::optional<std::string> answer_;
};

// Asks through a CasesBox owned by `owner`, or through the answer a test gives.
std::optional<std::string> AskForCases(HWND owner, scramble::Event kind, const std::string& current);
void SetCasesAnswerForTesting(std::function<std::optional<std::string>(scramble::Event kind, const std::string& current)> answer);

}  // namespace tw::options
