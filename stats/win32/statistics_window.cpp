#include "stats/win32/statistics_window.h"

#include <algorithm>
#include <optional>

#include "docking/win32/docking.h"
#include "resources/resource_ids.h"
#include "stats/table_text.h"
#include "stats/time_format.h"
#include "stats/window_placement.h"
#include "storage/win32/settings_file.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

constexpr const char* kCaption = "Twistwatch | Statistics";
constexpr const char* kSection = "General Settings";
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
constexpr const char* kNoFigure = "-";

constexpr const char* kCurrentHeading = "current";
constexpr const char* kBestHeading = "best";
constexpr const char* kAllHeading = "all";
constexpr const char* kSessionHeading = "this session";

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

std::string SettingsPath() { return AppFolder() + "Setting.ini"; }

int TextWidth(HDC dc, const std::string& text) {
  SIZE size{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

void TextAt(HDC dc, int x, int y, const std::string& text, UINT align) {
  SetTextAlign(dc, align | TA_TOP);
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

std::string Optional(const std::optional<stats::Hundredths>& value) {
  return value ? stats::FormatTime(*value) : kNoFigure;
}

bool IsTimerKey(int vk) {
  return vk == VK_SPACE || vk == VK_ESCAPE || vk == VK_F1 || vk == VK_F2 || vk == VK_F3;
}

bool CanTakeActivation(HWND window) {
  return window && IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

}  // namespace

StatisticsWindow::StatisticsWindow() : Form(StatisticsDesign()) {}

StatisticsWindow::~StatisticsWindow() { Unload(); }

void StatisticsWindow::SetLog(const std::vector<std::string>& lines, std::size_t sessionStart) {
  session_start_ = sessionStart;
  statistics_.Load(lines, sessionStart);
  Refresh();
}

void StatisticsWindow::OnAppended(const std::string& line) {
  statistics_.Append(line);
  Refresh();
}

void StatisticsWindow::OnRemoved(std::size_t index, const std::vector<std::string>& linesAfter) {
  // A line removed from before this session's first one moves that one up.
  if (index < session_start_) --session_start_;
  session_start_ = std::min(session_start_, linesAfter.size());
  statistics_.Load(linesAfter, session_start_);
  Refresh();
}

void StatisticsWindow::OnReset() {
  session_start_ = 0;
  statistics_.Clear();
  Refresh();
}

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
  const std::string path = SettingsPath();
  if (storage::ReadINI(kSection, stats::kShownKey, "", path) != stats::kShown) return;
  if (!IsLoaded() && !Load()) return;
  ShowWithoutActivation();
}

bool StatisticsWindow::OnLoad() {
  docking::ActivateDocking(Handle());
  previous_active_ = nullptr;
  ApplyStoredPlacement();
  return true;
}

void StatisticsWindow::OnUnload() {
  docking::DeactivateDocking(Handle());
  back_buffer_.Release();
}

void StatisticsWindow::ApplyStoredPlacement() {
  const std::string path = SettingsPath();
  const stats::StoredPlacement placement =
      stats::ReadPlacement([&path](const char* key) { return storage::ReadINI(kSection, key, "", path); });
  SetClientSize(placement.widthTwips, placement.heightTwips);
  if (!placement.left) {
    PlaceBesideTimer();
    return;
  }
  SetWindowPos(Handle(), nullptr, *placement.left, *placement.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  KeepOnScreen();
}

// The first time, beside the timer's window rather than over its digits: centred
// under it, or over it when there is more room there, made shorter (down to its
// minimum) to fit the room; centred on the screen when neither side has room.
void StatisticsWindow::PlaceBesideTimer() {
  const auto& forms = Form::LoadedForms();
  const auto timer = std::find_if(forms.begin(), forms.end(), [this](Form* f) { return f != this && f->Visible(); });
  if (timer == forms.end()) {
    CenterOnScreen();
    return;
  }
  RECT main, self, client;
  GetWindowRect((*timer)->Handle(), &main);
  GetWindowRect(Handle(), &self);
  GetClientRect(Handle(), &client);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromRect(&main, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int frame = (self.bottom - self.top) - client.bottom;
  const int below = static_cast<int>(work.bottom - main.bottom) - frame;
  const int above = static_cast<int>(main.top - work.top) - frame;
  const int room = std::max(below, above);
  if (room < Px(stats::kMinimumHeightTwips)) {
    CenterOnScreen();
    return;
  }
  const int clientHeight = std::min(static_cast<int>(client.bottom), room);
  SetClientSize(ClientWidth(), Twips(clientHeight));
  const int width = self.right - self.left;
  const int left = std::clamp(static_cast<int>((main.left + main.right - width) / 2), static_cast<int>(work.left),
                              std::max(static_cast<int>(work.left), static_cast<int>(work.right) - width));
  const int top = below >= above ? static_cast<int>(main.bottom) : static_cast<int>(main.top) - clientHeight - frame;
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A saved place that lies off every monitor (one since unplugged, or a hand edit)
// comes back centred, rather than leaving a shown window nobody can reach.
void StatisticsWindow::KeepOnScreen() {
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
  if (seen.right - seen.left >= Px(kGraspWidthTwips) && seen.bottom - seen.top >= captionHeight / 2) return;
  CenterOnScreen();
}

void StatisticsWindow::SavePlacement() const {
  if (!IsLoaded()) return;
  const std::string path = SettingsPath();
  storage::WriteINI(kSection, stats::kShownKey, Visible() ? stats::kShown : stats::kHidden, path);
  if (IsIconic(Handle())) return;  // a minimised window's rectangle is no place to come back to
  RECT outer, client;
  GetWindowRect(Handle(), &outer);
  GetClientRect(Handle(), &client);
  storage::WriteINI(kSection, stats::kLeftKey, std::to_string(outer.left), path);
  storage::WriteINI(kSection, stats::kTopKey, std::to_string(outer.top), path);
  storage::WriteINI(kSection, stats::kWidthKey, std::to_string(Twips(client.right)), path);
  storage::WriteINI(kSection, stats::kHeightKey, std::to_string(Twips(client.bottom)), path);
}

void StatisticsWindow::ShowWithoutActivation() {
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
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Refresh();
}

// Hiding the active window would let the system activate whatever lies below it;
// the timer's window (the one active before, else the first loaded form) gets the
// activation back instead, so the next Space reaches it.
void StatisticsWindow::HideAndReturnActivation() {
  HWND self = Handle();
  if (GetActiveWindow() == self || GetForegroundWindow() == self) {
    HWND back = previous_active_ != self && CanTakeActivation(previous_active_) ? previous_active_ : nullptr;
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

void StatisticsWindow::OnKeyDown(int vk, int shift, bool repeat) {
  if (vk == 'C' && (shift & kCtrlMask) != 0) {
    CopyTable();
    return;
  }
  if (!IsTimerKey(vk)) return;
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

bool StatisticsWindow::CopyTable() { return IsLoaded() && CopyTextToClipboard(Handle(), TableText()); }

std::string StatisticsWindow::TableText() const { return stats::TableText(statistics_.Rows()); }

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

std::string StatisticsWindow::UnreadNote() const {
  const std::size_t unread = statistics_.UnreadLines();
  if (unread == 0) return "";
  return std::to_string(unread) + (unread == 1 ? " line not read" : " lines not read");
}

void StatisticsWindow::Refresh() {
  if (IsLoaded() && Visible()) InvalidateRect(Handle(), nullptr, FALSE);
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
  int timeWidth = std::max({TextWidth(dc, kWidestTime), TextWidth(dc, kCurrentHeading), TextWidth(dc, kBestHeading)});
  for (const stats::RowFigures& row : rows) {
    nameWidth = std::max(nameWidth, TextWidth(dc, std::string(row.name)));
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
      TextAt(dc, margin, y, std::string(row.name), TA_LEFT);
      TextAt(dc, currentRight, y, stats::FormatTime(row.current), TA_RIGHT);
      TextAt(dc, bestRight, y, stats::FormatTime(row.best), TA_RIGHT);
    }
    y += line;
  }

  // Tallies: label, all, this session.
  const stats::TallyFigures all = statistics_.All(), session = statistics_.Session();
  const std::string labels[] = {"solves", "DNFs", "mean", "deviation"};
  const std::string allValues[] = {std::to_string(all.solves), std::to_string(all.dnfs), Optional(all.mean),
                                   Optional(all.deviation)};
  const std::string sessionValues[] = {std::to_string(session.solves), std::to_string(session.dnfs),
                                       Optional(session.mean), Optional(session.deviation)};
  int labelWidth = 0;
  int valueWidth = std::max(TextWidth(dc, kSessionHeading), TextWidth(dc, kWidestTime));
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
    TextAt(dc, currentRight, margin, kCurrentHeading, TA_RIGHT);
    TextAt(dc, bestRight, margin, kBestHeading, TA_RIGHT);
    TextAt(dc, allRight, margin, kAllHeading, TA_RIGHT);
    TextAt(dc, sessionRight, margin, kSessionHeading, TA_RIGHT);
  }
  SetBkColor(dc, kRuleColor);
  const int ruleY = margin + line - Px(kRowGapTwips) / 2;
  for (const RECT& rule : {RECT{margin, ruleY, bestRight, ruleY + 1}, RECT{tallyLeft, ruleY, sessionRight, ruleY + 1}}) {
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rule, nullptr, 0, nullptr);
  }
}

}  // namespace tw
