#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/list_model.h"

namespace tw {

// A single-selection list. The entries live in a ListModel; when the list has a
// native list box, the box mirrors them. Selecting at or past the count, or
// removing at -1, throws ListIndexError, which callers trap.
class ListBox {
 public:
  ListBox() = default;
  explicit ListBox(HWND listBox) : hwnd_(listBox) {}
  void Attach(HWND listBox);
  HWND Handle() const { return hwnd_; }

  void Append(const std::string& text);
  void Clear();
  void RemoveAt(int index);
  int Count() const { return model_.Count(); }
  const std::string& TextAt(int index) const { return model_.TextAt(index); }
  int SelectedIndex() const;
  void SetSelectedIndex(int index);
  std::string SelectedText() const;
  const std::vector<std::string>& Items() const { return model_.Items(); }
  // Replaces all entries at once (one redraw for a whole log).
  void Assign(std::vector<std::string> items);

 private:
  void SyncSelectionFromBox() const;
  mutable ListModel model_;
  HWND hwnd_ = nullptr;
};

// A check box whose value set from code runs the click handler exactly as a user
// click does, but only when the value changes.
class CheckBox {
 public:
  void Attach(HWND box, std::function<void()> onClick);
  HWND Handle() const { return hwnd_; }
  int Value() const;
  void SetValue(int value);
  // For the owning form's WM_COMMAND: a user click has already toggled the box.
  void UserClicked();

 private:
  HWND hwnd_ = nullptr;
  std::function<void()> onClick_;
};

// A push-like option button; selecting it from code runs its click handler as a
// user click does. The buttons of one group deselect each other.
class OptionButton {
 public:
  void Attach(HWND button, std::vector<OptionButton*> group, std::function<void()> onClick);
  HWND Handle() const { return hwnd_; }
  bool Value() const;
  void SetValue(bool value);
  void UserClicked();

 private:
  HWND hwnd_ = nullptr;
  std::vector<OptionButton*> group_;
  std::function<void()> onClick_;
};

}  // namespace tw
