#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/line_arena.h"
#include "storage/line_codec.h"

namespace tw::storage {
namespace {

std::string EveryByte() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) {
    if (value != '\r' && value != '\n') bytes += static_cast<char>(value);
  }
  return bytes;
}

// Lines the packed words cut into in every way: words whole, cut short, run together,
// next to escaped bytes and at either end of a line; every byte value a line can hold.
TEST(LineArena, EveryLinePacksAndUnpacksByteForByte) {
  const std::vector<std::string> lines = {
      "",
      EveryByte(),
      "#Date: 01/02/2026 | Time: 13:04:05 | Result: 00:00:12:34 (+2) | Scramble: R U' F2 Rw2 x y' R++ D-- U",
      "#Date:| Time:| Result | Scramble | Comment: (+2 (DNF",
      "R2R'R' U2' 2 '2 1 12 123 9",
      std::string("\x01\x02\x80\xff R2 \x01"),
      std::string("\0\0 | Time: \0", 13),
      std::string(70000, '7') + "x",  // longer than one piece of the file image
  };
  const LineArena arena = LineArena::FromLines(lines);
  EXPECT_EQ(arena, lines);
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(arena.PackedLine(i), Packed(lines[i])) << i;

  std::string image;
  for (const std::string& line : lines) image += line + "\r\n";
  EXPECT_EQ(UnpackedFileImage(arena.Packed()), image);
  EXPECT_EQ(LineArena::FromFileBytes(image), arena);
  // Lines packing to more than their bytes (every byte escaped) read all the same.
  const std::string escaped(300, '\x80');
  EXPECT_EQ(LineArena::FromFileBytes(escaped + "\n#1\r\n" + escaped), (std::vector<std::string>{escaped, "#1", escaped}));
  std::vector<std::string> pieces;
  UnpackFileImage(arena.Packed(), [&pieces](std::string_view piece) {
    pieces.emplace_back(piece);
    return pieces.size() < 2;
  });
  EXPECT_EQ(pieces.size(), 2u) << "a writer that fails stops the unpacking";
}

// A log of results is held in far fewer bytes than its text.
TEST(LineArena, HoldsAResultLineInUnderTwoFifthsOfItsText) {
  const std::string line =
      "#Date: 11/12/2026 | Time: 02:41:43 | Result: 00:00:12:34 | Scramble: R U2 F' D B2 L' U R2 D' F L2 B U' R "
      "D2 F' L B' U2 R'";
  EXPECT_LE(PackedSize(line) * 5, line.size() * 2);
}

}  // namespace
}  // namespace tw::storage
