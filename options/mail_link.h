#pragma once
#include <string>
#include <string_view>

namespace tw::options {

// The subject every mail from the About panel starts with; "v1.0" is fixed text.
inline constexpr std::string_view kMailSubject = "[Twistwatch v1.0] <Put your subject here>";

// The mail link handed to the shell, as one text with nothing encoded: the mail
// program shows the subject exactly as written.
std::string MailLink(std::string_view address);

}  // namespace tw::options
