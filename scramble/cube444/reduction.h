#pragma once
// Reduces a 4x4x4 to a 3x3x3 in five searches, each an IDA* over coordinates bounded
// by exact distance tables of their projections, all with the down-back-left corner
// held (see reduction_tables.h for the turns each may use):
//   1. the L and R centres onto the L and R faces;
//   2. the U and D centres onto U and D, and the wings' order even;
//   3. every wing among the slots of its own kind, the centres where the last stage
//      can bring them home, with outer turns and wide half turns;
//   4. four whole dedges' wings into the middle layer, in an order the last stage can
//      pair, with U D R L and half turns;
//   5. every centre home and every dedge paired, the corners' and the dedges' orders
//      of one parity, with turns that keep the middle layer's wings there.
// Stages 1 and 4 weigh several of their solutions by what they leave the next stage.
// What is left is a 3x3x3 any 3x3x3 solver finishes with outer turns.
#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

#include "scramble/cube444/cube444_model.h"

namespace tw::scramble::cube444 {

struct ReductionTables;

struct Reduction {
  std::vector<Turn> turns;  // from the cube to the reduced cube
  Cube reduced;
  bool cancelled = false;
};

class Reducer {
 public:
  // Builds the tables, a second or two; throws std::bad_alloc when memory runs out, and
  // TablesCancelled (see reduction_tables.h) soon after `cancel` becomes true.
  explicit Reducer(const Model& model, const std::atomic<bool>* cancel = nullptr);
  ~Reducer();
  Reducer(const Reducer&) = delete;
  Reducer& operator=(const Reducer&) = delete;

  // Once `cancel` is true the answer comes soon with `cancelled` set.
  Reduction Reduce(const Cube& cube, const std::atomic<bool>* cancel = nullptr) const;
  std::size_t TableBytes() const;

 private:
  const Model& model_;
  std::unique_ptr<const ReductionTables> tables_;
};

}  // namespace tw::scramble::cube444
