#pragma once
// Rows of fields split by one separator (',' or ';'), as spreadsheets and timers
// write them: a field in quotes may hold separators and line breaks, and a doubled
// quote stands for one. A quote inside a field that does not end it (a timer that
// writes quotes as they are) is taken as text. CR LF and LF end a row alike.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tw::exchange {

class SeparatedValues {
 public:
  SeparatedValues(std::string_view text, char separator) : text_(text), separator_(separator) {}

  bool AtEnd() const { return at_ >= text_.size(); }
  std::size_t Offset() const { return at_; }
  // The line the next row starts on, counted from 1.
  std::size_t LineNumber() const { return line_; }

  // The next row's fields; a blank line is one empty field.
  void Next(std::vector<std::string>& fields);

 private:
  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
  bool EndsField(char c) const { return c == separator_ || c == '\r' || c == '\n' || c == '\0'; }

  std::string_view text_;
  char separator_;
  std::size_t at_ = 0;
  std::size_t line_ = 1;
};

// A row with nothing in it.
bool IsBlankRow(const std::vector<std::string>& fields);

}  // namespace tw::exchange
