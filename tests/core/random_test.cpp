#include "core/random.h"

#include <gtest/gtest.h>

TEST(GameRandom, DrawsStayBelow32768AndRepeatForTheSameSeed) {
  seedRandom(12345);
  uint32_t first[8];
  int high = 0;
  for (int i = 0; i < 1000; ++i) {
    uint32_t v = gameRandom();
    ASSERT_LE(v, 32767u);
    if (i < 8) first[i] = v;
    if (v > 0x3FFF) ++high;
  }
  EXPECT_GT(high, 400);  // the halves split roughly evenly
  EXPECT_LT(high, 600);
  seedRandom(12345);
  for (uint32_t v : first) EXPECT_EQ(gameRandom(), v);
}

// The sequence is the classic C library one (state x 214013 + 2531011, bits 16 to 30): seeded
// with 1 it starts 41, 18467, 6334, 26500, 19169, as that library's rand() always has.
TEST(GameRandom, FollowsTheClassicSequence) {
  seedRandom(1);
  for (uint32_t expected : {41u, 18467u, 6334u, 26500u, 19169u, 15724u, 11478u, 29358u}) {
    EXPECT_EQ(gameRandom(), expected);
  }
}
