#include "gfx/image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

const Rect kScreen(0, 0, 640, 480);

// A 24-bit image whose pixel (x, y) has all three bytes = value(x, y).
template <class F>
Image grey24(uint16_t w, uint16_t h, F value) {
  Image image(w, h, 24);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) std::memset(image.pixelAddress(x, y), value(x, y), 3);
  }
  return image;
}
Image solid(uint16_t w, uint16_t h, int v) {
  return grey24(w, h, [v](int, int) { return v; });
}
Image numbered() {  // 4 x 4, pixel (x, y) = 10y + x
  return grey24(4, 4, [](int x, int y) { return 10 * y + x; });
}
int at(const Image& image, int x, int y) { return image.pixelAddress(x, y)[0]; }
// Byte `channel` (0 blue, 1 green, 2 red) of the fill colour numbered v.
uint8_t channelColour(uint8_t v, int channel) {
  return static_cast<uint8_t>(channel == 0 ? v : channel == 1 ? 255 - v : v * 7 + 3);
}

TEST(Image, BlankImageIsWhiteWithRowsPaddedToFourBytes) {
  Image image(5, 3, 24);
  EXPECT_EQ(image.pitch(), 16u);
  EXPECT_EQ(image.pixelAddress(2, 1), image.pixels + 22);
  for (size_t i = 0; i < image.byteSize(); ++i) ASSERT_EQ(image.pixels[i], 255);
  EXPECT_EQ(Image(5, 2, 8).pitch(), 8u);
}

TEST(Image, OpacityThresholds) {
  auto whiteOver = [](int under, double opacity) {
    Image target = solid(1, 1, under);
    solid(1, 1, 255).drawTo(target, 0, 0, 0, 0, 1, 1, kScreen, opacity);
    return at(target, 0, 0);
  };
  EXPECT_EQ(whiteOver(0, 0.99), 252);  // 0.99 still blends
  EXPECT_EQ(whiteOver(0, 0.991), 255);
  EXPECT_EQ(whiteOver(0, 0.5), 127);
  EXPECT_EQ(whiteOver(200, 0.0), 200);
  EXPECT_EQ(whiteOver(9, -0.5), 9);  // out of range: nothing rather than a wrapped byte
}

// Every (target, source) byte pair at opacities on and off the exact 1/256 grid: the grid's
// own, the pop-up washes, strengths a fade passes through (steps of 1/2000) and arbitrary ones,
// so both the integer weights and the formula's own evaluation are met.
TEST(Image, BlendsAndFillsMatchTheFormulasForEveryBytePair) {
  const Image source = grey24(256, 256, [](int x, int) { return x; });
  // The same source as palette indices (index x is grey x), which blends by another path.
  Image paletted;
  {
    std::vector<uint8_t> indices(256 * 256), palette(256 * 3);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i);
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i / 3);
    paletted.assign(256, 256, 8, std::move(indices), std::move(palette), 256);
    paletted.colourKey = -1;
  }
  std::vector<double> opacities = {0.5, 0.25,    253 / 256.0, 1 / 256.0, 0.99, 0.3,
                                   0.7, 1 / 3.0, 0.9899999,   1e-9,      0.05, 0.45};
  for (int ms = 21; ms < 1000; ms += 41) opacities.push_back(1.0 - ms / 2000.0);
  for (int i = 1; i < 12; ++i) opacities.push_back(std::fmod(i * 0.6180339887498949, 0.99));
  for (double a : opacities) {
    Image drawn = grey24(256, 256, [](int, int y) { return y; });
    Image filled = grey24(256, 256, [](int x, int) { return x; });  // pixel x holds x
    source.drawTo(drawn, 0, 0, 0, 0, 256, 256, Rect(0, 0, 256, 256), a);
    Image drawn8 = grey24(256, 256, [](int, int y) { return y; });
    paletted.drawTo(drawn8, 0, 0, 0, 0, 256, 256, Rect(0, 0, 256, 256), a);
    for (int c = 0; c < 256; ++c) {
      const auto v = static_cast<uint8_t>(c);
      // Row c: blue c, and other bytes for green and red, so a channel mixed up shows.
      filled.fillRect(Rect(0, c, 256, c + 1), Colour{channelColour(v, 2), channelColour(v, 1), v},
                      kScreen, a);
    }
    for (int t = 0; t < 256; ++t) {
      for (int s = 0; s < 256; ++s) {
        const auto expected = static_cast<uint8_t>((1 - a) * t + a * s);
        ASSERT_EQ(at(drawn, s, t), expected) << a << " " << t;
        for (int c = 0; c < 3; ++c)
          ASSERT_EQ(drawn8.pixelAddress(s, t)[c], expected) << a << " " << t;
        for (int c = 0; c < 3; ++c) {
          const uint8_t colour = channelColour(static_cast<uint8_t>(s), c);
          ASSERT_EQ(filled.pixelAddress(t, s)[c], static_cast<uint8_t>(a * colour + (1 - a) * t))
              << a << " " << t << " channel " << c;
        }
      }
    }
  }
}

