#include "app/win32/main_window.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "app/change_note.h"
#include "app/elapsed_display.h"
#include "app/spoken_digits.h"
#include "docking/win32/docking.h"
#include "resources/main_layout.h"
#include "resources/resource_ids.h"
#include "storage/win32/item_exists_win.h"
#include "storage/win32/result_log_file.h"
#include "results/solve.h"
#include "storage/win32/settings.h"
#include "storage/win32/wide_path.h"
#include "toolkit/win32/form_accessible.h"
#include "toolkit/win32/services.h"
#include "toolkit/win32/system_text.h"

namespace tw {

namespace {

namespace L = layout::main;

using settings::Reader;
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
// Hold to start: red while Space is held, green once the release will start.
constexpr COLORREF kHoldingColor = RGB(0xD0, 0x00, 0x00);
constexpr COLORREF kReadyColor = RGB(0x00, 0xA0, 0x00);
constexpr unsigned kHoldTickMs = 15;
constexpr unsigned kTimerStallTickMs = 250;
constexpr ULONGLONG kBeepLength = 1282;
constexpr ULONGLONG kDingLength = 80856;

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



bool TimerSwitch(const settings::SwitchKey& key) { return settings::IsEnabled(key, Reader::kTimer); }

// The length of a file, or -1 when it cannot be read.
long long FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(storage::Widen(path).c_str(), GetFileExInfoStandard, &data)) return -1;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
  return static_cast<long long>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
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

MainWindow::MainWindow(results::ResultBook& book)
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
      lblAverages(AddLabel(AveragesDesign())),
      tmrCounter(*this, L::kCounterIntervalMs, [this] { onCounterTick(); }),
      tmr3SecCD(*this, L::kCountdownIntervalMs, [this] { onCountdownTick(); }),
      tmrInspection(*this, kInspectionTickMs, [this] { onInspectionTick(); }),
      tmrHold(*this, kHoldTickMs, [this] { onHoldTick(); }),
      tmrTimerStall(*this, kTimerStallTickMs, [this] { onTimerStallTick(); }),
      book_(&book) {
  book_->AddWatcher(this);
}

MainWindow::~MainWindow() {
  if (shelf_) shelf_->onSaveStateChanged = nullptr;
  book_->RemoveWatcher(this);
  settings::Store().RemoveWatcher(*this);
}

void MainWindow::ApplyShowHourLayout(bool hourShown) {
  const L::ShowHourColumn& col = L::ShowHourLayout(hourShown);
  lblHour.SetVisible(col.hourVisible);
  lblSeparator0.SetVisible(col.hourVisible);
  SetClientSize(col.windowWidth - layout::kLayoutFrameWidth, ClientHeight());
  lblHour.SetLeft(col.hourLeft);
  lblMin.SetLeft(col.minLeft);
  lblSec.SetLeft(col.secLeft);
  lblMSec.SetLeft(col.msecLeft);
  lblSeparator0.SetLeft(col.separator0Left);
  lblSeparator1.SetLeft(col.separator1Left);
  lblSeparator2.SetLeft(col.separator2Left);
  lbl3SecCD.SetWidth(col.countdownWidth);
  lblScramble.SetWidth(ClientWidth());
  lblAverages.SetWidth(ClientWidth());
}

void MainWindow::OnSettingChanged(std::string_view key) {
  if (key == settings::kShowHour.name) {
    ApplyShowHourLayout(TimerSwitch(settings::kShowHour));
    CenterHorizontally();
  } else if (key == settings::kShowScramble.name) {
    ApplyScrambleSetting();
  } else if (key == settings::kShowAverages.name) {
    ApplyAveragesSetting();
  } else if (key == settings::kLogResult.name) {
    ShowCaption();
  } else if (key == settings::kTimerInput.name || key == settings::kStackmatDevice.name) {
    ApplyTimerInput();
  } else if (key == settings::kCountdown.name || key == settings::kInspection.name) {
    PrepareSounds();
  }
}

void MainWindow::PrepareSounds() {
  // The countdown's beeps and inspection's calls must start on time, the first one too.
  if (TimerSwitch(settings::kCountdown) || TimerSwitch(settings::kInspection)) WarmSoundOutput();
}

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
  settings::CreateIfMissing();
  const settings::Switch showHour = settings::Read(settings::kShowHour, Reader::kTimer);
  if (showHour != settings::Switch::kOther) {
    ApplyShowHourLayout(showHour == settings::Switch::kEnabled);
    CenterHorizontally();
  }
  ApplyScrambleSetting();
  ApplyTimerInput();
  // A log that is there but unreadable (held by another program, a failing disk, saved
  // as UTF-16) is never saved over: the book keeps new results until it reads.
  book_->Load();
  ApplyAveragesSetting();
  ShowCaption();
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
    AddFontResourceExW(storage::Widen(AppFolder() + "Digital-7.ttf").c_str(), FR_PRIVATE, nullptr);
    for (Label* label : {&lbl3SecCD, &lblSeparator0, &lblHour, &lblSeparator2, &lblSeparator1, &lblSec,
                         &lblMSec, &lblMin}) {
      label->ResetFont();
    }
  }
  return lblHour.FontFaceUsed() == L::kDigitFace;
}

