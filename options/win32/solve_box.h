#pragma once
#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "options/solve_details.h"
#include "options/win32/small_box.h"
#include "picture/puzzle_net.h"
#include "results/solve.h"
#include "scramble/events.h"
#include "toolkit/win32/gdi_objects.h"

namespace tw::options {

// What the solve box's OK gives: the penalty picked and the comment typed.
struct SolveEdit {
  results::Penalty penalty = results::Penalty::None;
  std::string comment;
  bool operator==(const SolveEdit&) const = default;
};

// The small modal box of a solve's details, opened from a line of the Result panel:
// the time as it counts, the date it stopped, the scramble with the puzzle as it
// left it, and the penalty and the comment, which may be changed. The time follows
// the penalty picked. Enter is OK and Escape is Cancel, as in any dialog; the box
// only asks, and its caller writes the answer through the book.
class SolveBox : public SmallBox {
 public:
  // `event` is the session's: it reads the scramble and draws its picture.
  SolveBox(SolveDetails details, scramble::Event event);

  // The edit with OK (even when nothing changed), nothing with Cancel, Escape or the
  // title bar's close.
  std::optional<SolveEdit> Ask(HWND owner);

  HWND TimeText() const { return time_; }
  HWND DateText() const { return date_; }
  HWND ScrambleText() const { return scramble_; }
  HWND CommentEdit() const { return comment_; }
  HWND PenaltyButton(results::Penalty penalty) const { return penalties_[static_cast<std::size_t>(penalty)]; }
  // The picture's control, and what it shows (empty without a scramble that reads).
  HWND Picture() const { return picture_; }
  const picture::NetDrawing& Drawing() const { return drawing_; }

  // The box being asked, while it is on the screen; null otherwise.
  static SolveBox* Current();

 protected:
  void OnCreate() override;
  void OnOk() override;
  void OnFieldCommand(int id, int code, HWND control) override;
  HWND FirstFocus() const override;

 private:
  results::Penalty PickedPenalty() const;
  void ShowTime();
  void ShowPicture();

  SolveDetails details_;
  picture::NetDrawing drawing_;
  HWND time_ = nullptr;
  HWND date_ = nullptr;
  HWND scramble_ = nullptr;
  HWND comment_ = nullptr;
  HWND picture_ = nullptr;
  std::array<HWND, 3> penalties_{};
  GdiObject<HBITMAP> bitmap_;
  std::optional<SolveEdit> answer_;
};

// Asks through a SolveBox owned by `owner`, or through the answer a test gives.
std::optional<SolveEdit> AskForSolveEdit(HWND owner, const SolveDetails& details, scramble::Event event);
void SetSolveAnswerForTesting(std::function<std::optional<SolveEdit>(const SolveDetails& details)> answer);

}  // namespace tw::options
