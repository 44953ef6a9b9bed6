#pragma once
// Reduces a 4x4x4 to a 3x3x3 in four searches, each a move-count-optimal IDA* over
// coordinates with exact distance tables of their projections:
//   1. the L and R centres onto the L and R faces (any turn);
//   2. the U and D centres onto U and D, every wing among the slots of its own kind,
//      and the wings' order even (turns that keep phase 1: outer turns, Rw, Uw2, Fw2);
//   3. the eight wings of the four upright dedges into the upright dedge slots, paired
//      in an even order there (outer turns and wide half turns, which keep phase 2);
//   4. every centre home and every dedge paired, with the corners' and the dedges'
//      orders of one parity (U, D, R2, L2, F2, B2, Uw2, Rw2, Fw2, which keep the
//      upright wings upright).
// What is left is a 3x3x3 any 3x3x3 solver finishes with outer turns.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "scramble/cube444/cube444_model.h"

namespace tw::scramble::cube444 {

struct Reduction {
  std::vector<Turn> turns;  // from the cube to the reduced cube
  Cube reduced;
  bool cancelled = false;
};

class Reducer {
 public:
  // Builds the tables: about a second on one core, a few megabytes. Throws
  // std::bad_alloc when memory runs out.
  explicit Reducer(const Model& model);
  ~Reducer();
  Reducer(const Reducer&) = delete;
  Reducer& operator=(const Reducer&) = delete;

  // Once `cancel` is true the answer comes soon with `cancelled` set.
  Reduction Reduce(const Cube& cube, const std::atomic<bool>* cancel = nullptr) const;
  std::size_t TableBytes() const;

  struct Tables;

 private:
  const Model& model_;
  std::unique_ptr<const Tables> tables_;
};

}  // namespace tw::scramble::cube444
