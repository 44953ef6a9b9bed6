// The options window's controls, made in two steps when F1 opens it: first what the
// panel it opens on shows, then, once that is painted, the rest a few at a time, so
// the panel is on the screen before the window has built what it does not show
// (three drop-down lists, the About picture's decoder). Anything else that touches
// the window (F2, a switch of panel, a test) finds every control made.
#include "options/win32/options_window.h"

#include "resources/options_layout.h"

namespace tw {

namespace {

namespace lo = layout::options;
using options::Panel;

// Controls made at each tick of the completing timer: a few milliseconds' work, after
// which the thread waits and Wine puts what it painted on the screen.
constexpr int kControlsPerTick = 4;

const lo::ControlRow& RowAt(int index) { return lo::kAllControls[static_cast<std::size_t>(index)]; }

// The frame at window level a control lies in (itself for such a frame), or -1.
int WindowFrameOf(int index) {
  int frame = -1;
  for (int at = index; at >= 0;) {
    if (RowAt(at).kind == lo::Kind::Frame) frame = at;
    const std::string_view container = RowAt(at).container;
    at = container.empty() ? -1 : lo::IndexOf(container);
  }
  return frame;
}

}  // namespace

bool OptionsWindow::ShownWith(Panel panel, int index) {
  const int frame = WindowFrameOf(index);
  if (frame < 0) return true;  // the option buttons and Exit
  const lo::PanelRow& row = options::PanelRowOf(panel);
  const std::string_view name = RowAt(frame).name;
  return name == row.frame || name == row.addedFrame;
}

bool OptionsWindow::LoadShowingFirst(HWND owner) {
  defer_rest_ = true;
  const bool loaded = Load(owner);
  defer_rest_ = false;
  return loaded;
}

// Attaches each wrapper to its control as made now: none to a control not made yet,
// never to one of an earlier load.
void OptionsWindow::AttachControls() {
  const std::vector<OptionButton*> options{&optSetup, &optResult, &optAbout};
  optSetup.Attach(Control("optSetup"), options, [this] { onOptSetupClick(); });
  optResult.Attach(Control("optResult"), options, [this] { onOptResultClick(); });
  optAbout.Attach(Control("optAbout"), options, [this] { onOptAboutClick(); });
  chk3SecCD.Attach(Control("chk3SecCD"), [this] { onChk3SecCDClick(); });
  chkShowHour.Attach(Control("chkShowHour"), [this] { onChkShowHourClick(); });
  chkLogResult.Attach(Control("chkLogResult"), [this] { onChkLogResultClick(); });
  chkShowScramble.Attach(Control("chkShowScramble"), [this] { onChkShowScrambleClick(); });
  chkInspection.Attach(Control("chkInspection"), [this] { onChkInspectionClick(); });
  chkAnyKeyStops.Attach(Control("chkAnyKeyStops"), [this] { onChkAnyKeyStopsClick(); });
  chkShowAverages.Attach(Control("chkShowAverages"), [this] { onChkShowAveragesClick(); });
  if (lstResult.Handle() != Control("lstResult") || !Control("lstResult")) lstResult.Attach(Control("lstResult"));
  lstResult.onSaveStateChanged = [this](const results::ResultBook& book) { SelectAfterSave(book); };
  lstResult.onDeleteKey = [this] { onListDeleteKey(); };
}

void OptionsWindow::LoadPicture() {
  HWND image = Control("Image1");
  if (!image) return;
  const lo::ControlRow& row = lo::Row("Image1");
  options::Bitmap picture = options::LoadAboutPicture(Px(row.width), Px(row.height), lo::kBackColor);
  if (!picture) return;
  SendMessageA(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
  picture_ = std::move(picture);
}

void OptionsWindow::CompleteSomeControls() {
  int made = 0;
  HWND after = HWND_TOP;
  for (int index : lo::WindowTabOrder()) {
    HWND& control = hwnds_[static_cast<std::size_t>(index)];
    if (!control) {
      if (made == kControlsPerTick) return;
      CreateControl(index);
      ++made;
      // Into its place in the tab order, which is the z-order.
      if (control) SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (control) after = control;
  }
  FinishControls();
}

void OptionsWindow::CompleteControls() {
  if (complete_ || !Handle()) return;
  while (!complete_) CompleteSomeControls();
}

// Every control is made: the late ones are attached, loaded and shown as their frames say.
void OptionsWindow::FinishControls() {
  complete_ = true;
  KillTimer(Handle(), kCompleteTimerId);
  const bool listMadeLate = lstResult.Handle() != Control("lstResult");
  AttachControls();
  if (listMadeLate) {
    // Shown again from the book, measured for its widest line.
    results::ResultBook* book = lstResult.Book();
    lstResult.SetBook(nullptr);
    lstResult.SetBook(book);
  }
  LoadSwitch(chkShowHour, settings::kShowHour);
  LoadSwitch(chk3SecCD, settings::kCountdown);
  LoadSwitch(chkLogResult, settings::kLogResult);
  LoadSwitch(chkShowScramble, settings::kShowScramble);
  LoadSwitch(chkInspection, settings::kInspection);
  LoadSwitch(chkAnyKeyStops, settings::kAnyKeyStops);
  LoadSwitch(chkShowAverages, settings::kShowAverages);
  LoadHoldToStart();
  LoadTimerInput();
  SessionsChanged();
  if (!picture_) LoadPicture();
  ApplyFrames();
}

}  // namespace tw
