// The rules behind the game screen's controls: charges, drag and drop, rotations coming to
// rest, the solved state with its fade and bonus, and the cases that must end.
#include "screens/game_screen_fixture.h"
#include "ui/dialog.h"

namespace {

// Two plain tiles side by side whose facing ends meet when the left one is turned once
// clockwise: cell 40 (up only) and cell 41 (left only).
BoardCodes oneTurnFromSolved() {
  BoardCodes codes = GameScreenTest::emptyBoard();
  codes[40] = TileCode(TileKind::Plain, line::Up);
  codes[41] = TileCode(TileKind::Plain, line::Left);
  return codes;
}

}  // namespace

TEST_F(GameScreenTest, ARotationCostsOneAndTwoWithHints) {
  start(true);
  setBoard(oneTurnFromSolved());
  screen->allowance = 10;
  clickCell(41);  // left -> up: still loose
  EXPECT_EQ(screen->allowance, 9);
  EXPECT_EQ(screen->moves, 1);
  screen->hints = true;
  clickCell(41);
  EXPECT_EQ(screen->allowance, 7);
  EXPECT_EQ(screen->moves, 2);
}

TEST_F(GameScreenTest, TurningHintsOnCostsFourAndSwapsTheHelpButtons) {
  start(true);
  screen->allowance = 10;
  EXPECT_TRUE(screen->helpButton->visible);
  EXPECT_FALSE(screen->noHelpButton->visible);
  clickControl(layout::kHelpId);
  EXPECT_TRUE(screen->hints);
  EXPECT_EQ(screen->allowance, 6);
  EXPECT_FALSE(screen->helpButton->visible);
  EXPECT_TRUE(screen->noHelpButton->visible);
  EXPECT_TRUE(screen->boardView->showMarks);
  clickControl(layout::kHelpId);  // now the no-help button under the pointer
  EXPECT_FALSE(screen->hints);
  EXPECT_EQ(screen->allowance, 6);  // turning hints off is free
  EXPECT_TRUE(screen->helpButton->visible);
  EXPECT_FALSE(screen->noHelpButton->visible);
  EXPECT_FALSE(screen->boardView->showMarks);
}

TEST_F(GameScreenTest, WithoutScoringNothingIsTakenFromTheMeterButMovesAreCounted) {
  start(false);
  EXPECT_EQ(screen->allowance, 0);
  EXPECT_FALSE(screen->meter->visible);
  setBoard(oneTurnFromSolved());
  clickCell(41);
  clickControl(layout::kHelpId);
  EXPECT_EQ(screen->allowance, 0);
  EXPECT_EQ(screen->moves, 2);
}

TEST_F(GameScreenTest, RotationSolvesTheBoardOnlyWhenItComesToRest) {
  start(true);
  setBoard(oneTurnFromSolved());
  clickCell(40);  // up -> right: meets the left end of cell 41
  EXPECT_EQ(tile(40).connections, line::Right);
  EXPECT_FALSE(screen->solved);
  EXPECT_EQ(looseEndsText(), "1");  // counted again only when the turn rests
  runFor(100);                      // one quarter turn is three frames of 55 ms
  EXPECT_FALSE(screen->solved);
  runFor(100);
  EXPECT_TRUE(screen->solved);
  EXPECT_EQ(looseEndsText(), "0");
  EXPECT_TRUE(screen->boardLock->visible);
  EXPECT_TRUE(screen->nextPuzzleButton->visible);
  // The locked board takes no clicks: a click there is a click on the lock.
  silence();
  clickCell(41);
  EXPECT_EQ(tile(41).connections, line::Left);
  EXPECT_EQ(playing(), (SoundNames{"bloop.ogg"}));
}

TEST_F(GameScreenTest, ATurnThatRestedUnderAPopUpSolvesTheBoardOnceItCloses) {
  start(true);
  setBoard(oneTurnFromSolved());
  clickCell(40);
  screen->openPopup(new Dialog());  // a tip, say, opened while the tile still turns
  runFor(300);
  EXPECT_FALSE(screen->solved);
  EXPECT_EQ(looseEndsText(), "1");
  screen->closePopup();
  frame();
  EXPECT_TRUE(screen->solved);
  EXPECT_EQ(looseEndsText(), "0");
  EXPECT_TRUE(screen->nextPuzzleButton->visible);
}