void MainWindow::OnUnload() {
  listener_.reset();
  tmrTimerStall.SetEnabled(false);
  docking::DeactivateDocking(Handle());
  if (onUnloadExtra) onUnloadExtra();
  if (quitOnUnload) PostQuitMessage(0);
}

void MainWindow::OnKeyDown(int vk, int shift, bool repeat) { onKeyDown(vk, shift, repeat); }
void MainWindow::OnKeyUp(int vk, int shift) { onKeyUp(vk, shift); }

bool MainWindow::StopsWithAnyKey(int vk) {
  switch (vk) {
    case VK_ESCAPE:
    case VK_F1:
    case VK_F2:
    case VK_F3:
    case VK_F4:
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
    case VK_LWIN:
    case VK_RWIN:
    case VK_SPACE:  // Space has rules of its own
      return false;
    default:
      return true;
  }
}

void MainWindow::onKeyDown(int vk, int shift, bool repeat) {
  // The clock first: reading the settings file must not add to the recorded time.
  const std::int64_t at = InputEventMs();
  const bool wasTiming = state_.phase == timing::Phase::Running;
  if (vk == VK_SPACE) Apply(repeat ? timing::Event::SpaceRepeat : timing::Event::Space, at);
  if (vk == VK_ESCAPE) Apply(timing::Event::Escape, at);
  if (wasTiming && !repeat && StopsWithAnyKey(vk)) Apply(timing::Event::OtherKey, at);
  if (vk == VK_F1 && onF1) onF1();
  if (vk == VK_F2 && onF2) onF2();
  if (vk == VK_F3 && onF3) onF3();
  if (vk == VK_F4 && onF4 && (shift & kAltMask) == 0) onF4();  // Alt+F4 closes the program
  // Edits of the log after the stop: never from the key that stopped a solve.
  const bool ctrl = (shift & kCtrlMask) != 0 && !wasTiming && state_.phase == timing::Phase::Idle;
  if (!ctrl || repeat) return;
  if (vk == 'C' && scrambleShown_) CopyScramble();
  if (vk == '1') SetLastPenalty(results::Penalty::None);
  if (vk == '2') SetLastPenalty(results::Penalty::PlusTwo);
  if (vk == '3') SetLastPenalty(results::Penalty::Dnf);
  if (vk == 'Z') UndoOrRedo(true);
  if (vk == 'Y') UndoOrRedo(false);
  if (vk == VK_NEXT && shelf_) shelf_->Step(+1);
  if (vk == VK_PRIOR && shelf_) shelf_->Step(-1);
}

void MainWindow::onKeyUp(int vk, int /*shift*/) {
  if (vk == VK_SPACE) Apply(timing::Event::SpaceUp, InputEventMs());
}

void MainWindow::onHoldTick() {
  const std::int64_t at = NowMs();
  const timing::Settings settings = ReadTimingSettings();
  if (settings.holdDelayMs && at - holdStart_ >= *settings.holdDelayMs) Apply(timing::Event::HoldReady, at);
}

void MainWindow::ShowDnfMark(bool shown) {
  if (shown == dnfShown_) return;
  dnfShown_ = shown;
  lbl3SecCD.SetText(shown ? InspectionText(kInspectionDnfMs) : std::string("3"));
  lbl3SecCD.SetVisible(shown);
}


timing::Settings MainWindow::ReadTimingSettings() const {
  return timing::Settings{settings::Read(settings::kCountdown, Reader::kTimer), TimerSwitch(settings::kInspection),
                          settings::kHoldToStart.Parse(settings::Read(settings::kHoldToStart.text)),
                          TimerSwitch(settings::kAnyKeyStops), competitionTimer_};
}

