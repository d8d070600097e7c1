#include "core/rect.h"

#include <gtest/gtest.h>

TEST(Rect, HalfOpenContainmentAndStrictIntersection) {
  Rect r(10, 10, 20, 20);
  EXPECT_TRUE(r.contains(10, 10));
  EXPECT_FALSE(r.contains(20, 10));
  EXPECT_FALSE(r.contains(10, 20));
  EXPECT_FALSE(r.intersects(Rect(20, 10, 30, 20)));  // touching only
  EXPECT_TRUE(r.intersects(Rect(19, 19, 30, 30)));
  Rect c = r;
  c.intersect(Rect(30, 30, 40, 40));
  EXPECT_TRUE(c.isEmpty());
  Rect u = r;
  u.unite(Rect(30, 5, 40, 15));
  EXPECT_EQ(u, Rect(10, 5, 40, 20));
  u.moveTo(0, 0);
  EXPECT_EQ(u, Rect(0, 0, 30, 15));
  u.inflate(-1, -2);
  EXPECT_EQ(u, Rect(1, 2, 29, 13));
}
