#include "gfx/animated_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The tiles' strip: 12 frames of 50 x 50 in one row at 18 frames per second.
struct TileStrip : ::testing::Test {
  Image strip{600, 50, 24};
  AnimatedImage anim{&strip, 12, 12, 18, 1000};
};

TEST_F(TileStrip, CountsWholeFramesAndKeepsTheRemainder) {
  EXPECT_EQ(anim.width, 50);
  EXPECT_EQ(anim.height, 50);
  EXPECT_EQ(anim.frameTime, 55);
  EXPECT_FALSE(anim.advance(1054));
  EXPECT_TRUE(anim.advance(1120));
  EXPECT_EQ(anim.currentCount(), 2);
  EXPECT_TRUE(anim.advance(1165));  // the kept 10 ms plus 45
  EXPECT_EQ(anim.currentCount(), 3);
}

TEST_F(TileStrip, LoopingWrapsAndNonLoopingStops) {
  anim.target = 11;
  std::vector<int> shown;
  for (uint32_t t = 1055; t <= 1000 + 55 * 13; t += 55) {
    anim.advance(t);
    shown.push_back(anim.shownFrame());
  }
  EXPECT_EQ(shown, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1}));

  anim.startAt(0, 11, 2000);
  EXPECT_TRUE(anim.advance(2000 + 55 * 20));
  EXPECT_EQ(anim.currentCount(), 11);
  EXPECT_FALSE(anim.advance(9000));
}

TEST_F(TileStrip, BackwardsExtendedAndReversed) {
  anim.startAt(-2, -3, 0);  // frame -2 is frame 10
  EXPECT_EQ(anim.shownTarget(), 7);
  anim.advance(110);
  EXPECT_EQ(anim.shownFrame(), 8);
  anim.advance(1000);
  EXPECT_EQ(anim.currentCount(), -3);

  anim.startAt(0, 3, 0);
  anim.advance(1000);
  anim.extendTarget(3, 5000);  // at rest: the idle time is not counted
  EXPECT_FALSE(anim.advance(5054));
  EXPECT_TRUE(anim.advance(5055));
  EXPECT_EQ(anim.currentCount(), 4);
  anim.extendTarget(-10, 5080);  // moving: time already counted stays counted
  EXPECT_EQ(anim.lastTime, 5055u);
  anim.advance(5055 + 55 * 3);
  EXPECT_EQ(anim.currentCount(), 1);  // turned round, towards -4
  anim.advance(9000);
  EXPECT_EQ(anim.currentCount(), -4);
  EXPECT_EQ(anim.shownFrame(), 8);
}

TEST(AnimatedImage, DrawsTheShownFrameOfAMultiRowStrip) {
  Image strip(6, 4, 24);  // 3 columns, 2 rows of 2 x 2 frames; frame f holds f
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) std::memset(strip.pixelAddress(x, y), (y / 2) * 3 + x / 2, 3);
  }
  AnimatedImage anim(&strip, 6, 3, 10, 0);
  anim.startAt(4, 4, 0);
  Image target(2, 2, 24);
  anim.drawTo(target, 99, 99, 0, 0, 2, 2, Rect(0, 0, 2, 2), 1.0);
  EXPECT_EQ(target.pixelAddress(1, 1)[0], 4);

  AnimatedImage(nullptr, 6, 3, 10, 0).drawTo(target, 0, 0, 0, 0, 2, 2, Rect(0, 0, 2, 2), 1.0);
  Image sprite;
  sprite.assign(2, 1, 8, {1, 2, 0, 0}, {0, 0, 0, 9, 9, 9, 8, 8, 8}, 3);
  AnimatedImage(&sprite, 2, 2, 10, 0).useCornerKey();
  EXPECT_EQ(sprite.colourKey, 2);
}

}  // namespace
