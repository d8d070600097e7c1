#include "game/tile.h"

#include <gtest/gtest.h>

#include <set>

#include "game/board_screen.h"
#include "gfx/animated_image.h"

using K = platform::MessageKind;

TEST(TileBits, TurnBothWaysSideBySide) {
  EXPECT_EQ(rotatedClockwise(0b1001), 0b0011);
  EXPECT_EQ(rotatedCounterClockwise(line::Up), line::Left);
  for (uint8_t c = 0; c < 16; ++c) {
    // Up goes to Right, Right to Down, Down to Left, Left to Up.
    const uint8_t moved = ((c & line::Up) ? line::Right : 0) |
                          ((c & line::Right) ? line::Down : 0) |
                          ((c & line::Down) ? line::Left : 0) | ((c & line::Left) ? line::Up : 0);
    EXPECT_EQ(rotatedClockwise(c), moved) << int{c};
    EXPECT_EQ(rotatedCounterClockwise(moved), c) << int{c};
  }
}

TEST(TileBits, ShapeTurnedByOrientationGivesTheLinesBack) {
  std::set<int> shapes;
  for (uint8_t c = 0; c < 16; ++c) {
    uint8_t lines = canonicalShape(c);
    shapes.insert(lines);
    for (int k = 0; k < orientation(c); ++k) lines = rotatedClockwise(lines);
    EXPECT_EQ(lines, c) << int{c};
  }
  EXPECT_EQ(shapes, (std::set<int>{0, 1, 3, 5, 7, 15}));
  EXPECT_EQ(canonicalShape(10), 5);
  EXPECT_EQ(orientation(10), 1);
  EXPECT_EQ(tilePictureName(TileKind::Plain, 10), "n05.png");
  EXPECT_EQ(tilePictureName(TileKind::Empty, 1), "n01.png");
  EXPECT_EQ(tilePictureName(TileKind::Fixed, 0), "l00.png");
  EXPECT_EQ(tilePictureName(TileKind::Sliding, 14), "m07.png");
  EXPECT_EQ(tilePictureName(TileKind::Linked, 6), "k03.png");
  EXPECT_EQ(tilePictureName(TileKind::Bomb, 15), "b15.png");
}

TEST_F(BoardTest, TileCodeRoundTripsAndPicksItsStrip) {
  Tile& t = tile(0);
  for (int code = 0; code < 256; ++code) {
    t.fromByte(static_cast<uint8_t>(code));
    const bool unusedKind = (code & 0x70) > 0x50;
    // Unused kinds play as plain tiles.
    EXPECT_EQ(t.toByte(), unusedKind ? (code & 0x8F) : code) << code;
    EXPECT_EQ(t.pinned, code >= 0x80);
    EXPECT_EQ(t.fuseBurning(), (code & 0x70) == 0x50) << code;
  }
  t.fromByte(0x0A);  // a straight line across: shape 5 turned once
  EXPECT_EQ(t.sprite->image->name, "n05.png");
  EXPECT_EQ(t.sprite->shownFrame(), 3);
  EXPECT_TRUE(t.hasPicture());
  t.setConnections(0x1C);  // only the line bits count
  EXPECT_EQ(t.connections, 0x0C);
  EXPECT_EQ(t.sprite->shownFrame(), 6);
}

