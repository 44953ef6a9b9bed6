#pragma once
#include <string>

#include "results/result_book.h"

namespace tw {

// What a step of undo (or redo) did, in a few words for the caption:
// "removed 12.34, Ctrl+Y restores it".
std::string ChangeNote(const results::ResultBook::Change& change, bool undo);

}  // namespace tw
