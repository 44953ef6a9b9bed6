#include "app/win32/main_window.h"

#include <charconv>
#include <utility>

#include "app/elapsed_display.h"
#include "app/timing_control.h"
#include "docking/win32/docking.h"
#include "resources/main_layout.h"
#include "resources/resource_ids.h"
#include "storage/win32/item_exists_win.h"
#include "storage/win32/result_log_file.h"
#include "storage/win32/settings_file.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

namespace L = layout::main;

constexpr const char* kSection = "General Settings";
constexpr const char* kSoundFileMessage =
    "One or more file seems invalid. Twistwatch can't continue. Try to reinstall first.";
constexpr const char* kFontMessage =
    "Font 'Digital-7' is not installed, this may affect the appearance of Twistwatch. Continue?";
constexpr unsigned kStyleExclamation = MB_OK | MB_ICONEXCLAMATION;                             // 48
constexpr unsigned kStyleYesNoExclamation = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON1;  // 52
// The display changes once a hundredth; its 1 ms timer need not wake the window more often.
constexpr unsigned kHundredthMs = 10;
// Inspection's digit is worked out from the clock; its timer only has to notice each
// new second (and call) soon enough to look right.
constexpr unsigned kInspectionTickMs = 50;
constexpr unsigned kStyleRetryCancel = MB_RETRYCANCEL | MB_ICONEXCLAMATION;  // 53
// Shown in the caption while results exist only in memory: wide, so the dash is the
// same in every ANSI code page.
constexpr const wchar_t* kUnsavedCaption = L"Twistwatch \u2014 results not saved";
// The worker's word that a scramble is ready.
constexpr UINT kScrambleReadyMessage = WM_APP + 40;
constexpr ULONGLONG kBeepLength = 1282;
constexpr ULONGLONG kDingLength = 80856;

MainWindow* g_main = nullptr;

FormDesign MainDesign() {
  return FormDesign{L::kCaption,
                    L::kClientWidth,
                    L::kClientHeight,
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                    0,
                    L::kBackColor,
                    FontSpec{"Tahoma", 825, FW_NORMAL},
                    IDI_TWISTWATCH,
                    true};
}

LabelDesign DigitLabel(std::size_t index) {
  const L::LabelRow& row = L::kLabels[index];
  const FontSpec font{L::kDigitFace, row.countdown ? L::kCountdownCentiPoints : L::kDigitCentiPoints, L::kBold};
  return LabelDesign{row.name,
                     row.text,
                     row.left,
                     row.top,
                     row.width,
                     row.height,
                     row.visible,
                     font,
                     row.countdown ? L::kCountdownColor : L::kDigitColor,
                     L::kBackColor,
                     row.countdown,
                     TextAlign::Center,
                     row.border};
}

LabelDesign ScrambleLabel() {
  return LabelDesign{"lblScramble",
                     "",
                     0,
                     L::kScrambleTop,
                     L::kClientWidth,
                     L::kScrambleRowHeight,
                     false,
                     FontSpec{L::kScrambleFace, L::kScrambleCentiPoints, FW_NORMAL},
                     L::kScrambleColor,
                     L::kBackColor,
                     false,
                     TextAlign::Center,
                     false};
}

std::string SettingsPath() { return AppFolder() + "Setting.ini"; }

std::string ResultLogPath() { return AppFolder() + "Result.lst"; }

std::string UnsavedMessage(std::size_t count, const std::string& path, unsigned long error) {
  std::string what;
  if (count == 0) {
    what = "The latest changes to the results could not be saved";
  } else {
    what = std::to_string(count) + (count == 1 ? " result" : " results") + " could not be saved";
  }
  return what + " to " + path + ".\r\n\r\n" + storage::SystemErrorText(error) +
         "\r\n\r\nRetry saves them now. Cancel closes Twistwatch without them.";
}

std::string ReadSetting(const char* key, const char* def) {
  return storage::ReadINI(kSection, key, def, SettingsPath());
}

// The length of a file, or -1 when it cannot be read.
long long FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return static_cast<long long>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

std::string LocaleText(LCTYPE type, const char* fallback) {
  char buffer[16] = {};
  const int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
  return n > 1 ? std::string(buffer) : std::string(fallback);
}

