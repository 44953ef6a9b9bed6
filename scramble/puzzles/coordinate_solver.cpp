#include "scramble/puzzles/coordinate_solver.h"

#include <algorithm>
#include <stdexcept>

namespace tw::scramble {
namespace {

constexpr std::uint8_t kUnreached = 0xFF;

}  // namespace

CoordinateSolver::CoordinateSolver(int moveCount, int turnsPerFace)
    : moveCount_(moveCount), turnsPerFace_(turnsPerFace) {}

int CoordinateSolver::AddCoordinate(int size, const std::function<int(int value, int move)>& step) {
  if (coordinates_.size() == kMaxCoordinates) throw std::logic_error("too many coordinates");
  Coordinate coordinate{size, std::vector<std::uint16_t>(static_cast<std::size_t>(size) * moveCount_)};
  for (int value = 0; value < size; ++value) {
    for (int m = 0; m < moveCount_; ++m) {
      coordinate.next[static_cast<std::size_t>(value) * moveCount_ + m] = static_cast<std::uint16_t>(step(value, m));
    }
  }
  coordinates_.push_back(std::move(coordinate));
  return static_cast<int>(coordinates_.size()) - 1;
}

void CoordinateSolver::AddDistances(std::vector<int> coordinates) {
  Distances table{std::move(coordinates), {}};
  std::size_t total = 1;
  for (const int c : table.coordinates) total *= static_cast<std::size_t>(coordinates_[c].size);
  table.moves.assign(total, kUnreached);
  table.moves[0] = 0;
  // Layer by layer from solved. Each cell's coordinates are unpacked from its index;
  // every move set here holds each move's inverse, so spreading forward from solved
  // gives the counts to solved.
  std::vector<int> values(table.coordinates.size());
  for (int distance = 0;; ++distance) {
    bool grew = false;
    for (std::size_t index = 0; index < total; ++index) {
      if (table.moves[index] != distance) continue;
      std::size_t rest = index;
      for (std::size_t k = table.coordinates.size(); k-- > 0;) {
        const auto size = static_cast<std::size_t>(coordinates_[table.coordinates[k]].size);
        values[k] = static_cast<int>(rest % size);
        rest /= size;
      }
      for (int m = 0; m < moveCount_; ++m) {
        std::size_t next = 0;
        for (std::size_t k = 0; k < table.coordinates.size(); ++k) {
          const Coordinate& coordinate = coordinates_[table.coordinates[k]];
          next = next * static_cast<std::size_t>(coordinate.size) +
                 coordinate.next[static_cast<std::size_t>(values[k]) * moveCount_ + m];
        }
        if (table.moves[next] == kUnreached) {
          table.moves[next] = static_cast<std::uint8_t>(distance + 1);
          grew = true;
        }
      }
    }
    if (!grew) break;
  }
  tables_.push_back(std::move(table));
}

std::size_t CoordinateSolver::IndexOf(const Distances& table, const Position& position) const {
  std::size_t index = 0;
  for (const int c : table.coordinates) {
    index = index * static_cast<std::size_t>(coordinates_[c].size) + static_cast<std::size_t>(position[c]);
  }
  return index;
}

CoordinateSolver::Position CoordinateSolver::PositionOf(const std::vector<int>& values) const {
  if (values.size() != coordinates_.size()) throw std::invalid_argument("a position needs every coordinate");
  Position position{};
  std::copy(values.begin(), values.end(), position.begin());
  return position;
}

int CoordinateSolver::LowerBound(const std::vector<int>& position) const { return Bound(PositionOf(position)); }

int CoordinateSolver::Bound(const Position& position) const {
  int bound = 0;
  for (const Distances& table : tables_) {
    const std::uint8_t moves = table.moves[IndexOf(table, position)];
    if (moves == kUnreached) return -1;
    bound = std::max(bound, static_cast<int>(moves));
  }
  return bound;
}

bool CoordinateSolver::Search(const Position& position, int depth, int bound, int previous,
                              std::vector<int>& path) const {
  const int estimate = Bound(position);
  if (estimate < 0 || depth + estimate > bound) return false;
  if (estimate == 0 && std::all_of(position.begin(), position.end(), [](int v) { return v == 0; })) return true;
  if (depth == bound) return false;
  Position next{};
  for (int m = 0; m < moveCount_; ++m) {
    if (previous >= 0 && m / turnsPerFace_ == previous / turnsPerFace_) continue;
    for (std::size_t k = 0; k < coordinates_.size(); ++k) {
      next[k] = coordinates_[k].next[static_cast<std::size_t>(position[k]) * moveCount_ + m];
    }
    path.push_back(m);
    if (Search(next, depth + 1, bound, m, path)) return true;
    path.pop_back();
  }
  return false;
}

std::optional<std::vector<int>> CoordinateSolver::Solve(const std::vector<int>& position, int longest) const {
  const Position start = PositionOf(position);
  const int estimate = Bound(start);
  if (estimate < 0) return std::nullopt;
  std::vector<int> path;
  for (int bound = estimate; bound <= longest; ++bound) {
    if (Search(start, 0, bound, -1, path)) return path;
  }
  return std::nullopt;
}

std::size_t CoordinateSolver::SizeBytes() const {
  std::size_t bytes = 0;
  for (const Coordinate& c : coordinates_) bytes += c.next.size() * sizeof(c.next[0]);
  for (const Distances& t : tables_) bytes += t.moves.size();
  return bytes;
}

}  // namespace tw::scramble