TEST_F(GameScreenTest, SolvedBoardSpinsFadesToHalfOverASecondAndDrainsTheBonus) {
  start(true);
  setBoard(oneTurnFromSolved());
  screen->allowance = screen->allowanceMax = 50;
  screen->meter->setMax(50);
  screen->meter->setValue(50);
  clickCell(40);
  runFor(165, 5);  // three frames of 55 ms
  ASSERT_TRUE(screen->solved);
  EXPECT_EQ(screen->allowance, 49);  // the click cost one
  EXPECT_TRUE(sfx(Sfx::Twiddle)->isPlaying());
  EXPECT_NE(tile(40).sprite->targetCount(), 0);  // the full turn runs
  const uint32_t solvedAt = screen->solvedAt;
  const uint16_t before = screen->score;
  runFor(solvedAt + 500 - backend.now);
  EXPECT_NEAR(tile(40).alpha, 0.75, 0.01);
  runFor(solvedAt + 1000 - backend.now);
  EXPECT_DOUBLE_EQ(tile(40).alpha, 0.5);
  EXPECT_EQ(screen->allowance, 0);
  EXPECT_EQ(screen->score, before + 49);
  EXPECT_EQ(screen->scoreLabel->text, std::to_string(before + 49));
  EXPECT_FALSE(sfx(Sfx::Twiddle)->isPlaying());
  runFor(2000);
  EXPECT_DOUBLE_EQ(tile(40).alpha, 0.5);
}

// 37 units left of a meter of 50: a 10 ms unit is worth floor(50 / 100) = 0 steps, two are
// worth one; the score rises by 37 in all and the twiddle stops with the meter empty.
TEST_F(GameScreenTest, BonusOfThirtySevenWithAMeterOfFiftyStepsByTwentyMilliseconds) {
  start(true);
  setBoard(oneTurnFromSolved());
  screen->setScore(100);
  screen->allowanceMax = 50;
  screen->meter->setMax(50);
  screen->allowance = 38;  // the solving click takes one
  clickCell(40);
  runFor(165, 5);  // the turn rests after three frames of 55 ms
  ASSERT_TRUE(screen->solved);
  ASSERT_EQ(screen->allowance, 37);
  EXPECT_TRUE(sfx(Sfx::Twiddle)->isPlaying());
  runFor(10, 10);
  EXPECT_EQ(screen->allowance, 37);  // one unit: no step
  runFor(10, 10);
  EXPECT_EQ(screen->allowance, 36);
  EXPECT_EQ(screen->score, 101);
  EXPECT_EQ(screen->meter->value, 36u);
  runFor(20 * 35, 10);
  EXPECT_EQ(screen->allowance, 1);
  EXPECT_TRUE(sfx(Sfx::Twiddle)->isPlaying());
  runFor(20, 10);
  EXPECT_EQ(screen->allowance, 0);
  EXPECT_EQ(screen->score, 137);
  EXPECT_FALSE(sfx(Sfx::Twiddle)->isPlaying());
}

TEST_F(GameScreenTest, TheScoreStopsAtTheTopInsteadOfWrappingRound) {
  start(true);
  setBoard(oneTurnFromSolved());
  screen->setScore(65530);
  screen->allowance = screen->allowanceMax = 100;
  screen->meter->setMax(100);
  clickCell(40);
  runFor(2000);
  EXPECT_EQ(screen->score, 65535);
  EXPECT_EQ(screen->allowance, 0);
}

// ---- Drag and drop.

class DragTest : public GameScreenTest {
 protected:
  void SetUp() override {
    start(true);
    BoardCodes codes = emptyBoard();
    codes[20] = TileCode(TileKind::Sliding, line::Up | line::Right);  // a corner
    codes[22] = TileCode(TileKind::Sliding, line::Left);              // one end
    codes[24] = TileCode(TileKind::Fixed, line::Left | line::Right);
    codes[31] = TileCode(TileKind::Plain, line::Up);  // under 22: a loose end either way
    setBoard(codes);
    screen->allowance = 20;
    silence();
  }
};

TEST_F(DragTest, DropOnAnotherSlidingTileSwapsChargesAndPlaysTheSwap) {
  drag(20, centreX(22), centreY(22));
  EXPECT_EQ(tile(20).code(), TileCode(TileKind::Sliding, line::Left));
  EXPECT_EQ(tile(22).code(), TileCode(TileKind::Sliding, line::Up | line::Right));
  EXPECT_EQ(tile(20).rect, board::cellRect(20));  // springs back home with the new content
  EXPECT_EQ(screen->allowance, 19);
  EXPECT_EQ(screen->moves, 1);
  EXPECT_EQ(playing(), (SoundNames{"swap.ogg"}));
  EXPECT_EQ(screen->dragTile, nullptr);
  EXPECT_EQ(looseEndsText(), std::to_string(referenceLooseEnds()));
}

