// The options pop-up's pictures in the built archive: each in the shape its widget reads,
// seamless where it is drawn, the check box's down frame plainly ticked, and the card light
// where the game writes grey text on it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/built_archive.h"
#include "screens/layout.h"

namespace {

// Every place a three-frame strip of the pop-up is drawn.
const std::vector<layout::Placed> kStrips{
    layout::kOptionsOk, layout::kResetScores, layout::kFullScreenBox, layout::kScoringBox,
    layout::kBombsBox,  layout::kTutorialBox, layout::kHintsBox,
};

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

Rgb at(const Image& image, int x, int y) {
  const uint8_t* p = image.pixelAddress(x, y);
  return {p[2], p[1], p[0]};
}

int luma(Rgb c) { return (299 * c.r + 587 * c.g + 114 * c.b) / 1000; }

Rect stripRect(Image& strip, const layout::Placed& u) {
  return Rect(u.x, u.y, u.x + strip.width / 3, u.y + strip.height);
}

}  // namespace

TEST_F(BuiltArchiveTest, OptionsPicturesHaveTheShapesTheirWidgetsRead) {
  Image* card = image(layout::kOptionsBackground.picture);
  EXPECT_EQ(card->width, 640);
  EXPECT_EQ(card->height, 480);
  EXPECT_EQ(card->depth, 24);
  for (const layout::Placed& u : kStrips) {
    Image* strip = image(u.picture);
    ASSERT_GT(strip->width, 0) << u.picture;
    EXPECT_EQ(strip->width % 3, 0) << u.picture;
    EXPECT_EQ(strip->depth, 24) << u.picture;
  }
  // The track is drawn over the whole slider; the thumb's height is its length along the
  // slider, and it is drawn as high as the slider.
  const Rect& slider = layout::kSoundLevelSlider;
  EXPECT_EQ(layout::kMusicLevelSlider.width(), slider.width());
  EXPECT_EQ(layout::kMusicLevelSlider.height(), slider.height());
  Image* track = image(layout::kSliderTrack);
  EXPECT_EQ(track->width, slider.width());
  EXPECT_EQ(track->height, slider.height());
  Image* thumb = image(layout::kSliderThumb);
  EXPECT_EQ(thumb->height, slider.height());
  EXPECT_EQ(thumb->width, thumb->height);
}

TEST_F(BuiltArchiveTest, OptionsControlsFitAndLeaveTheTableAndVersionFree) {
  std::vector<Rect> taken;
  const Rect table(layout::kScoreNameCell.left, layout::kScoreValueCell.top,
                   layout::kScoreValueCell.right,
                   layout::kScoreNameCell.bottom + 3 * layout::kScoreRowStep);
  const Rect version(layout::kVersionLabel.left, layout::kVersionLabel.top,
                     layout::kVersionLabel.left + 80, layout::kVersionLabel.bottom);
  for (const layout::Placed& u : kStrips) {
    const Rect r = stripRect(*image(u.picture), u);
    EXPECT_LE(r.right, 640) << u.picture;
    EXPECT_LE(r.bottom, 480) << u.picture;
    for (const Rect& other :
         {table, version, layout::kSoundLevelSlider, layout::kMusicLevelSlider}) {
      EXPECT_FALSE(r.intersects(other)) << u.picture << " at " << u.x << "," << u.y;
    }
    for (const Rect& other : taken) EXPECT_FALSE(r.intersects(other)) << u.picture;
    taken.push_back(r);
  }
}

// Drawn without a key, each frame's corners are the card's own pixels at its place, and the
// track's ends are the card's pixels where the slider lies.
TEST_F(BuiltArchiveTest, OptionsPicturesCarryTheCardBehindThem) {
  Image* card = image(layout::kOptionsBackground.picture);
  ASSERT_EQ(card->width, 640);
  for (const layout::Placed& u : kStrips) {
    Image* strip = image(u.picture);
    const int w = strip->width / 3, h = strip->height;
    for (int frame = 0; frame < 3; ++frame) {
      for (auto [cx, cy] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
        EXPECT_EQ(at(*strip, frame * w + cx, cy), at(*card, u.x + cx, u.y + cy))
            << u.picture << " at " << u.x << "," << u.y << " frame " << frame;
      }
    }
  }
  Image* track = image(layout::kSliderTrack);
  for (const Rect& s : {layout::kSoundLevelSlider, layout::kMusicLevelSlider}) {
    for (auto [cx, cy] : {std::pair{0, 0}, {s.width() - 1, s.height() - 1}}) {
      EXPECT_EQ(at(*track, cx, cy), at(*card, s.left + cx, s.top + cy));
    }
  }
}

TEST_F(BuiltArchiveTest, TheCheckBoxDownFrameIsPlainlyTicked) {
  Image* box = image(layout::kCheckBoxPicture);
  const int w = box->width / 3, h = box->height;
  ASSERT_GT(w, 8);
  // Dark ink inside the box's well: none at rest or under the pointer, a tick's worth down.
  auto inkIn = [&](int frame) {
    int dark = 0;
    for (int y = h / 4; y < h * 3 / 4; ++y) {
      for (int x = w / 4; x < w * 3 / 4; ++x) dark += luma(at(*box, frame * w + x, y)) < 90;
    }
    return dark;
  };
  const int quarter = (w / 2) * (h / 2);
  EXPECT_EQ(inkIn(0), 0);
  EXPECT_EQ(inkIn(1), 0);
  EXPECT_GT(inkIn(2), quarter / 8);
}

// The game writes the table and the version in grey (77, 77, 77): the card must be light
// wherever that text goes.
TEST_F(BuiltArchiveTest, TheCardIsLightUnderTheGreyText) {
  Image* card = image(layout::kOptionsBackground.picture);
  ASSERT_EQ(card->width, 640);
  std::vector<Rect> texts{layout::kVersionLabel};
  for (int row = 0; row < 4; ++row) {
    Rect name = layout::kScoreNameCell, score = layout::kScoreValueCell;
    name.offset(0, row * layout::kScoreRowStep);
    score.offset(0, row * layout::kScoreRowStep);
    texts.push_back(name);
    texts.push_back(score);
  }
  for (const Rect& r : texts) {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) {
        ASSERT_GT(luma(at(*card, x, y)), 77 + 100) << "too dark for grey text at " << x << "," << y;
      }
    }
  }
}