// Pairs whose distance makes o d a whole number for simple fractions o are the ones the
// double's rounding decides one by one. Rows where every pair is one of them, over targets of
// every byte: a kernel that sets such pairs aside must manage a whole row of them.
TEST(Image, BlendsWhereEveryPairLiesOnAWholeNumber) {
  const auto sourceFor = [](int x, int t) {
    const int d = 30 * (x % 9);
    return t + d <= 255 ? t + d : t - d >= 0 ? t - d : t;
  };
  const Image source = grey24(256, 256, [&](int x, int t) { return sourceFor(x, t); });
  for (double a : {0.3, 0.7, 0.2, 0.6, 1 / 3.0, 2 / 3.0, 0.1, 0.9}) {
    Image drawn = grey24(256, 256, [](int, int t) { return t; });
    source.drawTo(drawn, 0, 0, 0, 0, 256, 256, Rect(0, 0, 256, 256), a);
    for (int t = 0; t < 256; ++t) {
      for (int x = 0; x < 256; ++x) {
        const int s = sourceFor(x, t);
        ASSERT_EQ(at(drawn, x, t), static_cast<uint8_t>((1 - a) * t + a * s))
            << a << " " << t << " " << s;
      }
    }
  }
}

TEST(Image, ClipsTheTargetAndMovesTheSourceWithIt) {
  Image target = solid(8, 8, 99);
  numbered().drawTo(target, 0, 0, -1, -2, 4, 4, kScreen, 1.0);
  EXPECT_EQ(at(target, 0, 0), 21);  // source (1, 2)
  EXPECT_EQ(at(target, 2, 1), 33);
  EXPECT_EQ(at(target, 3, 0), 99);

  Image fromNegative = solid(8, 8, 99);  // a negative source starts at 0; the target stays
  numbered().drawTo(fromNegative, -3, -1, 2, 2, 2, 2, kScreen, 1.0);
  EXPECT_EQ(at(fromNegative, 3, 2), 1);
  EXPECT_EQ(at(fromNegative, 4, 4), 99);

  // Each clip edge, then the target's own edges under a wider clip.
  const Rect clips[] = {Rect(3, 0, 8, 8), Rect(0, 3, 8, 8), Rect(0, 0, 3, 8), Rect(0, 0, 8, 3),
                        Rect(-5, -5, 50, 50)};
  for (const Rect& clip : clips) {
    Image clipped = solid(8, 8, 99);
    const int origin = clip.left < 0 ? 6 : 1;
    numbered().drawTo(clipped, 0, 0, origin, origin, 4, 4, clip, 1.0);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const bool drawn =
            clip.contains(x, y) && x >= origin && x < origin + 4 && y >= origin && y < origin + 4;
        ASSERT_EQ(at(clipped, x, y), drawn ? 10 * (y - origin) + (x - origin) : 99)
            << "clip " << clip.left << "," << clip.top << " at " << x << "," << y;
      }
    }
  }
}

// An image drawn onto itself reads the area as it was before the draw, whichever way the
// rows overlap; short rows and whole-width rows take different copies.
TEST(Image, DrawnOntoItselfCopiesTheAreaAsItWas) {
  struct Move {
    int sx, sy, tx, ty, w, h;
  };
  const Move moves[] = {{0, 0, 1, 1, 50, 50}, {2, 3, 0, 0, 50, 50},  {0, 0, 5, 0, 59, 4},
                        {5, 0, 0, 0, 59, 4},  {0, 0, 0, 40, 64, 20}, {0, 0, 0, 1, 64, 60},
                        {0, 1, 0, 0, 64, 60}, {0, 0, 30, 30, 20, 20}};
  for (const Move& m : moves) {
    Image image = grey24(64, 64, [](int x, int y) { return (x * 7 + y * 13) % 251; });
    const Image before = grey24(64, 64, [](int x, int y) { return (x * 7 + y * 13) % 251; });
    image.drawTo(image, m.sx, m.sy, m.tx, m.ty, m.w, m.h, kScreen, 1.0);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        const bool moved = x >= m.tx && x < m.tx + m.w && y >= m.ty && y < m.ty + m.h;
        const int expected =
            moved ? at(before, x - m.tx + m.sx, y - m.ty + m.sy) : at(before, x, y);
        ASSERT_EQ(at(image, x, y), expected)
            << m.sx << "," << m.sy << " to " << m.tx << "," << m.ty << " at " << x << "," << y;
      }
    }
  }
}

