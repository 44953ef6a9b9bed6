#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "storage/line_arena.h"
#include "storage/result_log.h"

namespace tw::storage {

// The largest log read: a larger one is kUnreadable (ERROR_FILE_TOO_LARGE) and never
// written over; it would hold more than a lifetime of solves.
inline constexpr unsigned long long kMaxResultLogBytes = 256ull << 20;

// Every path is UTF-8, so a log in any folder works.

// Reads the result log at `path`, sharing it with whoever else has it open. A log an
// editor saved as UTF-16, and a file of nothing but NUL bytes (a disk that lost what
// it held), are kUnreadable (ERROR_UNSUPPORTED_TYPE, ERROR_FILE_CORRUPT): never
// written over. So is a log larger than kMaxResultLogBytes (ERROR_FILE_TOO_LARGE).
ResultLogRead ReadResultLog(const std::string& path);

// Every entry of the result log at `path`, oldest first. A missing or unreadable file
// is an empty log, and loading never creates the file.
std::vector<std::string> LoadResultLog(const std::string& path);

// Replaces the result log at `path` with `lines`, every entry kept. The new content is
// written to a temporary file of its own in the same folder, flushed to disk and then
// renamed over the old log in one step, so whatever fails, or wherever the program is
// killed, the folder holds either the whole old log or the whole new one. On false the
// system's error code goes to `error` when it is given.
bool WriteResultLog(const std::string& path, const std::vector<std::string>& lines, unsigned long* error = nullptr);
// The same with the log's file image as it is written (every line followed by CR LF).
bool WriteResultLogBytes(const std::string& path, std::string_view bytes, unsigned long* error = nullptr);
// The same with the lines packed as a LineArena holds them (LineArena::Packed), unpacked
// to the file piece by piece, never whole in memory.
bool WriteResultLogPacked(const std::string& path, std::string_view packed, unsigned long* error = nullptr);

// Removes the result log; false when it could not be removed (or was not there).
bool DeleteResultLog(const std::string& path);

// What a look at the log file, without reading it, tells about it: enough to notice
// that someone else changed, replaced or removed it since the last look.
struct LogStamp {
  bool exists = false;
  unsigned long long size = 0;
  unsigned long long lastWrite = 0;  // FILETIME: 100 ns units since 1601, UTC
  // Which file it is: a file renamed over the log is another file, even with the same
  // size and time. Zero when the file is held without sharing.
  unsigned long volume = 0;
  unsigned long long fileId = 0;
  unsigned long error = 0;  // the system's error code when nothing could be learnt

  // Both looks found the same file, unchanged (or both found none). A look that
  // failed matches nothing, so that the caller reads the file again.
  bool Matches(const LogStamp& other) const;
};

// Looks at the result log at `path` (UTF-8) without opening it for reading and
// without blocking anyone who has it open.
LogStamp ResultLogStamp(const std::string& path);

// What a log refused for its size or its bytes met, in words (the limit it passed);
// "" for any other error, which the system's own words say.
std::string ResultLogLimitText(unsigned long error);

namespace testing {
// Makes the next writes fail at one step, as a full disk or a vanished folder would.
enum class WriteFault { kNone, kOpen, kWrite, kFlush, kRename };
void InjectWriteFault(WriteFault fault);
}  // namespace testing

}  // namespace tw::storage