void MainWindow::Apply(timing::Event event, std::int64_t at) {
  const timing::Step step = timing::Decide(state_, event, ReadTimingSettings(), at - StartTick);
  state_ = step.next;
  if (step.action != timing::Action::None) {
    ShowDnfMark(false);
    if (!changeNote_.empty() && event != timing::Event::HoldReady) {
      changeNote_.clear();
      ShowCaption();
    }
  }
  switch (step.action) {
    case timing::Action::BeginHold:
      holdStart_ = at;
      tmrHold.SetEnabled(state_.phase == timing::Phase::Holding);
      break;
    case timing::Action::ShowReady:
    case timing::Action::CancelHold:
      tmrHold.SetEnabled(false);
      break;
    case timing::Action::StartCountdown:
      StartCountdown();
      break;
    case timing::Action::StartTiming:
      StartTiming(at);
      break;
    case timing::Action::StartInspection:
      StartInspection(at);
      break;
    case timing::Action::StartFromInspection: {
      tmrHold.SetEnabled(false);
      // The penalty is judged at the key press itself, not at the last tick.
      const Penalty penalty = PenaltyFor(at - inspectionStart_);
      StopInspection();
      StartTiming(at);
      penalty_ = penalty;
      break;
    }
    case timing::Action::StopAndRecord:
      StopAndRecord(at);
      break;
    case timing::Action::CancelInspection:
      tmrHold.SetEnabled(false);
      StopInspection();
      penalty_ = Penalty::None;
      break;
    case timing::Action::StopCounter:
      tmrCounter.SetEnabled(false);
      penalty_ = Penalty::None;
      break;
    case timing::Action::ShowHands:
    case timing::Action::ClearDisplay:
    case timing::Action::None:
      break;
  }
  if (step.clearDisplay || step.action == timing::Action::ClearDisplay) ClearDisplay();
  ShowHoldColour();
  // The countdown's timer follows the phase's word on it.
  if (!state_.countdownTicking && tmr3SecCD.Enabled()) {
    tmr3SecCD.SetEnabled(false);
    lbl3SecCD.SetVisible(false);
    lbl3SecCD.SetText("3");
  }
  if (step.action != timing::Action::None) NotifyAccessibleValueChanged(Handle());
}

void MainWindow::ShowHoldColour() {
  const timing::HoldCue cue = timing::CueOf(state_);
  COLORREF colour = L::kDigitColor;
  if (cue.colour == timing::HoldColour::Holding) colour = kHoldingColor;
  if (cue.colour == timing::HoldColour::Ready) colour = kReadyColor;
  // Inspection's digit covers the count's: the cue goes where it is seen.
  lbl3SecCD.SetForeColor(cue.onInspection ? colour : L::kCountdownColor);
  if (cue.onInspection) colour = L::kDigitColor;
  for (Label* label : {&lblHour, &lblMin, &lblSec, &lblMSec, &lblSeparator0, &lblSeparator1, &lblSeparator2}) {
    label->SetForeColor(colour);
  }
}

void MainWindow::ClearDisplay() {
  lblMin.SetText("00");
  lblSec.SetText("00");
  lblMSec.SetText("00");
}

void MainWindow::StartCountdown() {
  lbl3SecCD.SetText("3");
  lbl3SecCD.SetVisible(true);
  PlaySoundAsync(AppFolder() + "Beep.wav");
  tmr3SecCD.SetEnabled(true);
}

void MainWindow::StartInspection(std::int64_t at) {
  inspectionStart_ = at;
  inspectionCalls_ = 0;
  lbl3SecCD.SetText(InspectionText(0));
  lbl3SecCD.SetVisible(true);
  tmrInspection.SetEnabled(true);
}

void MainWindow::StopInspection() {
  if (!tmrInspection.Enabled()) return;
  tmrInspection.SetEnabled(false);
  lbl3SecCD.SetVisible(false);
  lbl3SecCD.SetText("3");
}

void MainWindow::onInspectionTick() {
  const std::int64_t elapsed = NowMs() - inspectionStart_;
  const std::string digit = InspectionText(elapsed);
  if (digit != lbl3SecCD.Text()) {
    lbl3SecCD.SetText(digit);
    NotifyAccessibleValueChanged(Handle());
  }
  // One beep per call, even when a tick came late and both are due at once.
  const int due = CallsDue(elapsed);
  if (due > inspectionCalls_) {
    inspectionCalls_ = due;
    PlaySoundAsync(AppFolder() + "Beep.wav");
  }
}

