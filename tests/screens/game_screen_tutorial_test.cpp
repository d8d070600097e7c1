// The instructions and the tutorial tips on the game screen, end to end through the message
// queue: live sample tiles that never touch the game, and the tips offered once each.
#include "game/blast.h"
#include "screens/game_screen_fixture.h"
#include "screens/instructions_screen.h"
#include "screens/tutorial.h"
#include "ui/box.h"
#include "ui/dialog.h"

namespace {

// The sample tiles' places and kinds, copied by hand from the instructions' table.
struct SampleSpot {
  uint16_t id;
  Rect rect;
  TileKind kind;
};
const SampleSpot kSpots[10] = {
    {1500, Rect(25, 140, 75, 190), TileKind::Plain},
    {1501, Rect(80, 140, 130, 190), TileKind::Plain},
    {1502, Rect(45, 195, 95, 245), TileKind::Fixed},
    {1503, Rect(100, 195, 150, 245), TileKind::Fixed},
    {1504, Rect(25, 250, 75, 300), TileKind::Sliding},
    {1505, Rect(80, 250, 130, 300), TileKind::Sliding},
    {1506, Rect(45, 305, 95, 355), TileKind::Bomb},
    {1507, Rect(100, 305, 150, 355), TileKind::Bomb},
    {1508, Rect(25, 360, 75, 410), TileKind::Linked},
    {1509, Rect(80, 360, 130, 410), TileKind::Linked},
};

size_t blastCount(const GameScreen& screen) {
  size_t n = 0;
  for (Widget* w : screen.children) n += dynamic_cast<Blast*>(w) != nullptr;
  return n;
}

}  // namespace

class TutorialScreenTest : public GameScreenTest {
 protected:
  Dialog* popup() const { return dynamic_cast<Dialog*>(screen->popup); }
  Widget* inPopup(uint16_t id) const {
    if (popup() == nullptr) return nullptr;
    for (Widget* w : popup()->children) {
      if (w->getId() == id) return w;
    }
    return nullptr;
  }
  Tile& sample(uint16_t id) {
    auto* tile = dynamic_cast<Tile*>(inPopup(id));
    EXPECT_NE(tile, nullptr) << id;
    return *tile;
  }
  void clickInPopup(uint16_t id) {
    Widget* w = inPopup(id);
    ASSERT_NE(w, nullptr) << id;
    clickAt((w->rect.left + w->rect.right) / 2, (w->rect.top + w->rect.bottom) / 2);
    frame();
  }
  void openInstructions() {
    clickControl(layout::kInstructionsId);
    frame();
    ASSERT_NE(popup(), nullptr);
  }
  std::vector<uint8_t> sampleLines() {
    std::vector<uint8_t> lines;
    for (const SampleSpot& s : kSpots) lines.push_back(sample(s.id).connections);
    return lines;
  }
  // The tip picture of the open tip: the third child, after the box and the arrow.
  bool showsTip(char character) const {
    return popup() != nullptr && popup()->children.size() == 5 &&
           static_cast<Picture*>(popup()->children[2])->image ==
               getImage(tips::pictureName(character));
  }
  void startWithTips(const BoardCodes& codes, bool scoring = false) {
    start(scoring);
    setBoard(codes);
    screen->tutorial = true;
    screen->tipsSeen = 0;
  }
};

TEST_F(TutorialScreenTest, InstructionsShowTenLiveSamplesWithFreshLinesAtEachOpening) {
  start();
  openInstructions();
  ASSERT_EQ(popup()->children.size(), 13u);  // the picture, ten samples, keys and play
  const Widget* background = popup()->children.front();
  EXPECT_EQ(background->rect, Rect(0, 0, 640, 480));
  for (const SampleSpot& s : kSpots) {
    SCOPED_TRACE(s.id);
    Tile& tile = sample(s.id);
    EXPECT_EQ(tile.rect, s.rect);
    EXPECT_EQ(tile.kind, s.kind);
    EXPECT_GE(tile.connections, 1);
    EXPECT_LE(tile.connections, 15);
    EXPECT_TRUE(tile.hasPicture());
  }
  EXPECT_TRUE(sample(1506).fuseBurning());
  const Widget* play = popup()->children.back();
  EXPECT_EQ(play->getId(), layout::kCloseId);
  EXPECT_EQ(play->rect.left, 551);
  EXPECT_EQ(play->rect.top, 424);
  const std::vector<uint8_t> first = sampleLines();

  clickInPopup(layout::kCloseId);
  EXPECT_EQ(screen->popup, nullptr);
  openInstructions();
  EXPECT_NE(sampleLines(), first);
}

