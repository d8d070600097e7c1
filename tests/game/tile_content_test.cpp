// Tile contents the rules have already settled: no draws, fuses as given, the solved spin.
#include "core/random.h"
#include "game/board_screen.h"
#include "gfx/animated_image.h"

TEST_F(BoardTest, SettledContentDrawsNothingAndLeavesABombsFuseAlone) {
  Tile& bomb = put(40, 0x55);
  const uint32_t deadline = bomb.fuseDeadline;
  seedRandom(99);
  const uint32_t next = gameRandom();
  seedRandom(99);
  bomb.setContent(TileCode(TileKind::Bomb, line::Right | line::Left, true));
  EXPECT_EQ(bomb.toByte(), 0xDA);
  EXPECT_EQ(bomb.fuseDeadline, deadline);
  EXPECT_EQ(bomb.sprite->shownFrame(), 3);  // straight, one quarter turn
  tile(41).setContent(TileCode(TileKind::Sliding, line::Up));
  EXPECT_EQ(tile(41).toByte(), 0x31);
  EXPECT_EQ(gameRandom(), next);  // no draw was made
}

TEST_F(BoardTest, ABlastEndsWhenTheContentIsNoLongerThatBomb) {
  Tile& bomb = put(40, 0x50);
  bomb.exploding = true;
  bomb.setContent(TileCode(TileKind::Bomb, line::Up));
  EXPECT_TRUE(bomb.exploding);  // the same bomb turned: its blast goes on
  bomb.setContent(TileCode(TileKind::Plain, line::Up));
  EXPECT_FALSE(bomb.exploding);
}

TEST_F(BoardTest, GivenFuseGoesOffAfterExactlyItsDelay) {
  backend.now = 1000;
  Tile& t = put(40, 0x01);
  seedRandom(5);
  const uint32_t next = gameRandom();
  seedRandom(5);
  t.setFuse(31500);
  EXPECT_EQ(gameRandom(), next);
  EXPECT_EQ(t.kind, TileKind::Bomb);
  EXPECT_EQ(t.fuseDeadline, 32500u);
  EXPECT_TRUE(t.fuseBurning());
  runTo(31400, 100);  // 1.1 s left
  EXPECT_TRUE(screen->values(TileFuseOut).empty());
  runTo(31600, 100);
  EXPECT_EQ(screen->values(TileFuseOut), (std::vector<int32_t>{1040}));
}

TEST_F(BoardTest, FullTurnRunsTwelveFramesAndRestsWhereItStarted) {
  Tile& t = put(40, 0x0B);  // three ends, turned three quarters: frame 9
  ASSERT_EQ(t.sprite->shownFrame(), 9);
  t.spinFullTurn();
  runTo(55 * 6, 55);
  EXPECT_EQ(t.sprite->shownFrame(), 3);  // half way round
  EXPECT_TRUE(screen->values(TileAtRest).empty());
  runTo(55 * 12, 55);
  EXPECT_EQ(t.sprite->shownFrame(), 9);
  EXPECT_EQ(screen->values(TileAtRest), (std::vector<int32_t>{1040}));
  EXPECT_EQ(t.connections, 0x0B);
}

TEST_F(BoardTest, ABombArmingAfreshLetsATurnUnderWayComeToRest) {
  Tile& bomb = put(40, 0x51);
  bomb.rotateClockwise(true);
  runTo(55, 55);
  bomb.armFuse(Tile::kFuseRange);  // as at the end of its blast
  EXPECT_TRUE(bomb.fuseBurning());
  runTo(55 * 4, 55);
  EXPECT_EQ(screen->values(TileAtRest), (std::vector<int32_t>{1040}));
  EXPECT_EQ(bomb.sprite->shownFrame(), 3);
}