void MainWindow::StartTiming(std::int64_t at) {
  tmrHold.SetEnabled(false);
  penalty_ = Penalty::None;
  StartTick = at;
  // A competition timer is the clock: its packets move the digits.
  if (competitionTimer_) return;
  tmrCounter.AlignTicks(StartTick, kHundredthMs);
  tmrCounter.SetEnabled(true);
}

void MainWindow::StopAndRecord(std::int64_t at) {
  const Penalty penalty = std::exchange(penalty_, Penalty::None);
  // What a competition timer shows is the solve, to the hundredth it shows.
  const std::int64_t measured = competitionTimer_ ? timerMs_ : at - StartTick;
  tmrCounter.SetEnabled(false);
  if (FieldsFor(measured).limitReached) {
    // The one-hour stop came first: the solve stopped by itself and is not logged.
    ShowElapsed(measured);
    return;
  }
  // The display is brought to the moment of the key press, so the recorded result is
  // the press and still what the display shows; a late start's two seconds are in
  // both, even when they carry the result past the hour.
  const std::int64_t shown = measured + (penalty == Penalty::PlusTwo ? kPenaltyMs : 0);
  ElapsedMs = shown;
  ShowFields(ResultFieldsFor(shown));
  ShowDnfMark(penalty == Penalty::Dnf);
  // The solve used the scramble shown: it goes into the line, and the next is drawn.
  const std::string scramble = scrambleShown_ ? scramble_ : std::string();
  if (scrambleShown_) NextScramble();
  if (!TimerSwitch(settings::kLogResult)) {
    ShowCaption();
    book_->Save();
    return;
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  results::Solve solve;
  solve.when = results::LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  solve.time = shown / 10;
  solve.penalty = penalty;
  solve.scramble = scramble;
  solve.dateSeparator = LocaleText(LOCALE_SDATE, "/");
  solve.timeSeparator = LocaleText(LOCALE_STIME, ":");
  book_->Append(results::Format(solve));
}

LRESULT MainWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      ConfirmUnsavedResults();
      break;
    case kTimerInputMessage:
      if (listener_) {
        for (const stackmat::ListenerEvent& event : listener_->TakeEvents()) OnTimerEvent(event);
      }
      return 0;
    case kScrambleReadyMessage:
      if (scrambleShown_ && scrambleFeed_ && (scrambleWanted_ || scrambleFeed_->Failed())) NextScramble();
      return 0;
    case WM_QUERYENDSESSION:
      // No question while Windows shuts down, but one more try at saving.
      book_->Flush();
      if (book_->State().failed) {
        book_->Save();
        book_->Flush();
      }
      return TRUE;
    default:
      break;
  }
  return Form::WndProc(message, wParam, lParam);
}

std::optional<std::wstring> MainWindow::AccessibleValue() const {
  return storage::Widen(SpokenDigits(state_.phase, lbl3SecCD.Text(), ElapsedMs, dnfShown_));
}

void MainWindow::ShowElapsed(std::int64_t elapsedMs) {
  ElapsedMs = elapsedMs;
  ShowFields(FieldsFor(elapsedMs));
}

void MainWindow::ShowFields(const DisplayFields& f) {
  lblSec.SetText(f.sec);
  lblMin.SetText(f.min);
  lblHour.SetText(f.hour);
  lblMSec.SetText(f.msec);
}

void MainWindow::onCounterTick() {
  const std::int64_t elapsed = NowMs() - StartTick;
  if (FieldsFor(elapsed).limitReached) {
    ShowElapsed(elapsed);
    Apply(timing::Event::HourLimit, NowMs());
    return;
  }
  ShowElapsed(elapsed);
}

void MainWindow::onCountdownTick() {
  const std::string& text = lbl3SecCD.Text();
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  const std::string next = std::to_string(value - 1);
  lbl3SecCD.SetText(next);
  NotifyAccessibleValueChanged(Handle());
  if (next == "2" || next == "1") PlaySoundAsync(AppFolder() + "Beep.wav");
  if (next != "0") return;
  const std::int64_t at = NowMs();
  lbl3SecCD.SetVisible(false);
  lbl3SecCD.SetText("3");
  tmr3SecCD.SetEnabled(false);
  Apply(timing::Event::CountdownDone, at);
  PlaySoundAsync(AppFolder() + "Ding.wav");
}

}  // namespace tw
