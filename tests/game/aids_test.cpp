// The lock set and the move history as plain data: what a toggle, a blast and a stored set
// become on a board, and what undo and redo hand back.
#include <gtest/gtest.h>

#include "game/history.h"
#include "game/locks.h"

namespace {

// A plain tile in 0, a fixed one in 1, a hole in 2, three linked tiles in 10, 40 and 80, a
// sliding pair in 20 and 21.
BoardCodes aidsBoard() {
  BoardCodes codes;
  codes.fill(TileCode(TileKind::Empty, 0));
  codes[0] = TileCode(TileKind::Plain, line::Up);
  codes[1] = TileCode(TileKind::Fixed, line::Left);
  codes[10] = codes[40] = codes[80] = TileCode(TileKind::Linked, line::Right);
  codes[20] = codes[21] = TileCode(TileKind::Sliding, line::Down);
  return codes;
}

LockSet cells(std::initializer_list<size_t> list) {
  LockSet set;
  for (size_t c : list) set[c] = true;
  return set;
}

TEST(Locks, TogglingLocksOneTileTheWholeLinkedGroupAndNeverAFixedTileOrAHole) {
  const BoardCodes codes = aidsBoard();
  struct Case {
    LockSet before;
    int32_t cell;
    LockSet after;
  };
  const Case cases[] = {
      {{}, 0, cells({0})},  // a plain tile locks
      {cells({0}), 0, {}},  // and unlocks
      {{}, 1, {}},          // a fixed tile cannot be locked
      {{}, 2, {}},          // nor a hole
      {{}, -1, {}},         // nor a cell off the board
      {{}, 81, {}},
      {cells({0}), 40, cells({0, 10, 40, 80})},  // one linked tile locks the group
      {cells({10, 40, 80}), 80, {}},             // and any of it unlocks the group
  };
  for (const Case& c : cases) {
    EXPECT_EQ(locks::toggled(c.before, codes, c.cell), c.after) << "cell " << c.cell;
  }
}

TEST(Locks, ABlastReleasesTheTileItTurnedAndALinkedTileReleasesItsGroup) {
  const BoardCodes codes = aidsBoard();
  EXPECT_EQ(locks::released(cells({0, 20}), codes, 0), cells({20}));
  EXPECT_EQ(locks::released(cells({0, 10, 40, 80}), codes, 10), cells({0}));
  EXPECT_EQ(locks::released(cells({0}), codes, 99), cells({0}));
}

TEST(Locks, AStoredSetIsFittedToTheBoardItLandsOn) {
  const BoardCodes codes = aidsBoard();
  // Fixed tiles and holes drop out; one locked linked tile brings the whole group.
  EXPECT_EQ(locks::fitted(cells({0, 1, 2, 40}), codes), cells({0, 10, 40, 80}));
  EXPECT_EQ(locks::fitted(cells({1, 2, 3}), codes), LockSet());
}

TEST(History, UndoHandsBackTheInverseAndRedoTheMoveWhileANewMoveDropsWhatWasUndone) {
  using history::Move;
  EXPECT_EQ(history::inverse(history::turn(5, true)), history::turn(5, false));
  EXPECT_EQ(history::inverse(history::linkedTurn(5, false)), history::linkedTurn(5, true));
  EXPECT_EQ(history::inverse(history::swap(20, 21)), history::swap(20, 21));

  history::History h;
  EXPECT_EQ(history::lastDone(h), nullptr);
  history::record(h, history::turn(0, true));
  history::record(h, history::swap(20, 21));
  ASSERT_NE(history::lastDone(h), nullptr);
  EXPECT_EQ(*history::lastDone(h), history::swap(20, 21));
  history::stepBack(h);
  EXPECT_EQ(*history::lastDone(h), history::turn(0, true));
  ASSERT_NE(history::nextUndone(h), nullptr);
  EXPECT_EQ(*history::nextUndone(h), history::swap(20, 21));
  history::stepForward(h);
  EXPECT_EQ(history::nextUndone(h), nullptr);
  history::stepBack(h);
  history::record(h, history::turn(0, false));  // a new move: the swap cannot be redone
  EXPECT_EQ(history::nextUndone(h), nullptr);
  EXPECT_EQ(h.done.size(), 2u);
  history::clear(h);
  EXPECT_EQ(history::lastDone(h), nullptr);
}

TEST(History, AMoveTouchesALockOnAnyTileItWouldTurnOrMove) {
  const BoardCodes codes = aidsBoard();
  EXPECT_TRUE(history::touchesLock(history::turn(0, true), cells({0}), codes));
  EXPECT_FALSE(history::touchesLock(history::turn(0, true), cells({20}), codes));
  EXPECT_TRUE(history::touchesLock(history::swap(20, 21), cells({21}), codes));
  // The group turns as one: a lock anywhere on it holds the whole turn.
  EXPECT_TRUE(history::touchesLock(history::linkedTurn(10, true), cells({80}), codes));
  EXPECT_FALSE(history::touchesLock(history::linkedTurn(10, true), cells({0}), codes));
}

}  // namespace
