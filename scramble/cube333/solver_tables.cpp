#include "scramble/cube333/solver_tables.h"

namespace tw::scramble {

SolverTables::SolverTables()
    : phase1(moves), corners(Phase2Table::Pieces::Corners, moves), udEdges(Phase2Table::Pieces::UdEdges, moves) {}

}  // namespace tw::scramble
