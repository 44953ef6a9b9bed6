#include "options/solve_details.h"

#include <cstdio>
#include <vector>

#include "stats/time_format.h"

namespace tw::options {

namespace {

std::string Padded(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t start = text.find_first_not_of(' ', at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(text.find(' ', start), text.size());
    words.push_back(text.substr(start, end - start));
    at = end;
  }
  return words;
}

// "12." for the 12th of Multi-Blind's numbered scrambles.
bool IsNumbering(std::string_view word) {
  if (word.size() < 2 || word.back() != '.') return false;
  for (std::size_t i = 0; i + 1 < word.size(); ++i) {
    if (word[i] < '0' || word[i] > '9') return false;
  }
  return true;
}

bool EndsMegaminxLine(std::string_view word) { return word == "U" || word == "U'"; }

}  // namespace

std::optional<SolveDetails> DetailsOf(std::string_view line) {
  std::optional<results::Solve> solve = results::Parse(line);
  if (!solve) return std::nullopt;
  SolveDetails details;
  details.measured = results::WithPenalty(*solve, results::Penalty::None).time;
  const results::LocalTime& when = solve->when;
  const std::string& ds = solve->dateSeparator;
  const std::string& ts = solve->timeSeparator;
  details.date = Padded(when.day) + ds + Padded(when.month) + ds + std::to_string(when.year) + " " +
                 Padded(when.hour) + ts + Padded(when.minute) + ts + Padded(when.second);
  details.solve = std::move(*solve);
  return details;
}

std::string ResultText(results::Hundredths measured, results::Penalty penalty) {
  const auto text = [](results::Hundredths time) { return stats::FormatTime(static_cast<stats::Hundredths>(time)); };
  switch (penalty) {
    case results::Penalty::PlusTwo: {
      results::Solve solve;
      solve.time = measured;
      return text(results::WithPenalty(solve, results::Penalty::PlusTwo).time) + " (+2)";
    }
    case results::Penalty::Dnf:
      return "DNF (" + text(measured) + ")";
    case results::Penalty::None:
      break;
  }
  return text(measured);
}

std::optional<std::string> EditedLine(std::string_view line, results::Penalty penalty, std::string_view comment) {
  const std::optional<results::Solve> solve = results::Parse(line);
  if (!solve) return std::nullopt;
  results::Solve edited = results::WithPenalty(*solve, penalty);
  edited.comment.clear();
  for (const char c : comment) edited.comment += c == '\r' || c == '\n' ? ' ' : c;
  std::string written = results::Format(edited);
  if (written == line) return std::nullopt;
  return written;
}

std::string ScrambleAsWritten(scramble::Event event, std::string_view logged) {
  if (event != scramble::Event::k333mbf && event != scramble::Event::kMinx) return std::string(logged);
  std::string written;
  bool lineEnded = false;
  for (const std::string_view word : Words(logged)) {
    const bool breakBefore = event == scramble::Event::k333mbf ? IsNumbering(word) : lineEnded;
    if (!written.empty()) written += breakBefore ? '\n' : ' ';
    written += word;
    lineEnded = EndsMegaminxLine(word);
  }
  return written;
}

}  // namespace tw::options