TEST_F(BoardTest, TwoFastClicksQueueTwoQuarterTurnsAndRestOnce) {
  Tile& t = put(40, 0x01);  // plain, Up
  click(40);
  backend.now = 10;
  click(40);
  EXPECT_EQ(t.connections, line::Down);
  std::vector<int32_t> shown;
  while (backend.now < 400) {
    runTo(backend.now + 5);
    if (shown.empty() || shown.back() != t.sprite->shownFrame()) {
      shown.push_back(t.sprite->shownFrame());
    }
  }
  EXPECT_EQ(shown, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(screen->values(TileRotated), (std::vector<int32_t>{1040, 1040}));
  EXPECT_EQ(screen->values(TileAtRest), (std::vector<int32_t>{1040}));
  EXPECT_EQ(screen->notes.back().at, 330u);  // six frames of 55 ms
}

TEST_F(BoardTest, LeftThenRightClickRestsOnTheOriginalFrame) {
  Tile& t = put(40, 0x03);  // Up and Right: frame 0
  click(40);
  click(40, false);
  EXPECT_EQ(t.connections, 0x03);
  runTo(500);
  EXPECT_EQ(t.sprite->shownFrame(), 0);
  EXPECT_EQ(screen->values(TileAtRest).size(), 1u);

  // Immediate turns jump straight to the new picture and report no rest.
  t.rotateCounterClockwise(false);
  EXPECT_EQ(t.sprite->shownFrame(), 9);
  EXPECT_EQ(t.connections, 0x09);
  runTo(1000);
  EXPECT_EQ(screen->values(TileAtRest).size(), 1u);
}

TEST_F(BoardTest, FixedAndEmptyTilesDoNotTurn) {
  Tile& fixed = put(0, 0x25);
  put(1, 0x15);
  click(0);
  click(1, false);
  mouse(K::LeftDown, 50, 50);  // off the board
  EXPECT_EQ(fixed.connections, 0x05);
  EXPECT_EQ(tile(1).connections, 0x05);
  EXPECT_EQ(screen->values(TileFixedClicked), (std::vector<int32_t>{0}));
  EXPECT_EQ(screen->notes.size(), 1u);
}

TEST_F(BoardTest, LinkedTilesTurnTogetherOnASiblingsNotice) {
  put(0, 0x41);
  put(10, 0x42);
  put(80, 0x43);
  put(1, 0x01);  // a plain tile keeps still
  click(10);
  EXPECT_EQ(tile(0).connections, 0x02);
  EXPECT_EQ(tile(10).connections, 0x04);
  EXPECT_EQ(tile(80).connections, 0x06);
  EXPECT_EQ(tile(1).connections, 0x01);
  EXPECT_EQ(screen->values(TileLinkedClockwise), (std::vector<int32_t>{1010}));

  click(80, false);
  EXPECT_EQ(tile(0).connections, 0x01);
  EXPECT_EQ(tile(80).connections, 0x03);
  EXPECT_EQ(screen->values(TileLinkedCounter), (std::vector<int32_t>{1080}));

  // A blast on a linked tile: the screen itself (id 0) turns the whole group.
  screen->onNotify(0, TileLinkedClockwise, 0);
  EXPECT_EQ(tile(0).connections, 0x02);
  EXPECT_EQ(tile(10).connections, 0x04);
  runTo(500);
  EXPECT_EQ(tile(10).sprite->shownFrame(), 6);
}

TEST_F(BoardTest, SlidingTileFollowsThePointerAndSwapsOnDrop) {
  Tile& a = put(0, 0x31);
  Tile& b = put(2, 0x33);
  put(1, 0x05);
  mouse(K::LeftDown, 190, 20);  // grabbed 10, 10 from its corner
  EXPECT_EQ(screen->getCapture(), &a);
  EXPECT_EQ(screen->values(TileDragStarted), (std::vector<int32_t>{1000}));
  screen->update(0);  // draws, so what the move dirties shows alone
  mouse(K::MouseMove, 300, 30);
  EXPECT_EQ(a.rect, Rect(290, 20, 340, 70));
  Rect area = board::cellRect(0);
  area.unite(Rect(290, 20, 340, 70));
  area.inflate(1, 1);
  EXPECT_EQ(screen->dirtyRect, area);  // the area it left and the area it reaches

  mouse(K::LeftUp, 300, 30);
  EXPECT_EQ(screen->values(TileDropped), (std::vector<int32_t>{300 << 16 | 30}));
  EXPECT_EQ(a.rect, board::cellRect(0));
  EXPECT_EQ(a.toByte(), 0x33);
  EXPECT_EQ(b.toByte(), 0x31);
  EXPECT_EQ(screen->getCapture(), nullptr);
  EXPECT_EQ(Tile::dragged(), nullptr);
  EXPECT_TRUE(screen->values(TileRotated).empty());
}

TEST_F(BoardTest, SlidingTileDroppedHomeTurnsAndElsewhereSpringsBack) {
  Tile& a = put(0, 0x31);
  click(0);  // a click without moving
  EXPECT_EQ(a.connections, line::Right);
  mouse(K::RightDown, 200, 30);
  mouse(K::MouseMove, 215, 40);
  mouse(K::RightUp, 215, 40);  // still over its own cell
  EXPECT_EQ(a.connections, line::Up);
  EXPECT_EQ(screen->values(TileRotated), (std::vector<int32_t>{1000, 1000}));

  mouse(K::LeftDown, 200, 30);
  mouse(K::MouseMove, 40, 300);
  mouse(K::RightDown, 40, 300);  // the other button changes nothing
  mouse(K::RightUp, 40, 300);
  mouse(K::MouseMove, 60, 320);
  EXPECT_EQ(a.rect, Rect(40, 300, 90, 350));
  mouse(K::LeftUp, 60, 320);  // off the board
  EXPECT_EQ(a.rect, board::cellRect(0));
  EXPECT_EQ(a.toByte(), 0x31);
  EXPECT_EQ(screen->values(TileDragStarted).size(), 3u);
  EXPECT_EQ(screen->values(TileDropped).size(), 3u);
  EXPECT_EQ(screen->values(TileRotated).size(), 2u);
  EXPECT_EQ(screen->notes.size(), 8u);
}

TEST_F(BoardTest, DragCutShortGoesHome) {
  Tile& a = put(4, 0x35);
  mouse(K::LeftDown, centreX(4), centreY(4));
  mouse(K::MouseMove, 500, 400);
  a.returnToDragOrigin();  // the application went to the background
  EXPECT_EQ(a.rect, board::cellRect(4));
  EXPECT_EQ(screen->getCapture(), nullptr);
  mouse(K::LeftUp, 500, 400);
  EXPECT_TRUE(screen->values(TileDropped).empty());
}

TEST_F(BoardTest, SwapExchangesContentsOnly) {
  Tile& a = put(3, 0xB3);
  Tile& b = put(7, 0x5A);
  const uint32_t deadline = b.fuseDeadline;
  a.swapContents(b);
  EXPECT_EQ(a.toByte(), 0x5A);
  EXPECT_EQ(b.toByte(), 0xB3);
  EXPECT_EQ(a.sprite->image->name, "b05.png");
  EXPECT_EQ(b.sprite->image->name, "m03.png");
  EXPECT_EQ(a.rect, board::cellRect(3));
  EXPECT_EQ(b.getId(), 1007);
  EXPECT_EQ(b.fuseDeadline, deadline);
  a.makePlain();
  EXPECT_EQ(a.toByte(), 0x0A);
  EXPECT_EQ(a.sprite->image->name, "n05.png");
}

// What a panel may leave undrawn under a tile: its cell, only while the whole picture shows.
TEST_F(BoardTest, OnlyAShownOpaquePictureCoversItsCell) {
  Tile& t = put(0, 0x31);
  EXPECT_EQ(t.opaqueRect(), board::cellRect(0));
  t.setAlpha(0.5);  // a fading board shows what is under it
  EXPECT_TRUE(t.opaqueRect().isEmpty());
  t.setAlpha(1.0);
  t.hide();  // only the outline is drawn
  EXPECT_TRUE(t.opaqueRect().isEmpty());
  t.show();
  t.setContent(TileCode(TileKind::Empty, 0));
  EXPECT_TRUE(t.opaqueRect().isEmpty());
}
