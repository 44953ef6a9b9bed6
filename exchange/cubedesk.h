#pragma once
// CubeDesk's back-up: one JSON object holding "sessions" (each with its "id", "name"
// and "order") and "solves", each solve an object with "time" (seconds, a +2's two
// in it, -1 for a DNF), "raw_time" (seconds measured), "dnf", "plus_two",
// "scramble", "notes", "session_id", "cube_type", "started_at" and "ended_at"
// (milliseconds since 1970).
#include <string_view>

#include "exchange/import_report.h"

namespace tw::exchange {

inline constexpr std::string_view kCubeDeskFormat = "CubeDesk";

// Each session with a solve becomes one imported session, in CubeDesk's order, of
// the event its first solve's cube type names; solves of no session listed go into
// a session of their cube type's name.
ImportResult ImportCubeDesk(std::string_view text, const ImportOptions& options);

// Whether a JSON file is CubeDesk's and not csTimer's: an object whose keys begin
// with neither "session<n>" nor "properties" and which holds "solves".
bool LooksLikeCubeDesk(std::string_view text);

}  // namespace tw::exchange
