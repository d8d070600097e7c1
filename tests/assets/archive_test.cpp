// The built archive: every picture the game screen asks for is there, in the layout its
// reader expects, and placed so that it fits the screen around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "assets/built_archive.h"

namespace {

const char* const kKinds = "nlmkb";
const std::array<int, 6> kShapes{0, 1, 3, 5, 7, 15};

struct Placed {
  const char* name;
  int x, y;
};

// Buttons where the game screen puts them.
const std::vector<Placed> kButtons{
    {"easy.png", 81, 175},         {"medium.png", 31, 193},    {"hard.png", 74, 230},
    {"crazy.png", 21, 258},        {"newpuzzle.png", 23, 304}, {"newgame.png", 25, 309},
    {"instructions.png", 44, 351}, {"help.png", 59, 394},      {"nohelp.png", 45, 394},
    {"options.png", 94, 429},      {"quit.png", 23, 435},      {"nextpuzzle.png", 313, 451},
    {"lilzap.png", 550, 460},
};
const std::vector<std::string> kKeyed{"medium.png", "nextpuzzle.png", "blast1.png", "blast2.png",
                                      "icon.png"};

bool isKeyed(const std::string& name) {
  return std::find(kKeyed.begin(), kKeyed.end(), name) != kKeyed.end();
}

std::vector<std::string> tileNames() {
  std::vector<std::string> names;
  for (const char* k = kKinds; *k != 0; ++k) {
    for (int shape : kShapes) {
      char name[16];
      std::snprintf(name, sizeof name, "%c%02d.png", *k, shape);
      names.push_back(name);
    }
  }
  return names;
}

std::vector<std::string> requiredNames() {
  std::vector<std::string> names = tileNames();
  for (const Placed& b : kButtons) names.push_back(b.name);
  for (const char* n : {"tovy29.png", "tovy13.png", "tovynum.png", "background.png", "scorebg.png",
                        "meterbg.png", "meterfg.png", "blast1.png", "blast2.png", "icon.png"}) {
    names.push_back(n);
  }
  return names;
}

Colour colourAt(const Image& image, int x, int y) {
  const uint8_t* p = image.pixelAddress(x, y);
  if (image.depth == 8) p = image.palette + 3 * *p;
  return {p[2], p[1], p[0]};
}

// Glyph starts, as the font finds them in the marker row.
std::vector<int> glyphStarts(const Image& strip) {
  std::vector<int> starts;
  for (int x = 0; x < strip.width; ++x) {
    if (*strip.pixelAddress(x, 0) == 0) starts.push_back(x);
  }
  starts.push_back(strip.width);
  return starts;
}

// The width the game measures for text of glyph indices, with its spacing.
int measure(const std::vector<int>& starts, const std::vector<int>& glyphs, int spacing) {
  int sum = 0;
  for (int g : glyphs) sum += starts[g + 1] - starts[g] + spacing;
  return sum - spacing;
}

TEST(BuiltArchive, HoldsEveryPictureAndEachDecodesInItsFormat) {
  ASSERT_TRUE(builtArchive().isOpen());
  ASSERT_TRUE(builtArchive().indexComplete());
  for (const std::string& name : requiredNames()) {
    SCOPED_TRACE(name);
    std::unique_ptr<Image> image = loadMember(name);
    ASSERT_GT(image->width, 0) << "missing or undecodable";
    if (isKeyed(name)) {
      ASSERT_EQ(image->depth, 8);
      ASSERT_NE(image->palette, nullptr);
    } else if (name.rfind("tovy", 0) == 0) {
      EXPECT_EQ(image->depth, 8);
      EXPECT_EQ(image->palette, nullptr) << "glyph strips are grey";
    } else {
      EXPECT_EQ(image->depth, 24);
    }
  }
}

TEST(BuiltArchive, PicturesHaveTheSizesTheirReadersAssume) {
  const std::map<std::string, std::pair<int, int>> sizes{
      {"background.png", {640, 480}}, {"meterbg.png", {10, 316}},     {"meterfg.png", {10, 316}},
      {"blast1.png", {5 * 114, 136}}, {"blast2.png", {104, 5 * 114}}, {"icon.png", {32, 32}},
  };
  for (const auto& [name, size] : sizes) {
    std::unique_ptr<Image> image = loadMember(name);
    EXPECT_EQ(image->width, size.first) << name;
    EXPECT_EQ(image->height, size.second) << name;
  }
  for (const std::string& name : tileNames()) {
    std::unique_ptr<Image> image = loadMember(name);
    EXPECT_EQ(image->width, 600) << name;
    EXPECT_EQ(image->height, 50) << name;
  }
}

// The game keys these from their bottom-right pixel: that index must be one colour used for
// nothing else, or parts of the picture would vanish with it.
TEST(BuiltArchive, KeyedPicturesHoldTheKeyInTheirCorner) {
  for (const std::string& name : kKeyed) {
    SCOPED_TRACE(name);
    std::unique_ptr<Image> image = loadMember(name);
    ASSERT_EQ(image->depth, 8);
    int key = image->setKeyFromCorner();
    ASSERT_LT(key, image->paletteEntries());
    const uint8_t* k = image->palette + 3 * key;
    for (int i = 0; i < image->paletteEntries(); ++i) {
      const uint8_t* c = image->palette + 3 * i;
      if (i != key) {
        EXPECT_FALSE(std::equal(c, c + 3, k)) << "entry " << i << " is the key colour";
      }
    }
    int keyed = 0;
    for (int y = 0; y < image->height; ++y) {
      for (int x = 0; x < image->width; ++x) keyed += *image->pixelAddress(x, y) == key;
    }
    EXPECT_GT(keyed, 1) << "only the corner is transparent";
    EXPECT_LT(keyed, image->width * image->height) << "nothing left to see";
  }
}

TEST(BuiltArchive, GlyphStripsMarkOneGlyphPerCharacterWithInk) {
  struct Strip {
    const char* name;
    size_t glyphs;  // the substitute glyph and one per character
    int lineHeight;
  };
  for (const Strip& s :
       {Strip{"tovy29.png", 96, 29}, Strip{"tovy13.png", 96, 13}, Strip{"tovynum.png", 11, 0}}) {
    SCOPED_TRACE(s.name);
    std::unique_ptr<Image> strip = loadMember(s.name);
    ASSERT_EQ(strip->depth, 8);
    std::vector<int> starts = glyphStarts(*strip);
    ASSERT_EQ(starts.size(), s.glyphs + 1);
    EXPECT_EQ(starts[0], 0) << "glyph 0 must start the strip";
    if (s.lineHeight != 0) {
      EXPECT_EQ(strip->height - 1, s.lineHeight);
    }
    // Every glyph but the space has ink: a blank glyph means a font failed to draw.
    for (size_t g = 0; g < s.glyphs; ++g) {
      bool space = s.glyphs == 96 && g == 1;
      int darkest = 255;
      for (int y = 1; y < strip->height; ++y) {
        for (int x = starts[g]; x < starts[g + 1]; ++x) {
          darkest = std::min<int>(darkest, *strip->pixelAddress(x, y));
        }
      }
      EXPECT_GT(starts[g + 1], starts[g]) << "glyph " << g << " has no width";
      if (space) {
        EXPECT_EQ(darkest, 255) << "the space has ink";
      } else {
        EXPECT_LT(darkest, 128) << "glyph " << g << " has hardly any ink";
      }
    }
  }
}

// The counters must fit their labels: three digits of loose ends, five of score, and the
// bomb countdown inside its tile.
TEST(BuiltArchive, NumbersFitWhereTheGameWritesThem) {
  std::unique_ptr<Image> digits = loadMember("tovynum.png");
  std::vector<int> num = glyphStarts(*digits);
  ASSERT_EQ(num.size(), 12u);
  int widest = 0;
  for (int d = 1; d <= 10; ++d) widest = std::max(widest, num[d + 1] - num[d]);
  int height = digits->height - 1;
  EXPECT_LE(3 * widest + 2, 168 - 116);
  EXPECT_LE(height, 42 - 5);
  EXPECT_LE(5 * widest + 4, 125 - 6);
  EXPECT_LE(height, 97 - 57);

  std::unique_ptr<Image> large = loadMember("tovy29.png");
  std::vector<int> big = glyphStarts(*large);
  int ten = measure(big, {'1' - 31, '0' - 31}, 1);
  EXPECT_LE(ten, 40) << "the countdown's 10 crowds its tile";
}

// A line end meets the tile edge at its middle exactly when the tile has that connection, in
// every resting frame, so neighbours join and loose ends show.
TEST(BuiltArchive, TileLineEndsMatchTheirConnections) {
  const std::array<int, 16> shape{0, 1, 1, 3, 1, 5, 3, 7, 1, 3, 5, 7, 3, 7, 7, 15};
  const std::array<int, 16> turns{0, 0, 1, 0, 2, 0, 1, 0, 3, 3, 1, 3, 2, 2, 1, 0};
  // Just inside each edge's middle: up, right, down, left.
  const std::array<std::pair<int, int>, 4> probes{{{25, 6}, {43, 25}, {25, 43}, {6, 25}}};
  for (const char* k = kKinds; *k != 0; ++k) {
    for (int c = 0; c < 16; ++c) {
      char name[16];
      std::snprintf(name, sizeof name, "%c%02d.png", *k, shape[c]);
      std::unique_ptr<Image> strip = loadMember(name);
      ASSERT_EQ(strip->width, 600) << name;
      int frame = 3 * turns[c];
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
TEST(BuiltArchive, ButtonsFitTheirPlacesWithoutCoveringEachOther) {
  std::map<std::string, Rect> placed;
  for (const Placed& b : kButtons) {
    std::unique_ptr<Image> strip = loadMember(b.name);
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
      std::unique_ptr<Image> strip = loadMember(upper);
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
TEST(BuiltArchive, UnkeyedPicturesCarryTheBackgroundOfTheirPlace) {
  std::unique_ptr<Image> background = loadMember("background.png");
  ASSERT_EQ(background->width, 640);
  std::vector<Placed> pictures;
  for (const Placed& b : kButtons) {
    if (!isKeyed(b.name)) pictures.push_back(b);
  }
  pictures.push_back({"scorebg.png", 1, 56});
  pictures.push_back({"meterbg.png", 167, 144});
  pictures.push_back({"meterfg.png", 167, 144});
  for (const Placed& p : pictures) {
    std::unique_ptr<Image> image = loadMember(p.name);
    int frames =
        std::string(p.name).find("meter") == 0 || std::string(p.name) == "scorebg.png" ? 1 : 3;
    int w = image->width / frames, h = image->height;
    for (int frame = 0; frame < frames; ++frame) {
      for (auto [cx, cy] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
        EXPECT_EQ(colourAt(*image, frame * w + cx, cy), colourAt(*background, p.x + cx, p.y + cy))
            << p.name << " frame " << frame << " corner " << cx << "," << cy;
      }
    }
  }
}

}  // namespace
