#pragma once
// The result log holds text in the ANSI code page; the files other timers read and
// write are UTF-8. The conversion is the platform's, so it is given as a function
// (the Win32 caller passes one through CP_ACP); an empty one leaves text as it is.
#include <functional>
#include <string>
#include <string_view>

namespace tw::exchange {

using TextConverter = std::function<std::string(std::string_view)>;

// Text through `convert`, or as it is when it is plain ASCII, which every code page
// writes alike (and which most scrambles are, so the converter is rarely called).
std::string ConvertText(const TextConverter& convert, std::string_view text);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The text after a UTF-8 byte-order mark, if it starts with one.
std::string_view WithoutBom(std::string_view text);

// ISO 8859-1 and UTF-8, the pair a test or a platform without code pages can use.
// A character Latin-1 does not hold becomes '?', as a best-fit conversion would.
std::string Latin1ToUtf8(std::string_view text);
std::string Utf8ToLatin1(std::string_view text);

}  // namespace tw::exchange
