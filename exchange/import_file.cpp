#include "exchange/import_file.h"

#include <algorithm>
#include <string>

#include "exchange/cstimer.h"
#include "exchange/cubedesk.h"
#include "exchange/plain_list.h"
#include "exchange/table_import.h"
#include "exchange/twisty_timer.h"

namespace tw::exchange {

namespace {

// How much of a file tells whether it is text.
constexpr std::size_t kSniffedBytes = 4096;
// Text holds tabs and line breaks, and a stray control character now and then; one
// in sixteen bytes is no text.
constexpr std::size_t kControlShare = 16;

ImportResult Fail(std::string message) {
  ImportResult result;
  result.error = std::move(message);
  return result;
}

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != '\f') || byte == 0x7F;
}

std::string_view FirstLine(std::string_view text) {
  const std::size_t blank = text.find_first_not_of(" \t\r\n");
  if (blank == std::string_view::npos) return {};
  text.remove_prefix(blank);
  return text.substr(0, text.find_first_of("\r\n"));
}

}  // namespace

bool IsBinary(std::string_view bytes) {
  const std::string_view head = bytes.substr(0, kSniffedBytes);
  if (head.find('\0') != std::string_view::npos) return true;
  const auto controls = static_cast<std::size_t>(std::count_if(head.begin(), head.end(), IsControl));
  return controls * kControlShare > head.size();
}

FileKind KindOf(std::string_view text) {
  text = WithoutBom(text);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && (text[first] == '{' || text[first] == '[')) {
    return LooksLikeCubeDesk(text) ? FileKind::CubeDesk : FileKind::CsTimer;
  }
  if (text.starts_with(kTwistyTimerHeader)) return FileKind::TwistyTimer;
  if (text.starts_with(kCsTimerCsvHeader)) return FileKind::CsTimerCsv;
  if (text.starts_with(kCubeTimeHeader)) return FileKind::CubeTime;
  if (text.starts_with(kOwnCsvHeader)) return FileKind::OwnCsv;
  if (IsTwistyListLine(FirstLine(text))) return FileKind::TwistyList;
  return FileKind::PlainList;
}

ImportResult ImportFile(std::string_view text, const ImportOptions& options) {
  // Notepad's and spreadsheets' "Unicode" text: every other byte would read as nothing.
  if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    return Fail("It is saved as UTF-16 text; save it as UTF-8 and import it again.");
  }
  if (IsBinary(text)) return Fail("It is not a text file.");
  switch (KindOf(text)) {
    case FileKind::CsTimer:
      return ImportCsTimer(text, options);
    case FileKind::CubeDesk:
      return ImportCubeDesk(text, options);
    case FileKind::TwistyTimer:
      return ImportTwistyTimer(text, options);
    case FileKind::TwistyList:
      return ImportTwistyList(text, options);
    case FileKind::CsTimerCsv:
      return ImportCsTimerCsv(text, options);
    case FileKind::CubeTime:
      return ImportCubeTime(text, options);
    case FileKind::OwnCsv:
      return ImportOwnCsv(text, options);
    case FileKind::PlainList:
      break;
  }
  return ImportPlainList(text, options);
}

}  // namespace tw::exchange
