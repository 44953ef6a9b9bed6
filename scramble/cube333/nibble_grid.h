#pragma once
// Move counts for pairs (row, column), two to a byte. 15 marks a cell not reached.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tw::scramble {

class NibbleGrid {
 public:
  static constexpr int kUnknown = 0xF;

  NibbleGrid(int rows, int columns)
      : bytes_((static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns) + 1) / 2, kAllUnknown),
        rows_(rows),
        columns_(columns) {}

  int Get(int row, int column) const { return bytes_[At(row, column) / 2] >> Shift(row, column) & kUnknown; }
  void Set(int row, int column, int distance) {
    std::uint8_t& byte = bytes_[At(row, column) / 2];
    byte = static_cast<std::uint8_t>((byte & ~(kUnknown << Shift(row, column))) | distance << Shift(row, column));
  }
  // Sets the cell if it is still unknown and says so with 1, else 0, without a branch:
  // while a table fills, whether a cell is new is a coin toss the processor would
  // mostly guess wrong.
  int SetIfUnknown(int row, int column, int distance) {
    std::uint8_t& byte = bytes_[At(row, column) / 2];
    const int shift = Shift(row, column);
    const int cell = byte >> shift & kUnknown;
    const int unknown = cell == kUnknown ? 1 : 0;
    byte = static_cast<std::uint8_t>(byte ^ ((cell ^ distance) & -unknown & kUnknown) << shift);
    return unknown;
  }

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  std::size_t SizeBytes() const { return bytes_.size(); }

 private:
  static constexpr std::uint8_t kAllUnknown = 0xFF;
  std::size_t At(int row, int column) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column);
  }
  int Shift(int row, int column) const { return static_cast<int>(At(row, column) & 1) * 4; }

  std::vector<std::uint8_t> bytes_;
  int rows_;
  int columns_;
};

}  // namespace tw::scramble
