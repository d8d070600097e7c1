// Bombs on the game screen, end to end: a fuse runs out, the blast turns its row, explosions
// show and go, a linked hit turns the group as one move, and a blast can solve the board.
#include "game/blast.h"
#include "screens/game_screen_fixture.h"
#include "ui/dialog.h"

namespace {

std::vector<Blast*> blasts(const GameScreen& screen) {
  std::vector<Blast*> found;
  for (Widget* w : screen.children) {
    if (auto* blast = dynamic_cast<Blast*>(w)) found.push_back(blast);
  }
  return found;
}

}  // namespace

class BombScreenTest : public GameScreenTest {
 protected:
  void SetUp() override { start(true); }

  // The bomb at cell 40 goes off after 500 ms, blasting along its row.
  Tile& armBomb(uint8_t lines) {
    Tile& bomb = tile(40);
    bomb.setContent(TileCode(TileKind::Bomb, lines));
    bomb.setFuse(500);
    screen->countLooseEnds();
    return bomb;
  }
  // Linked tiles in the bomb's row (cell 41) and out of it (cell 70), and a loose end at the
  // top that no blast reaches.
  static BoardCodes linkedPair() {
    BoardCodes codes = emptyBoard();
    codes[41] = TileCode(TileKind::Linked, line::Up);
    codes[70] = TileCode(TileKind::Linked, line::Right);
    codes[0] = TileCode(TileKind::Plain, line::Right);
    codes[1] = TileCode(TileKind::Plain, line::Up);
    return codes;
  }
  // Runs until the bomb has gone off and sends its blast along the row.
  uint32_t goOff(Tile& bomb) {
    silence();
    while (!bomb.exploding && backend.now < 10000) runFor(10);
    EXPECT_TRUE(bomb.exploding);
    bomb.alongColumn = false;
    return bomb.fuseDeadline;
  }
};

TEST_F(BombScreenTest, ABombGoesOffTurnsItsRowAndShowsExplosions) {
  BoardCodes codes = emptyBoard();
  for (int32_t c = 0; c < 9; ++c) codes[36 + c] = TileCode(TileKind::Plain, line::Up);
  codes[0] = TileCode(TileKind::Plain, line::Right);  // a loose end no blast reaches
  codes[1] = TileCode(TileKind::Plain, line::Up);
  codes[27] = TileCode(TileKind::Plain, line::Up);  // above the row: never hit
  setBoard(codes);
  Tile& bomb = armBomb(line::Up);
  const uint32_t off = goOff(bomb);
  // The bomb's own cell: it turns, the big explosion shows where the bomb is.
  EXPECT_NE(bomb.connections, line::Up);
  ASSERT_EQ(blasts(*screen).size(), 1u);
  const Blast* big = blasts(*screen)[0];
  EXPECT_EQ(big->id, 2200);
  const Rect cell = board::cellRect(40);
  const bool small = big->rect.left == cell.left - 27;
  EXPECT_EQ(big->rect.left, cell.left - (small ? 27 : 32));
  EXPECT_EQ(big->rect.top, cell.top - (small ? 32 : 43));
  EXPECT_EQ(playing(), (SoundNames{"explode-big.ogg"}));

  silence();
  runFor(off + 610 - backend.now);  // distance 1: cells 39 and 41
  EXPECT_NE(tile(39).connections, line::Up);
  EXPECT_NE(tile(41).connections, line::Up);
  EXPECT_EQ(tile(38).connections, line::Up);
  EXPECT_EQ(playing(), (SoundNames{"explode.ogg"}));
  runFor(off + 1810 - backend.now);
  for (int32_t c = 0; c < 9; ++c) EXPECT_NE(tile(36 + c).connections, line::Up) << c;
  EXPECT_EQ(tile(27).connections, line::Up);
  EXPECT_EQ(tile(1).connections, line::Up);
  EXPECT_FALSE(bomb.exploding);
  EXPECT_TRUE(bomb.fuseBurning());  // armed afresh
  EXPECT_EQ(looseEndsText(), std::to_string(referenceLooseEnds()));
  // Five frames at twelve a second, then each explosion takes itself away.
  runFor(1000);
  EXPECT_TRUE(blasts(*screen).empty());
}