TEST_F(DragTest, DropOutsideTheBoardDoesNothingAndPlaysNothing) {
  drag(20, 60, 100);
  EXPECT_EQ(tile(20).code(), TileCode(TileKind::Sliding, line::Up | line::Right));
  EXPECT_EQ(tile(20).rect, board::cellRect(20));
  EXPECT_EQ(screen->allowance, 20);
  EXPECT_EQ(screen->moves, 0);
  EXPECT_TRUE(playing().empty());
  EXPECT_EQ(screen->dragTile, nullptr);
  EXPECT_EQ(screen->getCapture(), nullptr);
}

TEST_F(DragTest, DropOnAFixedTileSnapsBackWithoutASwap) {
  drag(20, centreX(24), centreY(24));
  EXPECT_EQ(tile(20).code(), TileCode(TileKind::Sliding, line::Up | line::Right));
  EXPECT_EQ(tile(24).code(), TileCode(TileKind::Fixed, line::Left | line::Right));
  EXPECT_EQ(screen->allowance, 20);
  EXPECT_EQ(playing(), (SoundNames{"snap2.ogg"}));
}

TEST_F(DragTest, DropOnItsOwnCellTurnsItAsAClick) {
  drag(20, centreX(20) + 10, centreY(20) - 10);
  EXPECT_EQ(tile(20).connections, line::Right | line::Down);
  EXPECT_EQ(screen->allowance, 19);  // the turn is the one move
  EXPECT_EQ(playing(), (SoundNames{"snap2.ogg"}));
}

TEST_F(DragTest, DraggedTileIsDrawnAboveButtonsAndGoesHomeWhenTheGameIsLeft) {
  using K = platform::MessageKind;
  Widget* quit = control(layout::kQuitId);
  const int32_t x = quit->rect.left + 20, y = quit->rect.top + 10;
  mouse(K::LeftDown, centreX(20), centreY(20));
  mouse(K::MouseMove, x, y);
  frame();
  ASSERT_EQ(screen->dragTile, &tile(20));
  // What the frame shows there is what the tile alone draws there.
  Image alone(640, 480, 24);
  tile(20).draw(alone, Rect(0, 0, 640, 480));
  const Rect r = tile(20).rect;
  int differences = 0;
  for (int32_t py = r.top + 2; py < r.bottom - 2; ++py) {
    for (int32_t px = r.left + 2; px < r.right - 2; ++px) {
      const uint8_t* a = alone.pixelAddress(px, py);
      const uint8_t* b = &backend.lastFrame[(py * 640 + px) * 3];
      differences += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
    }
  }
  EXPECT_EQ(differences, 0);
  EXPECT_TRUE(r.intersects(quit->rect));

  backend.send(K::ActivateApp, 0);
  pump();
  EXPECT_EQ(screen->dragTile, nullptr);
  EXPECT_EQ(tile(20).rect, board::cellRect(20));
  EXPECT_EQ(screen->getCapture(), nullptr);
  EXPECT_FALSE(tile(20).visible);
  EXPECT_FALSE(screen->visible);
  mouse(K::LeftUp, x, y);  // the button let go in the background changes nothing
  EXPECT_EQ(tile(20).code(), TileCode(TileKind::Sliding, line::Up | line::Right));
  backend.send(K::ActivateApp, 1);
  pump();
  EXPECT_TRUE(tile(20).visible);
  EXPECT_TRUE(screen->boardView->visible);
}

// ---- New puzzles.

namespace {

PuzzleRecord layoutRecord(uint8_t difficulty, uint8_t seedKind) {
  PuzzleRecord record;
  record.difficulty = difficulty;
  for (int32_t cell = 0; cell < 81; ++cell) {
    const int32_t r = cell / 9, c = cell % 9;
    uint8_t code = 0x10;  // empty
    if (r >= 2 && r <= 6 && c >= 2 && c <= 6) code = static_cast<uint8_t>(seedKind);
    if (r == 4 && c == 4) code = 0x30;
    if (r == 3 && c == 5) code = 0x30;
    record.tiles[cell] = TileCode(code);
  }
  return record;
}

}  // namespace

