#pragma once
#include <functional>
#include <string>

namespace tw::options {

// Hands a web address or mail link to the shell's default action. Whether the shell
// could open it is not reported: a machine without a browser or mail program simply
// shows nothing.
void OpenHyperlink(const std::string& target);

// Replaces the shell, so tests can record the targets; an empty function restores it.
void SetHyperlinkOpenerForTesting(std::function<void(const std::string&)> opener);

}  // namespace tw::options
