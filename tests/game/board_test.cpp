// Loose ends on plain boards, and the tile code.
#include "game/board.h"

#include <gtest/gtest.h>

#include "support/boards.h"

namespace {

TEST(LooseEdges, CountsEdgesWhereExactlyOneLineEndIsThere) {
  BoardCodes codes = emptyBoard();
  // Cells 0 and 1 meet; cell 1 also points down at cell 10, which does not answer; cell 10
  // points left at cell 9, which is a hole: never loose.
  codes[0] = TileCode(TileKind::Plain, line::Right);
  codes[1] = TileCode(TileKind::Fixed, line::Left | line::Down);
  codes[10] = TileCode(TileKind::Bomb, line::Left);
  // Cell 8 points off the board: never loose.
  codes[8] = TileCode(TileKind::Plain, line::Right | line::Up);
  const LooseEdges loose = looseEdges(codes);
  EXPECT_EQ(loose.count(), 1);
  EXPECT_TRUE(loose.down[1]);
  EXPECT_TRUE(loose.touches(1));
  EXPECT_TRUE(loose.touches(10));
  EXPECT_FALSE(loose.touches(0));
  EXPECT_FALSE(loose.touches(8));
}

TEST(LooseEdges, TheLastColumnNeverWrapsToTheNextRow) {
  BoardCodes codes = emptyBoard();
  codes[8] = TileCode(TileKind::Plain, line::Right);
  codes[9] = TileCode(TileKind::Plain, line::Left);
  EXPECT_EQ(looseEdges(codes).count(), 0);
  EXPECT_FALSE(looseEdges(codes).touches(9));
}

TEST(TileCodeValue, ReadsKindPinAndLinesFromOneByte) {
  const TileCode c(0xD5);  // pinned, bomb, up and down
  EXPECT_TRUE(c.pinned());
  EXPECT_EQ(c.kind(), TileKind::Bomb);
  EXPECT_EQ(c.lines(), 5);
  EXPECT_EQ(c.withLines(10).byte, 0xDA);
  EXPECT_EQ(c.withKind(TileKind::Plain).byte, 0x85);
  EXPECT_EQ(TileCode(0x65).kind(), TileKind::Plain) << "unused kinds play as plain";
  EXPECT_EQ(TileCode(TileKind::Sliding, 14).pictureName(), "m07.png");
}

}  // namespace
