#include "options/win32/work_progress.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "resources/options_layout.h"
#include "toolkit/win32/services.h"

namespace tw::options {

namespace {

namespace pb = layout::options::progress_box;
namespace lo = layout::options;

constexpr int kBarId = 100;

FormDesign ProgressDesign(const char* caption) {
  return FormDesign{caption,
                    pb::kClientWidth,
                    pb::kClientHeight,
                    WS_POPUP | WS_CAPTION,
                    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                    GetSysColor(COLOR_BTNFACE),
                    FontSpec{lo::kFontFace, lo::kFontCentiPoints, lo::kRegular},
                    0,
                    false,
                    false};
}

std::function<void(WorkProgress&)> g_step_for_testing;

}  // namespace

ProgressBox::ProgressBox(const char* caption) : Form(ProgressDesign(caption)) {}

void ProgressBox::OnCreate() {
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  bar_ = AddControl(PROGRESS_CLASSA, "", WS_VISIBLE, 0, kBarId, pb::kMargin, pb::kBarTop,
                    pb::kClientWidth - 2 * pb::kMargin, pb::kBarHeight);
  SendMessageA(bar_, PBM_SETRANGE32, 0, pb::kBarSteps);
  cancel_ = AddControl("BUTTON", "Cancel", WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 0, IDCANCEL,
                       (pb::kClientWidth - pb::kButtonWidth) / 2, pb::kButtonTop, pb::kButtonWidth, pb::kButtonHeight);
}

void ProgressBox::OnCommand(int id, int code, HWND /*control*/) {
  // Escape and Enter alike: the only button is Cancel.
  if ((id == IDCANCEL || id == IDOK) && code == BN_CLICKED) cancelled_ = true;
}

LRESULT ProgressBox::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Alt+F4 asks to close: the work stops and the box goes with it, not before.
  if (message == WM_CLOSE) {
    cancelled_ = true;
    return 0;
  }
  return Form::WndProc(message, wParam, lParam);
}

WorkProgress::WorkProgress(HWND owner, const char* caption) : owner_(owner), caption_(caption), start_(NowMs()) {}

WorkProgress::~WorkProgress() { Close(); }

bool WorkProgress::Step(std::size_t done, std::size_t total) {
  if (cancelled_) return false;
  if (!box_) {
    if (NowMs() - start_ < pb::kShowAfterMs) return true;
    Open();
  }
  if (box_ && box_->Bar()) {
    const std::size_t position = total == 0 ? 0 : std::min(done, total) * pb::kBarSteps / total;
    SendMessageA(box_->Bar(), PBM_SETPOS, position, 0);
  }
  Pump();
  if (g_step_for_testing) g_step_for_testing(*this);
  if (box_ && box_->Cancelled()) cancelled_ = true;
  return !cancelled_;
}

void WorkProgress::Open() {
  box_ = std::make_unique<ProgressBox>(caption_);
  if (!box_->Load(owner_)) {
    box_.reset();
    return;
  }
  // Centred over the window the work was started from.
  RECT over, mine;
  if (owner_ && GetWindowRect(owner_, &over) && GetWindowRect(box_->Handle(), &mine)) {
    SetWindowPos(box_->Handle(), nullptr, (over.left + over.right - (mine.right - mine.left)) / 2,
                 (over.top + over.bottom - (mine.bottom - mine.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The work runs in the middle of a click on the window below: nothing there may
  // start again meanwhile.
  for (HWND window : Form::LoadedWindowHandles()) {
    if (window != box_->Handle() && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      disabled_.push_back(window);
    }
  }
  box_->Show();
  UpdateWindow(box_->Handle());
}

void WorkProgress::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The program is ending: the work stops, and the quit goes on to the main loop.
      PostQuitMessage(static_cast<int>(msg.wParam));
      cancelled_ = true;
      return;
    }
    if (box_ && box_->Handle() && IsDialogMessageA(box_->Handle(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// As a modal window ends: the others take input again while the box is still up, and
// the window below takes the activation back before the box goes.
void WorkProgress::Close() {
  if (!box_) return;
  for (HWND window : std::exchange(disabled_, {})) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  if (owner_ && IsWindow(owner_) && GetActiveWindow() == box_->Handle()) SetActiveWindow(owner_);
  box_->Unload();
  box_.reset();
}

void SetProgressStepForTesting(std::function<void(WorkProgress&)> step) { g_step_for_testing = std::move(step); }

}  // namespace tw::options
