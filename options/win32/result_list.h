#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "results/book_watcher.h"

namespace tw::results {
class ResultBook;
}

namespace tw::options {

// The Result panel's list: a native single-selection list box that holds no lines of
// its own. It is a no-data, owner-drawn box (LBS_NODATA | LBS_OWNERDRAWFIXED) told
// only how many lines the book has, and it draws each line from the book as a plain
// list box draws its text, so a log of any length costs it no memory and shows at once.
// It follows the book while it is attached to one; it never changes the book.
// It scrolls sideways as far as its widest line reaches, so a line with its scramble
// and comment reads whole: the width is kept up to date from the lines that change,
// and only measured line by line when the book is read whole again.
class ResultList : public results::BookWatcher {
 public:
  ResultList() = default;
  ~ResultList() override;
  ResultList(const ResultList&) = delete;
  ResultList& operator=(const ResultList&) = delete;

  // Takes over a list box created with LBS_NODATA | LBS_OWNERDRAWFIXED; null lets it go.
  void Attach(HWND listBox);
  HWND Handle() const { return hwnd_; }
  // The book shown; null shows an empty list. The book must outlive the attachment.
  void SetBook(results::ResultBook* book);
  results::ResultBook* Book() const { return book_; }

  int Count() const;
  std::string TextAt(int index) const;  // "" past the end
  std::vector<std::string> Items() const;
  // -1 when nothing is selected.
  int SelectedIndex() const;
  // -1 clears the selection; an index past the last selects nothing.
  void SetSelectedIndex(int index);

  // The height of one line in the box's font, as a list box with text gives its lines.
  static int LineHeight(HFONT font);
  // After the box's font changed (a DPI change): its lines take the new height.
  void FontChanged();
  // The owner's WM_DRAWITEM for this box.
  void Draw(const DRAWITEMSTRUCT& item) const;
  // How far the box scrolls sideways, in pixels: its widest line and the margins a
  // line is drawn with.
  int HorizontalExtent() const;

  // Told once the book's save state changed, after the list has followed it.
  std::function<void(const results::ResultBook&)> onSaveStateChanged;
  // Told when Delete is pressed in the box.
  std::function<void()> onDeleteKey;

  void OnAppended(const results::ResultBook& book) override;
  void OnRemoved(const results::ResultBook& book, std::size_t index) override;
  void OnReplaced(const results::ResultBook& book, std::size_t index) override;
  void OnReloaded(const results::ResultBook& book) override;
  void OnSaveStateChanged(const results::ResultBook& book) override;

 private:
  static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnListMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Gives the box the book's count, keeping the selection at `selected` and the view
  // at `top` where they still exist.
  void ShowCount(int selected, int top);
  void Unsubclass();
  // The advance of every byte in the box's font, for measuring lines without a DC.
  void MeasureFont();
  void MeasureAll();
  void Measure(std::size_t index);
  int LineWidth(HDC dc, std::string_view line) const;
  void ApplyExtent();

  std::array<int, 256> advance_{};
  // Under a code page of double-byte characters a line with any byte past ASCII is
  // measured by the system; every other line adds up its bytes' advances.
  bool doubleByte_ = false;
  int widest_ = 0;
  // The widest line of the book shown before, kept while that book is as it was (and
  // the font the same): a switch back to a long session measures none of its lines.
  struct KeptWidth {
    const results::ResultBook* book = nullptr;
    std::uint64_t revision = 0;
    int widest = 0;
  };
  KeptWidth previousWidth_;
  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;
  results::ResultBook* book_ = nullptr;
};

}  // namespace tw::options