TEST_F(GameScreenTest, NextPuzzleDealsAPlayableBoardFromTheListAndNeverTheSameIndexTwice) {
  start(true);
  for (uint8_t i = 0; i < 3; ++i) screen->puzzleLists[0].push_back(layoutRecord(0, 0x00));
  uint16_t last = screen->puzzleIndex;
  for (int round = 0; round < 20; ++round) {
    screen->nextPuzzle();
    EXPECT_NE(screen->puzzleIndex, last);
    last = screen->puzzleIndex;
    EXPECT_GT(referenceLooseEnds(), 0);
    EXPECT_EQ(looseEndsText(), std::to_string(referenceLooseEnds()));
    EXPECT_FALSE(screen->solved);
    EXPECT_EQ(screen->moves, 0);
    EXPECT_EQ(screen->allowance, screen->allowanceMax);
    EXPECT_EQ(screen->meter->max, screen->allowanceMax);
  }
}

TEST_F(GameScreenTest, TheScreenReadsEveryDifficultyOfTheBuiltPuzzleFile) {
  start();
  ASSERT_EQ(builtPuzzleCounts.size(), 4u);
  for (size_t count : builtPuzzleCounts) EXPECT_GE(count, 60u);
}

TEST_F(GameScreenTest, AListOfOnePuzzleDealsThatPuzzleAgain) {
  start(true);
  screen->puzzleLists[0].push_back(layoutRecord(0, 0x00));
  screen->nextPuzzle();
  EXPECT_EQ(screen->puzzleIndex, 0);
  EXPECT_EQ(tile(40).kind, TileKind::Sliding);
  screen->nextPuzzle();
  EXPECT_EQ(screen->puzzleIndex, 0);
  EXPECT_GT(referenceLooseEnds(), 0);
}

TEST_F(GameScreenTest, AnEmptyListLeavesTheBoardAsItIs) {
  start(true);
  const BoardCodes before = [&] {
    BoardCodes c;
    for (int i = 0; i < 81; ++i) c[i] = tile(i).code();
    return c;
  }();
  screen->nextPuzzle();
  for (int i = 0; i < 81; ++i) EXPECT_EQ(tile(i).code(), before[i]) << i;
}

TEST_F(GameScreenTest, ABoardThatCannotBeDealtStaysAndIsShownSolvedSoThePlayerMovesOn) {
  start(true);
  PuzzleRecord holes = layoutRecord(0, 0x10);
  holes.tiles.fill(TileCode(0x10));  // nothing but holes: no deal can ever end
  holes.tiles[40] = TileCode(0xAF);  // but one pinned fixed cross: it keeps its lines
  screen->puzzleLists[0].push_back(holes);
  screen->nextPuzzle();
  EXPECT_EQ(tile(40).code(), TileCode(0xAF));
  EXPECT_TRUE(screen->solved);
  EXPECT_TRUE(screen->nextPuzzleButton->visible);
  EXPECT_EQ(screen->allowance, 0);
}

TEST_F(GameScreenTest, AppliedRecordOfAnotherDifficultyPressesItsButton) {
  start(true);
  screen->applyRecord(layoutRecord(3, 0x00));
  EXPECT_EQ(screen->difficulty, 3);
  EXPECT_FALSE(screen->difficultyButtons[0]->down);
  EXPECT_TRUE(screen->difficultyButtons[3]->down);
  screen->applyRecord(layoutRecord(3, 0x00));
  EXPECT_TRUE(screen->difficultyButtons[3]->down);
}

TEST_F(GameScreenTest, BombsOffTurnsBombsPlainOnTheBoardAndInNewRecords) {
  start(true);
  screen->applyRecord(layoutRecord(0, 0x50));
  EXPECT_EQ(tile(20).kind, TileKind::Bomb);
  screen->bombs = false;
  screen->applyBombsOption();
  EXPECT_EQ(tile(20).kind, TileKind::Plain);
  screen->applyRecord(layoutRecord(0, 0x50));
  EXPECT_EQ(tile(20).kind, TileKind::Plain);
}

