// The tutorial's choice of tip and the placement of its box, on plain board codes. Expected
// cells and rectangles are worked out by hand from the board geometry (cell i at column i % 9,
// row i / 9; its rectangle starts at (180 + 50 column, 10 + 50 row)).
#include <gtest/gtest.h>

#include "screens/tutorial.h"
#include "support/boards.h"

namespace {

// Every bit of the thirteen rows.
constexpr uint32_t kAllSeen = 0xFFF;

uint32_t seenAllBut(uint32_t bit) { return kAllSeen & ~bit; }

}  // namespace

TEST(TipSearch, RightmostColumnFirstAndBottomUpWithinIt) {
  BoardCodes codes = emptyBoard();
  codes[0] = TileCode(TileKind::Plain, 0);   // column 0, row 0
  codes[72] = TileCode(TileKind::Plain, 0);  // column 0, row 8
  codes[8] = TileCode(TileKind::Plain, 0);   // column 8, row 0
  codes[17] = TileCode(TileKind::Plain, 0);  // column 8, row 1
  EXPECT_EQ(tips::findCell(codes, tips::Subject::Plain), 17);
  codes[17] = TileCode(TileKind::Fixed, 0);
  EXPECT_EQ(tips::findCell(codes, tips::Subject::Plain), 8);
  EXPECT_EQ(tips::findCell(codes, tips::Subject::Fixed), 17);
  EXPECT_EQ(tips::findCell(codes, tips::Subject::Bomb), -1);
}

TEST(TipSearch, MismatchesNeedTwoTilesAndExactlyOneFacingEnd) {
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, line::Right);
  // The neighbour is a hole: a line end into it is never loose.
  EXPECT_EQ(tips::findCell(codes, tips::Subject::RightMismatch), -1);
  codes[41] = TileCode(TileKind::Fixed, line::Left);  // the ends meet
  EXPECT_EQ(tips::findCell(codes, tips::Subject::RightMismatch), -1);
  codes[41] = TileCode(TileKind::Fixed, line::Up);
  EXPECT_EQ(tips::findCell(codes, tips::Subject::RightMismatch), 40);
  EXPECT_EQ(tips::findCell(codes, tips::Subject::BottomMismatch), -1);
  // Only the lower tile has its end towards the other.
  codes[49] = TileCode(TileKind::Sliding, line::Up);
  EXPECT_EQ(tips::findCell(codes, tips::Subject::BottomMismatch), 40);
  // The last column has no right neighbour, the last row none below.
  BoardCodes edge = emptyBoard();
  edge[80] = TileCode(TileKind::Plain, line::All);
  edge[8] = TileCode(TileKind::Plain, line::All);
  EXPECT_EQ(tips::findCell(edge, tips::Subject::RightMismatch), -1);
  EXPECT_EQ(tips::findCell(edge, tips::Subject::BottomMismatch), -1);
}

TEST(TipSearch, AHoleCountsBesideATileOnlyToItsLeftOrRight) {
  BoardCodes codes = emptyBoard();
  for (TileCode& c : codes) c = TileCode(TileKind::Plain, 0);
  codes[40] = TileCode(TileKind::Empty, 0);
  EXPECT_EQ(tips::findCell(codes, tips::Subject::EmptyBesideTile), 40);
  // Holes with tiles only above and below them are not offered.
  BoardCodes row = emptyBoard();
  for (int32_t cell = 36; cell < 45; ++cell) row[cell] = TileCode(TileKind::Plain, 0);
  EXPECT_EQ(tips::findCell(row, tips::Subject::EmptyBesideTile), -1);
  // A tile in the corner: the hole to its right.
  row[0] = TileCode(TileKind::Plain, 0);
  EXPECT_EQ(tips::findCell(row, tips::Subject::EmptyBesideTile), 1);
}

TEST(TipChoice, TakesTheFirstUnseenRowWhoseSubjectIsThere) {
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Fixed, line::Right);  // rectangle (380, 210, 430, 260)
  codes[41] = TileCode(TileKind::Fixed, 0);            // rectangle (430, 210, 480, 260)
  // No plain tile: the fixed tile further right comes first, pointed at in its centre.
  auto choice = tips::chooseTip(codes, false, 0);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->tip->character, '3');
  EXPECT_EQ(choice->target, (tips::Point{455, 235}));
  // Then the loose end across its right edge, two pixels inside the edge.
  choice = tips::chooseTip(codes, false, 0x002);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->tip->character, 'a');
  EXPECT_EQ(choice->target, (tips::Point{428, 235}));
  // Then the holes beside them: cell 42, (480, 210, 530, 260), is met before cell 39.
  choice = tips::chooseTip(codes, false, 0x202);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->tip->character, 'c');
  EXPECT_EQ(choice->target, (tips::Point{505, 235}));
  // Then the loose-ends counter, always there.
  choice = tips::chooseTip(codes, false, 0xA02);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->tip->character, '2');
  EXPECT_EQ(choice->target, (tips::Point{165, 32}));
}