bool DigitFontInstalled() {
  HDC dc = GetDC(nullptr);
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(query.lfFaceName, L::kDigitFace, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExA(
      dc, &query,
      [](const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) -> int {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

}  // namespace

MainWindow& frmMain() { return *g_main; }
void SetMainWindow(MainWindow* window) { g_main = window; }

MainWindow::MainWindow()
    : Form(MainDesign()),
      lbl3SecCD(AddLabel(DigitLabel(0))),
      lblSeparator0(AddLabel(DigitLabel(1))),
      lblHour(AddLabel(DigitLabel(2))),
      lblSeparator2(AddLabel(DigitLabel(3))),
      lblSeparator1(AddLabel(DigitLabel(4))),
      lblSec(AddLabel(DigitLabel(5))),
      lblMSec(AddLabel(DigitLabel(6))),
      lblMin(AddLabel(DigitLabel(7))),
      lblScramble(AddLabel(ScrambleLabel())),
      tmrCounter(*this, L::kCounterIntervalMs, [this] { onCounterTick(); }),
      tmr3SecCD(*this, L::kCountdownIntervalMs, [this] { onCountdownTick(); }),
      tmrInspection(*this, kInspectionTickMs, [this] { onInspectionTick(); }) {}

MainWindow::~MainWindow() {
  if (g_main == this) g_main = nullptr;
}

void MainWindow::ApplyShowHourLayout(bool hourShown) {
  const L::ShowHourColumn& col = L::ShowHourLayout(hourShown);
  lblHour.SetVisible(col.hourVisible);
  lblSeparator0.SetVisible(col.hourVisible);
  SetClientSize(col.windowWidth - layout::kDesignedFrameWidth, ClientHeight());
  lblHour.SetLeft(col.hourLeft);
  lblMin.SetLeft(col.minLeft);
  lblSec.SetLeft(col.secLeft);
  lblMSec.SetLeft(col.msecLeft);
  lblSeparator0.SetLeft(col.separator0Left);
  lblSeparator1.SetLeft(col.separator1Left);
  lblSeparator2.SetLeft(col.separator2Left);
  lbl3SecCD.SetWidth(col.countdownWidth);
  lblScramble.SetWidth(ClientWidth());
}

void MainWindow::ApplyScrambleSetting() {
  const bool shown = ReadSetting("Show Scramble", "Disabled") == kEnabled;
  scrambleShown_ = shown;
  SetClientSize(ClientWidth(), L::kClientHeight + (shown ? L::kScrambleRowHeight : 0));
  lblScramble.SetWidth(ClientWidth());
  lblScramble.SetVisible(shown);
  if (!shown) return;
  // The solver's tables are built on the worker only once the row is wanted.
  scrambleFeed_.Start(Handle(), kScrambleReadyMessage);
  if (scramble_.empty()) NextScramble();
}

void MainWindow::NextScramble() {
  scrambleWanted_ = !scrambleFeed_.Ready();
  scramble_ = scrambleWanted_ ? std::string() : scrambleFeed_.Take();
  lblScramble.SetText(scrambleWanted_ ? std::string(L::kScramblePlaceholder) : scramble_);
}

bool MainWindow::CopyScramble() { return !scramble_.empty() && CopyTextToClipboard(Handle(), scramble_); }

bool MainWindow::OnLoad() {
  if (!CheckSoundFiles()) {
    ShowMessageBox(Handle(), kSoundFileMessage, kAppTitle, kStyleExclamation);
    return false;
  }
  if (!CheckDisplayFont()) {
    if (ShowMessageBox(Handle(), kFontMessage, kAppTitle, kStyleYesNoExclamation) != IDYES) {
      Unload();
      return false;
    }
  }
  docking::ActivateDocking(Handle());
  const std::string settings = SettingsPath();
  if (!storage::ItemExists(settings)) storage::WriteDefaultSettings(settings);
  const std::string showHour = ReadSetting("Show Hour", "Disabled");
  if (showHour == kEnabled || showHour == kDisabled) {
    ApplyShowHourLayout(showHour == kEnabled);
    CenterHorizontally();
  }
  ApplyScrambleSetting();
  storage::ResultLogRead log = storage::ReadResultLog(ResultLogPath());
  // A log that is there but unreadable (held by another program, a failing disk) is
  // never saved over: new results wait in memory until it can be read and merged.
  logUnread_ = log.state == storage::ResultLogRead::State::kUnreadable;
  saveError_ = log.error;
  lstTmpResult.Assign(std::move(log.lines));
  return true;
}

bool MainWindow::CheckSoundFiles() {
  const std::string folder = AppFolder();
  const std::string ding = folder + "Ding.wav";
  const std::string beep = folder + "Beep.wav";
  const bool dingExists = storage::ItemExists(ding);
  const bool beepExists = storage::ItemExists(beep);
  if (!dingExists || !beepExists) return false;
  // Only the lengths count, not the contents; an empty or unreadable file fails too.
  return FileLength(beep) == static_cast<long long>(kBeepLength) &&
         FileLength(ding) == static_cast<long long>(kDingLength);
}

bool MainWindow::CheckDisplayFont() {
  if (!DigitFontInstalled()) {
    // Without the installed face, our own copy serves this process alone.
    AddFontResourceExA((AppFolder() + "Digital-7.ttf").c_str(), FR_PRIVATE, nullptr);
    for (Label* label : {&lbl3SecCD, &lblSeparator0, &lblHour, &lblSeparator2, &lblSeparator1, &lblSec,
                         &lblMSec, &lblMin}) {
      label->ResetFont();
    }
  }
  return lblHour.FontFaceUsed() == L::kDigitFace;
}

void MainWindow::OnUnload() {
  docking::DeactivateDocking(Handle());
  if (onUnloadExtra) onUnloadExtra();
  if (quitOnUnload) PostQuitMessage(0);
}

void MainWindow::OnKeyDown(int vk, int shift, bool repeat) { onKeyDown(vk, shift, repeat); }

void MainWindow::onKeyDown(int vk, int shift, bool repeat) {
  // The clock first: reading the settings file must not add to the recorded time.
  if (vk == VK_SPACE) OnSpace(NowMs(), repeat);
  if (vk == VK_ESCAPE) {
    StopInspection();  // cancelled: nothing is logged
    penalty_ = Penalty::None;
    tmrCounter.SetEnabled(false);
    lblMin.SetText("00");
    lblSec.SetText("00");
    lblMSec.SetText("00");
  }
  if (vk == VK_F1 && onF1) onF1();
  if (vk == VK_F2 && onF2) onF2();
  if (vk == VK_F3 && onF3) onF3();
  if (vk == 'C' && (shift & kCtrlMask) && scrambleShown_) CopyScramble();
}

void MainWindow::OnSpace(std::int64_t pressedAt, bool repeat) {
  // Inspection, when it is on, takes the countdown's place whatever "Countdown" says.
  const bool idle = !tmrCounter.Enabled() && !tmr3SecCD.Enabled();
  if (tmrInspection.Enabled() || (idle && ReadSetting("Inspection", "Disabled") == kEnabled)) {
    OnInspectionSpace(pressedAt, repeat);
    return;
  }
  const std::string countdown = ReadSetting("Countdown", "Enabled");
  switch (DecideSpace(countdown, tmrCounter.Enabled(), tmr3SecCD.Enabled(), repeat)) {
    case SpaceAction::StartCountdown:
      StartCountdown();
      break;
    case SpaceAction::StartTiming:
      StartTiming(pressedAt);
      break;
    case SpaceAction::StopAndRecord:
      StopAndRecord(pressedAt);
      break;
    case SpaceAction::None:
      break;
  }
}

void MainWindow::StartCountdown() {
  lbl3SecCD.SetText("3");
  lbl3SecCD.SetVisible(true);
  PlaySoundAsync(AppFolder() + "Beep.wav");
  tmr3SecCD.SetEnabled(true);
}

void MainWindow::OnInspectionSpace(std::int64_t pressedAt, bool repeat) {
  if (repeat) return;  // a held key never starts anything
  if (!tmrInspection.Enabled()) {
    inspectionStart_ = pressedAt;
    inspectionCalls_ = 0;
    lbl3SecCD.SetText(InspectionText(0));
    lbl3SecCD.SetVisible(true);
    tmrInspection.SetEnabled(true);
    return;
  }
  // The penalty is judged at the key press itself, not at the last tick.
  const Penalty penalty = PenaltyFor(pressedAt - inspectionStart_);
  StopInspection();
  StartTiming(pressedAt);
  penalty_ = penalty;
}

void MainWindow::StopInspection() {
  if (!tmrInspection.Enabled()) return;
  tmrInspection.SetEnabled(false);
  lbl3SecCD.SetVisible(false);
  lbl3SecCD.SetText("3");
}

void MainWindow::onInspectionTick() {
  const std::int64_t elapsed = NowMs() - inspectionStart_;
  lbl3SecCD.SetText(InspectionText(elapsed));
  // One beep per call, even when a tick came late and both are due at once.
  const int due = CallsDue(elapsed);
  if (due > inspectionCalls_) {
    inspectionCalls_ = due;
    PlaySoundAsync(AppFolder() + "Beep.wav");
  }
}

void MainWindow::StartTiming(std::int64_t pressedAt) {
  penalty_ = Penalty::None;
  StartTick = pressedAt;
  tmrCounter.AlignTicks(StartTick, kHundredthMs);
  tmrCounter.SetEnabled(true);
}

void MainWindow::StopAndRecord(std::int64_t pressedAt) {
  // The display is brought to the moment of the key press, so the recorded
  // result is the press and still what the display shows; a late start's two
  // seconds are in both.
  const Penalty penalty = std::exchange(penalty_, Penalty::None);
  ShowElapsed(pressedAt - StartTick + (penalty == Penalty::PlusTwo ? kPenaltyMs : 0));
  if (!tmrCounter.Enabled()) return;  // that reading was the one-hour stop
  tmrCounter.SetEnabled(false);
  if (scrambleShown_) NextScramble();  // the solve used the one shown
  if (ReadSetting("Log Result", "Enabled") == kEnabled) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const LocalTime when{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    lstTmpResult.Append(BuildResultLine(when, LocaleText(LOCALE_SDATE, "/"), LocaleText(LOCALE_STIME, ":"),
                                        lblHour.Text(), lblMin.Text(), lblSec.Text(), lblMSec.Text()) +
                        std::string(PenaltySuffix(penalty)));
    ++unsavedResults_;
    if (onResultLogged) onResultLogged();
  }
  SaveTmpResultList();
}

bool MainWindow::SaveTmpResultList() {
  const std::string path = ResultLogPath();
  bool saved = false;
  if (!logUnread_ || MergeUnreadLog(path)) saved = storage::WriteResultLog(path, lstTmpResult.Items(), &saveError_);
  saveFailed_ = !saved;
  if (saved) unsavedResults_ = 0;
  ShowSaveState();
  return saved;
}

bool MainWindow::MergeUnreadLog(const std::string& path) {
  storage::ResultLogRead log = storage::ReadResultLog(path);
  if (log.state == storage::ResultLogRead::State::kUnreadable) {
    saveError_ = log.error;
    return false;
  }
  // The old lines first, then those logged since.
  const std::vector<std::string>& logged = lstTmpResult.Items();
  log.lines.insert(log.lines.end(), logged.begin(), logged.end());
  lstTmpResult.Assign(std::move(log.lines));
  logUnread_ = false;
  if (onResultsReloaded) onResultsReloaded();
  return true;
}

void MainWindow::DeleteResultLog() {
  const std::string path = ResultLogPath();
  logUnread_ = false;
  const bool gone = !storage::ItemExists(path) || storage::DeleteResultLog(path);
  if (!gone) saveError_ = GetLastError();
  saveFailed_ = !gone;
  if (gone) unsavedResults_ = 0;
  ShowSaveState();
}

void MainWindow::ShowSaveState() {
  if (!Handle() || saveFailed_ == captionMarked_) return;
  captionMarked_ = saveFailed_;
  if (saveFailed_) {
    SetWindowTextW(Handle(), kUnsavedCaption);
  } else {
    SetCaption(L::kCaption);
  }
}

void MainWindow::ConfirmUnsavedResults() {
  while (saveFailed_) {
    const int answer = ShowMessageBox(Handle(), UnsavedMessage(unsavedResults_, ResultLogPath(), saveError_),
                                      kAppTitle, kStyleRetryCancel);
    if (answer != IDRETRY) return;  // the user let them go
    SaveTmpResultList();
  }
}

LRESULT MainWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      ConfirmUnsavedResults();
      break;
    case kScrambleReadyMessage:
      if (scrambleShown_ && scrambleWanted_) NextScramble();
      return 0;
    case WM_QUERYENDSESSION:
      // No question while Windows shuts down, but one more try at saving.
      if (saveFailed_) SaveTmpResultList();
      return TRUE;
    default:
      break;
  }
  return Form::WndProc(message, wParam, lParam);
}

void MainWindow::ShowElapsed(std::int64_t elapsedMs) {
  ElapsedMs = elapsedMs;
  const DisplayFields f = FieldsFor(elapsedMs);
  lblSec.SetText(f.sec);
  lblMin.SetText(f.min);
  lblHour.SetText(f.hour);
  if (f.limitReached) tmrCounter.SetEnabled(false);
  lblMSec.SetText(f.msec);
}

void MainWindow::onCounterTick() { ShowElapsed(NowMs() - StartTick); }

void MainWindow::onCountdownTick() {
  const std::string& text = lbl3SecCD.Text();
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  const std::string next = std::to_string(value - 1);
  lbl3SecCD.SetText(next);
  if (next == "2" || next == "1") PlaySoundAsync(AppFolder() + "Beep.wav");
  if (next != "0") return;
  StartTick = NowMs();
  tmrCounter.AlignTicks(StartTick, kHundredthMs);
  tmrCounter.SetEnabled(true);
  lbl3SecCD.SetVisible(false);
  lbl3SecCD.SetText("3");
  tmr3SecCD.SetEnabled(false);
  PlaySoundAsync(AppFolder() + "Ding.wav");
}

}  // namespace tw
