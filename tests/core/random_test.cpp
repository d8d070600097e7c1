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
