#pragma once
// Optimal solutions for the small puzzles (2x2x2, Pyraminx, Skewb): the puzzle as a few
// numbers (coordinates), each with a table of where every move takes it, and tables
// of the exact move count to solved over one, two or three coordinates, filled
// breadth-first. An iterative-deepening search bounded by the largest of those counts
// finds a shortest solution. Every coordinate is 0 when solved, and a position is
// solved when all of them are.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tw::scramble {

class CoordinateSolver {
 public:
  // Moves are numbered face by face: move m turns face m / turnsPerFace, and two turns
  // of one face never follow each other in a solution.
  CoordinateSolver(int moveCount, int turnsPerFace);

  // Adds a coordinate of `size` values; `step(value, move)` is its value after the move.
  // Returns its number.
  int AddCoordinate(int size, const std::function<int(int value, int move)>& step);
  // Adds the move counts over the listed coordinates together (one to three).
  void AddDistances(std::vector<int> coordinates);

  // A shortest solution of the position, or nothing if none has `longest` moves or
  // fewer (a position no table reaches has none at all).
  std::optional<std::vector<int>> Solve(const std::vector<int>& position, int longest) const;
  // The shortest solution's length as far as the tables say: the largest of their
  // counts (which is exact when one table covers every coordinate), -1 when a table
  // says the position cannot be reached.
  int LowerBound(const std::vector<int>& position) const;

  std::size_t SizeBytes() const;

 private:
  struct Coordinate {
    int size;
    std::vector<std::uint16_t> next;  // next[value * moveCount + move]
  };
  struct Distances {
    std::vector<int> coordinates;
    std::vector<std::uint8_t> moves;  // kUnreached where no position is
  };

  // Enough for every puzzle here; a fixed array keeps the search free of allocations.
  static constexpr int kMaxCoordinates = 4;
  using Position = std::array<int, kMaxCoordinates>;

  std::size_t IndexOf(const Distances& table, const Position& position) const;
  int Bound(const Position& position) const;
  bool Search(const Position& position, int depth, int bound, int previous, std::vector<int>& path) const;
  Position PositionOf(const std::vector<int>& values) const;

  int moveCount_;
  int turnsPerFace_;
  std::vector<Coordinate> coordinates_;
  std::vector<Distances> tables_;
};

}  // namespace tw::scramble
