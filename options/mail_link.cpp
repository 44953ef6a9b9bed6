#include "options/mail_link.h"

namespace tw::options {

std::string MailLink(std::string_view address) {
  std::string link = "mailto:";
  link += address;
  link += "?subject=";
  link += kMailSubject;
  return link;
}

}  // namespace tw::options
