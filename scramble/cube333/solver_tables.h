#pragma once
// Every table the two-phase search reads, built together at run time and only read
// afterwards, so any number of threads may share them.
#include <cstddef>

#include "scramble/cube333/move_tables.h"
#include "scramble/cube333/phase1_pruning.h"
#include "scramble/cube333/phase2_table.h"

namespace tw::scramble {

struct SolverTables {
  SolverTables();
  SolverTables(const SolverTables&) = delete;
  SolverTables& operator=(const SolverTables&) = delete;

  std::size_t SizeBytes() const {
    return moves.SizeBytes() + phase1.SizeBytes() + corners.SizeBytes() + udEdges.SizeBytes();
  }

  MoveTables moves;
  Phase1Pruning phase1;
  Phase2Table corners;  // the corners' order with the slice edges' order
  Phase2Table udEdges;  // the U and D edges' order with the slice edges' order
};

}  // namespace tw::scramble
