#include "scramble/event_scrambler.h"

#include <mutex>
#include <stdexcept>
#include <vector>

#include "scramble/puzzles/big_cube.h"
#include "scramble/puzzles/clock.h"
#include "scramble/puzzles/cube222.h"
#include "scramble/cube444/cube444_scrambler.h"
#include "scramble/puzzles/megaminx.h"
#include "scramble/puzzles/pyraminx.h"
#include "scramble/cube333/random_state.h"
#include "scramble/scramble_text.h"
#include "scramble/scrambler.h"
#include "scramble/puzzles/skewb.h"
#include "scramble/square1/square1.h"
#include "scramble/training/training_draw.h"

namespace tw::scramble {
namespace {

// The WCA's least distances from solved for random states (fewer moves draw again).
constexpr int kCube2Fewest = 4;
constexpr int kPyraminxFewest = 6;
constexpr int kSkewbFewest = 7;
constexpr int kSquare1Fewest = 11;
// A fewest-moves scramble keeps clear of the moves around it; now and then that takes
// a move or two more than a free one.
constexpr int kFewestMovesLongest = kMaxScrambleLength + 2;
// Training states lie near the search's subgroups, where a 19-move solution takes far
// longer to find than a 20-move one: they settle for 20.
constexpr int kTrainingEnough = 20;

struct RandomMoves {
  int size;
  int count;
  bool oriented;
};

std::optional<RandomMoves> RandomMovesOf(Event event) {
  switch (event) {
    case Event::k555: return RandomMoves{5, 60, false};
    case Event::k666: return RandomMoves{6, 80, false};
    case Event::k777: return RandomMoves{7, 100, false};
    case Event::k555bf: return RandomMoves{5, 60, true};
    default: return std::nullopt;
  }
}

bool IsFourByFour(Event event) { return event == Event::k444 || event == Event::k444bf; }

// The 4x4x4's reduced cube finished by the 3x3x3 solver, its last turn about another
// axis than the reduction's first turn back.
std::shared_ptr<const cube444::Scrambler444> MakeCube444(std::shared_ptr<const Scrambler> cube3,
                                                         const std::atomic<bool>* cancelBuild) {
  return std::make_shared<const cube444::Scrambler444>(
      [cube3](const cube444::ThreeByThree& reduced, int avoidKind,
              const std::atomic<bool>* cancel) -> std::optional<std::vector<cube444::Turn>> {
        CubeState state;
        state.cornerPiece = reduced.cornerPiece;
        state.cornerTwist = reduced.cornerTwist;
        state.edgePiece = reduced.edgePiece;
        state.edgeFlip = reduced.edgeFlip;
        const auto clear = [avoidKind](const std::vector<Move>& moves) {
          return moves.empty() || avoidKind < 0 || AxisOf(FaceOf(moves.back())) != cube444::AxisOfKind(avoidKind);
        };
        const std::vector<Move> moves = cube3->MovesReaching(state, cancel, clear);
        if (cancel != nullptr && cancel->load()) return std::nullopt;
        // The 3x3x3's moves are the 4x4x4's outer turns, numbered alike.
        return std::vector<cube444::Turn>(moves.begin(), moves.end());
      },
      cancelBuild);
}

bool IsThreeByThree(Event event) {
  return event == Event::k333 || event == Event::k333oh || event == Event::k333fm || event == Event::k333bf ||
         event == Event::k333mbf;
}

// Tables shared by every scrambler alive that needs them, built by the first.
template <typename T, typename Make>
std::shared_ptr<const T> Shared(std::weak_ptr<const T>& slot, Make make) {
  static std::mutex mutex;
  const std::lock_guard<std::mutex> lock(mutex);
  if (std::shared_ptr<const T> kept = slot.lock()) return kept;
  std::shared_ptr<const T> made = make();
  slot = made;
  return made;
}

std::shared_ptr<const BigCube> SharedCube(int size) {
  static std::array<std::weak_ptr<const BigCube>, kLargestCube + 1> slots;
  return Shared(slots[static_cast<std::size_t>(size)], [size] { return std::make_shared<const BigCube>(size); });
}

// The moves the fewest-moves scramble is written between.
const std::vector<Move>& FewestMovesFrame() {
  static const std::vector<Move> frame = *ParseMoves("R' U' F");
  return frame;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  for (;;) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + 1);
  }
}

