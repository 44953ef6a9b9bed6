#pragma once
// The system's own words, as the user's Windows writes them.
#include <windows.h>

#include <string>

namespace tw {

// An error code's text on one line, in UTF-8 (a localised system's words survive);
// "Error <code>." when the system has none.
std::string SystemErrorText(unsigned long error);

// One of the user's regional settings (the date or time separator), or `fallback`
// when the system gives none.
std::string LocaleText(LCTYPE type, const char* fallback);

}  // namespace tw