TEST_F(GameScreenTest, ScoringOnStartsANewGameAndShowsScoreMeterAndNewGame) {
  start(false);
  screen->puzzleLists[0].push_back(layoutRecord(0, 0x00));
  screen->puzzleLists[0].push_back(layoutRecord(0, 0x00));
  screen->setScore(77);
  screen->scoring = true;
  screen->applyScoringOption();
  EXPECT_EQ(screen->score, 0);
  EXPECT_EQ(tile(40).kind, TileKind::Sliding);  // a puzzle from the list
  EXPECT_TRUE(screen->scoreLabel->visible);
  EXPECT_TRUE(screen->meter->visible);
  EXPECT_TRUE(screen->scoreBackground->visible);
  EXPECT_FALSE(screen->newPuzzleButton->visible);
  EXPECT_TRUE(screen->newGameButton->visible);
  EXPECT_GT(screen->allowance, 0);
  screen->setScore(12);
  screen->scoring = false;
  screen->applyScoringOption();  // off: hidden, numbers kept
  EXPECT_EQ(screen->score, 12);
  EXPECT_FALSE(screen->scoreLabel->visible);
  EXPECT_TRUE(screen->newPuzzleButton->visible);
  EXPECT_FALSE(screen->newGameButton->visible);
}

TEST_F(GameScreenTest, NextPuzzleDuringTheCountUpAddsTheRestAtOnceAndSilencesTheTwiddle) {
  start(true);
  screen->puzzleLists[0].push_back(layoutRecord(0, 0x00));
  screen->puzzleLists[0].push_back(layoutRecord(0, 0x00));
  setBoard(oneTurnFromSolved());
  screen->allowance = screen->allowanceMax = 200;
  screen->meter->setMax(200);
  screen->setScore(1000);
  clickCell(40);
  runFor(170, 5);
  ASSERT_TRUE(screen->solved);
  runFor(100, 10);  // part of the 199 left has drained
  const uint32_t total = 1000u + 199u;
  ASSERT_GT(screen->allowance, 0);
  ASSERT_LT(screen->allowance, 199);
  ASSERT_TRUE(sfx(Sfx::Twiddle)->isPlaying());
  clickControl(layout::kNextPuzzleId);
  EXPECT_EQ(screen->score, total);
  EXPECT_FALSE(sfx(Sfx::Twiddle)->isPlaying());
  EXPECT_FALSE(screen->solved);
  EXPECT_FALSE(screen->boardLock->visible);
  EXPECT_FALSE(screen->nextPuzzleButton->visible);
  runFor(1000);
  EXPECT_EQ(screen->score, total);  // nothing is counted twice
}

TEST_F(GameScreenTest, NextPuzzleWithNothingToDealStillNeverCountsTheBonusTwice) {
  start(true);
  setBoard(oneTurnFromSolved());
  screen->allowance = screen->allowanceMax = 200;
  screen->meter->setMax(200);
  clickCell(40);
  runFor(170, 5);
  ASSERT_TRUE(screen->solved);
  clickControl(layout::kNextPuzzleId);  // the lists are empty: the board stays
  runFor(2000);
  EXPECT_EQ(screen->score, 199);
}

// The destructor saves; the next start restores the same board, numbers, options and table.
TEST_F(GameScreenTest, ASecondStartContinuesTheSavedGame) {
  start(true);
  screen->setScore(1234);
  screen->hsScores = {100, 200, 400, 500};  // a table as a game that started on the defaults
  screen->hsNames = {"Opal", "Zinc", "Tin", "Ada"};
  screen->bombs = false;
  const BoardCodes board = screen->boardCodes();
  const uint16_t allowance = screen->allowance;
  screen.reset();  // saves, as closing the game does

  screen = std::make_unique<GameScreen>("");
  ASSERT_TRUE(screen->loadSettings());
  EXPECT_EQ(screen->boardCodes(), board);
  EXPECT_EQ(screen->score, 1234);
  EXPECT_EQ(screen->allowance, allowance);
  EXPECT_TRUE(screen->scoring);
  EXPECT_FALSE(screen->bombs);
  EXPECT_EQ(screen->hsNames[3], "Ada");
}

// A first run on an empty store: no game, every option on, the default table.
TEST_F(GameScreenTest, AFirstRunStartsFromTheDefaults) {
  screen = std::make_unique<GameScreen>("");
  EXPECT_FALSE(screen->loadSettings());
  EXPECT_TRUE(screen->scoring && screen->bombs && screen->hints && screen->tutorial);
  EXPECT_EQ(screen->hsScores, (std::array<uint16_t, 4>{50, 100, 200, 400}));
  EXPECT_EQ(screen->hsNames[0], "Flint");
}
