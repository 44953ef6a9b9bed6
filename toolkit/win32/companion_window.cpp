#include "toolkit/win32/companion_window.h"

#include <optional>
#include <utility>

#include "storage/win32/settings.h"

namespace tw {

namespace {

// Enough of the caption on a monitor's work area to drag the window back by.
constexpr int kGraspWidthTwips = 720;

bool IsTimerKey(int vk) {
  return vk == VK_SPACE || vk == VK_ESCAPE || vk == VK_F1 || vk == VK_F2 || vk == VK_F3 || vk == VK_F4;
}

bool CanTakeActivation(HWND window) {
  return window && IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

// Whether `upper` lies above `lower` in the z-order of top-level windows.
bool Above(HWND upper, HWND lower) {
  for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
    if (next == lower) return true;
  }
  return false;
}

placement::Box BoxOf(const RECT& r) { return placement::Box{r.left, r.top, r.right, r.bottom}; }

RECT OuterRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

placement::Box WorkAreaAt(const RECT& r) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor);
  return BoxOf(monitor.rcWork);
}

// Every companion window alive, in construction order (the order they are settled in).
std::vector<CompanionWindow*>& Companions() {
  static std::vector<CompanionWindow*> all;
  return all;
}

bool Shown(HWND window) { return window && IsWindowVisible(window) && !IsIconic(window); }

}  // namespace

CompanionWindow::CompanionWindow(const FormDesign& design, int toggleKey, const settings::CompanionKeys& keys)
    : Form(design), toggleKey_(toggleKey), keys_(&keys) {
  Companions().push_back(this);
  Form::SetPlaceObserver(&CompanionWindow::OnFormPlaceChanged);
}

CompanionWindow::~CompanionWindow() {
  std::erase(Companions(), this);
  if (Companions().empty()) Form::SetPlaceObserver(nullptr);
}

bool CompanionWindow::Following(HWND timer) const { return IsLoaded() && TimerWindow() == timer; }

// A form moved or changed size: when it is the timer of loaded companions, those shown
// follow it from where they saw it last.
void CompanionWindow::OnFormPlaceChanged(HWND window) {
  std::vector<CompanionWindow*> following;
  for (CompanionWindow* c : Companions()) {
    if (c->Following(window)) following.push_back(c);
  }
  if (following.empty() || IsIconic(window)) return;  // a minimised timer's place is no place to follow
  const RECT now = OuterRect(window);
  const RECT before = following.front()->timerSeen_;
  for (CompanionWindow* c : following) c->timerSeen_ = now;
  if (!EqualRect(&before, &now) && IsWindowVisible(window)) FollowTimer(window, before, now);
}

void CompanionWindow::SeeTimer() {
  HWND timer = TimerWindow();
  if (timer && !IsIconic(timer)) timerSeen_ = OuterRect(timer);
}

void CompanionWindow::FollowTimer(HWND timer, const RECT& before, const RECT& after) {
  std::vector<CompanionWindow*> shown;
  std::vector<placement::Companion> companions;
  for (CompanionWindow* c : Companions()) {
    if (!c->Following(timer) || !Shown(c->Handle())) continue;
    shown.push_back(c);
    companions.push_back(c->AsCompanion());
  }
  if (shown.empty()) return;
  const std::vector<placement::Box> moved =
      placement::FollowTimer(BoxOf(before), BoxOf(after), WorkAreaAt(after), companions);
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (moved[i] == companions[i].box) continue;
    shown[i]->MoveTo(moved[i]);
    shown[i]->SavePlace();
  }
}

placement::Companion CompanionWindow::AsCompanion() const {
  RECT client;
  GetClientRect(Handle(), &client);
  const placement::Box box = BoxOf(OuterRect(Handle()));
  const int frameWidth = box.Width() - client.right;
  const int frameHeight = box.Height() - client.bottom;
  return placement::Companion{box, Px(keys_->width.minimum) + frameWidth, Px(keys_->height.minimum) + frameHeight};
}

// The other companions shown beside the same timer: what a new place keeps clear of.
std::vector<placement::Box> CompanionWindow::OthersShown() const {
  std::vector<placement::Box> boxes;
  for (const CompanionWindow* c : Companions()) {
    if (c != this && c->Following(TimerWindow()) && Shown(c->Handle())) boxes.push_back(BoxOf(OuterRect(c->Handle())));
  }
  return boxes;
}

