// The first board: the starter board without a saved game, and what becomes of a restored one.
#include "app/entry.h"
#include "screens/game_screen_fixture.h"
#include "ui/dialog.h"

namespace {

// A restored board: two plain tiles whose ends meet (solved) or miss (in play).
BoardCodes restoredBoard(bool solved) {
  BoardCodes codes = GameScreenTest::emptyBoard();
  codes[40] = TileCode(TileKind::Plain, solved ? line::Right : line::Up);
  codes[41] = TileCode(TileKind::Plain, line::Left);
  return codes;
}

PuzzleRecord listed() {
  PuzzleRecord record;
  record.tiles.fill(TileCode(TileKind::Empty, 0));
  for (int32_t cell : {20, 21, 22, 29, 30, 31}) record.tiles[cell] = TileCode(TileKind::Plain, 0);
  return record;
}

}  // namespace

class FirstBoardTest : public GameScreenTest {
 protected:
  // As the program restores a game: settings first, then the resources (which count the
  // loose ends of the restored board).
  void restore(bool solved, uint16_t allowance) {
    screen = std::make_unique<GameScreen>("");
    screen->scoring = true;
    screen->setScore(321);
    for (int32_t cell = 0; cell < 81; ++cell) tile(cell).setContent(restoredBoard(solved)[cell]);
    screen->allowance = allowance;
    screen->allowanceMax = 40;
    screen->loadResources();
    screen->puzzleLists[0] = {listed(), listed()};
  }
};

TEST_F(FirstBoardTest, WithoutASavedGameTheStarterBoard) {
  screen = std::make_unique<GameScreen>("");
  screen->loadResources();
  chooseFirstBoard(*screen, false);
  EXPECT_EQ(tile(40).kind, TileKind::Plain);
  EXPECT_EQ(tile(31).kind, TileKind::Fixed);
  EXPECT_GT(screen->countLooseEnds(), 0);
}

TEST_F(FirstBoardTest, ASolvedBoardWithNothingLeftMovesOnAndKeepsTheScore) {
  restore(true, 0);
  chooseFirstBoard(*screen, true);
  EXPECT_EQ(tile(20).kind, TileKind::Plain);  // a puzzle from the list
  EXPECT_EQ(tile(40).kind, TileKind::Empty);
  EXPECT_EQ(screen->score, 321);
  EXPECT_FALSE(screen->solved);
}

TEST_F(FirstBoardTest, ASpentAllowanceStartsANewGame) {
  restore(false, 0);
  screen->hsScores = {400, 500, 600, 700};  // 321 does not qualify
  chooseFirstBoard(*screen, true);
  EXPECT_EQ(tile(20).kind, TileKind::Plain);
  EXPECT_EQ(screen->score, 0);
  EXPECT_EQ(screen->popup, nullptr);
}

// The saved game cannot go on, but its score is not lost: it is offered to the table first,
// and the new game follows the name.
TEST_F(FirstBoardTest, ASpentAllowanceOffersTheScoreBeforeTheNewGame) {
  restore(false, 0);
  screen->hsScores = {50, 100, 200, 400};
  chooseFirstBoard(*screen, true);
  EXPECT_EQ(screen->hsScores, (std::array<uint16_t, 4>{100, 200, 321, 400}));
  ASSERT_NE(screen->nameEntry.nameEntry, nullptr);
  EXPECT_EQ(screen->score, 321) << "the new game waits for the name";
  backend.send(platform::MessageKind::Char, '\r');
  platform::Message m;
  while (backend.peekMessage(m)) backend.dispatchMessage(m);
  EXPECT_EQ(screen->score, 0);
  EXPECT_EQ(tile(20).kind, TileKind::Plain);
  EXPECT_EQ(screen->hsScores, (std::array<uint16_t, 4>{100, 200, 321, 400}));
}

TEST_F(FirstBoardTest, AGameWithAllowanceLeftIsPlayedOnAsItWas) {
  restore(false, 25);
  chooseFirstBoard(*screen, true);
  EXPECT_EQ(tile(40).code(), TileCode(TileKind::Plain, line::Up));
  EXPECT_EQ(screen->score, 321);
  EXPECT_EQ(screen->allowance, 25);
  EXPECT_EQ(screen->meter->value, 25u);
  EXPECT_EQ(screen->meter->max, 40u);
  EXPECT_EQ(looseEndsText(), "1");
}

TEST_F(FirstBoardTest, ASolvedBoardWithBonusLeftStaysSolvedAndPaysTheBonusFromNow) {
  restore(true, 25);
  backend.now = 5000;
  chooseFirstBoard(*screen, true);
  EXPECT_TRUE(screen->solved);
  EXPECT_TRUE(screen->boardLock->visible);
  EXPECT_TRUE(screen->nextPuzzleButton->visible);
  EXPECT_TRUE(sfx(Sfx::Twiddle)->isPlaying());
  frame();
  EXPECT_DOUBLE_EQ(tile(40).alpha, 1.0);  // the fade starts now, not at time 0
  runFor(1100);
  EXPECT_DOUBLE_EQ(tile(40).alpha, 0.5);
  EXPECT_EQ(screen->score, 321 + 25);
}
