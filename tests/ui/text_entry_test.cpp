#include "ui/text_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game_clock.h"
#include "gfx/display_window.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "support/headless_fixture.h"
#include "ui/screen.h"

namespace {

using Log = std::vector<std::string>;

constexpr Colour kInk{200, 10, 20};
constexpr uint32_t kInkPixel = 0xC80A14;
constexpr uint32_t kWhite = 0xFFFFFF;

// A glyph strip with no ink: a 4-pixel substitute, then 6-pixel glyphs for the characters 32
// to 125, and 12 rows of glyph under the marker row. Only the caret and the frame are drawn.
Image blankStrip() {
  constexpr int kGlyphs = 1 + (125 - 32 + 1);
  constexpr int kWidth = 4 + 6 * (kGlyphs - 1);
  constexpr int kHeight = 13;
  const size_t pitch = (kWidth + 3u) & ~3u;
  std::vector<uint8_t> pixels(pitch * kHeight, 255);
  pixels[0] = 0;
  for (int g = 1; g < kGlyphs; ++g) pixels[4 + 6 * (g - 1)] = 0;
  Image strip;
  strip.assign(kWidth, kHeight, 8, std::move(pixels));
  strip.name = "blank.png";
  return strip;
}

// Notes every notification after the tree has had it, as a game screen does.
class NotingScreen : public Screen {
 public:
  explicit NotingScreen(Log* log) : Screen("", "entry"), log(log) {}
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override {
    bool taken = Screen::onNotify(sender, code, value);
    log->push_back(std::to_string(sender) + " " + std::to_string(code) + " " +
                   std::to_string(value));
    return taken;
  }
  Log* log;
};

class TextEntryTest : public HeadlessTest {
 protected:
  TextEntryTest() {
    entry = new TextEntry(Rect(100, 50, 300, 80), &font, kInk, nullptr, 2022);
    screen.addChild(entry);
    screen.setFocus(entry);
  }

  void type(const std::string& s) {
    for (char c : s) screen.onChar(static_cast<unsigned char>(c));
  }

  // A frame of the screen at game time `at`, as the run loop makes it.
  void frameAt(uint32_t at) {
    backend.now = at;
    screen.update(GameClock::now());
  }

  uint32_t shown(int x, int y) const {
    const uint8_t* p = &backend.lastFrame[(static_cast<size_t>(y) * 640 + x) * 3];
    return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
  }

