#include "exchange/win32/exchange_file.h"

#include <algorithm>
#include <cstdint>

#include "storage/win32/file_handle.h"
#include "storage/win32/wide_path.h"

namespace tw::exchange {

namespace {

// A file this large is no timer's export; reading it would only take the memory.
constexpr std::uint64_t kLargestImport = 1ull << 30;
constexpr DWORD kChunk = 1u << 24;

}  // namespace

FileBytes ReadWholeFile(const std::string& path) {
  FileBytes read;
  storage::FileHandle file(CreateFileW(storage::Widen(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) {
    read.error = GetLastError();
    return read;
  }
  if (static_cast<std::uint64_t>(size.QuadPart) > kLargestImport) {
    read.error = ERROR_FILE_TOO_LARGE;
    return read;
  }
  read.bytes.resize(static_cast<std::size_t>(size.QuadPart));
  std::size_t at = 0;
  while (at < read.bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, read.bytes.size() - at));
    DWORD got = 0;
    if (!ReadFile(file.get(), read.bytes.data() + at, want, &got, nullptr)) {
      read.error = GetLastError();
      return read;
    }
    if (got == 0) break;  // shorter than it was a moment ago
    at += got;
  }
  read.bytes.resize(at);
  return read;
}

DWORD WriteWholeFile(const std::string& path, std::string_view bytes) {
  const std::wstring wide = storage::Widen(path);
  storage::FileHandle file(
      CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  DWORD error = 0;
  std::size_t at = 0;
  while (at < bytes.size() && error == 0) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(kChunk, bytes.size() - at));
    DWORD wrote = 0;
    if (!WriteFile(file.get(), bytes.data() + at, want, &wrote, nullptr) || wrote != want) {
      error = GetLastError() != 0 ? GetLastError() : ERROR_WRITE_FAULT;
    }
    at += wrote;
  }
  if (!file.Close() && error == 0) error = GetLastError();
  if (error != 0) DeleteFileW(wide.c_str());
  return error;
}

}  // namespace tw::exchange
