#include "stats/win32/statistics_window.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "docking/win32/docking.h"
#include "resources/resource_ids.h"
#include "stats/table_text.h"
#include "stats/time_format.h"
#include "stats/window_placement.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

constexpr const char* kCaption = "Twistwatch | Statistics";
constexpr COLORREF kBackColor = RGB(255, 255, 255);
constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kNoteColor = RGB(128, 128, 128);
constexpr COLORREF kRuleColor = RGB(192, 192, 192);
constexpr int kFontCentiPoints = 900;
const FontSpec kTextFont{"Tahoma", kFontCentiPoints, FW_NORMAL};
const FontSpec kHeadingFont{"Tahoma", kFontCentiPoints, FW_BOLD};

// Lengths in twips, at the window's DPI.
constexpr int kMarginTwips = 120;
constexpr int kRowGapTwips = 60;
constexpr int kColumnGapTwips = 240;
constexpr int kBlockGapTwips = 480;
// Enough of the caption on a monitor's work area to drag the window back by.
constexpr int kGraspWidthTwips = 720;

// The table keeps room for every row, so the chart below does not jump as rows appear.
constexpr int kTableLines = 1 + static_cast<int>(stats::kAverageKinds.size());
constexpr const char* kWidestTime = "00:00.00";

FormDesign StatisticsDesign() {
  return FormDesign{kCaption,
                    stats::kDefaultWidthTwips,
                    stats::kDefaultHeightTwips,
                    WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX,
                    0,
                    kBackColor,
                    kTextFont,
                    IDI_TWISTWATCH,
                    false};
}

int TextWidth(HDC dc, std::string_view text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void TextAt(HDC dc, int x, int y, std::string_view text, UINT align) {
  SetTextAlign(dc, align | TA_TOP);
  TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()));
}

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

}  // namespace

StatisticsWindow::StatisticsWindow(results::ResultBook& book) : Form(StatisticsDesign()), book_(&book) {
  book_->AddWatcher(this);
}

StatisticsWindow::~StatisticsWindow() {
  Unload();
  book_->RemoveWatcher(this);
}

void StatisticsWindow::Attach(results::ResultBook& book, std::string sessionName) {
  sessionName_ = std::move(sessionName);
  ShowCaption();
  if (&book == book_) return;
  book_->RemoveWatcher(this);
  book_ = &book;
  book_->AddWatcher(this);
  OnReloaded(book);
}

void StatisticsWindow::SetTimer(const Form& timer, std::function<void(int vk, int shift, bool repeat)> onKey) {
  timer_ = [&timer] { return timer.Handle(); };
  onTimerKey = std::move(onKey);
}

void StatisticsWindow::SetTimer(HWND timer, std::function<void(int vk, int shift, bool repeat)> onKey) {
  timer_ = [timer] { return timer; };
  onTimerKey = std::move(onKey);
}

void StatisticsWindow::EnsureFresh() {
  if (!fresh_) Recount();
}

void StatisticsWindow::Recount() {
  statistics_.Load(book_->Lines(), book_->SessionStart());
  fresh_ = true;
  Refresh();
}

void StatisticsWindow::OnAppended(const results::ResultBook& book) {
  if (!fresh_) return;
  statistics_.Append(book.Lines().back());
  Refresh();
}

// A line gone or rewritten changes every window of results after it: the figures are
// worked out again, which a long log affords at the pace of a click.
void StatisticsWindow::OnRemoved(const results::ResultBook&, std::size_t) {
  if (fresh_) Recount();
}

void StatisticsWindow::OnReplaced(const results::ResultBook&, std::size_t) {
  if (fresh_) Recount();
}

void StatisticsWindow::OnReloaded(const results::ResultBook&) {
  fresh_ = false;
  if (IsLoaded() && Visible()) Recount();
}

void StatisticsWindow::OnSaveStateChanged(const results::ResultBook&) {}