// The models that turn notation, built once each on first use and only read after.
const BigCube& CubeModel(int size) {
  switch (size) {
    case 2: { static const BigCube cube(2); return cube; }
    case 3: { static const BigCube cube(3); return cube; }
    case 4: { static const BigCube cube(4); return cube; }
    case 5: { static const BigCube cube(5); return cube; }
    case 6: { static const BigCube cube(6); return cube; }
    default: { static const BigCube cube(7); return cube; }
  }
}

}  // namespace

struct EventScrambler::Tables {
  std::shared_ptr<const Scrambler> cube3;
  std::shared_ptr<const BigCube> cube;  // the sticker model, for orientations and random moves
  std::shared_ptr<const Cube2Solver> cube2;
  std::shared_ptr<const Pyraminx> pyraminx;
  std::shared_ptr<const Skewb> skewb;
  std::shared_ptr<const Square1> square1;
  std::shared_ptr<const Megaminx> megaminx;
  std::unique_ptr<const training::TrainingDraw> training;
  std::shared_ptr<const cube444::Scrambler444> cube4;
};

EventScrambler::EventScrambler(Event event, std::uint64_t seed, int puzzles, std::string_view cases,
                               const std::atomic<bool>* cancel)
    : event_(event), puzzles_(puzzles), rng_(seed), tables_(std::make_unique<Tables>()) {
  if (event == Event::k333mbf && (puzzles < kFewestMultiBlindPuzzles || puzzles > kMostMultiBlindPuzzles)) {
    throw std::invalid_argument("a Multi-Blind attempt's number of scrambles");
  }
  static std::weak_ptr<const Scrambler> cube3;
  static std::weak_ptr<const Cube2Solver> cube2;
  static std::weak_ptr<const Pyraminx> pyraminx;
  static std::weak_ptr<const Skewb> skewb;
  static std::weak_ptr<const Square1> square1;
  static std::weak_ptr<const Megaminx> megaminx;
  static std::weak_ptr<const cube444::Scrambler444> cube4;
  Tables& t = *tables_;
  if (IsTraining(event)) {
    t.cube3 = Shared(cube3, [] { return std::make_shared<const Scrambler>(); });
    t.training = std::make_unique<const training::TrainingDraw>(event, cases);
  } else if (IsThreeByThree(event)) {
    t.cube3 = Shared(cube3, [] { return std::make_shared<const Scrambler>(); });
    if (event == Event::k333bf || event == Event::k333mbf) t.cube = SharedCube(3);
  } else if (IsFourByFour(event)) {
    t.cube3 = Shared(cube3, [] { return std::make_shared<const Scrambler>(); });
    t.cube4 = Shared(cube4, [&t, cancel] { return MakeCube444(t.cube3, cancel); });
    if (event == Event::k444bf) t.cube = SharedCube(4);
  } else if (const auto moves = RandomMovesOf(event)) {
    t.cube = SharedCube(moves->size);
  } else if (event == Event::k222) {
    t.cube2 = Shared(cube2, [] { return std::make_shared<const Cube2Solver>(); });
  } else if (event == Event::kPyram) {
    t.pyraminx = Shared(pyraminx, [] { return std::make_shared<const Pyraminx>(); });
  } else if (event == Event::kSkewb) {
    t.skewb = Shared(skewb, [] { return std::make_shared<const Skewb>(); });
  } else if (event == Event::kSq1) {
    t.square1 = Shared(square1, [] { return std::make_shared<const Square1>(); });
  } else if (event == Event::kMinx) {
    t.megaminx = Shared(megaminx, [] { return std::make_shared<const Megaminx>(); });
  }
}

