// The pictures of the instructions and the tutorial in the built archive: sizes their readers
// assume, keys in their corners, and tip pictures small enough that the box beside any target
// stays on the picture and clear of the point it shows.
#include <gtest/gtest.h>

#include <string>

#include "assets/built_archive.h"
#include "screens/layout.h"
#include "screens/tutorial.h"

namespace {

bool isKey(Image& picture, int x, int y) {
  return *picture.pixelAddress(x, y) == picture.colourKey;
}

// Every point a tip may have to show: each cell's centre and the two mismatch points.
std::vector<tips::Point> targetsFor(const tips::Tip& tip) {
  if (tip.subject == tips::Subject::Always || tip.subject == tips::Subject::Scoring) {
    return {tip.fixedTarget};
  }
  std::vector<tips::Point> points;
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    const Rect r = board::cellRect(cell);
    if (tip.subject == tips::Subject::RightMismatch) {
      if (cell % 9 < 8) points.push_back({r.right - 2, (r.top + r.bottom) / 2});
    } else if (tip.subject == tips::Subject::BottomMismatch) {
      if (cell / 9 < 8) points.push_back({(r.left + r.right) / 2, r.bottom - 2});
    } else {
      points.push_back({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
  }
  return points;
}

}  // namespace

TEST_F(BuiltArchiveTest, InstructionsPictureAndPlayButtonFitTheScreen) {
  Image* picture = image(layout::kInstructionsPicture);
  EXPECT_EQ(picture->width, 640);
  EXPECT_EQ(picture->height, 480);
  EXPECT_EQ(picture->depth, 24);
  Image* play = image(layout::kPlay.picture);
  EXPECT_EQ(play->width, 3 * layout::kPlayWidth);
  EXPECT_EQ(play->height, layout::kPlayHeight);
  EXPECT_LE(layout::kPlay.x + layout::kPlayWidth, 640);
  EXPECT_LE(layout::kPlay.y + layout::kPlayHeight, 480);
}

TEST_F(BuiltArchiveTest, ArrowsPointFromTheirNamedCorner) {
  for (const char* name : {"arrowul.png", "arrowur.png", "arrowll.png", "arrowlr.png"}) {
    SCOPED_TRACE(name);
    Image* arrow = image(name);
    ASSERT_EQ(arrow->width, layout::kArrowSize);
    ASSERT_EQ(arrow->height, layout::kArrowSize);
    ASSERT_EQ(arrow->depth, 8);
    arrow->setKeyFromCorner();
    const bool right = name[6] == 'r', below = name[5] == 'l';
    const int px = right ? layout::kArrowTipRight : 0, py = below ? layout::kArrowTipBottom : 0;
    // Ink within two pixels of the point; none at the far corner beyond the box's edge.
    const int towardX = right ? -2 : 2, towardY = below ? -2 : 2;
    EXPECT_FALSE(isKey(*arrow, px + towardX, py + towardY));
    EXPECT_TRUE(
        isKey(*arrow, right ? 0 : layout::kArrowSize - 1, below ? 0 : layout::kArrowSize - 1));
  }
}

TEST_F(BuiltArchiveTest, EveryTipBoxFitsBesideEveryTarget) {
  Image* okay = image(layout::kOkayPicture);
  Image* next = image(layout::kTipNextPicture);
  ASSERT_EQ(next->width, okay->width);
  ASSERT_EQ(next->height, okay->height);
  const int32_t buttonWidth = okay->width / 3;
  const auto fitsEverywhere = [&](const tips::Tip& tip, const std::vector<tips::Point>& targets) {
    const std::string name = tips::pictureName(tip.character);
    SCOPED_TRACE(name);
    Image* picture = image(name);
    ASSERT_GT(picture->width, 0);
    ASSERT_EQ(picture->depth, 8);
    for (const tips::Point t : targets) {
      const tips::Placement p = tips::placeTip(t, picture->width, picture->height);
      ASSERT_GE(p.box.left, 0) << t.x << "," << t.y;
      ASSERT_GE(p.box.top, 0) << t.x << "," << t.y;
      ASSERT_LE(p.box.right, 640) << t.x << "," << t.y;
      ASSERT_LE(p.box.bottom, 480) << t.x << "," << t.y;
      ASSERT_FALSE(p.box.contains(t.x, t.y)) << t.x << "," << t.y;
      ASSERT_LE(p.nextAt.x + buttonWidth, p.okayAt.x) << "the two buttons overlap";
    }
  };
  for (const tips::Tip& tip : tips::kTips) fitsEverywhere(tip, targetsFor(tip));
  // The lock's tip points at the tile just moved, in any cell.
  fitsEverywhere(tips::kLockTip,
                 targetsFor({0, tips::Subject::Plain, tips::kLockTip.character, {}}));
}
