#pragma once
// Breadth-first move counts to the solved position for a pair of coordinates whose
// first is kept as a family of look-alikes (see SymmetryClasses): row r is the family,
// column c the second coordinate seen from the family's representative. `space` says
// how moves act:
//   Step(row, move)            -> {row, symmetry} of the representative after the move
//   Column(column, move, sym)  -> the column after the move, conjugated by sym
//   Stabilizer(row), ConjugateColumn(column, sym): a row whose representative some
//   symmetry leaves as it is holds each position in more than one column; a cell
//   reached is copied to those twins, or a later layer could miss them.
//
// The early layers spread forward from the cells just reached. Once most cells are
// known, each unknown cell looks for a neighbour in the last layer instead and stops
// at the first one, far fewer reads. Both give the same distances because every move
// set used here holds each move's inverse.
#include <cstddef>
#include <vector>

#include "scramble/cube333/nibble_grid.h"
#include "scramble/cube333/symmetry.h"

namespace tw::scramble {

template <typename Space>
int SetTwins(NibbleGrid& grid, const Space& space, int row, int column, unsigned twins, int distance) {
  int added = 0;
  for (int s = 1; s < kSymmetryCount; ++s) {
    if ((twins >> s & 1U) != 0) added += grid.SetIfUnknown(row, space.ConjugateColumn(column, s), distance);
  }
  return added;
}

template <typename Space>
void FillDistances(NibbleGrid& grid, const Space& space, int moveCount) {
  const int rows = grid.Rows();
  const int columns = grid.Columns();
  const std::size_t total = static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns);
  grid.Set(0, 0, 0);
  std::size_t known = 1 + static_cast<std::size_t>(SetTwins(grid, space, 0, 0, space.Stabilizer(0), 0));
  std::vector<int> layer;  // the cells of one row at the distance being spread
  std::vector<typename Space::RowStep> steps(static_cast<std::size_t>(moveCount));
  for (int distance = 0; known < total && distance + 1 < NibbleGrid::kUnknown; ++distance) {
    const std::size_t knownBefore = known;
    const int next = distance + 1;
    const bool forward = known <= total / 4;
    for (int row = 0; row < rows; ++row) {
      if (forward) {
        layer.clear();
        for (int column = 0; column < columns; ++column) {
          if (grid.Get(row, column) == distance) layer.push_back(column);
        }
        for (int m = 0; m < moveCount && !layer.empty(); ++m) {
          const auto step = space.Step(row, m);
          const unsigned twins = space.Stabilizer(step.row) & ~1U;
          for (const int column : layer) {
            const int near = space.Column(column, m, step.symmetry);
            const int added = grid.SetIfUnknown(step.row, near, next);
            known += static_cast<std::size_t>(added);
            if (added != 0 && twins != 0)
              known += static_cast<std::size_t>(SetTwins(grid, space, step.row, near, twins, next));
          }
        }
        continue;
      }
      for (int m = 0; m < moveCount; ++m) steps[m] = space.Step(row, m);
      for (int column = 0; column < columns; ++column) {
        if (grid.Get(row, column) != NibbleGrid::kUnknown) continue;
        for (int m = 0; m < moveCount; ++m) {
          if (grid.Get(steps[m].row, space.Column(column, m, steps[m].symmetry)) != distance) continue;
          grid.Set(row, column, next);
          ++known;
          break;
        }
      }
    }
    if (known == knownBefore) break;
  }
}

}  // namespace tw::scramble