TEST(InstructionsPattern, EveryDrawGivesOneToFifteen) {
  EXPECT_EQ(instructions::samplePattern(0), 1);
  EXPECT_EQ(instructions::samplePattern(2184), 1);    // 1 + 32760 / 32767
  EXPECT_EQ(instructions::samplePattern(2185), 2);    // 1 + 32775 / 32767
  EXPECT_EQ(instructions::samplePattern(32766), 15);  // 1 + 491490 / 32767 = 1 + 14
  EXPECT_EQ(instructions::samplePattern(32767), 15);  // 16 is kept within 15
}

TEST_F(TutorialScreenTest, ASampleBombGoesOffWithoutTouchingTheGame) {
  start(true);
  BoardCodes codes = emptyBoard();
  // Whole rows and columns of tiles, with loose ends, for a blast to reach if it could.
  for (int32_t cell = 0; cell < 81; ++cell) codes[cell] = TileCode(TileKind::Plain, line::Up);
  setBoard(codes);
  ASSERT_FALSE(screen->solved);
  screen->allowance = 40;
  screen->score = 7;
  openInstructions();
  Tile& bomb = sample(1506);
  bomb.setFuse(500);
  silence();
  bool wentOff = false;
  const uint32_t end = backend.now + 6000;
  while (backend.now < end) {
    runFor(20);
    wentOff = wentOff || bomb.exploding;
  }
  EXPECT_TRUE(wentOff);
  EXPECT_FALSE(bomb.exploding);
  EXPECT_TRUE(bomb.fuseBurning()) << "a new fuse once the blast has passed";
  EXPECT_EQ(screen->boardCodes(), codes);
  EXPECT_EQ(screen->allowance, 40);
  EXPECT_EQ(screen->score, 7);
  EXPECT_EQ(blastCount(*screen), 0u);
  EXPECT_EQ(playing(), SoundNames{});
}

TEST_F(TutorialScreenTest, DraggingASampleOntoTheBoardSwapsNothing) {
  start(true);
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Sliding, line::Right);
  setBoard(codes);
  screen->allowance = 40;
  openInstructions();
  Tile& slider = sample(1504);
  const TileCode before = slider.code();
  silence();
  using K = platform::MessageKind;
  mouse(K::LeftDown, 50, 275);
  for (int i = 1; i <= 4; ++i) mouse(K::MouseMove, 50 + 355 * i / 4, 275 - 40 * i / 4);
  mouse(K::LeftUp, 405, 235);
  frame();
  EXPECT_EQ(screen->boardCodes(), codes);
  EXPECT_EQ(slider.code(), before);
  EXPECT_EQ(slider.rect, Rect(25, 250, 75, 300));
  EXPECT_EQ(screen->allowance, 40);
  EXPECT_EQ(screen->dragTile, nullptr);
  for (const std::string& name : playing()) EXPECT_NE(name, "swap.ogg");
}

// The linked samples turn together, and only together: a board blast turning the board's
// linked group while the instructions are open leaves them alone.
TEST_F(TutorialScreenTest, SampleLinkedTilesTurnOnlyEachOther) {
  start(true);
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Linked, line::Up);
  codes[41] = TileCode(TileKind::Plain, line::Up);
  setBoard(codes);
  screen->allowance = 40;
  openInstructions();
  const uint8_t partner = sample(1509).connections;
  clickAt(50, 385);
  EXPECT_EQ(sample(1509).connections, rotatedClockwise(partner));
  EXPECT_EQ(tile(40).connections, line::Up);
  EXPECT_EQ(screen->allowance, 40);

  const uint8_t left = sample(1508).connections, right = sample(1509).connections;
  screen->onNotify(0, TileLinkedClockwise, 0);  // as the game screen reports a blast's turn
  EXPECT_EQ(sample(1508).connections, left);
  EXPECT_EQ(sample(1509).connections, right);
}

TEST_F(TutorialScreenTest, ATipWithoutItsTileOnTheBoardWaitsForALaterCheck) {
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, 0);
  startWithTips(codes);
  screen->tipsSeen = 0x001;
  ASSERT_NE(screen->showNextTip(), nullptr);
  EXPECT_TRUE(showsTip('c'));  // no fixed tile: the hole beside the plain one instead
  EXPECT_EQ(screen->tipsSeen, 0x801u);
  clickInPopup(layout::kCloseId);
  EXPECT_EQ(screen->popup, nullptr);

  codes[41] = TileCode(TileKind::Fixed, 0);
  setBoard(codes);
  ASSERT_NE(screen->showNextTip(), nullptr);
  EXPECT_TRUE(showsTip('3'));
  EXPECT_EQ(screen->tipsSeen, 0x803u);
}

