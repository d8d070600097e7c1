// The player's aids on the game screen, through the window's message queue as the mouse gives
// them: locks (middle click, Shift with the left button), undo and redo with their charges
// worked out by hand, and the tip about the lock.
#include "platform/headless/memory_store.h"
#include "screens/game_screen_fixture.h"
#include "screens/tutorial.h"
#include "ui/dialog.h"

namespace {

using K = platform::MessageKind;

// A plain tile in 40 whose line must point up to the fixed tile in 31; a sliding pair of
// different shapes in 42 and 43; three linked tiles in 10, 16 and 70; a hole in 0.
BoardCodes aidsBoard() {
  BoardCodes codes = GameScreenTest::emptyBoard();
  codes[31] = TileCode(TileKind::Fixed, line::Down);
  codes[40] = TileCode(TileKind::Plain, line::Left);
  codes[42] = TileCode(TileKind::Sliding, line::Right);
  codes[43] = TileCode(TileKind::Sliding, line::Left | line::Right);
  codes[10] = codes[16] = codes[70] = TileCode(TileKind::Linked, line::Up);
  return codes;
}

}  // namespace

class AidsTest : public GameScreenTest {
 protected:
  void startWith(bool scoring, bool hints = false) {
    start(scoring, hints);
    setBoard(aidsBoard());
    screen->allowance = screen->allowanceMax = 50;
    screen->moves = 0;
    silence();
  }
  void middleClick(int32_t cell) {
    mouse(K::MiddleDown, centreX(cell), centreY(cell));
    mouse(K::MiddleUp, centreX(cell), centreY(cell));
  }
  void shiftClick(int32_t cell) {
    backend.sendMouse(K::LeftDown, centreX(cell), centreY(cell), 0, platform::kMouseShift);
    backend.sendMouse(K::LeftUp, centreX(cell), centreY(cell), 0, platform::kMouseShift);
    pump();
  }
  // Every turn under way comes to rest.
  void settle() { runFor(400, 5); }
  uint8_t lines(int32_t cell) { return tile(cell).connections; }
  platform::StoreValues& userValues() {
    auto& store = static_cast<platform::MemoryStore&>(*backend.settingsStore);
    return store.keys[{platform::StoreScope::User, std::string(kSettingsKey)}];
  }
};

TEST_F(AidsTest, ALockedTileIgnoresClicksDragsAndDropsAndCostsNothing) {
  startWith(true);
  middleClick(40);
  shiftClick(42);
  EXPECT_TRUE(screen->isLocked(40));
  EXPECT_TRUE(screen->isLocked(42));
  // Fixed tiles and holes take no lock.
  middleClick(31);
  shiftClick(0);
  EXPECT_FALSE(screen->isLocked(31));
  EXPECT_FALSE(screen->isLocked(0));

  const BoardCodes before = screen->boardCodes();
  clickCell(40);
  EXPECT_EQ(playing(), SoundNames{"clank.ogg"});
  clickCell(40, false);
  drag(42, centreX(43), centreY(43));  // a locked tile cannot be picked up
  silence();
  drag(43, centreX(42), centreY(42));  // nor take a drop
  EXPECT_EQ(playing(), SoundNames{"snap2.ogg"});
  settle();
  EXPECT_EQ(screen->boardCodes(), before);
  EXPECT_EQ(screen->allowance, 50);
  EXPECT_EQ(screen->moves, 0);

  // Unlocked again, the same drag swaps, and the same click turns: both are moves again.
  shiftClick(42);
  middleClick(40);
  drag(43, centreX(42), centreY(42));
  clickCell(40);
  EXPECT_EQ(screen->moves, 2);
  EXPECT_EQ(screen->allowance, 48);
  EXPECT_EQ(tile(42).connections, line::Left | line::Right);
}

TEST_F(AidsTest, LockingOneLinkedTileLocksTheGroupAndNoneOfItTurns) {
  startWith(false);
  middleClick(16);
  for (int32_t cell : {10, 16, 70}) EXPECT_TRUE(screen->isLocked(cell)) << cell;
  clickCell(10);
  settle();
  for (int32_t cell : {10, 16, 70}) EXPECT_EQ(lines(cell), line::Up) << cell;
  screen->toggleLock(70);  // any of it unlocks the whole group
  for (int32_t cell : {10, 16, 70}) EXPECT_FALSE(screen->isLocked(cell)) << cell;
}

// A bomb is a rule: it turns a locked tile, takes its lock off, and what it did cannot be
// taken back, nor anything before it.
TEST_F(AidsTest, ABlastTurnsALockedTileUnlocksItAndClearsTheHistory) {
  startWith(false);
  clickCell(42);  // a move that could be undone
  settle();
  screen->toggleLock(40);
  screen->toggleLock(10);
  screen->onNotify(board::idOfCell(44), TileBlastHit, board::idOfCell(40));
  screen->onNotify(board::idOfCell(44), TileBlastHit, board::idOfCell(16));
  settle();
  EXPECT_NE(lines(40), line::Left);
  EXPECT_EQ(lines(10), line::Right);  // the group turned once, clockwise
  for (int32_t cell : {40, 10, 16, 70}) EXPECT_FALSE(screen->isLocked(cell)) << cell;
  EXPECT_FALSE(screen->undo());
}

