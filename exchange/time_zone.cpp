#include "exchange/time_zone.h"

namespace tw::exchange {

namespace {

constexpr std::int64_t kSecondsPerMinute = 60;
constexpr std::int64_t kSecondsPerHour = 3600;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysPerEra = 146097;  // 400 Gregorian years
constexpr std::int64_t kYearsPerEra = 400;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// Days since 1970-01-01, counted in eras of 400 years that start on 1 March, so the
// leap day falls at the end of a year.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = FloorDiv(year, kYearsPerEra);
  const std::int64_t yearOfEra = year - era * kYearsPerEra;
  const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * kDaysPerEra + dayOfEra - 719468;
}

}  // namespace

results::LocalTime CivilFromUnix(std::int64_t unixSeconds) {
  const std::int64_t days = FloorDiv(unixSeconds, kSecondsPerDay);
  const std::int64_t secondOfDay = unixSeconds - days * kSecondsPerDay;
  const std::int64_t shifted = days + 719468;
  const std::int64_t era = FloorDiv(shifted, kDaysPerEra);
  const std::int64_t dayOfEra = shifted - era * kDaysPerEra;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  results::LocalTime civil;
  civil.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  civil.month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  civil.year = static_cast<int>(yearOfEra + era * kYearsPerEra + (civil.month <= 2 ? 1 : 0));
  civil.hour = static_cast<int>(secondOfDay / kSecondsPerHour);
  civil.minute = static_cast<int>(secondOfDay % kSecondsPerHour / kSecondsPerMinute);
  civil.second = static_cast<int>(secondOfDay % kSecondsPerMinute);
  return civil;
}

std::int64_t UnixFromCivil(const results::LocalTime& civil) {
  return DaysFromCivil(civil.year, civil.month, civil.day) * kSecondsPerDay + civil.hour * kSecondsPerHour +
         civil.minute * kSecondsPerMinute + civil.second;
}

TimeZone FixedOffsetZone(std::int64_t secondsEast) {
  return {[secondsEast](std::int64_t unixSeconds) { return CivilFromUnix(unixSeconds + secondsEast); },
          [secondsEast](const results::LocalTime& local) { return UnixFromCivil(local) - secondsEast; }};
}

}  // namespace tw::exchange
