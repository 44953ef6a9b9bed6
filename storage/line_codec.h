#pragma once
// A result line packed for holding in memory. A log's lines are mostly the same few
// words ("#Date: ", " | Result: ", " | Scramble: "), two-digit numbers and face turns
// ("R' ", "U2 "): each of those is one byte, so a line of a 3x3x3 log with its
// scramble takes under two fifths of its text. Every other printable ASCII byte stands
// for itself, and any byte else (a NUL, an ANSI letter of a comment) is an escape byte
// and the byte itself, so every line packs and unpacks byte for byte.
//
// A packed log is its lines one after another, each followed by kPackedLineEnd; it
// unpacks to the file image, each line followed by CR LF.
#include <cstddef>
#include <string>
#include <string_view>

namespace tw::storage {

inline constexpr char kPackedLineEnd = '\0';

// The packed line followed by kPackedLineEnd, added to the end of `out`.
void PackLine(std::string_view line, std::string& out);
// The packed line alone, without its line end: what LineArena::PackedLine holds for it.
std::string Packed(std::string_view line);
// How many bytes PackLine adds for `line`, its line end included.
std::size_t PackedSize(std::string_view line);

// The length of one packed line (without its line end) once unpacked.
std::size_t UnpackedSize(std::string_view packed);
// Unpacks one line (without its line end) to `out`, which has room for UnpackedSize
// (or UnpackedBound); returns the end of what it wrote.
char* UnpackLine(std::string_view packed, char* out);
// No line of this many packed bytes unpacks to more than this: its longest word each.
inline constexpr std::size_t kLongestWord = 13;
inline constexpr std::size_t UnpackedBound(std::size_t packedSize) { return packedSize * kLongestWord; }

// The file image of packed lines, in pieces: `write(piece)` is called with each
// (a std::string_view) in order, and returns false to stop. False when it stopped.
template <typename Write>
bool UnpackFileImage(std::string_view packed, Write&& write);
// The whole file image at once.
std::string UnpackedFileImage(std::string_view packed);

namespace line_codec_detail {
inline constexpr std::size_t kPieceBytes = 64 * 1024;
// Unpacks whole lines from the front of `packed` into `out` (room for kPieceBytes):
// as many as fit, at least one (a longer line goes to `spill`, which then holds the
// piece). Returns the piece and drops what it took from `packed`.
std::string_view NextPiece(std::string_view& packed, char* out, std::string& spill);
}  // namespace line_codec_detail

template <typename Write>
bool UnpackFileImage(std::string_view packed, Write&& write) {
  std::string buffer(line_codec_detail::kPieceBytes, '\0');
  std::string spill;
  while (!packed.empty()) {
    if (!write(line_codec_detail::NextPiece(packed, buffer.data(), spill))) return false;
  }
  return true;
}

}  // namespace tw::storage
