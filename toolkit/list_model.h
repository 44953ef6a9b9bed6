#pragma once
#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace tw {

// Raised when a list is asked to select or remove an entry it does not have,
// which the callers trap as the end of a loop or a skipped step.
class ListIndexError : public std::out_of_range {
 public:
  explicit ListIndexError(int index);
  int index() const { return index_; }

 private:
  int index_;
};

// The entries and the selection of a single-selection list box, without a window.
class ListModel {
 public:
  void Append(std::string text);
  void Clear();
  void RemoveAt(int index);  // throws ListIndexError unless 0 <= index < Count()
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& TextAt(int index) const;  // throws ListIndexError
  int SelectedIndex() const { return selected_; }
  void SetSelectedIndex(int index);  // -1 clears; throws ListIndexError at or past Count()
  std::string SelectedText() const;  // empty when nothing is selected
  const std::vector<std::string>& Items() const { return items_; }
  void Assign(std::vector<std::string> items);

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
};

}  // namespace tw