TEST(TipChoice, TheTwoMismatchRowsShareOneBit) {
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, line::Down);  // rectangle (380, 210, 430, 260)
  codes[49] = TileCode(TileKind::Plain, 0);
  auto choice = tips::chooseTip(codes, false, seenAllBut(0x200));
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->tip->character, 'a');
  EXPECT_EQ(choice->target, (tips::Point{405, 258}));
  EXPECT_FALSE(tips::chooseTip(codes, false, kAllSeen));
}

TEST(TipChoice, TheMeterTipWaitsForScoring) {
  const BoardCodes codes = emptyBoard();
  EXPECT_FALSE(tips::chooseTip(codes, false, seenAllBut(0x040)));
  auto choice = tips::chooseTip(codes, true, seenAllBut(0x040));
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->tip->character, '4');
  EXPECT_EQ(choice->target, (tips::Point{177, 282}));
}

TEST(TipChoice, EveryRowHasItsOwnBitButTheMismatchPair) {
  uint32_t all = 0;
  for (size_t i = 0; i < tips::kTips.size(); ++i) {
    if (i == 3) continue;  // shares the bit of row 3
    EXPECT_EQ(all & tips::kTips[i].seenBit, 0u) << i;
    all |= tips::kTips[i].seenBit;
  }
  EXPECT_EQ(all, kAllSeen);
  EXPECT_EQ(tips::pictureName('a'), "tutora.png");
}

// A 200 by 80 tip: the box is 220 by 146.
TEST(TipPlacement, BelowAndRightOfTheTargetWithTheArrowOnIt) {
  const tips::Placement p = tips::placeTip({300, 100}, 200, 80);
  EXPECT_EQ(p.box, Rect(331, 131, 551, 277));
  EXPECT_EQ(p.arrow, "arrowul.png");
  EXPECT_EQ(p.arrowAt, (tips::Point{300, 100}));
  EXPECT_EQ(p.pictureAt, (tips::Point{341, 141}));
  EXPECT_EQ(p.okayAt, (tips::Point{460, 225}));
  EXPECT_EQ(p.nextAt, (tips::Point{341, 225}));
}

// The box would end at 580 + 220 > 550: it goes left, and 465 + 146 > 400: above.
TEST(TipPlacement, NearTheRightEdgeTheBoxGoesLeftWithTheRightPointingArrow) {
  const tips::Placement p = tips::placeTip({580, 465}, 200, 80);
  EXPECT_EQ(p.box, Rect(329, 288, 549, 434));
  EXPECT_EQ(p.arrow, "arrowlr.png");
  EXPECT_EQ(p.arrowAt, (tips::Point{526, 412}));  // 329 + 220 - 23, 288 + 146 - 22
  const tips::Placement right = tips::placeTip({551 - 220, 100}, 200, 80);
  EXPECT_EQ(right.arrow, "arrowur.png");
  EXPECT_EQ(right.box, Rect(80, 131, 300, 277));
  const tips::Placement stays = tips::placeTip({550 - 220, 100}, 200, 80);
  EXPECT_EQ(stays.arrow, "arrowul.png");
}

TEST(TipPlacement, EdgeCorrectionsKeepTheBoxOnThePicture) {
  // 380 + 366 > 400: above, to -17; moved down to 2.
  const tips::Placement high = tips::placeTip({100, 380}, 200, 300);
  EXPECT_EQ(high.box, Rect(131, 2, 351, 368));
  EXPECT_EQ(high.arrow, "arrowll.png");
  EXPECT_EQ(high.arrowAt, (tips::Point{100, 346}));
  // A wide box pushed left past the edge comes back to 2.
  const tips::Placement wide = tips::placeTip({600, 100}, 600, 50);
  EXPECT_EQ(wide.box, Rect(2, 131, 622, 247));
  EXPECT_EQ(wide.arrow, "arrowur.png");
}
