// The built archive: every picture the game screen asks for is there, in the layout its
// reader expects, and placed so that it fits the screen around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "assets/built_archive.h"
#include "game/tile_code.h"
#include "screens/high_score_popup.h"
#include "screens/layout.h"

namespace {

struct Placed {
  const char* name;
  int x, y;
};

Placed placed(const layout::Placed& control) { return {control.picture, control.x, control.y}; }

// Buttons where the game screen puts them.
const std::vector<Placed> kButtons{
    placed(layout::kEasy),         placed(layout::kMedium),    placed(layout::kHard),
    placed(layout::kCrazy),        placed(layout::kNewPuzzle), placed(layout::kNewGame),
    placed(layout::kInstructions), placed(layout::kHelp),      placed(layout::kNoHelp),
    placed(layout::kOptions),      placed(layout::kQuit),      placed(layout::kNextPuzzle),
    placed(layout::kWeb),
};
const std::vector<std::string> kKeyed{"medium.png", "nextpuzzle.png", "blast1.png", "blast2.png",
                                      "icon.png",   "newhigh.png",    "okay.png"};

bool isKeyed(const std::string& name) {
  return std::find(kKeyed.begin(), kKeyed.end(), name) != kKeyed.end();
}

std::vector<std::string> tileNames() {
  std::vector<std::string> names;
  for (TileKind kind : kDrawnKinds) {
    for (uint8_t shape : kShapes) names.push_back(tilePictureName(kind, shape));
  }
  return names;
}

std::vector<std::string> requiredNames() {
  std::vector<std::string> names = tileNames();
  for (const Placed& b : kButtons) names.push_back(b.name);
  for (const char* n :
       {"tovy29.png", "tovy13.png", "tovynum.png", "background.png", "scorebg.png", "meterbg.png",
        "meterfg.png", "blast1.png", "blast2.png", "icon.png", "newhigh.png", "okay.png"}) {
    names.push_back(n);
  }
  return names;
}

Colour colourAt(const Image& image, int x, int y) {
  const uint8_t* p = image.pixelAddress(x, y);
  if (image.depth == 8) p = image.palette + 3 * *p;
  return {p[2], p[1], p[0]};
}

TEST_F(BuiltArchiveTest, HoldsEveryPictureAndEachDecodesInItsFormat) {
  ASSERT_TRUE(archive().isOpen());
  ASSERT_TRUE(archive().indexComplete());
  for (const std::string& name : requiredNames()) {
    SCOPED_TRACE(name);
    Image* picture = image(name);
    ASSERT_GT(picture->width, 0) << "missing or undecodable";
    if (isKeyed(name)) {
      ASSERT_EQ(picture->depth, 8);
      ASSERT_NE(picture->palette, nullptr);
    } else if (name.rfind("tovy", 0) == 0) {
      EXPECT_EQ(picture->depth, 8);
      EXPECT_EQ(picture->palette, nullptr) << "glyph strips are grey";
    } else {
      EXPECT_EQ(picture->depth, 24);
    }
  }
}

TEST_F(BuiltArchiveTest, PicturesHaveTheSizesTheirReadersAssume) {
  const std::map<std::string, std::pair<int, int>> sizes{
      {"background.png", {640, 480}},
      {"meterbg.png", {10, 316}},
      {"meterfg.png", {10, 316}},
      {"blast1.png", {5 * 114, 136}},
      {"blast2.png", {104, 5 * 114}},
      {"icon.png", {32, 32}},
      {"newhigh.png", {layout::kNewHighWidth, layout::kNewHighHeight}},
      {"okay.png", {3 * layout::kOkayWidth, layout::kOkayHeight}},
  };
  for (const auto& [name, size] : sizes) {
    Image* picture = image(name);
    EXPECT_EQ(picture->width, size.first) << name;
    EXPECT_EQ(picture->height, size.second) << name;
  }
  for (const std::string& name : tileNames()) {
    Image* strip = image(name);
    EXPECT_EQ(strip->width, 600) << name;
    EXPECT_EQ(strip->height, 50) << name;
  }
}

// The game keys these from their bottom-right pixel: that index must be one colour used for
// nothing else, or parts of the picture would vanish with it.
TEST_F(BuiltArchiveTest, KeyedPicturesHoldTheKeyInTheirCorner) {
  for (const std::string& name : kKeyed) {
    SCOPED_TRACE(name);
    Image* picture = image(name);
    ASSERT_EQ(picture->depth, 8);
    int key = picture->setKeyFromCorner();
    ASSERT_LT(key, picture->paletteEntries());
    const uint8_t* k = picture->palette + 3 * key;
    for (int i = 0; i < picture->paletteEntries(); ++i) {
      const uint8_t* c = picture->palette + 3 * i;
      if (i != key) {
        EXPECT_FALSE(std::equal(c, c + 3, k)) << "entry " << i << " is the key colour";
      }
    }
    int keyed = 0;
    for (int y = 0; y < picture->height; ++y) {
      for (int x = 0; x < picture->width; ++x) keyed += *picture->pixelAddress(x, y) == key;
    }
    EXPECT_GT(keyed, 1) << "only the corner is transparent";
    EXPECT_LT(keyed, picture->width * picture->height) << "nothing left to see";
  }
}

TEST_F(BuiltArchiveTest, GlyphStripsMarkOneGlyphPerCharacterWithInk) {
  struct Strip {
    const char* name;
    size_t glyphs;  // the substitute glyph and one per character
    int lineHeight;
  };
  for (const Strip& s :
       {Strip{"tovy29.png", 96, 29}, Strip{"tovy13.png", 96, 13}, Strip{"tovynum.png", 11, 0}}) {
    SCOPED_TRACE(s.name);
    BitmapFont* glyphs = font(s.name);
    const Image& strip = glyphs->strip();
    ASSERT_EQ(strip.depth, 8);
    ASSERT_EQ(glyphs->glyphCount(), s.glyphs);
    EXPECT_EQ(glyphs->glyphStart(0), 0) << "glyph 0 must start the strip";
    if (s.lineHeight != 0) {
      EXPECT_EQ(glyphs->height(), s.lineHeight);
    }
    // Every glyph but the space has ink: a blank glyph means a font failed to draw.
    for (size_t g = 0; g < s.glyphs; ++g) {
      bool space = s.glyphs == 96 && g == 1;
      int darkest = 255;
      for (int y = 1; y < strip.height; ++y) {
        for (int x = glyphs->glyphStart(g); x < glyphs->glyphStart(g + 1); ++x) {
          darkest = std::min<int>(darkest, *strip.pixelAddress(x, y));
        }
      }
      EXPECT_GT(glyphs->glyphStart(g + 1), glyphs->glyphStart(g))
          << "glyph " << g << " has no width";
      if (space) {
        EXPECT_EQ(darkest, 255) << "the space has ink";
      } else {
        EXPECT_LT(darkest, 128) << "glyph " << g << " has hardly any ink";
      }
    }
  }
}

// The counters must fit their labels, as the game measures them: three digits of loose ends,
// five of score, and the bomb countdown inside its tile.
TEST_F(BuiltArchiveTest, NumbersFitWhereTheGameWritesThem) {
  BitmapFont* digits = font("tovynum.png");
  digits->setFirstChar('0');
  for (const char* n : {"888", "144", "0"}) EXPECT_LE(digits->textWidth(n), 168 - 116) << n;
  EXPECT_LE(digits->height(), 42 - 5);
  EXPECT_LE(digits->textWidth("65535"), 125 - 6);
  EXPECT_LE(digits->height(), 97 - 57);

  BitmapFont* large = font("tovy29.png");
  EXPECT_LE(large->textWidth("10"), 40) << "the countdown's 10 crowds its tile";
  EXPECT_GT(large->charWidth('\t'), 0) << "characters without a glyph draw nothing";
}

// The high-score pop-up built round the real title and font lies on the board, its OK button
// inside the panel, and its name field holds eight of the widest letter with the caret after.
TEST_F(BuiltArchiveTest, HighScorePopupFitsTheBoardAndAWholeName) {
  Image* title = image("newhigh.png");
  BitmapFont* large = font("tovy29.png");
  large->setFirstChar(32);
  const HighScoreLayout at = highScoreLayout(title->width, title->height, large->height());
  const Rect board(180, 10, 630, 460);
  EXPECT_GE(at.shadow.left, board.left);
  EXPECT_GE(at.shadow.top, board.top);
  EXPECT_LE(at.shadow.right, board.right);
  EXPECT_LE(at.shadow.bottom, board.bottom);
  EXPECT_GE(at.okayX, at.panel.left);
  EXPECT_LE(at.okayX + layout::kOkayWidth, at.panel.right);
  EXPECT_LE(at.okayY + layout::kOkayHeight, at.panel.bottom);
  int widest = 0;
  for (int c = 32; c <= 125; ++c) widest = std::max<int>(widest, large->charWidth(char(c)));
  const int name = 8 * widest + 7 * large->spacing;
  // Inside the frame and margin (2 a side), the text, the 5-pixel gap and the caret.
  EXPECT_LE(name + 5 + 1, at.nameCell.width() - 4);
  EXPECT_LE(large->textWidth("65535"), at.scoreCell.width());
}

// A line end meets the tile edge at its middle exactly when the tile has that connection, in
// every resting frame, so neighbours join and loose ends show.
TEST_F(BuiltArchiveTest, TileLineEndsMatchTheirConnections) {
  // Just inside each edge's middle: up, right, down, left.
  const std::array<std::pair<int, int>, 4> probes{{{25, 6}, {43, 25}, {25, 43}, {6, 25}}};
  for (TileKind kind : kDrawnKinds) {
    for (uint8_t c = 0; c < 16; ++c) {
      const std::string name = tilePictureName(kind, c);
      Image* strip = image(name.c_str());
      ASSERT_EQ(strip->width, 600) << name;
      int frame = 3 * orientation(c);
      for (int side = 0; side < 4; ++side) {
        Colour p = colourAt(*strip, 50 * frame + probes[side].first, probes[side].second);
        // The lines are a pale cream no plate comes near.
        bool line = p.red > 225 && p.green > 215 && p.blue > 185;
        EXPECT_EQ(line, (c >> side & 1) != 0)
            << name << " for connections " << c << ", side " << side;
      }
    }
  }
}

// No two buttons shown together overlap, except where the upper one is transparent, and every
// button stays on the screen and off the board (the next-puzzle button excepted: it is keyed).
TEST_F(BuiltArchiveTest, ButtonsFitTheirPlacesWithoutCoveringEachOther) {
  std::map<std::string, Rect> placed;
  for (const Placed& b : kButtons) {
    Image* strip = image(b.name);
    ASSERT_EQ(strip->width % 3, 0) << b.name;
    Rect r{b.x, b.y, b.x + strip->width / 3, b.y + strip->height};
    EXPECT_LE(r.right, 640) << b.name;
    EXPECT_LE(r.bottom, 480) << b.name;
    if (std::string(b.name) != "nextpuzzle.png") {
      bool besideBoard = r.right <= 167 || r.top >= 460;
      EXPECT_TRUE(besideBoard) << b.name << " reaches the meter or the board";
    }
    placed[b.name] = r;
  }
  // Pairs that take turns at one place share a centre.
  for (auto [a, b] : {std::pair{"newpuzzle.png", "newgame.png"}, {"help.png", "nohelp.png"}}) {
    EXPECT_EQ(placed[a].left + placed[a].right, placed[b].left + placed[b].right) << a;
    EXPECT_EQ(placed[a].top + placed[a].bottom, placed[b].top + placed[b].bottom) << a;
  }
  const std::vector<std::string> together{
      "easy.png", "medium.png",  "hard.png", "crazy.png",   "newpuzzle.png", "instructions.png",
      "help.png", "options.png", "quit.png", "newgame.png", "nohelp.png",    "lilzap.png"};
  for (size_t i = 0; i < together.size(); ++i) {
    for (size_t j = i + 1; j < together.size(); ++j) {
      const std::string& lower = together[i];
      const std::string& upper = together[j];
      if ((lower == "newpuzzle.png" && upper == "newgame.png") ||
          (lower == "help.png" && upper == "nohelp.png")) {
        continue;
      }
      Rect a = placed[lower], b = placed[upper];
      Rect overlap{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
      if (overlap.left >= overlap.right || overlap.top >= overlap.bottom) continue;
      ASSERT_TRUE(isKeyed(upper)) << upper << " covers " << lower;
      Image* strip = image(upper);
      int key = strip->setKeyFromCorner();
      int frameWidth = strip->width / 3;
      for (int frame = 0; frame < 3; ++frame) {
        for (int y = overlap.top; y < overlap.bottom; ++y) {
          for (int x = overlap.left; x < overlap.right; ++x) {
            int sx = frame * frameWidth + x - b.left;
            ASSERT_EQ(*strip->pixelAddress(sx, y - b.top), key)
                << upper << " hides " << lower << " at " << x << "," << y;
          }
        }
      }
    }
  }
}

// Pictures drawn as full rectangles carry the background of their place: their corners, which
// the rounded faces leave free, are the background's own pixels.
TEST_F(BuiltArchiveTest, UnkeyedPicturesCarryTheBackgroundOfTheirPlace) {
  Image* background = image("background.png");
  ASSERT_EQ(background->width, 640);
  std::vector<Placed> pictures;
  for (const Placed& b : kButtons) {
    if (!isKeyed(b.name)) pictures.push_back(b);
  }
  pictures.push_back(placed(layout::kScoreBackground));
  pictures.push_back({layout::kMeterBack, layout::kMeter.left, layout::kMeter.top});
  pictures.push_back({layout::kMeterFront, layout::kMeter.left, layout::kMeter.top});
  for (const Placed& p : pictures) {
    Image* picture = image(p.name);
    int frames =
        std::string(p.name).find("meter") == 0 || std::string(p.name) == "scorebg.png" ? 1 : 3;
    int w = picture->width / frames, h = picture->height;
    for (int frame = 0; frame < frames; ++frame) {
      for (auto [cx, cy] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
        EXPECT_EQ(colourAt(*picture, frame * w + cx, cy), colourAt(*background, p.x + cx, p.y + cy))
            << p.name << " frame " << frame << " corner " << cx << "," << cy;
      }
    }
  }
}

}  // namespace
