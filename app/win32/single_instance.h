#pragma once
#include <string>

namespace tw {

// Claims the program's folder (UTF-8, as AppFolder() gives it) for this process, first
// thing at start-up. Two copies started from one folder would each save their own log
// over the other's, so one copy per folder runs: when another copy already holds the
// folder, its main window is brought to the front (restored when minimised) and the
// answer is false, on which the caller ends at once. A copy in another folder, or a
// claim the system cannot make, runs as usual. The claim lasts until the process ends.
bool ClaimSingleInstance(const std::string& appFolderUtf8);

// The name of a folder's claim, "Local\Twistwatch-" and 16 hex digits: one per folder,
// whichever way its path is written (case, "/" or "\", a trailing separator, a short
// 8.3 name, a second drive letter for the same place).
std::wstring InstanceClaimName(const std::string& appFolderUtf8);

}  // namespace tw
