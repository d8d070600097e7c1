#include "screens/high_score_popup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/font.h"
#include "gfx/image.h"
#include "res/archive_writer.h"
#include "res/resource_archive.h"
#include "res/test_files.h"
#include "support/headless_fixture.h"
#include "support/test_images.h"
#include "ui/box.h"
#include "ui/button.h"
#include "ui/dialog.h"
#include "ui/label.h"
#include "ui/picture.h"
#include "ui/text_entry.h"

using high_scores::Names;
using high_scores::Scores;
using Log = std::vector<std::string>;

namespace {

// A 300 by 60 title and an 81 by 38 button, under names of the test's own.
const HighScorePictures kPictures{"hs-title.bmp", "hs-okay.bmp"};

std::string popupArchive() {
  return buildArchive({
      {"hs-title.bmp", solidBmp(300, 60, 0x2060A0)},
      {"hs-okay.bmp", solidBmp(3 * 81, 38, 0x80C0C0)},
  });
}

// A font 29 pixels high: a glyph strip of 30 rows, every glyph 10 pixels wide, without ink.
Image fontStrip() {
  constexpr int kGlyphs = 96, kWidth = 10 * kGlyphs, kHeight = 30;
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight, 255);
  for (int g = 0; g < kGlyphs; ++g) pixels[10 * g] = 0;
  Image strip;
  strip.assign(kWidth, kHeight, 8, std::move(pixels));
  strip.name = "hs-font.png";
  return strip;
}

class NotingScreen : public Screen {
 public:
  explicit NotingScreen(Log* log) : Screen("", "scores"), log(log) {}
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override {
    bool taken = Screen::onNotify(sender, code, value);
    log->push_back(std::to_string(sender) + " " + std::to_string(code));
    return taken;
  }
  Log* log;
};

class HighScorePopupTest : public HeadlessTest {
 protected:
  Dialog* offer(uint16_t score, bool scoring = true) {
    return offerHighScore(scoring, score, scores, names, &font, entry, kPictures);
  }

  std::unique_ptr<ResourceArchive> archive = memoryArchive(popupArchive());
  ScopedResourceArchive use{*archive};
  Image strip = fontStrip();
  BitmapFont font{&strip};
  Log log;
  NotingScreen screen{&log};
  Scores scores{50, 100, 200, 400};
  Names names{"Flint", "Opal", "Zinc", "Tin"};
  HighScoreEntry entry;
};

// Title 300 by 60, font 29 high: the panel is 320 by 60 + 116 + 103 = 279, centred on the
// board square at (180, 10): left 180 + 130 / 2 = 245, top 10 + 171 / 2 = 95. The table starts
// 10 below the title, at 95 + 10 + 60 + 10 = 175, in rows of 33; OK goes 10 below the fourth.
TEST(HighScoreLayout, FollowsTheTitleAndTheFontHeight) {
  const HighScoreLayout at = highScoreLayout(300, 60, 29);
  EXPECT_EQ(at.panel, Rect(245, 95, 565, 374));
  EXPECT_EQ(at.shadow, Rect(250, 100, 570, 379));
  EXPECT_EQ(at.titleX, 255);
  EXPECT_EQ(at.titleY, 105);
  EXPECT_EQ(at.scoreCell, Rect(441, 175, 560, 208));
  EXPECT_EQ(at.nameCell, Rect(250, 175, 441, 208));
  EXPECT_EQ(at.rowStep, 33);
  EXPECT_EQ(at.okayX, 364);  // 245 + (320 - 81) / 2
  EXPECT_EQ(at.okayY, 175 + 4 * 33 + 10);
}

TEST(HighScoreLayout, ANarrowTitleGetsTheLeastWidth) {
  const HighScoreLayout at = highScoreLayout(50, 20, 10);
  EXPECT_EQ(at.panel, Rect(350, 153, 459, 316));  // 109 by 20 + 40 + 103
  EXPECT_EQ(at.titleX, 350 + 29);
}

