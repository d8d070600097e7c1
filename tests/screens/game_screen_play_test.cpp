// A real game, played through the mouse: a layout of the game's puzzle file dealt with a fixed seed
// is solved by a small solver written here, the moves are made as clicks and drags through the
// window's message queue, and the solved board behaves as the player expects.
#include <array>
#include <optional>

#include "screens/game_screen_fixture.h"
#include "ui/dialog.h"

namespace {

// Where every content ends up and how it is turned, found by trying every choice cell by cell
// (row by row) and keeping only those that meet the neighbours already placed.
class Solver {
 public:
  struct Plan {
    std::array<uint8_t, 81> lines{};  // the lines each cell must show
    std::array<int, 81> source{};     // sliding cells: which sliding content comes here
    int linkedTurns = 0;              // quarter turns of the linked group
  };

  explicit Solver(const BoardCodes& board) : board_(board) {
    for (int32_t cell = 0; cell < 81; ++cell) {
      if (board_[cell].kind() == TileKind::Sliding) slidingCells_.push_back(cell);
    }
  }

  std::optional<Plan> solve() {
    for (int turns = 0; turns < 4; ++turns) {
      plan_ = Plan{};
      plan_.linkedTurns = turns;
      used_.assign(slidingCells_.size(), false);
      if (place(0)) return plan_;
    }
    return std::nullopt;
  }

  const std::vector<int32_t>& slidingCells() const { return slidingCells_; }

 private:
  static uint8_t turned(uint8_t lines, int quarterTurns) {
    for (int i = 0; i < quarterTurns; ++i) lines = rotatedClockwise(lines);
    return lines;
  }
  bool empty(int32_t cell) const { return board_[cell].isEmpty(); }
  // The lines of this cell meet those of the placed neighbours to the left and above.
  bool fits(int32_t cell, uint8_t lines) const {
    const int32_t r = cell / 9, c = cell % 9;
    if (c > 0 && !empty(cell - 1)) {
      if (((lines & line::Left) != 0) != ((plan_.lines[cell - 1] & line::Right) != 0)) return false;
    }
    if (r > 0 && !empty(cell - 9)) {
      if (((lines & line::Up) != 0) != ((plan_.lines[cell - 9] & line::Down) != 0)) return false;
    }
    return true;
  }
  bool tryLines(int32_t cell, uint8_t lines) {
    if (!fits(cell, lines)) return false;
    plan_.lines[cell] = lines;
    return place(cell + 1);
  }
  bool place(int32_t cell) {
    if (cell == 81) return true;
    const TileCode here = board_[cell];
    switch (here.kind()) {
      case TileKind::Empty:
        return place(cell + 1);
      case TileKind::Fixed:
        return tryLines(cell, here.lines());
      case TileKind::Linked:
        return tryLines(cell, turned(here.lines(), plan_.linkedTurns));
      case TileKind::Sliding:
        for (size_t k = 0; k < slidingCells_.size(); ++k) {
          if (used_[k]) continue;
          used_[k] = true;
          plan_.source[cell] = static_cast<int>(k);
          for (int t = 0; t < 4; ++t) {
            if (tryLines(cell, turned(board_[slidingCells_[k]].lines(), t))) return true;
          }
          used_[k] = false;
        }
        return false;
      default:
        for (int t = 0; t < 4; ++t) {
          if (tryLines(cell, turned(here.lines(), t))) return true;
        }
        return false;
    }
  }

  BoardCodes board_;
  std::vector<int32_t> slidingCells_;
  std::vector<bool> used_;
  Plan plan_;
};

}  // namespace

class PlayTest : public GameScreenTest {
 protected:
  BoardCodes codes() {
    BoardCodes out;
    for (int32_t cell = 0; cell < 81; ++cell) out[cell] = tile(cell).code();
    return out;
  }
  // One action, then frames until every turn has come to rest.
  void settle() { runFor(250, 10); }