TEST_F(TutorialScreenTest, NextWalksThroughEveryTipWhoseSubjectIsThereThenCloses) {
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, line::Right);
  codes[41] = TileCode(TileKind::Sliding, 0);
  startWithTips(codes);
  ASSERT_NE(screen->showNextTip(), nullptr);
  // No fixed, linked or bomb tile, and scoring is off.
  const std::string expected = "1ac258b9";
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    ASSERT_TRUE(showsTip(expected[i]));
    const Rect box = popup()->children[0]->rect;
    EXPECT_TRUE(layout::kScreen.contains(box.left, box.top));
    EXPECT_LE(box.right, 640);
    EXPECT_LE(box.bottom, 480);
    clickInPopup(layout::kTipNextId);
  }
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->tipsSeen, 0xFA5u);
  EXPECT_EQ(screen->boardCodes(), codes);
}

TEST_F(TutorialScreenTest, ATileNearTheRightEdgeGetsTheBoxOnTheLeft) {
  BoardCodes codes = emptyBoard();
  codes[8] = TileCode(TileKind::Plain, 0);  // top right cell, centre (605, 35)
  startWithTips(codes);
  ASSERT_NE(screen->showNextTip(), nullptr);
  ASSERT_TRUE(showsTip('1'));
  const Rect box = popup()->children[0]->rect;
  EXPECT_EQ(box.right, 605 - 31);
  auto* arrow = static_cast<Picture*>(popup()->children[1]);
  EXPECT_EQ(arrow->image, getImage("arrowur.png"));
  EXPECT_EQ(arrow->rect.left, 605 - 54);  // its point on the centre
  EXPECT_EQ(arrow->rect.top, 35);
}

TEST_F(TutorialScreenTest, TheMeterTipWaitsForScoring) {
  startWithTips(emptyBoard());
  screen->tipsSeen = 0xFFF & ~0x040u;
  EXPECT_EQ(screen->showNextTip(), nullptr);
  EXPECT_EQ(screen->tipsSeen, 0xFBFu);
  screen->scoring = true;
  ASSERT_NE(screen->showNextTip(), nullptr);
  EXPECT_TRUE(showsTip('4'));
  EXPECT_EQ(screen->tipsSeen, 0xFFFu);
}

TEST_F(TutorialScreenTest, WithTheTutorialOffNoTipShowsAndNoBitChanges) {
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, 0);
  startWithTips(codes);
  screen->tutorial = false;
  screen->tipsSeen = 0x010;
  EXPECT_EQ(screen->showNextTip(), nullptr);
  clickControl(layout::kNewPuzzleId);
  frame();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->tipsSeen, 0x010u);
}

TEST_F(TutorialScreenTest, TheNewPuzzleButtonOffersATipAndOkClosesIt) {
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, 0);
  startWithTips(codes);
  clickControl(layout::kNewPuzzleId);
  frame();
  ASSERT_NE(popup(), nullptr);
  EXPECT_TRUE(showsTip('1'));
  clickInPopup(layout::kCloseId);
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->tipsSeen, 0x001u);
}

TEST_F(TutorialScreenTest, SeenTipsSurviveSavingAndLoading) {
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, 0);
  startWithTips(codes);
  screen->tipsSeen = 0x0A5;
  screen.reset();  // saves, as closing the game does

  screen = std::make_unique<GameScreen>("");
  screen->loadSettings();
  EXPECT_TRUE(screen->tutorial);
  EXPECT_EQ(screen->tipsSeen, 0x0A5u);
  // The check at start-up offers the first tip not yet seen: the plain tile's is.
  setBoard(codes);
  ASSERT_NE(screen->showNextTip(), nullptr);
  EXPECT_EQ(screen->tipsSeen, 0x0A5u | 0x800u);
}

// OK on the options with scoring just switched on runs the tutorial check; the tip it opens
// in the options' place must stay open rather than be closed with them, unseen.
TEST_F(TutorialScreenTest, TheTipOpenedByTheOptionsOkStaysOpen) {
  startWithTips(emptyBoard());
  screen->tipsSeen = 0xFFF & ~0x040u;
  auto* options = new Dialog();
  screen->openPopup(options);
  screen->scoring = true;  // as its box would report
  screen->onNotify(layout::kOptionsOkId, NotifyClicked, 0);
  frame();
  EXPECT_NE(screen->popup, options);
  EXPECT_TRUE(showsTip('4'));
  EXPECT_EQ(screen->tipsSeen, 0xFFFu);
  // With nothing new to show, OK closes the options as before.
  screen->closePopup();
  frame();
  options = new Dialog();
  screen->openPopup(options);
  screen->onNotify(layout::kOptionsOkId, NotifyClicked, 0);
  frame();
  EXPECT_EQ(screen->popup, nullptr);
}