EventScrambler::~EventScrambler() = default;

std::size_t EventScrambler::TableBytes() const {
  const Tables& t = *tables_;
  std::size_t bytes = 0;
  if (t.cube3) bytes += t.cube3->TableBytes();
  if (t.cube2) bytes += t.cube2->SizeBytes();
  if (t.pyraminx) bytes += t.pyraminx->TableBytes();
  if (t.skewb) bytes += t.skewb->TableBytes();
  if (t.square1) bytes += t.square1->TableBytes();
  if (t.cube4) bytes += t.cube4->TableBytes();
  return bytes;
}

EventScramble EventScrambler::Next(const std::atomic<bool>* cancel) {
  const Tables& t = *tables_;
  if (t.training) {
    const CubeState state = t.training->Draw(rng_);
    return {FormatMoves(t.cube3->MovesReaching(state, cancel, {}, kMaxScrambleLength, kTrainingEnough)), state.Facelets()};
  }
  switch (event_) {
    case Event::k333:
    case Event::k333oh: {
      const Scramble scramble = t.cube3->NextScramble(rng_, cancel);
      return {FormatMoves(scramble.moves), scramble.state.Facelets()};
    }
    case Event::k333fm: {
      // The scramble between the frame makes the random state: it makes the frame's
      // inverse, then the state, then the frame's inverse again.
      const CubeState state = RandomState(rng_);
      const CubeState frame = CubeState::Solved().Apply(FewestMovesFrame());
      const CubeState inner = frame.Inverse().Then(state).Then(frame.Inverse());
      const Move first = FewestMovesFrame().front();
      const Move last = FewestMovesFrame().back();
      const auto clear = [&](const std::vector<Move>& moves) {
        return !moves.empty() && MayFollow(last, moves.front()) && MayFollow(moves.back(), first);
      };
      const std::vector<Move> moves = t.cube3->MovesReaching(inner, cancel, clear, kFewestMovesLongest);
      const std::string frameText = FormatMoves(FewestMovesFrame());
      return {frameText + " " + FormatMoves(moves) + " " + frameText, state.Facelets()};
    }
    case Event::k333bf:
    case Event::k333mbf: {
      std::vector<std::string> texts;
      std::vector<std::string> states;
      const int count = event_ == Event::k333bf ? 1 : puzzles_;
      for (int n = 1; n <= count; ++n) {
        const Scramble scramble = t.cube3->NextScramble(rng_, cancel);
        const std::vector<CubeMove> turn = t.cube->RandomOrientation(rng_);
        std::string text = FormatMoves(scramble.moves);
        if (!turn.empty()) {
          text += ' ';
          text += FormatCubeMoves(turn);
        }
        std::string state = scramble.state.Facelets();
        t.cube->Apply(turn, state);
        texts.push_back(event_ == Event::k333mbf ? std::to_string(n) + ". " + text : text);
        states.push_back(std::move(state));
      }
      return {Joined(texts), Joined(states)};
    }
    case Event::k222: {
      CubeState state;
      std::vector<Move> solution;
      do {
        state = RandomCube2(rng_);
        solution = t.cube2->Solve(state);
      } while (static_cast<int>(solution.size()) < kCube2Fewest);
      return {FormatMoves(InverseSequence(solution)), Cube2Stickers(state)};
    }
    case Event::kPyram: {
      PyraminxState state;
      do {
        state = t.pyraminx->Random(rng_);
      } while (t.pyraminx->Distance(state) < kPyraminxFewest);
      return {FormatPyraminxMoves(t.pyraminx->MovesReaching(state)), t.pyraminx->Stickers(state)};
    }
    case Event::kSkewb: {
      SkewbState state;
      std::vector<SkewbMove> moves;
      do {
        state = t.skewb->Random(rng_);
        moves = t.skewb->MovesReaching(state);
      } while (static_cast<int>(moves.size()) < kSkewbFewest);
      return {FormatSkewbMoves(moves), t.skewb->Stickers(state)};
    }
    case Event::kSq1: {
      Sq1State state;
      do {
        state = t.square1->Random(rng_);
      } while (t.square1->SolvedWithin(state, kSquare1Fewest));
      return {FormatSq1Moves(t.square1->MovesReaching(state, cancel)), Sq1Text(state)};
    }
    case Event::kMinx: {
      const std::string text = Joined(t.megaminx->RandomLines(rng_));
      return {text, t.megaminx->StateAfter(text).value_or("")};
    }
    case Event::k444:
    case Event::k444bf: {
      const cube444::Scramble444 scramble = t.cube4->Next(rng_, cancel);
      if (scramble.cancelled) return {};
      std::string text = scramble.text;
      std::string state = scramble.stickers;
      if (event_ == Event::k444bf) {
        const std::vector<CubeMove> turn = t.cube->RandomOrientation(rng_);
        if (!turn.empty()) text += ' ' + FormatCubeMoves(turn);
        t.cube->Apply(turn, state);
      }
      return {text, state};
    }
    case Event::kClock: {
      const ClockState state = RandomClock(rng_);
      return {ClockScramble(state), ClockText(state)};
    }
    default: {
      const RandomMoves form = *RandomMovesOf(event_);
      std::vector<CubeMove> moves = t.cube->RandomMoves(form.count, rng_);
      if (form.oriented) {
        const std::vector<CubeMove> turn = t.cube->RandomOrientation(rng_);
        moves.insert(moves.end(), turn.begin(), turn.end());
      }
      std::string state = t.cube->Solved();
      t.cube->Apply(moves, state);
      return {FormatCubeMoves(moves), state};
    }
  }
}

