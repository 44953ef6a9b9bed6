#include "options/win32/hyperlink.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

#include "toolkit/win32/system_library.h"

namespace tw::options {

namespace {
std::function<void(const std::string&)> g_opener;
}  // namespace

void OpenHyperlink(const std::string& target) {
  if (g_opener) {
    g_opener(target);
    return;
  }
  // The text is already in the ANSI code page: the program never converts its texts.
  using ShellExecuteFunction = decltype(&ShellExecuteA);
  static const auto shellExecute = SystemFunction<ShellExecuteFunction>("shell32.dll", "ShellExecuteA");
  if (shellExecute) shellExecute(nullptr, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SetHyperlinkOpenerForTesting(std::function<void(const std::string&)> opener) { g_opener = std::move(opener); }

}  // namespace tw::options
