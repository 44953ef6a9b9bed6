// The main window's averages line: the session's current average of 5 and of 12 and
// its mean, under the digits when "Show Averages" asks for it, above the scramble row.
// It changes only when the book does, never while the digits count.
#include "app/win32/main_window.h"
#include "resources/main_layout.h"
#include "storage/win32/settings.h"

namespace tw {

namespace {

namespace L = layout::main;

// One line of 11-point text with room above and below it; the window grows by it.
constexpr int kAveragesRowHeight = 360;
constexpr int kAveragesCentiPoints = 1100;
constexpr std::uint32_t kAveragesColor = 0x00505050;

}  // namespace

LabelDesign MainWindow::AveragesDesign() {
  return LabelDesign{"lblAverages",
                     "",
                     0,
                     L::kScrambleTop,
                     L::kClientWidth,
                     kAveragesRowHeight,
                     false,
                     FontSpec{L::kScrambleFace, kAveragesCentiPoints, FW_NORMAL},
                     kAveragesColor,
                     L::kBackColor,
                     false,
                     TextAlign::Center,
                     false};
}

int MainWindow::AveragesRowHeight() const { return averagesShown_ ? kAveragesRowHeight : 0; }

void MainWindow::ApplyAveragesSetting() {
  const bool shown = settings::IsEnabled(settings::kShowAverages, settings::Reader::kTimer);
  const bool changed = shown != averagesShown_;
  averagesShown_ = shown;
  lblAverages.SetWidth(ClientWidth());
  lblAverages.SetVisible(shown);
  // The figures are kept only while they are shown: off, a solve costs nothing here.
  if (shown) {
    LoadAverages(*book_);
    ShowAverages();
  } else {
    averages_.Clear();
  }
  if (changed) FitScrambleRow();
}

void MainWindow::LoadAverages(const results::ResultBook& book) {
  averages_.Clear();
  book.Lines().ForEach([this](std::string_view line) { averages_.Append(line); });
}

void MainWindow::ShowAverages() {
  if (averagesShown_) lblAverages.SetText(averages_.Text());
}

void MainWindow::OnAppended(const results::ResultBook& book) {
  if (!averagesShown_ || book.Size() == 0) return;
  const storage::LineText line = book.Line(book.Size() - 1);
  averages_.Append(line);
  ShowAverages();
}

void MainWindow::OnRemoved(const results::ResultBook&, std::size_t index) {
  if (!averagesShown_) return;
  averages_.Remove(index);
  ShowAverages();
}

void MainWindow::OnReplaced(const results::ResultBook& book, std::size_t index) {
  if (!averagesShown_ || index >= book.Size()) return;
  const storage::LineText line = book.Line(index);
  averages_.Replace(index, line);
  ShowAverages();
}

void MainWindow::OnReloaded(const results::ResultBook& book) {
  if (!averagesShown_) return;
  LoadAverages(book);
  ShowAverages();
}

}  // namespace tw