  // Makes the plan's swaps by dragging, then its turns by clicking, stopping once solved.
  void play(const Solver::Plan& plan, const std::vector<int32_t>& slidingCells) {
    std::vector<int32_t> where = slidingCells;  // where each sliding content is now
    for (int32_t cell : slidingCells) {
      const int k = plan.source[cell];
      if (where[k] == cell || screen->solved) continue;
      const int32_t from = where[k];
      for (size_t j = 0; j < where.size(); ++j) {
        if (where[j] == cell) where[j] = from;
      }
      where[k] = cell;
      drag(from, centreX(cell), centreY(cell));
      settle();
    }
    bool linkedDone = false;
    for (int32_t cell = 0; cell < 81 && !screen->solved; ++cell) {
      Tile& t = tile(cell);
      if (!t.code().turns()) continue;
      if (t.kind == TileKind::Linked) {
        if (linkedDone) continue;
        linkedDone = true;
      }
      for (int clicks = 0; clicks < 4 && t.connections != plan.lines[cell] && !screen->solved;
           ++clicks) {
        clickCell(cell);
        settle();
      }
    }
  }
};

TEST_F(PlayTest, ARealGameSolvedThroughTheMouse) {
  start(true);
  // The layouts of the game's own puzzle file, read from the archive.
  screen->readPuzzleFile();
  ASSERT_GE(screen->puzzleLists[0].size(), 2u);
  screen->bombs = false;  // no fuse may go off while the solver plays
  seedRandom(2024);
  screen->newGame();
  frame();
  const uint16_t firstIndex = screen->puzzleIndex;
  const BoardCodes firstLayout = screen->puzzleLists[0][firstIndex].tiles;
  const uint16_t allowanceAtStart = screen->allowance;
  ASSERT_GT(allowanceAtStart, 0);
  ASSERT_NE(looseEndsText(), "0");

  Solver solver(codes());
  const std::optional<Solver::Plan> plan = solver.solve();
  ASSERT_TRUE(plan.has_value());
  play(*plan, solver.slidingCells());

  EXPECT_EQ(looseEndsText(), "0");
  ASSERT_TRUE(screen->solved);
  EXPECT_EQ(referenceLooseEnds(), 0);
  EXPECT_TRUE(screen->boardLock->visible);
  EXPECT_TRUE(screen->nextPuzzleButton->visible);
  EXPECT_GT(screen->moves, 0);
  // What was left when the board came out solved (some may have drained already).
  const uint16_t bonus = screen->allowance + screen->score;
  EXPECT_LT(bonus, allowanceAtStart);

  // The lock holds: a click on a tile turns nothing.
  const BoardCodes solvedBoard = codes();
  for (int32_t cell = 0; cell < 81; ++cell) {
    if (tile(cell).code().turns()) {
      clickCell(cell);
      break;
    }
  }
  EXPECT_EQ(codes(), solvedBoard);

  // Half strength a second after solving; the bonus drained within about a second.
  runFor(screen->solvedAt + 1050 - backend.now);
  for (int32_t cell = 0; cell < 81; ++cell) EXPECT_DOUBLE_EQ(tile(cell).alpha, 0.5) << cell;
  EXPECT_EQ(screen->allowance, 0);
  EXPECT_EQ(screen->score, bonus);
  EXPECT_EQ(screen->scoreLabel->text, std::to_string(bonus));

  clickControl(layout::kNextPuzzleId);
  frame();
  EXPECT_NE(screen->puzzleIndex, firstIndex);
  EXPECT_NE(screen->puzzleLists[0][screen->puzzleIndex].tiles, firstLayout);
  for (int32_t cell = 0; cell < 81; ++cell) {
    const TileKind layoutKind = screen->puzzleLists[0][screen->puzzleIndex].tiles[cell].kind();
    EXPECT_EQ(tile(cell).kind, layoutKind == TileKind::Bomb ? TileKind::Plain : layoutKind);
    EXPECT_DOUBLE_EQ(tile(cell).alpha, 1.0);
  }
  EXPECT_FALSE(screen->solved);
  EXPECT_FALSE(screen->boardLock->visible);
  EXPECT_FALSE(screen->nextPuzzleButton->visible);
  EXPECT_GT(screen->countLooseEnds(), 0);
  EXPECT_EQ(screen->score, bonus);
}

// Once everything has come to rest, the screen presents no frame at all until something
// changes: the player's machine stays idle while the game waits.
TEST_F(GameScreenTest, AtRestNothingIsPresentedAgain) {
  start();
  runFor(3000);
  const int settled = backend.presentCount;
  runFor(2000);
  EXPECT_EQ(backend.presentCount, settled);
  clickAt(405, 235);  // the middle tile turns
  runFor(1000);
  EXPECT_GT(backend.presentCount, settled);
}
