#include "app/change_note.h"

#include <optional>

#include "results/solve.h"
#include "stats/time_format.h"

namespace tw {

namespace {

std::string TimeOf(const std::string& line) {
  const std::optional<results::Solve> solve = results::Parse(line);
  if (!solve) return "a line";
  const std::string time = stats::FormatTime(static_cast<stats::Hundredths>(solve->time));
  if (solve->penalty == results::Penalty::Dnf) return std::string("DNF(").append(time).append(")");
  return solve->penalty == results::Penalty::PlusTwo ? time + "+" : time;
}

}  // namespace

std::string ChangeNote(const results::ResultBook::Change& change, bool undo) {
  using Kind = results::ResultBook::Change::Kind;
  // Undone, a step is done again with Ctrl+Y; done again, it is taken back with Ctrl+Z.
  const std::string redo = undo ? ", Ctrl+Y does it again" : ", Ctrl+Z takes it back";
  const std::string lines = std::to_string(change.count) + (change.count == 1 ? " result" : " results");
  switch (change.kind) {
    case Kind::kLogged:
      return undo ? "removed " + TimeOf(change.line) + ", Ctrl+Y restores it" : "logged " + TimeOf(change.line) + redo;
    case Kind::kRemoved:
      return (undo ? "restored " : "removed ") + TimeOf(change.line) + redo;
    case Kind::kPenalty:
    case Kind::kComment:
      return "changed to " + TimeOf(change.line) + redo;
    case Kind::kReset:
      return (undo ? "restored " : "removed ") + lines + redo;
    case Kind::kImported:
      return (undo ? "removed " : "imported ") + lines + redo;
  }
  return "";
}

std::string FoundAgainNote(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " session found again" : " sessions found again");
}

}  // namespace tw
