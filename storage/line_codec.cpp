#include "storage/line_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace tw::storage {

namespace {

// An escaped byte follows its escape: one below 0x80 with its top bit set, one above
// as it is, so that no byte of a packed line but its end is ever a NUL.
constexpr unsigned char kEscapeLow = 0x01;
constexpr unsigned char kEscapeHigh = 0x02;
constexpr unsigned char kTopBit = 0x80;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7e;
constexpr std::string_view kLineEnd = "\r\n";

// The words a result line is made of, beside the two-digit numbers: its field names
// and penalties, and the turns of a scramble each with the blank after it.
constexpr std::string_view kWords[] = {
    "#Date: ", " | Time: ", " | Result: ", " | Scramble: ", " | Comment: ", " (+2)", " (DNF)",
};
constexpr std::string_view kFaces = "RLUDFBxyz";
constexpr std::string_view kWideFaces = "RLUDFB";
constexpr std::string_view kTurns[] = {" ", "' ", "2 "};
constexpr std::string_view kMegaminxTurns[] = {"R++ ", "R-- ", "D++ ", "D-- "};

constexpr bool WordsFitTheBound() {
  for (const std::string_view w : kWords) {
    if (w.size() > kLongestWord) return false;
  }
  for (const std::string_view w : kMegaminxTurns) {
    if (w.size() > kLongestWord) return false;
  }
  return true;
}
static_assert(WordsFitTheBound(), "UnpackedBound counts on no word longer than kLongestWord");

bool Printable(unsigned char byte) { return byte >= kFirstPrintable && byte <= kLastPrintable; }
bool Digit(unsigned char byte) { return byte >= '0' && byte <= '9'; }

bool Reserved(unsigned char byte) {
  return Printable(byte) || byte == static_cast<unsigned char>(kPackedLineEnd) || byte == kEscapeLow ||
         byte == kEscapeHigh;
}

// Which words begin with which two bytes, longest first, so that the longest word
// there is the one taken. Sized for the words above with room to spare; a word that
// found no room would only be written out byte by byte, never lost.
constexpr std::size_t kRows = 32;       // first bytes some word begins with
constexpr std::size_t kGroups = 96;     // first two bytes some word begins with
constexpr std::size_t kGroupSize = 8;   // words beginning with the same two bytes

struct Word {
  unsigned char size = 0;
  char text[kLongestWord] = {};
};

struct Group {
  unsigned char count = 0;
  std::array<unsigned char, kGroupSize> codes{};
};

struct Codebook {
  std::array<Word, 256> word;              // by code; size 0 for a byte that is no code
  std::array<unsigned char, 100> pair{};   // the code of "00".."99"
  std::array<unsigned char, 256> rowOf{};  // by first byte: one more than its row, 0 for none
  std::array<std::array<unsigned char, 256>, kRows> rows{};  // by second byte: one more than its group
  std::array<Group, kGroups> groups{};
  std::size_t rowCount = 0;
  std::size_t groupCount = 0;
  unsigned next = 0;  // the next byte value to try as a code

  // The word gets the next free code; false when none is left.
  bool Add(std::string_view text, unsigned char& code) {
    while (next < 256 && Reserved(static_cast<unsigned char>(next))) ++next;
    if (next >= 256 || text.size() < 2 || text.size() > kLongestWord) return false;
    code = static_cast<unsigned char>(next++);
    word[code].size = static_cast<unsigned char>(text.size());
    std::memcpy(word[code].text, text.data(), text.size());
    return true;
  }

  void AddWord(std::string_view text) {
    const auto first = static_cast<unsigned char>(text[0]);
    const auto second = static_cast<unsigned char>(text[1]);
    if (rowOf[first] == 0 && rowCount == kRows) return;
    unsigned char& row = rowOf[first];
    unsigned char& group = rows[row == 0 ? rowCount : row - 1u][second];
    if (group == 0 && groupCount == kGroups) return;
    Group& list = groups[group == 0 ? groupCount : group - 1u];
    unsigned char code = 0;
    if (list.count == kGroupSize || !Add(text, code)) return;
    if (row == 0) row = static_cast<unsigned char>(++rowCount);
    if (group == 0) group = static_cast<unsigned char>(++groupCount);
    std::size_t at = 0;
    while (at < list.count && word[list.codes[at]].size >= text.size()) ++at;
    for (std::size_t i = list.count; i > at; --i) list.codes[i] = list.codes[i - 1];
    list.codes[at] = code;
    ++list.count;
  }