TEST_F(AidsTest, ANewPuzzleClearsTheLocksAndTheHistory) {
  startWith(false);
  clickCell(42);
  screen->toggleLock(40);
  screen->readPuzzleFile();
  screen->nextPuzzle();
  EXPECT_TRUE(screen->locked.none());
  EXPECT_FALSE(screen->undo());
}

TEST_F(AidsTest, LocksSurviveASaveAndALoadButADamagedLockValueLoadsAsNone) {
  startWith(false);
  screen->toggleLock(40);
  screen->toggleLock(10);
  screen.reset();  // saves
  ASSERT_EQ(userValues().count("Locks"), 1u);
  const std::string lockText = userValues().at("Locks").text;

  screen = std::make_unique<GameScreen>("");
  ASSERT_TRUE(screen->loadSettings());
  for (int32_t cell : {40, 10, 16, 70}) EXPECT_TRUE(screen->isLocked(cell)) << cell;
  EXPECT_EQ(screen->locked.count(), 4u);
  screen.reset();

  std::string damaged = lockText;
  damaged[9] = static_cast<char>(damaged[9] + 1);
  userValues()["Locks"] = platform::StoreValue::ofText(damaged);
  screen = std::make_unique<GameScreen>("");
  ASSERT_TRUE(screen->loadSettings());
  EXPECT_TRUE(screen->locked.none());
}

// Charges worked out by hand: 1 a move, 2 under hints; undo and redo are moves.
TEST_F(AidsTest, UndoAndRedoTakeBackAndRemakeTurnsGroupTurnsAndSwapsAsChargedMoves) {
  for (const bool hints : {false, true}) {
    SCOPED_TRACE(hints ? "hints" : "no hints");
    startWith(true, hints);
    const uint16_t cost = hints ? 2 : 1;
    const BoardCodes start = screen->boardCodes();
    clickCell(40, false);                // left -> down
    clickCell(16);                       // the group: up -> right
    drag(42, centreX(43), centreY(43));  // the pair swaps
    settle();
    const BoardCodes moved = screen->boardCodes();
    EXPECT_EQ(screen->allowance, 50 - 3 * cost);
    silence();

    ASSERT_TRUE(screen->undo());
    EXPECT_EQ(playing(), SoundNames{"swap.ogg"});
    ASSERT_TRUE(screen->undo());
    EXPECT_EQ(playing(), (SoundNames{"ratchet4.ogg", "swap.ogg"}));
    ASSERT_TRUE(screen->undo());
    settle();
    EXPECT_FALSE(screen->undo());  // back at the start of the puzzle
    EXPECT_EQ(screen->boardCodes(), start);
    EXPECT_EQ(screen->allowance, 50 - 6 * cost);
    EXPECT_EQ(screen->moves, 6);

    for (int i = 0; i < 3; ++i) ASSERT_TRUE(screen->redo());
    EXPECT_FALSE(screen->redo());
    settle();
    EXPECT_EQ(screen->boardCodes(), moved);
    EXPECT_EQ(screen->allowance, 50 - 9 * cost);
    EXPECT_EQ(screen->moves, 9);
    // A lock holds an undo too; a solved board has nothing to take back.
    screen->toggleLock(43);
    EXPECT_FALSE(screen->undo());
    EXPECT_EQ(screen->moves, 9);
    screen.reset();
  }
}

// Two quick clicks turn the tile past the answer: at rest it is loose again. Taking the second
// click back comes to rest on the answer.
TEST_F(AidsTest, AnUndoThatSolvesTheBoardEntersTheSolvedState) {
  startWith(false);
  screen->tiles[42]->setContent(TileCode(TileKind::Empty, 0));
  screen->tiles[43]->setContent(TileCode(TileKind::Empty, 0));
  for (int32_t cell : {10, 16, 70}) screen->tiles[cell]->setContent(TileCode(TileKind::Empty, 0));
  screen->countLooseEnds();
  clickCell(40);  // left -> up: the answer
  clickCell(40);  // up -> right
  settle();
  ASSERT_FALSE(screen->solved);
  ASSERT_TRUE(screen->undo());
  EXPECT_FALSE(screen->solved);  // a turn solves when it comes to rest
  settle();
  EXPECT_TRUE(screen->solved);
  EXPECT_TRUE(screen->boardLock->visible);
  EXPECT_FALSE(screen->undo());
}

TEST_F(AidsTest, TheLockTipFollowsTheFirstFewMovesOnceAndOnlyThen) {
  startWith(false);
  screen->tutorial = true;
  uint32_t everyTip = 0;
  for (const tips::Tip& t : tips::kTips) everyTip |= t.seenBit;
  screen->tipsSeen = everyTip;
  clickCell(40);
  clickCell(40);
  EXPECT_EQ(screen->popup, nullptr);
  clickCell(40);
  EXPECT_NE(screen->popup, nullptr);
  EXPECT_EQ(screen->tipsSeen, everyTip | tips::kLockTip.seenBit);
  screen->onNotify(layout::kCloseId, NotifyClicked, 0);
  frame();
  clickCell(40);
  EXPECT_EQ(screen->popup, nullptr);  // shown once
  EXPECT_EQ(tips::chooseTip(screen->boardCodes(), true, screen->tipsSeen), std::nullopt);
}
