#include "exchange/win32/system_exchange.h"

#include <windows.h>

#include <cstdint>

#include "storage/win32/wide_path.h"
#include "toolkit/win32/system_text.h"

namespace tw::exchange {

namespace {

// FILETIME counts 100 ns from 1601-01-01; Unix time seconds from 1970-01-01.
constexpr std::int64_t kTicksPerSecond = 10000000;
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;

bool ToSystemTime(std::int64_t unixSeconds, SYSTEMTIME& time) {
  const std::int64_t ticks = (unixSeconds + kSecondsFrom1601To1970) * kTicksPerSecond;
  if (ticks < 0) return false;
  ULARGE_INTEGER value;
  value.QuadPart = static_cast<std::uint64_t>(ticks);
  FILETIME file{value.LowPart, value.HighPart};
  return FileTimeToSystemTime(&file, &time) != 0;
}

std::int64_t ToUnix(const SYSTEMTIME& time, bool& ok) {
  FILETIME file;
  ok = SystemTimeToFileTime(&time, &file) != 0;
  ULARGE_INTEGER value;
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  return static_cast<std::int64_t>(value.QuadPart) / kTicksPerSecond - kSecondsFrom1601To1970;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view text) { return storage::Narrow(storage::Widen(text, CP_UTF8), CP_ACP); }
std::string AnsiToUtf8(std::string_view text) { return storage::Narrow(storage::Widen(text, CP_ACP), CP_UTF8); }

TimeZone SystemTimeZone() {
  // The forms without "Ex" (the zone's present rules for every year): Wine has no
  // SystemTimeToTzSpecificLocalTimeEx and stops a program that calls it. The zone is
  // read once and handed over, since Wine looks it up again on every call that is
  // given none (3 us a solve). Dates the system cannot convert (before 1601) fall
  // back to the calendar alone.
  TIME_ZONE_INFORMATION zone{};
  GetTimeZoneInformation(&zone);
  return {[zone](std::int64_t unixSeconds) {
            SYSTEMTIME utc, local;
            if (!ToSystemTime(unixSeconds, utc) || !SystemTimeToTzSpecificLocalTime(&zone, &utc, &local)) {
              return CivilFromUnix(unixSeconds);
            }
            return results::LocalTime{local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
          },
          [zone](const results::LocalTime& civil) {
            SYSTEMTIME local{}, utc;
            local.wYear = static_cast<WORD>(civil.year);
            local.wMonth = static_cast<WORD>(civil.month);
            local.wDay = static_cast<WORD>(civil.day);
            local.wHour = static_cast<WORD>(civil.hour);
            local.wMinute = static_cast<WORD>(civil.minute);
            local.wSecond = static_cast<WORD>(civil.second);
            bool ok = false;
            const std::int64_t seconds = TzSpecificLocalTimeToSystemTime(&zone, &local, &utc) ? ToUnix(utc, ok) : 0;
            return ok ? seconds : UnixFromCivil(civil);
          }};
}

ImportOptions SystemImportOptions() {
  ImportOptions options;
  options.zone = SystemTimeZone();
  options.toLog = Utf8ToAnsi;
  options.dateSeparator = LocaleText(LOCALE_SDATE, "/");
  options.timeSeparator = LocaleText(LOCALE_STIME, ":");
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  SYSTEMTIME utc;
  FileTimeToSystemTime(&now, &utc);
  bool ok = false;
  options.undatedStop = ToUnix(utc, ok);
  return options;
}

ExportOptions SystemExportOptions() {
  ExportOptions options;
  options.zone = SystemTimeZone();
  options.toUtf8 = AnsiToUtf8;
  return options;
}

}  // namespace tw::exchange
