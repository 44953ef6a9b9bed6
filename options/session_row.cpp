#include "options/session_row.h"

#include <algorithm>

#include "scramble/events.h"
#include "exchange/exchange_names.h"
#include "exchange/plain_list.h"

namespace tw::options {

namespace {

constexpr std::string_view kBlanks = " \t";
// Characters no file name may hold on Windows.
constexpr std::string_view kNotInFileNames = "\\/:*?\"<>|";
constexpr std::size_t kDigitsPerGroup = 3;

// Text put together by appending: GCC's cross build misreads a literal put before a
// string with "+" as an overlapping copy, and warnings are errors.
template <typename... Parts>
std::string Join(const Parts&... parts) {
  std::string out;
  (out.append(std::string_view(parts)), ...);
  return out;
}

std::string Quoted(std::string_view text) { return Join("\"", text, "\""); }

std::string Grouped(std::size_t count) {
  const std::string digits = std::to_string(count);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % kDigitsPerGroup == 0) grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string Capitalised(std::string_view text) {
  std::string out(text);
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 'a' + 'A');
  return out;
}

}  // namespace

std::string SessionItemText(const results::Session& session) {
  return Join(session.name, " (", scramble::EventName(session.event), ")");
}

std::string CleanSessionName(std::string_view typed) {
  std::string name(typed);
  std::replace_if(name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }, ' ');
  const std::size_t first = name.find_first_not_of(kBlanks);
  if (first == std::string::npos) return {};
  return name.substr(first, name.find_last_not_of(kBlanks) - first + 1);
}

std::string ImportedSessionName(std::string_view name) {
  std::string clean = CleanSessionName(name);
  return clean.empty() ? std::string(exchange::kUnnamedImport) : clean;
}

std::string DeleteQuestion(std::string_view item) {
  return Join("Delete the session ", Quoted(item), "?\n\nIts results go to the Recycle Bin.");
}

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
  return Join(Grouped(count), " ", count == 1 ? one : many);
}

bool ImportsIntoCurrentSession(const exchange::ImportReport& report) {
  return report.intoCurrent;
}

std::string ImportQuestion(const exchange::ImportReport& report, std::string_view fileName, std::string_view current,
                           const exchange::TextConverter& toUtf8) {
  const bool intoCurrent = ImportsIntoCurrentSession(report);
  std::string text = Join("Import ", Quoted(fileName), "?\n\n");
  if (intoCurrent) {
    // A timer's name keeps its own spelling ("csTimer"); a list of times opens the sentence.
    const std::string format = report.format == exchange::kPlainListFormat ? Capitalised(report.format) : report.format;
    text += Join(format, ": ", Counted(report.solves, "solve", "solves"), ".\n");
  } else {
    text += Join(report.format, " file: ", Counted(report.sessions.size(), "session", "sessions"), ", ",
                 Counted(report.solves, "solve", "solves"), ".\n");
    const std::size_t listed = std::min(report.sessions.size(), kListedSessions);
    for (std::size_t i = 0; i < listed; ++i) {
      const exchange::ImportedSession& session = report.sessions[i];
      const results::Session shown{0, ImportedSessionName(exchange::ConvertText(toUtf8, session.name)), session.event};
      text += Join("    ", SessionItemText(shown), ": ", Counted(session.lines.size(), "solve", "solves"), "\n");
    }
    if (report.sessions.size() > listed) {
      text += Join("    and ", Counted(report.sessions.size() - listed, "more session", "more sessions"), "\n");
    }
  }
  if (report.unreadable > 0) {
    const std::string_view things = intoCurrent ? "line" : "solve";
    text += Join(Counted(report.unreadable, things, Join(things, "s")),
                 report.unreadable == 1 ? " could not be read and is" : " could not be read and are", " left out:\n");
    for (const std::string& problem : report.problems) text += Join("    ", problem, "\n");
    if (report.unreadable > report.problems.size()) text += "    ...\n";
  }
  if (report.emptySessions > 0) {
    text += Join(Counted(report.emptySessions, "session", "sessions"), " without a solve ",
                 report.emptySessions == 1 ? "is" : "are", " left out.\n");
  }
  text += intoCurrent ? Join("\nThe solves go into the session ", Quoted(current), ".")
                      : std::string("\nEach session becomes a new session here.");
  return text;
}

std::string ImportFailure(std::string_view fileName, std::string_view problem) {
  return Join(Quoted(fileName), " could not be imported. ", problem, "\n\nNothing was written.");
}

std::string ReadFailure(std::string_view fileName, std::string_view systemError) {
  return Join(Quoted(fileName), " could not be read: ", systemError, "\n\nNothing was written.");
}

std::string WriteFailure(std::string_view fileName, std::string_view systemError) {
  return Join(Quoted(fileName), " could not be written: ", systemError);
}

std::string ImportCutShort(std::size_t imported, std::size_t inFile) {
  return Join("Only ", Counted(imported, "session", "sessions"), " of ", Grouped(inFile),
              " could be made: there is no room for more sessions.");
}

std::string ExportFinished(std::string_view path, std::size_t solves, std::size_t skipped, std::string_view note) {
  std::string text = Join("Exported ", Counted(solves, "solve", "solves"), " to ", path, ".");
  if (skipped > 0) {
    text += Join("\n\n", Counted(skipped, "line", "lines"), " of the session ",
                 skipped == 1 ? "is no result and was" : "are no results and were", " left out.");
  }
  if (!note.empty()) text += Join("\n\n", note);
  return text;
}

std::string ExportTrainingNote(std::string_view fileName, std::span<const std::pair<std::string, std::string>> sessions) {
  std::string listed;
  for (const auto& [name, type] : sessions) {
    if (!listed.empty()) listed += ", ";
    listed += Join(Quoted(name), " as ", type);
  }
  return Join(Quoted(fileName), ": csTimer has no training kinds of its own, so ",
              sessions.size() == 1 ? "the training session is" : "the training sessions are",
              " written with csTimer's nearest scramble type (333 where it has none): ", listed, ".");
}

std::string ExportSessionsQuestion(std::string_view fileName, std::size_t sessions, std::string_view current) {
  return Join("Write every session (", std::to_string(sessions), ") to ", Quoted(fileName), "?\n\nYes: every session, ",
              "each a session of its own in csTimer.\nNo: only ", Quoted(current), ".");
}

std::string ExportFileName(std::string_view sessionName) {
  std::string name;
  for (const char c : sessionName) {
    if (static_cast<unsigned char>(c) < ' ' || kNotInFileNames.find(c) != std::string_view::npos) continue;
    name += c;
  }
  // A name of dots and blanks alone is no name the system keeps.
  if (name.find_first_not_of(". ") == std::string::npos) return "Results";
  return name;
}

}  // namespace tw::options
