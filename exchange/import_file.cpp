#include "exchange/import_file.h"

#include "exchange/cstimer.h"
#include "exchange/plain_list.h"
#include "exchange/twisty_timer.h"

namespace tw::exchange {

FileKind KindOf(std::string_view text) {
  text = WithoutBom(text);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  // JSON is csTimer's; any other JSON gets told it is not csTimer's.
  if (first != std::string_view::npos && (text[first] == '{' || text[first] == '[')) return FileKind::CsTimer;
  if (text.starts_with(kTwistyTimerHeader)) return FileKind::TwistyTimer;
  return FileKind::PlainList;
}

ImportResult ImportFile(std::string_view text, const ImportOptions& options) {
  // Notepad's and spreadsheets' "Unicode" text: every other byte would read as nothing.
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    ImportResult result;
    result.error = "It is saved as UTF-16 text; save it as UTF-8 and import it again.";
    return result;
  }
  switch (KindOf(text)) {
    case FileKind::CsTimer:
      return ImportCsTimer(text, options);
    case FileKind::TwistyTimer:
      return ImportTwistyTimer(text, options);
    case FileKind::PlainList:
      break;
  }
  return ImportPlainList(text, options);
}

}  // namespace tw::exchange
