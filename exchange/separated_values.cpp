#include "exchange/separated_values.h"

namespace tw::exchange {

namespace {

constexpr char kQuote = '"';

}  // namespace

void SeparatedValues::Next(std::vector<std::string>& fields) {
  fields.clear();
  fields.emplace_back();
  bool quoted = false;
  bool startOfField = true;
  while (at_ < text_.size()) {
    const char c = text_[at_++];
    if (quoted) {
      if (c == kQuote && Peek() == kQuote) {
        fields.back() += kQuote;
        ++at_;
      } else if (c == kQuote && EndsField(Peek())) {
        quoted = false;
      } else {
        if (c == '\n') ++line_;
        fields.back() += c;
      }
      continue;
    }
    if (c == kQuote && startOfField) {
      quoted = true;
      startOfField = false;
    } else if (c == separator_) {
      fields.emplace_back();
      startOfField = true;
    } else if (c == '\n') {
      ++line_;
      break;
    } else if (c != '\r') {
      fields.back() += c;
      startOfField = false;
    }
  }
}

bool IsBlankRow(const std::vector<std::string>& fields) {
  for (const std::string& field : fields) {
    if (field.find_first_not_of(" \t") != std::string::npos) return false;
  }
  return true;
}

}  // namespace tw::exchange
