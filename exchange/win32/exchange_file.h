#pragma once
// A file read or written whole, for an import or an export.
#include <windows.h>

#include <string>
#include <string_view>

namespace tw::exchange {

struct FileBytes {
  std::string bytes;
  DWORD error = 0;  // the system's error code when the file could not be read
};

// The file at `path` (UTF-8); a file past a gigabyte is no timer's export and is
// refused as too large.
FileBytes ReadWholeFile(const std::string& path);

// The whole file written, or the system's error code; a file left half written goes.
DWORD WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace tw::exchange
