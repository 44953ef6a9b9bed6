#include "app/win32/single_instance.h"

#include <windows.h>

#include <cstdint>
#include <iterator>
#include <map>
#include <string_view>

#include "storage/win32/file_handle.h"
#include "storage/win32/wide_path.h"

namespace tw {

namespace {

constexpr std::wstring_view kClaimPrefix = L"Local\\Twistwatch-";
// The window class tw::Form registers for every window of the program.
constexpr std::wstring_view kFormClass = L"TwistwatchForm";
// The main window's caption begins with the program's name; the other top-level
// windows of that class carry "Twistwatch | <what>", its message boxes the name.
constexpr std::wstring_view kMainCaption = L"Twistwatch";
constexpr std::wstring_view kOtherCaption = L"Twistwatch |";
// How long a second copy waits for the first copy's main window, which may still be
// starting, and how often it looks.
constexpr DWORD kFindWindowMs = 3000;
constexpr DWORD kFindStepMs = 50;
constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";

HANDLE g_claim = nullptr;  // held for the process's life; the system closes it at exit

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

// The folder as the file system names it: short names spelled out, and the same
// place reached by another drive letter or a link named one way.
std::wstring FinalPath(const std::wstring& folder) {
  const storage::FileHandle handle(CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (handle) {
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(handle.get(), final.data(), static_cast<DWORD>(final.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= final.size()) {
      final.resize(length + 1);
      length = GetFinalPathNameByHandleW(handle.get(), final.data(), static_cast<DWORD>(final.size()),
                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    if (length > 0 && length < final.size()) {
      final.resize(length);
      if (final.starts_with(kLongUncPrefix)) return L"\\\\" + final.substr(kLongUncPrefix.size());
      if (final.starts_with(kLongPrefix)) return final.substr(kLongPrefix.size());
      return final;
    }
  }
  const DWORD needed = GetLongPathNameW(folder.c_str(), nullptr, 0);
  if (needed == 0) return folder;
  std::wstring longName(needed, L'\0');
  const DWORD length = GetLongPathNameW(folder.c_str(), longName.data(), needed);
  if (length == 0 || length >= needed) return folder;
  longName.resize(length);
  return longName;
}

// One spelling per folder: full, final, "\" as the separator, one trailing "\", and
// lower case, as the file system compares names without case.
std::wstring NormalizedFolder(const std::wstring& folder) {
  std::wstring path = FinalPath(FullPath(folder));
  for (wchar_t& c : path) {
    if (c == L'/') c = L'\\';
  }
  if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
  CharLowerBuffW(path.data(), static_cast<DWORD>(path.size()));
  return path;
}

// FNV-1a, 64 bits, over the UTF-16 code units: a fixed-length name for any path.
std::uint64_t Fnv1a(std::wstring_view text) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const wchar_t c : text) {
    for (const unsigned byte : {static_cast<unsigned>(c) & 0xffu, (static_cast<unsigned>(c) >> 8) & 0xffu}) {
      hash ^= byte;
      hash *= 1099511628211ull;
    }
  }
  return hash;
}

std::wstring Hex(std::uint64_t value) {
  std::wstring text(16, L'0');
  for (std::size_t i = text.size(); i-- > 0; value >>= 4) text[i] = L"0123456789abcdef"[value & 0xf];
  return text;
}

// The normalised folder of a process's executable, or nothing when it cannot be asked.
std::wstring ProcessFolder(DWORD processId) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  std::wstring image(32768, L'\0');
  DWORD length = static_cast<DWORD>(image.size());
  const BOOL named = QueryFullProcessImageNameW(process, 0, image.data(), &length);
  CloseHandle(process);
  if (!named) return {};
  image.resize(length);
  const std::size_t slash = image.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  return NormalizedFolder(image.substr(0, slash));
}

std::wstring WindowText(HWND window) {
  wchar_t text[64] = {};
  const int length = GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return std::wstring(text, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
  return std::wstring(name, static_cast<std::size_t>(length > 0 ? length : 0));
}

// The visible top-level windows of the copies running from one folder: the main
// window, and failing that any other (a question the copy asks while it starts).
struct WindowSearch {
  std::wstring folder;
  std::map<DWORD, bool> sameFolder;  // asked once per process
  HWND main = nullptr;
  HWND other = nullptr;

  bool InFolder(DWORD processId) {
    const auto known = sameFolder.find(processId);
    if (known != sameFolder.end()) return known->second;
    const bool same = ProcessFolder(processId) == folder;
    sameFolder.emplace(processId, same);
    return same;
  }

  static BOOL CALLBACK Visit(HWND window, LPARAM search) {
    reinterpret_cast<WindowSearch*>(search)->Consider(window);
    return TRUE;
  }

  // Every window of the program, message boxes included, has a caption beginning
  // with its name; only those are worth asking their process about.
  void Consider(HWND window) {
    if (main || !IsWindowVisible(window)) return;
    const std::wstring caption = WindowText(window);
    if (!caption.starts_with(kMainCaption)) return;
    const bool mainWindow =
        !caption.starts_with(kOtherCaption) && ClassName(window) == kFormClass && !GetWindow(window, GW_OWNER);
    if (!mainWindow && other) return;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (!InFolder(processId)) return;
    if (mainWindow) {
      main = window;
    } else {
      other = window;
    }
  }
};

void BringForward(HWND window) {
  // Asynchronous, so that a copy that hangs cannot hold this one up.
  if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
  // A modal window or message box over the main window is what takes the keys.
  const HWND popup = GetLastActivePopup(window);
  SetForegroundWindow(popup ? popup : window);
}

// Opens or creates the folder's claim; `first` tells whether this call created it.
HANDLE OpenClaim(const std::wstring& name, bool& first) {
  const HANDLE claim = CreateMutexW(nullptr, FALSE, name.c_str());
  first = claim && GetLastError() != ERROR_ALREADY_EXISTS;
  return claim;
}

}  // namespace

std::wstring InstanceClaimName(const std::string& appFolderUtf8) {
  return std::wstring(kClaimPrefix) + Hex(Fnv1a(NormalizedFolder(storage::Widen(appFolderUtf8))));
}

bool ClaimSingleInstance(const std::string& appFolderUtf8) {
  const std::wstring name = InstanceClaimName(appFolderUtf8);
  bool first = false;
  HANDLE claim = OpenClaim(name, first);
  // Without a claim (the name taken by an object of another kind) nothing can be
  // told apart: the program runs, as it did before copies were told apart.
  if (!claim || first) {
    g_claim = claim;
    return true;
  }
  WindowSearch search;
  search.folder = NormalizedFolder(storage::Widen(appFolderUtf8));
  const DWORD start = GetTickCount();
  for (;;) {
    search.sameFolder.clear();  // a process id may be reused while we wait
    search.other = nullptr;
    EnumWindows(&WindowSearch::Visit, reinterpret_cast<LPARAM>(&search));
    if (search.main || GetTickCount() - start >= kFindWindowMs) break;
    Sleep(kFindStepMs);
    // The other copy may just have ended (closed a moment before this one started):
    // once its claim is gone, this copy takes the folder.
    CloseHandle(claim);
    claim = OpenClaim(name, first);
    if (!claim || first) {
      g_claim = claim;
      return true;
    }
  }
  CloseHandle(claim);
  if (search.main) {
    BringForward(search.main);
  } else if (search.other) {
    BringForward(search.other);
  }
  return false;
}

}  // namespace tw