void StatisticsWindow::Toggle() {
  if (!IsLoaded() && !Load()) return;
  // A minimised window comes back rather than going away unseen.
  if (Visible() && !IsIconic(Handle())) {
    HideAndReturnActivation();
  } else {
    ShowWithoutActivation();
  }
  SavePlacement();
}

void StatisticsWindow::RestoreFromSettings() {
  if (settings::Read(settings::kStatisticsShown) != settings::kStatisticsShownText) return;
  if (!IsLoaded() && !Load()) return;
  ShowWithoutActivation();
}

void StatisticsWindow::ShowCaption() {
  if (!Handle()) return;
  std::wstring caption = AnsiToWide(kCaption);
  if (!sessionName_.empty()) caption += L" \u2014 " + AnsiToWide(sessionName_);
  SetWindowTextW(Handle(), caption.c_str());
}

bool StatisticsWindow::OnLoad() {
  docking::ActivateDocking(Handle());
  ShowCaption();
  previous_active_ = nullptr;
  ApplyStoredPlacement();
  return true;
}

void StatisticsWindow::OnUnload() {
  docking::DeactivateDocking(Handle());
  back_buffer_.Release();
}

void StatisticsWindow::ApplyStoredPlacement() {
  // Both sizes have a fallback in the schema: neither read comes back empty.
  SetClientSize(settings::Read(settings::kStatisticsWidth).value_or(stats::kDefaultWidthTwips),
                settings::Read(settings::kStatisticsHeight).value_or(stats::kDefaultHeightTwips));
  const std::optional<int> left = settings::Read(settings::kStatisticsLeft);
  const std::optional<int> top = settings::Read(settings::kStatisticsTop);
  if (!left || !top) {
    PlaceBesideTimer();
    return;
  }
  SetWindowPos(Handle(), nullptr, *left, *top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (!CaptionOnScreen()) PlaceBesideTimer();
}

// Beside the timer's window rather than over its digits (see stats::PlaceBeside);
// centred on the screen when there is no timer to go beside.
void StatisticsWindow::PlaceBesideTimer() {
  HWND timerWindow = TimerWindow();
  if (!timerWindow || !IsWindowVisible(timerWindow) || IsIconic(timerWindow)) {
    CenterOnScreen();
    return;
  }
  RECT timer, self, client;
  GetWindowRect(timerWindow, &timer);
  GetWindowRect(Handle(), &self);
  GetClientRect(Handle(), &client);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromRect(&timer, MONITOR_DEFAULTTONEAREST), &monitor);
  const int frameWidth = (self.right - self.left) - client.right;
  const int frameHeight = (self.bottom - self.top) - client.bottom;
  const auto box = [](const RECT& r) { return stats::Box{r.left, r.top, r.right, r.bottom}; };
  const stats::Box placed = stats::PlaceBeside(box(timer), box(monitor.rcWork), self.right - self.left,
                                               self.bottom - self.top, Px(stats::kMinimumWidthTwips) + frameWidth,
                                               Px(stats::kMinimumHeightTwips) + frameHeight);
  SetClientSize(Twips(placed.Width() - frameWidth), Twips(placed.Height() - frameHeight));
  SetWindowPos(Handle(), nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Whether enough of the caption lies on a monitor's work area to drag the window by:
// a saved place off every monitor (one since unplugged, or a hand edit) is no place
// to show a window nobody could reach.
bool StatisticsWindow::CaptionOnScreen() const {
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

void StatisticsWindow::SavePlacement() const {
  if (!IsLoaded()) return;
  settings::Write(settings::kStatisticsShown,
                  Visible() ? settings::kStatisticsShownText : settings::kStatisticsHiddenText);
  if (IsIconic(Handle())) return;  // a minimised window's rectangle is no place to come back to
  RECT outer, client;
  GetWindowRect(Handle(), &outer);
  GetClientRect(Handle(), &client);
  settings::Write(settings::kStatisticsLeft, outer.left);
  settings::Write(settings::kStatisticsTop, outer.top);
  settings::Write(settings::kStatisticsWidth, Twips(client.right));
  settings::Write(settings::kStatisticsHeight, Twips(client.bottom));
}

void StatisticsWindow::ShowWithoutActivation() {
  EnsureFresh();
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
  // On top of the other windows, but under the timer where they overlap (KeepUnderTimer).
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Refresh();
}

// Hiding the active window would let the system activate whatever lies below it;
// the window active before (else the timer's, else the first loaded form) gets the
// activation back instead, so the next Space reaches it.
void StatisticsWindow::HideAndReturnActivation() {
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
bool StatisticsWindow::TimerTakesKeys() const {
  HWND timer = TimerWindow();
  return !timer || IsWindowEnabled(timer);
}

void StatisticsWindow::OnKeyDown(int vk, int shift, bool repeat) {
  if (vk == 'C' && (shift & kCtrlMask) != 0) {
    CopyFigures();
    return;
  }
  if (!IsTimerKey(vk) || !TimerTakesKeys()) return;
  if (onTimerKey) {
    onTimerKey(vk, shift, repeat);
  } else if (vk == VK_F3) {
    Toggle();  // what the main window's F3 does through the hook
  }
  // Escape also puts this window away, and the timer has the keyboard again.
  if (vk == VK_ESCAPE && Visible()) {
    HideAndReturnActivation();
    SavePlacement();
  }
}

bool StatisticsWindow::CopyFigures() { return IsLoaded() && CopyTextToClipboard(Handle(), FiguresText()); }

std::string StatisticsWindow::FiguresText() const { return stats::FiguresText(statistics_); }

std::optional<stats::RowFigures> StatisticsWindow::ShownRow(int size) const {
  for (const stats::RowFigures& row : statistics_.Rows()) {
    if (row.size == size && row.shown) return row;
  }
  return std::nullopt;
}

std::string StatisticsWindow::CurrentText(int size) const {
  const auto row = ShownRow(size);
  return row ? stats::FormatTime(row->current) : "";
}

std::string StatisticsWindow::BestText(int size) const {
  const auto row = ShownRow(size);
  return row ? stats::FormatTime(row->best) : "";
}

std::string StatisticsWindow::UnreadNote() const { return stats::UnreadNote(statistics_.UnreadLines()); }

void StatisticsWindow::Refresh() {
  if (IsLoaded() && Visible()) InvalidateRect(Handle(), nullptr, FALSE);
}

// The timer's digits stay in sight: wherever this window would come to lie over the
// timer's window (shown, activated by a click, moved onto it), it goes under it instead.
void StatisticsWindow::KeepUnderTimer(WINDOWPOS& position) const {
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

LRESULT StatisticsWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintWindow();
      return 0;
    case WM_CLOSE:
      // The close button puts the window away; only the main window's unload ends it.
      HideAndReturnActivation();
      SavePlacement();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && lParam != 0 && reinterpret_cast<HWND>(lParam) != Handle()) {
        previous_active_ = reinterpret_cast<HWND>(lParam);
      }
      break;
    case WM_GETMINMAXINFO: {
      RECT smallest{0, 0, Px(stats::kMinimumWidthTwips), Px(stats::kMinimumHeightTwips)};
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
      SavePlacement();
      break;
    case WM_DPICHANGED: {
      // The form scales its designed client size to the new DPI: make that the
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

void StatisticsWindow::PaintWindow() {
  back_buffer_.Paint(Handle(), kBackColor, [this](HDC dc, const RECT& client, const RECT&) {
    int chartTop = 0;
    PaintFigures(dc, chartTop);
    const int margin = Px(kMarginTwips);
    const RECT chart{margin, chartTop, client.right - margin, client.bottom - margin};
    if (chart.right > chart.left && chart.bottom > chart.top) {
      chart_.Paint(dc, chart, statistics_, FontFor(kTextFont), Dpi());
    }
  });
}

// The table of averages at the top left, the tallies of the whole log and of this
// session beside it, and the note on unread lines under those; the chart goes below.
void StatisticsWindow::PaintFigures(HDC dc, int& chartTop) {
  const int margin = Px(kMarginTwips), gap = Px(kColumnGapTwips);
  Selection useFont(dc, FontFor(kTextFont));
  SetBkMode(dc, TRANSPARENT);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int line = metrics.tmHeight + Px(kRowGapTwips);
  chartTop = margin + kTableLines * line + margin;

  // Averages: name, current, best.
  const auto rows = statistics_.Rows();
  int nameWidth = 0;
  int timeWidth =
      std::max({TextWidth(dc, kWidestTime), TextWidth(dc, stats::kCurrentHeading), TextWidth(dc, stats::kBestHeading)});
  for (const stats::RowFigures& row : rows) {
    nameWidth = std::max(nameWidth, TextWidth(dc, row.name));
    if (!row.shown) continue;
    timeWidth = std::max({timeWidth, TextWidth(dc, stats::FormatTime(row.current)),
                          TextWidth(dc, stats::FormatTime(row.best))});
  }
  const int currentRight = margin + nameWidth + gap + timeWidth;
  const int bestRight = currentRight + gap + timeWidth;
  SetTextColor(dc, kTextColor);
  int y = margin + line;
  for (const stats::RowFigures& row : rows) {
    if (row.shown) {
      TextAt(dc, margin, y, row.name, TA_LEFT);
      TextAt(dc, currentRight, y, stats::FormatTime(row.current), TA_RIGHT);
      TextAt(dc, bestRight, y, stats::FormatTime(row.best), TA_RIGHT);
    }
    y += line;
  }

  // Tallies: label, all, this session.
  const auto& labels = stats::kTallyLabels;
  const auto allValues = stats::TallyValues(statistics_.All());
  const auto sessionValues = stats::TallyValues(statistics_.Session());
  int labelWidth = 0;
  int valueWidth = std::max(TextWidth(dc, stats::kSessionHeading), TextWidth(dc, kWidestTime));
  for (std::size_t i = 0; i < std::size(labels); ++i) {
    labelWidth = std::max(labelWidth, TextWidth(dc, labels[i]));
    valueWidth = std::max({valueWidth, TextWidth(dc, allValues[i]), TextWidth(dc, sessionValues[i])});
  }
  const int tallyLeft = bestRight + Px(kBlockGapTwips);
  const int allRight = tallyLeft + labelWidth + gap + valueWidth;
  const int sessionRight = allRight + gap + valueWidth;
  y = margin + line;
  for (std::size_t i = 0; i < std::size(labels); ++i) {
    TextAt(dc, tallyLeft, y, labels[i], TA_LEFT);
    TextAt(dc, allRight, y, allValues[i], TA_RIGHT);
    TextAt(dc, sessionRight, y, sessionValues[i], TA_RIGHT);
    y += line;
  }
  if (const std::string note = UnreadNote(); !note.empty()) {
    SetTextColor(dc, kNoteColor);
    TextAt(dc, tallyLeft, y + line, note, TA_LEFT);
  }

  // Headings in bold over a thin rule.
  {
    Selection useHeading(dc, FontFor(kHeadingFont));
    SetTextColor(dc, kTextColor);
    TextAt(dc, currentRight, margin, stats::kCurrentHeading, TA_RIGHT);
    TextAt(dc, bestRight, margin, stats::kBestHeading, TA_RIGHT);
    TextAt(dc, allRight, margin, stats::kAllHeading, TA_RIGHT);
    TextAt(dc, sessionRight, margin, stats::kSessionHeading, TA_RIGHT);
  }
  SetBkColor(dc, kRuleColor);
  const int ruleY = margin + line - Px(kRowGapTwips) / 2;
  for (const RECT& rule : {RECT{margin, ruleY, bestRight, ruleY + 1}, RECT{tallyLeft, ruleY, sessionRight, ruleY + 1}}) {
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rule, nullptr, 0, nullptr);
  }
}

}  // namespace tw