// The outer box, its client size kept in twips as the window's own.
void CompanionWindow::MoveTo(const placement::Box& box) {
  RECT outer, client;
  GetWindowRect(Handle(), &outer);
  GetClientRect(Handle(), &client);
  const int frameWidth = (outer.right - outer.left) - client.right;
  const int frameHeight = (outer.bottom - outer.top) - client.bottom;
  if (box.Width() != outer.right - outer.left || box.Height() != outer.bottom - outer.top) {
    SetClientSize(Twips(box.Width() - frameWidth), Twips(box.Height() - frameHeight));
  }
  SetWindowPos(Handle(), nullptr, box.left, box.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CompanionWindow::KeepClear() {
  HWND timer = TimerWindow();
  if (!Shown(timer)) return;
  const placement::Box self = BoxOf(OuterRect(Handle()));
  const placement::Box timerBox = BoxOf(OuterRect(timer));
  bool covers = placement::OverlapArea(self, timerBox) > 0;
  for (const placement::Box& other : OthersShown()) covers = covers || placement::OverlapArea(self, other) > 0;
  if (covers) PlaceBesideTimer();
}

void CompanionWindow::SetTimer(const Form& timer, std::function<void(int vk, int shift, bool repeat)> onKey) {
  timer_ = [&timer] { return timer.Handle(); };
  onTimerKey = std::move(onKey);
}

void CompanionWindow::SetTimer(HWND timer, std::function<void(int vk, int shift, bool repeat)> onKey) {
  timer_ = [timer] { return timer; };
  onTimerKey = std::move(onKey);
}

void CompanionWindow::Toggle() {
  if (!IsLoaded() && !Load()) return;
  // A minimised window comes back rather than going away unseen.
  if (Visible() && !IsIconic(Handle())) {
    HideAndReturnActivation();
  } else {
    ShowWithoutActivation();
  }
  SavePlace();
}

void CompanionWindow::RestoreFromSettings() {
  if (settings::Read(keys_->shown) != settings::kShownText) return;
  if (!IsLoaded() && !Load()) return;
  ShowWithoutActivation();
}

void CompanionWindow::ApplyStoredPlace() {
  previous_active_ = nullptr;
  SeeTimer();
  // Both sizes have a fallback in the schema: neither read comes back empty.
  SetClientSize(settings::Read(keys_->width).value_or(*keys_->width.fallback),
                settings::Read(keys_->height).value_or(*keys_->height.fallback));
  const std::optional<int> left = settings::Read(keys_->left);
  const std::optional<int> top = settings::Read(keys_->top);
  if (!left || !top) {
    PlaceBesideTimer();
    return;
  }
  SetWindowPos(Handle(), nullptr, *left, *top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!CaptionOnScreen()) {
    PlaceBesideTimer();
    return;
  }
  // The corner is kept in pixels and the size in twips: at another DPI than the one
  // it was stored at, the window may reach past the screen's edge. It is brought in.
  const placement::Companion self = AsCompanion();
  MoveTo(placement::ClampTo(self.box, WorkAreaAt(OuterRect(Handle())), self.minimumWidth, self.minimumHeight));
}

// Beside the timer's window rather than over its digits, and clear of the other
// companions shown (see placement::PlaceClear); centred on the screen when there is
// no timer to go beside.
void CompanionWindow::PlaceBesideTimer() {
  HWND timerWindow = TimerWindow();
  if (!Shown(timerWindow)) {
    CenterOnScreen();
    return;
  }
  const RECT timer = OuterRect(timerWindow);
  const placement::Companion self = AsCompanion();
  MoveTo(placement::PlaceClear(BoxOf(timer), WorkAreaAt(timer), self.box.Width(), self.box.Height(),
                               self.minimumWidth, self.minimumHeight, OthersShown()));
}

// Whether enough of the caption lies on a monitor's work area to drag the window by:
// a saved place off every monitor (one since unplugged, or a hand edit) is no place
// to show a window nobody could reach.
bool CompanionWindow::CaptionOnScreen() const {
  RECT outer;
  GetWindowRect(Handle(), &outer);
  const int captionHeight = GetSystemMetricsForDpi(SM_CYCAPTION, static_cast<UINT>(Dpi())) +
                            GetSystemMetricsForDpi(SM_CYSIZEFRAME, static_cast<UINT>(Dpi()));
  const RECT caption{outer.left, outer.top, outer.right, outer.top + captionHeight};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromRect(&caption, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT seen{};
  IntersectRect(&seen, &caption, &monitor.rcWork);
  return seen.right - seen.left >= Px(kGraspWidthTwips) && seen.bottom - seen.top >= captionHeight / 2;
}

// A minimised window keeps the place it had: its rectangle is no place to come back to.
void CompanionWindow::SavePlace() const {
  if (!IsLoaded()) return;
  settings::Write(keys_->shown, Visible() ? settings::kShownText : settings::kHiddenText);
  if (IsIconic(Handle())) return;
  RECT outer, client;
  GetWindowRect(Handle(), &outer);
  GetClientRect(Handle(), &client);
  settings::Write(keys_->left, static_cast<int>(outer.left));
  settings::Write(keys_->top, static_cast<int>(outer.top));
  settings::Write(keys_->width, Twips(client.right));
  settings::Write(keys_->height, Twips(client.bottom));
}

void CompanionWindow::ShowWithoutActivation() {
  BeforeShow();
  if (IsIconic(Handle())) {
    // Wine activates a minimised window as it restores it, SW_SHOWNOACTIVATE or
    // not: the window that had the activation gets it back.
    HWND active = GetActiveWindow();
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);  // restored to its last size and place
    if (active != Handle() && GetActiveWindow() == Handle() && CanTakeActivation(active)) {
      SetForegroundWindow(active);
      SetActiveWindow(active);
    }
  }
  SeeTimer();
  KeepClear();
  // On top of the other windows, but under the timer where they overlap (KeepUnderTimer).
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(Handle(), nullptr, FALSE);
}

// Hiding the active window would let the system activate whatever lies below it;
// the window active before (else the timer's, else the first loaded form) gets the
// activation back instead, so the next Space reaches it.
void CompanionWindow::HideAndReturnActivation() {
  HWND self = Handle();
  if (GetActiveWindow() == self || GetForegroundWindow() == self) {
    HWND back = previous_active_ != self && CanTakeActivation(previous_active_) ? previous_active_ : nullptr;
    if (!back && CanTakeActivation(TimerWindow())) back = TimerWindow();
    for (Form* form : LoadedForms()) {
      if (!back && form != this && CanTakeActivation(form->Handle())) back = form->Handle();
    }
    if (back) {
      SetForegroundWindow(back);
      SetActiveWindow(back);
    }
  }
  ShowWindow(self, SW_HIDE);
}

// A modal question of ours (the exit question, a message box over the timer) disables
// the timer's window, its owner; this window has no owner and stays enabled, so it
// asks the timer's window: no solve is started or stopped under a question.
bool CompanionWindow::TimerTakesKeys() const {
  HWND timer = TimerWindow();
  return !timer || IsWindowEnabled(timer);
}

void CompanionWindow::OnKeyDown(int vk, int shift, bool repeat) {
  // Alt+F4 is the system's close, which puts this window away.
  if (vk == VK_F4 && (shift & kAltMask) != 0) return;
  if (!IsTimerKey(vk) || !TimerTakesKeys()) return;
  if (onTimerKey) {
    onTimerKey(vk, shift, repeat);
  } else if (vk == toggleKey_) {
    Toggle();  // what the main window's key does through the hook
  }
  // Escape also puts this window away, and the timer has the keyboard again.
  if (vk == VK_ESCAPE && Visible()) {
    HideAndReturnActivation();
    SavePlace();
  }
}

// The timer's digits stay in sight: wherever this window would come to lie over the
// timer's window (shown, activated by a click, moved onto it), it goes under it instead.
void CompanionWindow::KeepUnderTimer(WINDOWPOS& position) const {
  HWND timerWindow = TimerWindow();
  if (!timerWindow || !IsWindowVisible(timerWindow) || position.hwnd != Handle()) return;
  RECT now, timer, overlap;
  GetWindowRect(Handle(), &now);
  GetWindowRect(timerWindow, &timer);
  RECT next = now;
  if ((position.flags & SWP_NOMOVE) == 0) OffsetRect(&next, position.x - now.left, position.y - now.top);
  if ((position.flags & SWP_NOSIZE) == 0) {
    next.right = next.left + position.cx;
    next.bottom = next.top + position.cy;
  }
  if (!IntersectRect(&overlap, &next, &timer)) return;
  // HWND_NOTOPMOST leaves a window that is not topmost where it is.
  const HWND after = position.hwndInsertAfter;
  const bool stays = (position.flags & SWP_NOZORDER) != 0 || after == HWND_NOTOPMOST || after == Handle();
  bool endsAbove = false;
  if (stays) {
    endsAbove = Above(Handle(), timerWindow);
  } else if (after == HWND_TOP || after == HWND_TOPMOST) {
    endsAbove = true;
  } else if (after != HWND_BOTTOM && after != timerWindow) {
    endsAbove = Above(after, timerWindow);
  }
  if (!endsAbove) return;
  position.flags &= ~SWP_NOZORDER;
  position.hwndInsertAfter = timerWindow;
}

LRESULT CompanionWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The close button puts the window away; only the main window's unload ends it.
      HideAndReturnActivation();
      SavePlace();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && lParam != 0 && reinterpret_cast<HWND>(lParam) != Handle()) {
        previous_active_ = reinterpret_cast<HWND>(lParam);
      }
      break;
    case WM_GETMINMAXINFO: {
      RECT smallest{0, 0, Px(keys_->width.minimum), Px(keys_->height.minimum)};
      AdjustWindowRectExForDpi(&smallest, static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                               static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE)),
                               static_cast<UINT>(Dpi()));
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{smallest.right - smallest.left, smallest.bottom - smallest.top};
      return 0;
    }
    case WM_SIZE:
      InvalidateRect(Handle(), nullptr, FALSE);
      break;
    case WM_WINDOWPOSCHANGING:
      KeepUnderTimer(*reinterpret_cast<WINDOWPOS*>(lParam));
      break;
    case WM_EXITSIZEMOVE:
      SavePlace();
      break;
    case WM_DPICHANGED: {
      // The form scales its first client size to the new DPI: make that the
      // size the user gave the window, not the one it was created with.
      RECT client;
      GetClientRect(Handle(), &client);
      SetClientSize(Twips(client.right), Twips(client.bottom));
      break;
    }
    default:
      break;
  }
  return Form::WndProc(message, wParam, lParam);
}

}  // namespace tw