  Codebook() {
    for (std::size_t n = 0; n < pair.size(); ++n) {
      const char digits[] = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
      Add(std::string_view(digits, 2), pair[n]);
    }
    for (const std::string_view w : kWords) AddWord(w);
    for (const char face : kFaces) {
      for (const std::string_view turn : kTurns) AddWord(face + std::string(turn));
    }
    for (const char face : kWideFaces) {
      for (const std::string_view turn : kTurns) AddWord(face + std::string("w") + std::string(turn));
    }
    for (const std::string_view turn : kMegaminxTurns) AddWord(turn);
  }
};

const Codebook& Book() {
  static const Codebook book;
  return book;
}

// Whether `rest` begins with the word, whose first two bytes it is known to hold.
bool Begins(std::string_view rest, const Word& word) {
  if (rest.size() < word.size) return false;
  for (std::size_t i = 2; i < word.size; ++i) {
    if (rest[i] != word.text[i]) return false;
  }
  return true;
}

// The code of the longest word at the front of `rest`, or 0 when none is there.
unsigned char WordAt(const Codebook& book, std::string_view rest) {
  const auto first = static_cast<unsigned char>(rest[0]);
  if (Digit(first)) {
    if (rest.size() > 1 && Digit(static_cast<unsigned char>(rest[1]))) return book.pair[(first - '0') * 10 + (rest[1] - '0')];
    return 0;
  }
  const unsigned char row = book.rowOf[first];
  // Every word is two bytes or more.
  if (row == 0 || rest.size() < 2) return 0;
  const unsigned char group = book.rows[row - 1u][static_cast<unsigned char>(rest[1])];
  if (group == 0) return 0;
  const Group& list = book.groups[group - 1u];
  for (std::size_t i = 0; i < list.count; ++i) {
    if (Begins(rest, book.word[list.codes[i]])) return list.codes[i];
  }
  return 0;
}

// Packs `line` to `out`, which has room for twice its length and one more; returns the end.
char* Pack(std::string_view line, char* out) {
  const Codebook& book = Book();
  while (!line.empty()) {
    const unsigned char code = WordAt(book, line);
    if (code != 0) {
      *out++ = static_cast<char>(code);
      line.remove_prefix(book.word[code].size);
      continue;
    }
    const auto byte = static_cast<unsigned char>(line[0]);
    if (Printable(byte)) {
      *out++ = line[0];
    } else if (byte < kTopBit) {
      *out++ = static_cast<char>(kEscapeLow);
      *out++ = static_cast<char>(byte | kTopBit);
    } else {
      *out++ = static_cast<char>(kEscapeHigh);
      *out++ = line[0];
    }
    line.remove_prefix(1);
  }
  *out++ = kPackedLineEnd;
  return out;
}

// One packed line: the bytes before its line end.
std::string_view FrontLine(std::string_view packed) {
  const void* end = std::memchr(packed.data(), kPackedLineEnd, packed.size());
  return end ? packed.substr(0, static_cast<std::size_t>(static_cast<const char*>(end) - packed.data())) : packed;
}

}  // namespace

void PackLine(std::string_view line, std::string& out) {
  // The common line packs on the stack and is added whole.
  constexpr std::size_t kStackLine = 1024;
  if (line.size() <= kStackLine) {
    char packed[2 * kStackLine + 1];
    out.append(packed, static_cast<std::size_t>(Pack(line, packed) - packed));
    return;
  }
  const std::size_t at = out.size();
  out.resize(at + 2 * line.size() + 1);
  char* const end = Pack(line, out.data() + at);
  out.resize(static_cast<std::size_t>(end - out.data()));
}

std::string Packed(std::string_view line) {
  std::string packed;
  PackLine(line, packed);
  packed.pop_back();
  return packed;
}

std::size_t PackedSize(std::string_view line) {
  const Codebook& book = Book();
  std::size_t size = 1;
  while (!line.empty()) {
    const unsigned char code = WordAt(book, line);
    if (code != 0) {
      line.remove_prefix(book.word[code].size);
    } else {
      size += Printable(static_cast<unsigned char>(line[0])) ? 0 : 1;
      line.remove_prefix(1);
    }
    ++size;
  }
  return size;
}

std::size_t UnpackedSize(std::string_view packed) {
  const Codebook& book = Book();
  std::size_t size = 0;
  for (std::size_t i = 0; i < packed.size(); ++i) {
    const auto byte = static_cast<unsigned char>(packed[i]);
    if (Printable(byte)) {
      ++size;
    } else if (byte == kEscapeLow || byte == kEscapeHigh) {
      ++size;
      ++i;
    } else {
      size += book.word[byte].size;
    }
  }
  return size;
}

char* UnpackLine(std::string_view packed, char* out) {
  const Codebook& book = Book();
  for (std::size_t i = 0; i < packed.size(); ++i) {
    const auto byte = static_cast<unsigned char>(packed[i]);
    if (Printable(byte)) {
      *out++ = static_cast<char>(byte);
    } else if (byte == kEscapeLow) {
      *out++ = static_cast<char>(static_cast<unsigned char>(packed[++i]) & ~kTopBit);
    } else if (byte == kEscapeHigh) {
      *out++ = packed[++i];
    } else {
      const Word& word = book.word[byte];
      std::memcpy(out, word.text, word.size);
      out += word.size;
    }
  }
  return out;
}

std::string UnpackedFileImage(std::string_view packed) {
  std::string image;
  UnpackFileImage(packed, [&image](std::string_view piece) {
    image.append(piece);
    return true;
  });
  return image;
}

namespace line_codec_detail {

std::string_view NextPiece(std::string_view& packed, char* out, std::string& spill) {
  std::size_t filled = 0;
  while (!packed.empty()) {
    const std::string_view line = FrontLine(packed);
    const std::size_t size = UnpackedSize(line) + kLineEnd.size();
    if (filled + size > kPieceBytes) {
      if (filled > 0) break;
      spill.resize(size);
      UnpackLine(line, spill.data());
      std::memcpy(spill.data() + size - kLineEnd.size(), kLineEnd.data(), kLineEnd.size());
      packed.remove_prefix(std::min(packed.size(), line.size() + 1));
      return spill;
    }
    UnpackLine(line, out + filled);
    std::memcpy(out + filled + size - kLineEnd.size(), kLineEnd.data(), kLineEnd.size());
    filled += size;
    packed.remove_prefix(std::min(packed.size(), line.size() + 1));
  }
  return std::string_view(out, filled);
}

}  // namespace line_codec_detail

}  // namespace tw::storage
