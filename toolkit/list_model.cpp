#include "toolkit/list_model.h"

#include <utility>

namespace tw {

ListIndexError::ListIndexError(int index)
    : std::out_of_range("list index " + std::to_string(index) + " out of range"), index_(index) {}

void ListModel::Append(std::string text) { items_.push_back(std::move(text)); }

void ListModel::Clear() {
  items_.clear();
  selected_ = -1;
}

void ListModel::RemoveAt(int index) {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  items_.erase(items_.begin() + index);
  // A list box drops the selection when the selected entry goes and keeps
  // pointing at the same entry when an earlier one goes.
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
}

const std::string& ListModel::TextAt(int index) const {
  if (index < 0 || index >= Count()) throw ListIndexError(index);
  return items_[static_cast<std::size_t>(index)];
}

void ListModel::SetSelectedIndex(int index) {
  if (index < -1 || index >= Count()) throw ListIndexError(index);
  selected_ = index;
}

std::string ListModel::SelectedText() const {
  return selected_ < 0 ? std::string() : items_[static_cast<std::size_t>(selected_)];
}

void ListModel::Assign(std::vector<std::string> items) {
  items_ = std::move(items);
  selected_ = -1;
}

}  // namespace tw
