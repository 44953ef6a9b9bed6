#include "app/wca_countdown.h"

namespace tw {

namespace {
constexpr std::int64_t kSecondMs = 1'000;
}

Penalty PenaltyFor(std::int64_t inspectionMs) {
  if (inspectionMs >= kInspectionDnfMs) return Penalty::Dnf;
  if (inspectionMs >= kInspectionMs) return Penalty::PlusTwo;
  return Penalty::None;
}

std::string InspectionText(std::int64_t inspectionMs) {
  if (inspectionMs >= kInspectionDnfMs) return "DNF";
  if (inspectionMs >= kInspectionMs) return "+2";
  const std::int64_t elapsed = inspectionMs < 0 ? 0 : inspectionMs;
  return std::to_string((kInspectionMs - elapsed + kSecondMs - 1) / kSecondMs);
}

int CallsDue(std::int64_t inspectionMs) {
  return (inspectionMs >= kFirstCallMs ? 1 : 0) + (inspectionMs >= kSecondCallMs ? 1 : 0);
}

}  // namespace tw
