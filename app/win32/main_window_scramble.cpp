// The main window's scramble row: the next scramble of the session's event, drawn on
// a worker thread, shown under the digits when "Show Scramble" asks for it.
#include <algorithm>

#include "app/win32/main_window.h"
#include "resources/main_layout.h"
#include "storage/win32/settings.h"
#include "toolkit/win32/services.h"

namespace tw {

namespace {

namespace L = layout::main;

}  // namespace

void MainWindow::OnSessionChanged(const std::string& event, int sessionCubes, const std::string& cases) {
  const scramble::Event next = scramble::EventFromId(event).value_or(scramble::Event::k333);
  // A Multi-Blind session always has its count; a caller without one gets the fewest an attempt may have.
  const int fewest = *settings::kMultiBlindCubes.fallback;
  const int cubes = next != scramble::Event::k333mbf ? scramble::kFewestMultiBlindPuzzles
                    : sessionCubes > 0              ? sessionCubes
                                                    : fewest;
  const std::string drilled = scramble::HasCases(next) ? cases : std::string();
  if (next == event_ && cubes == cubes_ && drilled == cases_) return;
  event_ = next;
  cubes_ = cubes;
  cases_ = drilled;
  // The old event's worker is stopped here; a scramble it had ready is not this event's.
  scrambleFeed_.reset();
  scramble_.clear();
  scrambleState_.clear();
  if (scrambleShown_) ApplyScrambleSetting();
}

void MainWindow::ApplyScrambleSetting() {
  const bool shown = settings::IsEnabled(settings::kShowScramble, settings::Reader::kTimer);
  scrambleShown_ = shown;
  lblScramble.SetWrap(true);
  lblScramble.SetWidth(ClientWidth());
  lblScramble.SetVisible(shown);
  if (!shown) {
    FitScrambleRow();
    if (onScrambleChanged) onScrambleChanged(event_, {});
    return;
  }
  // The event's tables are built on the worker only once the row is wanted.
  if (!scrambleFeed_) scrambleFeed_ = std::make_unique<scramble::ScrambleFeed>(event_, cubes_, cases_);
  scrambleFeed_->Start(Handle(), kScrambleReadyMessage);
  if (scramble_.empty()) {
    NextScramble();
  } else {
    ShowScramble({scramble_, scrambleState_}, scramble_);
  }
}

void MainWindow::NextScramble() {
  if (scrambleFeed_->Failed()) {
    // The tables could not be built (out of memory): say so rather than wait for ever.
    scrambleWanted_ = false;
    ShowScramble({}, L::kScrambleUnavailable);
    return;
  }
  scrambleWanted_ = !scrambleFeed_->Ready();
  if (scrambleWanted_) {
    ShowScramble({}, L::kScramblePlaceholder);
    return;
  }
  scramble::EventScramble next = scrambleFeed_->TakeScramble();
  const std::string text = next.text;
  ShowScramble(std::move(next), text);
}

void MainWindow::ShowScramble(scramble::EventScramble scramble, const std::string& rowText) {
  scramble_ = scramble.text;
  scrambleState_ = scramble.state;
  lblScramble.SetText(rowText);
  FitScrambleRow();
  if (onScrambleChanged) onScrambleChanged(event_, scramble);
}

// The row grows to the scramble's lines (Megaminx's seven, a long big-cube scramble
// broken at the window's width), never below the layout's one-line row.
void MainWindow::FitScrambleRow() {
  int row = 0;
  if (scrambleShown_) row = std::max(L::kScrambleRowHeight, lblScramble.TextHeight() + L::kScrambleRowPadding);
  lblScramble.SetHeight(row);
  // Under the averages line when that is shown.
  lblScramble.SetTop(L::kScrambleTop + AveragesRowHeight());
  SetClientSize(ClientWidth(), L::kClientHeight + AveragesRowHeight() + row);
}

bool MainWindow::CopyScramble() { return !scramble_.empty() && CopyTextToClipboard(Handle(), scramble_); }

}  // namespace tw