TEST_F(BombScreenTest, ALinkedHitTurnsTheWholeGroupAsOneChargedMove) {
  setBoard(linkedPair());
  screen->allowance = 20;
  Tile& bomb = armBomb(line::Up);
  const uint32_t off = goOff(bomb);
  EXPECT_EQ(screen->allowance, 20);  // the bomb's own turn is no move of the player's
  silence();
  runFor(off + 610 - backend.now);
  EXPECT_EQ(tile(41).connections, line::Right);  // one step clockwise
  EXPECT_EQ(tile(70).connections, line::Down);
  EXPECT_EQ(screen->allowance, 19);
  EXPECT_EQ(screen->moves, 1);
  EXPECT_EQ(playing(), (SoundNames{"explode.ogg"}));  // the group's turn makes no ratchet
}

// The group turns as it does on an open board, whatever else holds the notifications.
TEST_F(BombScreenTest, ALinkedHitTurnsTheGroupAlsoUnderAPopUpOrDuringADrag) {
  for (const bool dragging : {false, true}) {
    SCOPED_TRACE(dragging ? "a tile held by the mouse" : "a pop-up open");
    BoardCodes codes = linkedPair();
    codes[80] = TileCode(TileKind::Sliding, line::Left);
    setBoard(codes);
    screen->allowance = 20;
    screen->moves = 0;
    Tile& bomb = armBomb(line::Up);
    if (dragging) {
      mouse(platform::MessageKind::LeftDown, centreX(80), centreY(80));
      ASSERT_EQ(screen->getCapture(), &tile(80));
    } else {
      screen->openPopup(new Dialog());
    }
    const uint32_t off = goOff(bomb);
    runFor(off + 610 - backend.now);
    EXPECT_EQ(tile(41).connections, line::Right);
    EXPECT_EQ(tile(70).connections, line::Down);
    EXPECT_EQ(screen->allowance, 19);
    EXPECT_EQ(screen->moves, 1);
    if (dragging) {
      mouse(platform::MessageKind::LeftUp, centreX(80), centreY(80));
    } else {
      screen->closePopup();
    }
    runFor(2000);  // the rest of the blast, on this board, before the next one
  }
}

TEST_F(BombScreenTest, ABlastThatSolvesTheBoardShowsNoExplosion) {
  BoardCodes codes = emptyBoard();
  codes[39] = TileCode(TileKind::Plain, line::Right);
  codes[41] = TileCode(TileKind::Plain, line::Left);
  setBoard(codes);
  // A straight bomb turns exactly once: up-down becomes left-right and joins both.
  armBomb(line::Up | line::Down);
  EXPECT_EQ(screen->countLooseEnds(), 2);
  silence();
  runFor(600);
  EXPECT_TRUE(screen->solved);
  EXPECT_EQ(tile(40).connections, line::Left | line::Right);
  EXPECT_TRUE(blasts(*screen).empty());
  EXPECT_TRUE(playing() == SoundNames{} || playing() == (SoundNames{"twiddle.ogg"}));
  EXPECT_TRUE(screen->nextPuzzleButton->visible);
  runFor(2000);  // the blast runs on, but hits nothing on a solved board
  EXPECT_EQ(tile(39).connections, line::Right);
  EXPECT_TRUE(blasts(*screen).empty());
}

TEST_F(BombScreenTest, NoExplosionIsShownOverAPopUp) {
  BoardCodes codes = emptyBoard();
  codes[0] = TileCode(TileKind::Plain, line::Right);
  codes[1] = TileCode(TileKind::Plain, line::Up);
  setBoard(codes);
  Tile& bomb = armBomb(line::Up);
  auto* cover = new Dialog();
  screen->openPopup(cover);
  goOff(bomb);
  EXPECT_NE(bomb.connections, line::Up);  // the hit still turns the tile
  EXPECT_TRUE(blasts(*screen).empty());
  EXPECT_TRUE(playing().empty());
}
