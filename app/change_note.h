#pragma once
#include <cstddef>
#include <string>

#include "results/result_book.h"

namespace tw {

// What a step of undo (or redo) did, in a few words for the caption:
// "removed 12.34, Ctrl+Y restores it".
std::string ChangeNote(const results::ResultBook::Change& change, bool undo);

// Sessions the stored list had lost, found again from their keys and logs:
// "1 session found again", "3 sessions found again".
std::string FoundAgainNote(std::size_t count);

}  // namespace tw
