#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scramble/square1/square1.h"
#include "scramble/square1/square1_layers.h"

namespace tw::scramble {
namespace sq1 {

int NormalTurn(int twelfths) { return ((twelfths % kSq1Slots) + kSq1Slots) % kSq1Slots; }

std::vector<Sq1Move> Merged(const std::vector<Sq1Move>& moves) {
  std::vector<Sq1Move> merged;
  for (const Sq1Move& move : moves) {
    if (!move.slash && !merged.empty() && !merged.back().slash) {
      merged.back().top = NormalTurn(merged.back().top + move.top);
      merged.back().bottom = NormalTurn(merged.back().bottom + move.bottom);
      if (merged.back().top == 0 && merged.back().bottom == 0) merged.pop_back();
    } else if (move.slash && !merged.empty() && merged.back().slash) {
      merged.pop_back();
    } else if (move.slash || move.top != 0 || move.bottom != 0) {
      merged.push_back(move);
    }
  }
  return merged;
}

}  // namespace sq1

using sq1::kHalf;
using sq1::NormalTurn;

std::string FormatSq1Moves(const std::vector<Sq1Move>& moves) {
  const auto shown = [](int twelfths) { return std::to_string(twelfths > kHalf ? twelfths - kSq1Slots : twelfths); };
  std::string text;
  for (const Sq1Move& move : moves) {
    if (move.slash) {
      if (!text.empty() && text.back() == ')') {
        text += '/';
      } else {
        if (!text.empty()) text += ' ';
        text += '/';
      }
      continue;
    }
    if (!text.empty()) text += ' ';
    text += '(';
    text += shown(move.top);
    text += ',';
    text += shown(move.bottom);
    text += ')';
  }
  return text;
}

std::optional<std::vector<Sq1Move>> ParseSq1Moves(std::string_view text) {
  std::vector<Sq1Move> moves;
  if (text.empty()) return moves;
  const auto number = [](std::string_view digits, int& value) {
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() && value >= 1 - kHalf && value <= kHalf;
  };
  for (;;) {
    const std::size_t blank = text.find(' ');
    std::string_view word = text.substr(0, blank);
    if (word != "/") {
      const bool slash = !word.empty() && word.back() == '/';
      if (slash) word.remove_suffix(1);
      const std::size_t comma = word.find(',');
      if (word.size() < 5 || word.front() != '(' || word.back() != ')' || comma == std::string_view::npos) return std::nullopt;
      int top = 0, bottom = 0;
      if (!number(word.substr(1, comma - 1), top) || !number(word.substr(comma + 1, word.size() - comma - 2), bottom)) {
        return std::nullopt;
      }
      if (top == 0 && bottom == 0) return std::nullopt;
      moves.push_back({false, NormalTurn(top), NormalTurn(bottom)});
      if (slash) moves.push_back({true, 0, 0});
    } else {
      moves.push_back({true, 0, 0});
    }
    if (blank == std::string_view::npos) return moves;
    text.remove_prefix(blank + 1);
  }
}

std::optional<Sq1State> Sq1After(std::string_view text) {
  const auto moves = ParseSq1Moves(text);
  if (!moves) return std::nullopt;
  Sq1State state = Sq1State::Solved();
  for (const Sq1Move& move : *moves) {
    if (move.slash && !state.Twistable()) return std::nullopt;
    state = Sq1Apply(state, move);
  }
  return state;
}

}  // namespace tw::scramble
