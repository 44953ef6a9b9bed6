#include "toolkit/win32/controls.h"

#include <utility>

namespace tw {

void ListBox::Attach(HWND listBox) {
  hwnd_ = listBox;
  if (!hwnd_) return;
  SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
  // One allocation for a whole log instead of one per line.
  std::size_t bytes = 0;
  for (const auto& item : model_.Items()) bytes += item.size() + 1;
  SendMessageA(hwnd_, LB_INITSTORAGE, static_cast<WPARAM>(model_.Count()), static_cast<LPARAM>(bytes));
  for (const auto& item : model_.Items()) SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBox::Append(const std::string& text) {
  model_.Append(text);
  if (hwnd_) SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ListBox::Clear() {
  model_.Clear();
  if (hwnd_) SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
}

void ListBox::RemoveAt(int index) {
  SyncSelectionFromBox();
  model_.RemoveAt(index);
  if (hwnd_) SendMessageA(hwnd_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void ListBox::SyncSelectionFromBox() const {
  // The user may have clicked another entry since the model last looked.
  if (!hwnd_) return;
  const auto sel = static_cast<int>(SendMessageA(hwnd_, LB_GETCURSEL, 0, 0));
  model_.SetSelectedIndex(sel >= 0 && sel < model_.Count() ? sel : -1);
}

int ListBox::SelectedIndex() const {
  SyncSelectionFromBox();
  return model_.SelectedIndex();
}

void ListBox::SetSelectedIndex(int index) {
  model_.SetSelectedIndex(index);
  if (hwnd_) SendMessageA(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ListBox::SelectedText() const {
  SyncSelectionFromBox();
  return model_.SelectedText();
}

void ListBox::Assign(std::vector<std::string> items) {
  model_.Assign(std::move(items));
  Attach(hwnd_);
}

void CheckBox::Attach(HWND box, std::function<void()> onClick) {
  hwnd_ = box;
  onClick_ = std::move(onClick);
}

int CheckBox::Value() const {
  return hwnd_ && SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CheckBox::SetValue(int value) {
  const int wanted = value != 0 ? 1 : 0;
  if (!hwnd_ || wanted == Value()) return;
  SendMessageA(hwnd_, BM_SETCHECK, wanted ? BST_CHECKED : BST_UNCHECKED, 0);
  if (onClick_) onClick_();
}

void CheckBox::UserClicked() {
  if (onClick_) onClick_();
}

void OptionButton::Attach(HWND button, std::vector<OptionButton*> group, std::function<void()> onClick) {
  hwnd_ = button;
  group_ = std::move(group);
  onClick_ = std::move(onClick);
}

bool OptionButton::Value() const { return hwnd_ && SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void OptionButton::SetValue(bool value) {
  if (!hwnd_) return;
  if (!value) {
    SendMessageA(hwnd_, BM_SETCHECK, BST_UNCHECKED, 0);
    return;
  }
  for (OptionButton* other : group_) {
    if (other != this && other->hwnd_) SendMessageA(other->hwnd_, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SendMessageA(hwnd_, BM_SETCHECK, BST_CHECKED, 0);
  if (onClick_) onClick_();
}

void OptionButton::UserClicked() {
  for (OptionButton* other : group_) {
    if (other != this && other->hwnd_) SendMessageA(other->hwnd_, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SendMessageA(hwnd_, BM_SETCHECK, BST_CHECKED, 0);
  if (onClick_) onClick_();
}

}  // namespace tw
