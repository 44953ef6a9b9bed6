#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "results/solve.h"

namespace tw {

// Competition inspection: fifteen seconds to look at the cube before the solve.
// Starting later costs two seconds; starting after seventeen makes the solve DNF.
inline constexpr std::int64_t kInspectionMs = 15'000;
inline constexpr std::int64_t kInspectionDnfMs = 17'000;
inline constexpr std::int64_t kPenaltyMs = 2'000;
// The judge's calls, as elapsed inspection time.
inline constexpr std::int64_t kFirstCallMs = 8'000;
inline constexpr std::int64_t kSecondCallMs = 12'000;

using Penalty = results::Penalty;

// The penalty of a solve started `inspectionMs` after inspection began. A start must
// come strictly before each limit: exactly 15.00 s is +2 and exactly 17.00 s DNF, as
// the WCA reads its own rule, and as the digit shows it.
Penalty PenaltyFor(std::int64_t inspectionMs);

// The digit shown `inspectionMs` into inspection: the whole seconds left, "15" down
// to "1", then "+2" from fifteen seconds and "DNF" from seventeen.
std::string InspectionText(std::int64_t inspectionMs);

// How many of the two calls are due by `inspectionMs` (0, 1 or 2).
int CallsDue(std::int64_t inspectionMs);

}  // namespace tw