TEST(Image, KeysAndPaletteLimits) {
  // Index 255 is drawn while there is no key, and is the key after setKeyFromCorner.
  Image sprite;
  std::vector<uint8_t> palette(768);
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<uint8_t>(i / 3);
  sprite.assign(3, 1, 8, {255, 7, 255, 0}, palette, 256);
  Image target = solid(3, 1, 1);
  sprite.drawTo(target, 0, 0, 0, 0, 3, 1, kScreen, 1.0);
  EXPECT_EQ(at(target, 0, 0), 255);
  EXPECT_EQ(sprite.setKeyFromCorner(), 255);
  Image keyed = solid(3, 1, 1);
  sprite.drawTo(keyed, 0, 0, 0, 0, 3, 1, kScreen, 0.5);
  EXPECT_EQ(at(keyed, 0, 0), 1);
  EXPECT_EQ(at(keyed, 1, 0), 4);  // 0.5 * 1 + 0.5 * 7
  EXPECT_EQ(solid(2, 2, 0).setKeyFromCorner(), 24);

  sprite.colourCount = 5;  // index 7 now has no colour
  Image limited = solid(3, 1, 1);
  sprite.drawTo(limited, 0, 0, 0, 0, 3, 1, kScreen, 1.0);
  EXPECT_EQ(at(limited, 1, 0), 1);
  sprite.assign(3, 1, 8, {255, 7, 255, 0}, std::vector<uint8_t>(6), 256);
  EXPECT_EQ(sprite.paletteEntries(), 2);  // never past the palette handed over
}

TEST(Image, UnsuitableImagesDrawNothing) {
  Image target = solid(4, 4, 5);
  Image().drawTo(target, 0, 0, 0, 0, 4, 4, kScreen, 1.0);
  Image grey;
  grey.assign(4, 4, 8, std::vector<uint8_t>(16, 0));  // no palette
  grey.drawTo(target, 0, 0, 0, 0, 4, 4, kScreen, 1.0);
  numbered().drawTo(target, 9, 0, 0, 0, 4, 4, kScreen, 1.0);  // source corner past the image
  for (size_t i = 0; i < target.byteSize(); ++i) ASSERT_EQ(target.pixels[i], 5);

  Image empty, eightBit(4, 4, 8);
  numbered().drawTo(empty, 0, 0, 0, 0, 4, 4, kScreen, 1.0);
  numbered().drawTo(eightBit, 0, 0, 0, 0, 4, 4, kScreen, 1.0);
  eightBit.fillRect(kScreen, Colour{}, kScreen, 1.0);
  eightBit.frameRect(Rect(0, 0, 4, 4), Colour{}, kScreen, 1.0);
  for (size_t i = 0; i < eightBit.byteSize(); ++i) ASSERT_EQ(eightBit.pixels[i], 255);
}

TEST(Image, FrameRectAndLinesStopBeforeTheClipEdge) {
  Image target = solid(640, 480, 255);
  target.frameRect(Rect(10, 10, 20, 20), Colour{}, kScreen, 1.0);
  for (int y = 5; y < 25; ++y) {
    for (int x = 5; x < 25; ++x) {
      const bool edge = Rect(10, 10, 20, 20).contains(x, y) && (x % 9 == 1 || y % 9 == 1);
      ASSERT_EQ(at(target, x, y), edge ? 0 : 255) << x << "," << y;
    }
  }
  target.drawHLine(0, 700, 100, Colour{1, 2, 3}, kScreen, 1.0);
  EXPECT_EQ(target.pixelAddress(638, 100)[2], 1);  // red is the last byte
  EXPECT_EQ(at(target, 638, 100), 3);
  EXPECT_EQ(at(target, 639, 100), 255);
  target.drawVLine(-20, 900, 300, Colour{}, kScreen, 1.0);
  EXPECT_EQ(at(target, 300, 478), 0);
  EXPECT_EQ(at(target, 300, 479), 255);

  Image small = solid(4, 4, 9);  // a clip reaching past the image never writes outside it
  small.drawHLine(-10, 10, 1, Colour{}, Rect(-50, -50, 50, 50), 0.5);
  EXPECT_EQ(at(small, 0, 1), 4);
}

}  // namespace