std::optional<std::string> StateAfter(Event event, std::string_view text) {
  switch (event) {
    case Event::k333:
    case Event::k333oh:
    case Event::k333fm:
    case Event::k333bf: return CubeModel(3).StateAfter(text);
    case Event::k333ll:
    case Event::k333pll:
    case Event::k333oll:
    case Event::k333zbll:
    case Event::k333cross:
    case Event::k333lsll:
    case Event::k333l6e:
    case Event::k333cmll:
    case Event::k333ru:
    case Event::k333edges:
    case Event::k333corners: return CubeModel(3).StateAfter(text);
    case Event::k333mbf: {
      std::vector<std::string> states;
      int number = 0;
      for (const std::string_view line : Lines(text)) {
        const std::string prefix = std::to_string(++number) + ". ";
        if (line.substr(0, prefix.size()) != prefix) return std::nullopt;
        auto state = CubeModel(3).StateAfter(line.substr(prefix.size()));
        if (!state) return std::nullopt;
        states.push_back(std::move(*state));
      }
      return Joined(states);
    }
    case Event::k222: return CubeModel(2).StateAfter(text);
    case Event::k444:
    case Event::k444bf: return CubeModel(4).StateAfter(text);
    case Event::k555:
    case Event::k555bf: return CubeModel(5).StateAfter(text);
    case Event::k666: return CubeModel(6).StateAfter(text);
    case Event::k777: return CubeModel(7).StateAfter(text);
    case Event::kPyram: {
      static const Pyraminx model(false);
      return model.StateAfter(text);
    }
    case Event::kSkewb: {
      static const Skewb model(false);
      return model.StateAfter(text);
    }
    case Event::kSq1: {
      const auto state = Sq1After(text);
      if (!state) return std::nullopt;
      return Sq1Text(*state);
    }
    case Event::kMinx: {
      static const Megaminx model;
      return model.StateAfter(text);
    }
    case Event::kClock: {
      const auto state = ClockAfter(text);
      if (!state) return std::nullopt;
      return ClockText(*state);
    }
  }
  return std::nullopt;
}

}  // namespace tw::scramble
