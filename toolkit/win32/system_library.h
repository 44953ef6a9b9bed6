#pragma once
// A function of a system library that start-up does not need, loaded at its first use
// rather than with the program: under Wine, shell32, shlwapi and winmm (with what they
// pull in) cost a noticeable share of the time to the first paint.
#include <windows.h>

namespace tw {

// The function `name` of `library` (loaded once, kept for the process's life), or
// nullptr when either cannot be had.
template <typename Function>
Function SystemFunction(const char* library, const char* name) {
  HMODULE module = GetModuleHandleA(library);
  if (!module) module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!module) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Loads a library a later action will need, so that the action does not wait for it.
inline void PreloadSystemLibrary(const char* library) {
  if (!GetModuleHandleA(library)) LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace tw