  Image strip = blankStrip();
  BitmapFont font{&strip};
  Log log;
  NotingScreen screen{&log};
  TextEntry* entry = nullptr;
};

TEST_F(TextEntryTest, StartsWithItsTextUnlimitedAndCaretOff) {
  EXPECT_EQ(entry->getText(), "");
  EXPECT_EQ(entry->maxLength, 65535);
  EXPECT_FALSE(entry->caretOn);
  TextEntry named(Rect(0, 0, 10, 10), &font, kInk, "Tin", 0);
  EXPECT_EQ(named.getText(), "Tin");
}

TEST_F(TextEntryTest, KeepsEightOfNineLettersAndRefusesTheNinth) {
  entry->setMaxLength(8);
  for (char c : std::string("abcdefgh")) EXPECT_TRUE(screen.onChar(c)) << c;
  EXPECT_FALSE(screen.onChar('i'));
  EXPECT_EQ(entry->getText(), "abcdefgh");
  // A limit below the text held cuts nothing.
  entry->setMaxLength(3);
  EXPECT_EQ(entry->getText(), "abcdefgh");
}

TEST_F(TextEntryTest, RefusesCharactersTheSavedTableCannotCarry) {
  EXPECT_TRUE(screen.onChar(' '));
  EXPECT_TRUE(screen.onChar('}'));
  for (uint32_t code : {uint32_t{'~'}, 127u, 0xE9u, 0x141u, 0x20ACu}) {
    EXPECT_FALSE(screen.onChar(code)) << code;
  }
  EXPECT_EQ(entry->getText(), " }");
  // A code whose low byte is a control character is taken and ignored, like Tab.
  EXPECT_TRUE(screen.onChar(0x109));
  EXPECT_EQ(entry->getText(), " }");
}

TEST_F(TextEntryTest, PasteKeepsTheAcceptedCharactersCutToFit) {
  entry->setMaxLength(8);
  type("ab");
  backend.clipboard = "ABCDEFGHIJKLMNOPQRST";
  EXPECT_TRUE(screen.onChar(22));
  EXPECT_EQ(entry->getText(), "abABCDEF");

  entry->text = "";
  backend.clipboard = "Jo\r\n\tn~ \xC3\xA9!";  // line break, tab, tilde and an e-acute go
  EXPECT_TRUE(screen.onChar(22));
  EXPECT_EQ(entry->getText(), "Jon !");

  backend.clipboard.reset();  // no text on the clipboard: not consumed, nothing changes
  entry->dirty = false;
  EXPECT_FALSE(screen.onChar(22));
  EXPECT_EQ(entry->getText(), "Jon !");
  EXPECT_FALSE(entry->dirty);
}

TEST_F(TextEntryTest, BackspaceTabEscapeAndEnterAreAlwaysTaken) {
  entry->dirty = false;
  EXPECT_TRUE(screen.onChar(8));
  EXPECT_EQ(entry->getText(), "");
  EXPECT_TRUE(entry->dirty);
  EXPECT_TRUE(screen.onChar(9));
  EXPECT_TRUE(screen.onChar(27));
  EXPECT_EQ(entry->getText(), "");
  EXPECT_TRUE(log.empty());

  EXPECT_TRUE(screen.onChar(13));
  EXPECT_EQ(log, Log{"2022 4026531904 0"});
  type("xyz");
  EXPECT_TRUE(screen.onChar(8));
  EXPECT_EQ(entry->getText(), "xy");
}

// The keys that type are the entry's; the rest go on to the pop-up and the game, whose
// shortcuts must keep working while a name is typed, but never take a letter of it.
TEST_F(TextEntryTest, TakesTheKeysThatTypeAndLeavesTheOthers) {
  namespace key = platform::key;
  struct Case {
    uint32_t key;
    uint32_t modifiers;
    bool taken;
  };
  const Case cases[] = {
      {'a', 0, true},           {'a', key::kShift, true},
      {' ', 0, true},           {'h', key::kRepeat, true},
      {'0', 0, true},           {key::kBackspace, 0, true},
      {key::kReturn, 0, true},  {'q', key::kCtrl, false},
      {'v', key::kCtrl, false}, {'x', key::kAlt, false},
      {key::kTab, 0, false},    {key::kEscape, 0, false},
      {key::kF11, 0, false},    {key::kLeft, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(screen.onKeyDown(c.key, c.modifiers), c.taken);
  }
  EXPECT_EQ(entry->getText(), "");  // only characters type
  EXPECT_TRUE(log.empty());
  entry->hide();
  EXPECT_FALSE(screen.onKeyDown('a', 0));
}

TEST_F(TextEntryTest, ClickInsideTakesTheFocusAndElsewhereLeavesIt) {
  screen.setFocus(nullptr);
  EXPECT_FALSE(screen.onLeftDown(99, 60, 0));
  EXPECT_EQ(screen.focusWidget, nullptr);
  EXPECT_TRUE(screen.onLeftDown(100, 50, 0));
  EXPECT_EQ(screen.focusWidget, entry);
  EXPECT_FALSE(entry->onLeftDown(300, 60, 0));
  EXPECT_EQ(screen.focusWidget, entry);
}

// The box is 200 by 30 at (100, 50); inside the frame and a 1-pixel margin the text box is
// (102, 52)-(298, 78), 26 high, so a 12-pixel line starts at 52 + 7 = 59 and ends before 71.
// "ab" is 6 + 1 + 6 = 13 pixels wide: the caret stands at 102 + 13 + 5 = 120.
TEST_F(TextEntryTest, CaretStandsFivePixelsAfterTheTextAndSpansOneLine) {
  ASSERT_EQ(font.height(), 12);
  type("ab");
  frameAt(750);
  ASSERT_TRUE(entry->caretOn);
  EXPECT_EQ(shown(100, 50), kInkPixel);  // the frame
  EXPECT_EQ(shown(299, 60), kInkPixel);
  EXPECT_EQ(shown(200, 79), kInkPixel);
  EXPECT_EQ(shown(101, 51), kWhite);
  EXPECT_EQ(shown(120, 58), kWhite);
  EXPECT_EQ(shown(120, 59), kInkPixel);
  EXPECT_EQ(shown(120, 70), kInkPixel);
  EXPECT_EQ(shown(120, 71), kWhite);
  EXPECT_EQ(shown(119, 65), kWhite);
  EXPECT_EQ(shown(121, 65), kWhite);
}

TEST_F(TextEntryTest, CaretBlinksByTheGameClockOnlyWhileFocused) {
  frameAt(0);
  EXPECT_EQ(shown(107, 65), kWhite);  // empty text: the caret would stand at 102 + 5
  frameAt(749);
  EXPECT_FALSE(entry->caretOn);
  frameAt(750);
  EXPECT_EQ(shown(107, 65), kInkPixel);
  frameAt(1499);
  EXPECT_EQ(shown(107, 65), kInkPixel);
  frameAt(1500);
  EXPECT_EQ(shown(107, 65), kWhite);
  frameAt(2250);
  EXPECT_EQ(shown(107, 65), kInkPixel);

  // In the background the clock stands still, and so does the caret.
  GameClock::pause();
  frameAt(3000);
  EXPECT_EQ(shown(107, 65), kInkPixel);
  GameClock::resume();
  frameAt(3750);  // the clock reads 3000 again, after 750 ms away: off
  EXPECT_EQ(shown(107, 65), kWhite);

  frameAt(6000);  // the clock reads 5250: on
  EXPECT_EQ(shown(107, 65), kInkPixel);
  screen.setFocus(nullptr);  // without the focus the caret goes at the next frame
  frameAt(6010);
  EXPECT_EQ(shown(107, 65), kWhite);
  frameAt(7500);
  EXPECT_EQ(shown(107, 65), kWhite);
}

}  // namespace