TEST_F(HighScorePopupTest, ShowsTheTableBestFirstWithTheFieldInTheNewRow) {
  Dialog* popup = offer(150);
  ASSERT_NE(popup, nullptr);
  screen.openPopup(popup);
  EXPECT_EQ(scores, (Scores{100, 150, 200, 400}));
  EXPECT_EQ(names, (Names{"Opal", "", "Zinc", "Tin"}));
  EXPECT_EQ(entry.row, 1);
  ASSERT_NE(entry.nameEntry, nullptr);
  EXPECT_EQ(screen.focusWidget, entry.nameEntry);
  EXPECT_EQ(entry.nameEntry->maxLength, 8);
  EXPECT_EQ(entry.nameEntry->getId(), 2022);

  // Shadow, panel, title, a name and a score for each row from the best down, OK.
  const std::vector<Widget*>& c = popup->children;
  ASSERT_EQ(c.size(), 12u);
  EXPECT_EQ(c[0]->rect, Rect(250, 100, 570, 379));
  EXPECT_DOUBLE_EQ(c[0]->alpha, 0.3);
  EXPECT_EQ(static_cast<Box*>(c[0])->colour, (Colour{77, 77, 77}));
  EXPECT_EQ(c[1]->rect, Rect(245, 95, 565, 374));
  EXPECT_DOUBLE_EQ(c[1]->alpha, 0.7);
  EXPECT_EQ(static_cast<Box*>(c[1])->colour, (Colour{255, 255, 255}));
  EXPECT_EQ(c[2]->rect, Rect(255, 105, 555, 165));
  const char* shown[] = {"Tin", "400", "Zinc", "200", nullptr, "150", "Opal", "100"};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const int32_t top = 175 + 33 * (i / 2);
    EXPECT_EQ(c[3 + i]->rect,
              i % 2 == 0 ? Rect(250, top, 441, top + 33) : Rect(441, top, 560, top + 33));
    if (shown[i] == nullptr) {
      EXPECT_EQ(c[3 + i], entry.nameEntry);  // the third row from the top
      continue;
    }
    auto* label = dynamic_cast<Label*>(c[3 + i]);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text, shown[i]);
    EXPECT_EQ(label->align, i % 2 == 0 ? Label::Align::Centre : Label::Align::Right);
    EXPECT_EQ(label->colour, (Colour{77, 77, 77}));
  }
  EXPECT_EQ(c[11]->rect, Rect(364, 317, 445, 355));
  EXPECT_EQ(c[11]->getId(), 2022);
}

TEST_F(HighScorePopupTest, TheNameIsTypedIntoTheFieldAndConfirmedIntoItsRow) {
  screen.openPopup(offer(400));
  ASSERT_EQ(entry.row, 2);
  for (char ch : std::string("Zapfinch")) EXPECT_TRUE(screen.onChar(ch));
  EXPECT_FALSE(screen.onChar('!'));  // a ninth character is refused
  EXPECT_TRUE(screen.onChar(13));
  screen.onLeftDown(400, 330, 0);
  screen.onLeftUp(400, 330, 0);
  // Enter and OK report the same id.
  EXPECT_EQ(log, (Log{"2022 4026531904", "2022 4026531842", "2022 4026531841"}));

  EXPECT_TRUE(confirmHighScoreName(entry, names));
  EXPECT_EQ(names, (Names{"Opal", "Zinc", "Zapfinch", "Tin"}));
  EXPECT_EQ(scores, (Scores{100, 200, 400, 400}));
  EXPECT_EQ(entry.nameEntry, nullptr);
  EXPECT_FALSE(confirmHighScoreName(entry, names));
  EXPECT_EQ(names[2], "Zapfinch");
}

TEST_F(HighScorePopupTest, AnUntypedNameStaysEmptyInTheTable) {
  screen.openPopup(offer(51));
  EXPECT_EQ(entry.row, 0);
  EXPECT_EQ(names, (Names{"", "Opal", "Zinc", "Tin"}));
  EXPECT_TRUE(screen.onChar(13));
  EXPECT_TRUE(confirmHighScoreName(entry, names));
  EXPECT_EQ(names[0], "");
}

TEST_F(HighScorePopupTest, NothingIsOfferedInRelaxedPlayOrBelowTheTable) {
  EXPECT_EQ(offer(60000, false), nullptr);
  EXPECT_EQ(offer(50), nullptr);
  EXPECT_EQ(scores, (Scores{50, 100, 200, 400}));
  EXPECT_EQ(names, (Names{"Flint", "Opal", "Zinc", "Tin"}));
  EXPECT_EQ(entry.nameEntry, nullptr);
  EXPECT_EQ(screen.focusWidget, nullptr);
}

// Without its picture the title is written in the large font, in an area one line high and as
// wide as the picture would be (320): the panel is 340 by 29 + 116 + 103 = 248, at (235, 111).
TEST_F(HighScorePopupTest, AMissingTitlePictureLeavesATitleOfOneLine) {
  Dialog* popup =
      buildHighScorePopup(&font, scores, names, 3, entry, {"no-such-title.bmp", "hs-okay.bmp"});
  screen.openPopup(popup);
  ASSERT_EQ(popup->children.size(), 12u);
  EXPECT_EQ(popup->children[1]->rect, Rect(235, 111, 575, 359));
  auto* title = dynamic_cast<Label*>(popup->children[2]);
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->rect, Rect(245, 121, 565, 150));
  EXPECT_EQ(title->text, "New high score!");
  EXPECT_EQ(popup->children[3], entry.nameEntry);
  EXPECT_EQ(entry.nameEntry->rect, Rect(240, 160, 451, 193));
}

}  // namespace
