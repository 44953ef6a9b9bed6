#include "exchange/import_report.h"

#include <algorithm>
#include <utility>

namespace tw::exchange {

namespace {

// The log writes hours in two digits.
constexpr results::Hundredths kLongestLogged = 100 * 3600 * 100 - 1;
constexpr std::int64_t kMillisPerHundredth = 10;
constexpr std::size_t kExcerptLength = 40;

// A scramble is one line of moves: the line breaks some puzzles' scrambles hold
// (a megaminx's rows) become blanks, since the log keeps one solve a line.
std::string OneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (char c : text) {
    if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
    line += c;
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

}  // namespace

std::optional<results::Hundredths> HundredthsOfMillis(std::int64_t millis) {
  if (millis < 0 || millis / kMillisPerHundredth > kLongestLogged) return std::nullopt;
  return millis / kMillisPerHundredth;
}

ImportBuilder::ImportBuilder(const ImportOptions& options, std::string format) : options_(options) {
  report_.format = std::move(format);
}

std::size_t ImportBuilder::AddSession(std::string_view name, std::string_view event) {
  ImportedSession session;
  session.name = OneLine(ConvertText(options_.toLog, name));
  session.event = event;
  report_.sessions.push_back(std::move(session));
  return report_.sessions.size() - 1;
}

void ImportBuilder::AddSolve(std::size_t session, const ImportedSolve& solve) {
  results::Solve line;
  line.when = solve.stop;
  line.time = solve.time;
  line.penalty = solve.penalty;
  line.scramble = OneLine(ConvertText(options_.toLog, solve.scramble));
  line.comment = ConvertText(options_.toLog, solve.comment);
  line.dateSeparator = options_.dateSeparator;
  line.timeSeparator = options_.timeSeparator;
  report_.sessions[session].lines.push_back(results::Format(line));
  ++report_.solves;
}

void ImportBuilder::LeaveOut(std::string_view where, std::string_view why) {
  ++report_.unreadable;
  if (report_.problems.size() < kShownProblems) {
    std::string problem(where);
    problem += ": ";
    problem += why;
    report_.problems.push_back(std::move(problem));
  }
}

bool ImportBuilder::Step(std::size_t done, std::size_t total) {
  total_ = total;
  if (!options_.progress) return true;
  if (++steps_ % std::max<std::size_t>(options_.progressEvery, 1) != 0) return true;
  return options_.progress(done, total);
}

void ImportBuilder::IntoCurrentSession() { report_.intoCurrent = true; }

ImportResult ImportBuilder::Finish() {
  auto& sessions = report_.sessions;
  const auto firstEmpty = std::stable_partition(sessions.begin(), sessions.end(),
                                                [](const ImportedSession& s) { return !s.lines.empty(); });
  report_.emptySessions = static_cast<std::size_t>(sessions.end() - firstEmpty);
  sessions.erase(firstEmpty, sessions.end());
  if (options_.progress) options_.progress(total_, total_);
  ImportResult result;
  if (report_.intoCurrent && !report_.sessions.empty()) {
    // The session's name is the caller's, already in the log's code page.
    report_.sessions.front().name = options_.listSessionName;
  }
  if (report_.solves == 0) result.error = NoSolveRead(report_);
  result.report = std::move(report_);
  return result;
}

std::string NoSolveRead(const ImportReport& report) {
  if (report.problems.empty()) return "It holds no solves.";
  return "None of its solves could be read; the first: " + report.problems.front() + ".";
}

std::string Excerpt(std::string_view text) {
  std::string excerpt;
  for (const char c : text.substr(0, kExcerptLength)) {
    excerpt += static_cast<unsigned char>(c) < ' ' ? ' ' : c;
  }
  if (text.size() > kExcerptLength) {
    // Never end inside a UTF-8 sequence.
    while (!excerpt.empty() && (static_cast<unsigned char>(excerpt.back()) & 0xC0) == 0x80) excerpt.pop_back();
    if (!excerpt.empty() && static_cast<unsigned char>(excerpt.back()) >= 0xC0) excerpt.pop_back();
    excerpt += "...";
  }
  return "\"" + excerpt + "\"";
}

}  // namespace tw::exchange
