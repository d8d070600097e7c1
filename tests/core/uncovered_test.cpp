#include "core/uncovered.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

// Pixel by pixel: how many parts hold each pixel of a 40 x 30 field, against whether the area
// holds it and no cover does.
void expectUncovered(const Rect& area, const std::vector<Rect>& covers) {
  const std::vector<Rect> parts = uncoveredParts(area, covers);
  for (int32_t y = -2; y < 32; ++y) {
    for (int32_t x = -2; x < 42; ++x) {
      bool shows = area.contains(x, y);
      for (const Rect& c : covers) shows = shows && !c.contains(x, y);
      int holding = 0;
      for (const Rect& p : parts) holding += p.contains(x, y);
      ASSERT_EQ(holding, shows ? 1 : 0) << "at " << x << ", " << y;
    }
  }
}

}  // namespace

TEST(UncoveredParts, MatchPixelByPixelOnRandomCovers) {
  std::mt19937 rng(7);
  auto coord = [&](int32_t limit) { return static_cast<int32_t>(rng() % (limit + 6)) - 3; };
  for (int round = 0; round < 300; ++round) {
    const Rect area(coord(40), coord(30), coord(40), coord(30));
    std::vector<Rect> covers(rng() % 7);
    for (Rect& c : covers) c = Rect(coord(40), coord(30), coord(40), coord(30));
    expectUncovered(area, covers);
  }
}

TEST(UncoveredParts, ABoardOfTilesLeavesItsMarginsAsStripsAndAMissingTileAsAHole) {
  std::vector<Rect> tiles;
  for (int32_t cell = 0; cell < 81; ++cell) {
    const int32_t x = 180 + 50 * (cell % 9), y = 10 + 50 * (cell / 9);
    tiles.emplace_back(x, y, x + 50, y + 50);
  }
  const Rect screen(0, 0, 640, 480);
  EXPECT_EQ(uncoveredParts(screen, tiles),
            (std::vector<Rect>{{0, 0, 640, 10}, {0, 10, 180, 460}, {630, 10, 640, 460},
                               {0, 460, 640, 480}}));
  tiles.erase(tiles.begin() + 40);  // the middle cell, (380, 210)
  const std::vector<Rect> parts = uncoveredParts(screen, tiles);
  EXPECT_NE(std::find(parts.begin(), parts.end(), Rect(380, 210, 430, 260)), parts.end());
  EXPECT_EQ(parts.size(), 5u);
  EXPECT_EQ(uncoveredParts(Rect(200, 20, 300, 60), tiles), std::vector<Rect>{});
}
