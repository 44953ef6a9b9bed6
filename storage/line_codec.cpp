#include "storage/line_codec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

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

// The byte values that stand for a word: those no printable byte, the line end or
// the escape uses.
std::vector<unsigned char> WordCodes() {
  std::vector<unsigned char> codes;
  for (unsigned value = 0; value < 256; ++value) {
    const auto byte = static_cast<unsigned char>(value);
    const bool reserved = byte == static_cast<unsigned char>(kPackedLineEnd) || byte == kEscapeLow || byte == kEscapeHigh;
    if (!Printable(byte) && !reserved) codes.push_back(byte);
  }
  return codes;
}

// A word beginning with a given byte, as the packing compares it.
struct Candidate {
  unsigned char code = 0;
  unsigned char size = 0;
  const char* text = nullptr;
};

struct Codebook {
  std::array<std::string, 256> word;  // by code; empty for a byte that is no code
  std::array<unsigned char, 100> pair{};  // the code of "00".."99"
  // The words (not the pairs) by their first two bytes, longest first: for a first
  // byte some word begins with, its row; in the row, by second byte, the group (one more
  // than its index in `groups`, 0 for none).
  std::array<int, 256> rowOf;
  std::vector<std::array<std::uint16_t, 256>> rows;
  std::vector<std::vector<Candidate>> groups;

  void AddWord(unsigned char code) {
    const auto first = static_cast<unsigned char>(word[code][0]);
    const auto second = static_cast<unsigned char>(word[code][1]);
    if (rowOf[first] < 0) {
      rowOf[first] = static_cast<int>(rows.size());
      rows.emplace_back().fill(0);
    }
    std::uint16_t& group = rows[static_cast<std::size_t>(rowOf[first])][second];
    if (group == 0) {
      groups.emplace_back();
      group = static_cast<std::uint16_t>(groups.size());
    }
    // Longest first, so that the longest word there is the one taken.
    std::vector<Candidate>& list = groups[group - 1u];
    const Candidate added{code, static_cast<unsigned char>(word[code].size()), word[code].data()};
    auto at = list.begin();
    while (at != list.end() && at->size >= added.size) ++at;
    list.insert(at, added);
  }

  Codebook() {
    rowOf.fill(-1);
    std::vector<std::string> words;
    for (int n = 0; n < 100; ++n) words.push_back({static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)});
    for (const std::string_view w : kWords) words.emplace_back(w);
    for (const char face : kFaces) {
      for (const std::string_view turn : kTurns) words.push_back(face + std::string(turn));
    }
    for (const char face : kWideFaces) {
      for (const std::string_view turn : kTurns) words.push_back(face + std::string("w") + std::string(turn));
    }
    for (const std::string_view turn : kMegaminxTurns) words.emplace_back(turn);
    const std::vector<unsigned char> codes = WordCodes();
    // More words than codes would be a codebook that drops some: never built so.
    if (words.size() > codes.size()) words.resize(codes.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
      const unsigned char code = codes[i];
      word[code] = words[i];
      if (i < pair.size()) {
        pair[i] = code;
      } else {
        AddWord(code);
      }
    }
  }
};

const Codebook& Book() {
  static const Codebook book;
  return book;
}

// Whether `rest` begins with the candidate, whose first two bytes it is known to hold.
bool Begins(std::string_view rest, const Candidate& word) {
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
  const int row = book.rowOf[first];
  // Every word is two bytes or more.
  if (row < 0 || rest.size() < 2) return 0;
  const std::uint16_t group = book.rows[static_cast<std::size_t>(row)][static_cast<unsigned char>(rest[1])];
  if (group == 0) return 0;
  for (const Candidate& word : book.groups[group - 1u]) {
    if (Begins(rest, word)) return word.code;
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
      line.remove_prefix(book.word[code].size());
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
      line.remove_prefix(book.word[code].size());
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
      size += book.word[byte].size();
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
      const std::string& word = book.word[byte];
      std::memcpy(out, word.data(), word.size());
      out += word.size();
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
