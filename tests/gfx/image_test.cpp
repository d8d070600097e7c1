#include "gfx/image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

const Rect kScreen(0, 0, 640, 480);

// A 24-bit image with every pixel the given blue, green, red.
Image solid(uint16_t w, uint16_t h, uint8_t b, uint8_t g, uint8_t r) {
  Image image(w, h, 24);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = image.pixelAddress(x, y);
      p[0] = b, p[1] = g, p[2] = r;
    }
  }
  return image;
}

// An 8-bit image whose pixel (x, y) has index indices(x, y); palette entry i
// is (i, i, i) for 256 entries.
template <class F>
Image indexed(uint16_t w, uint16_t h, F indices) {
  Image image;
  std::vector<uint8_t> pixels(((w + 3) & ~3) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) pixels[y * ((w + 3) & ~3) + x] = indices(x, y);
  }
  std::vector<uint8_t> palette(768);
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<uint8_t>(i / 3);
  image.assign(w, h, 8, std::move(pixels), std::move(palette), 256);
  return image;
}

uint8_t blue(const Image& image, int x, int y) {
  return image.pixelAddress(x, y)[0];
}

TEST(Image, BlankImageIsWhiteWithPaddedRows) {
  Image image(5, 3, 24);
  EXPECT_EQ(image.pitch(), 16u);
  EXPECT_EQ(image.byteSize(), 48u);
  EXPECT_EQ(image.pixelAddress(2, 1), image.pixels + 16 + 6);
  for (size_t i = 0; i < image.byteSize(); ++i) ASSERT_EQ(image.pixels[i], 255);
  EXPECT_EQ(Image(5, 2, 8).pitch(), 8u);
  EXPECT_EQ(image.colourKey, -1);
}

TEST(Image, AssignRejectsShortPixelsAndMovingEmptiesTheSource) {
  Image image;
  EXPECT_FALSE(image.assign(4, 4, 24, std::vector<uint8_t>(47)));
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(image.depth, 0);
  EXPECT_FALSE(image.assign(4, 4, 16, std::vector<uint8_t>(64)));
  ASSERT_TRUE(image.assign(4, 4, 8, std::vector<uint8_t>(16), std::vector<uint8_t>(6), 256));
  EXPECT_EQ(image.paletteEntries(), 2);  // never past the palette handed over
  Image moved(std::move(image));
  EXPECT_EQ(moved.width, 4);
  EXPECT_NE(moved.pixels, nullptr);
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_EQ(image.width, 0);
}

TEST(Image, OpacityThresholdsAndBlendEdges) {
  auto over = [](uint8_t under, double opacity) {
    Image target = solid(1, 1, under, under, under);
    solid(1, 1, 255, 255, 255).drawTo(target, 0, 0, 0, 0, 1, 1, kScreen, opacity);
    return blue(target, 0, 0);
  };
  EXPECT_EQ(over(0, 0.99), 252);  // 0.99 still blends
  EXPECT_EQ(over(0, 0.991), 255);
  EXPECT_EQ(over(0, 0.5), 127);
  EXPECT_EQ(over(0, 0.0), 0);
  EXPECT_EQ(over(200, 0.0), 200);
  EXPECT_EQ(over(9, -0.5), 9);  // out of range: nothing rather than a wrapped byte
}

// The fast blends against the double formula for every (target, source) pair:
// row t of the target holds t, pixel x of the source holds x.
TEST(Image, BlendMatchesFormulaForEveryBytePair) {
  const double opacities[] = {0.5,    0.25,     0.75,       1 / 256.0, 253 / 256.0, 0.99,
                              0.3,    0.7,      0.1,        1 / 3.0,   0.9899999,   1e-9,
                              0.0625, 0.123456, 0.51171875, 0.6,       0.05,        0.45};
  Image source(256, 256, 24);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 768; ++x) source.pixelAddress(0, y)[x] = static_cast<uint8_t>(x / 3);
  }
  for (double a : opacities) {
    Image target(256, 256, 24);
    for (int y = 0; y < 256; ++y) std::memset(target.pixelAddress(0, y), y, 768);
    source.drawTo(target, 0, 0, 0, 0, 256, 256, Rect(0, 0, 256, 256), a);
    for (int t = 0; t < 256; ++t) {
      for (int s = 0; s < 256; ++s) {
        const auto want = static_cast<uint8_t>((1 - a) * t + a * s);
        ASSERT_EQ(target.pixelAddress(s, t)[1], want) << "opacity " << a << " t " << t;
      }
    }
  }
}

TEST(Image, FillMatchesFormulaForEveryBytePair) {
  for (double a : {0.5, 0.3, 0.7, 0.99, 1 / 3.0, 0.05, 0.875}) {
    for (int c = 0; c < 256; ++c) {
      Image target(256, 1, 24);
      for (int x = 0; x < 768; ++x) target.pixels[x] = static_cast<uint8_t>(x / 3);
      const auto v = static_cast<uint8_t>(c);
      target.fillRect(Rect(0, 0, 256, 1), Colour{v, v, v}, kScreen, a);
      for (int old = 0; old < 256; ++old) {
        const auto want = static_cast<uint8_t>(a * c + (1 - a) * old);
        ASSERT_EQ(target.pixels[old * 3 + 2], want) << "opacity " << a << " colour " << c;
      }
    }
  }
}

// A 4x4 source whose pixel (x, y) has blue 10 * y + x, drawn onto black.
Image numbered() {
  Image image(4, 4, 24);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) std::memset(image.pixelAddress(x, y), 10 * y + x, 3);
  }
  return image;
}

TEST(Image, NegativeTargetMovesTheSourceCornerAndNegativeSourceDoesNot) {
  Image target = solid(8, 8, 0, 0, 0);
  numbered().drawTo(target, 0, 0, -1, -2, 4, 4, kScreen, 1.0);
  EXPECT_EQ(blue(target, 0, 0), 21);  // source (1, 2)
  EXPECT_EQ(blue(target, 2, 1), 33);
  EXPECT_EQ(blue(target, 3, 0), 0);

  Image other = solid(8, 8, 99, 99, 99);
  numbered().drawTo(other, -3, -1, 2, 2, 2, 2, kScreen, 1.0);
  EXPECT_EQ(blue(other, 3, 2), 1);  // source (1, 0): the source starts at 0, the target stays
  EXPECT_EQ(blue(other, 2, 3), 10);
  EXPECT_EQ(blue(other, 1, 2), 99);
  EXPECT_EQ(blue(other, 4, 4), 99);
}

TEST(Image, ClipsAtEachEdgeOfClipAndTarget) {
  struct Case {
    Rect clip;
    int32_t tx, ty;
    int firstX, firstY, lastX, lastY;  // drawn target area, inclusive
  } cases[] = {
      {Rect(3, 0, 8, 8), 1, 1, 3, 1, 4, 4},      // left edge of the clip
      {Rect(0, 3, 8, 8), 1, 1, 1, 3, 4, 4},      // top
      {Rect(0, 0, 3, 8), 1, 1, 1, 1, 2, 4},      // right
      {Rect(0, 0, 8, 3), 1, 1, 1, 1, 4, 2},      // bottom
      {Rect(-5, -5, 50, 50), 6, 6, 6, 6, 7, 7},  // the target's own edges
  };
  for (const Case& c : cases) {
    Image target = solid(8, 8, 99, 99, 99);
    numbered().drawTo(target, 0, 0, c.tx, c.ty, 4, 4, c.clip, 1.0);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) {
        const bool inside = x >= c.firstX && x <= c.lastX && y >= c.firstY && y <= c.lastY;
        const int want = inside ? 10 * (y - c.ty) + (x - c.tx) : 99;
        ASSERT_EQ(blue(target, x, y), want)
            << "clip left " << c.clip.left << " at " << x << "," << y;
      }
    }
  }
}

TEST(Image, KeyedAndPalettedSources) {
  // Index 255 without a key is drawn; with setKeyFromCorner it becomes the key.
  Image sprite = indexed(3, 2, [](int x, int) { return x == 1 ? 7 : 255; });
  Image target = solid(3, 2, 1, 1, 1);
  sprite.drawTo(target, 0, 0, 0, 0, 3, 2, kScreen, 1.0);
  EXPECT_EQ(blue(target, 0, 0), 255);
  EXPECT_EQ(sprite.setKeyFromCorner(), 255);
  EXPECT_EQ(sprite.colourKey, 255);
  Image keyed = solid(3, 2, 1, 1, 1);
  sprite.drawTo(keyed, 0, 0, 0, 0, 3, 2, kScreen, 0.5);
  EXPECT_EQ(blue(keyed, 0, 0), 1);
  EXPECT_EQ(blue(keyed, 1, 1), 4);  // 0.5 * 1 + 0.5 * 7
  EXPECT_EQ(solid(2, 2, 0, 0, 0).setKeyFromCorner(), 24);

  // Indices beyond colourCount draw nothing.
  sprite.colourCount = 5;
  Image shortPalette = solid(3, 2, 1, 1, 1);
  sprite.drawTo(shortPalette, 0, 0, 0, 0, 3, 2, kScreen, 1.0);
  EXPECT_EQ(blue(shortPalette, 1, 0), 1);
}

TEST(Image, NothingIsDrawnFromOrIntoUnsuitableImages) {
  Image target = solid(4, 4, 5, 5, 5);
  const std::vector<uint8_t> before(target.pixels, target.pixels + target.byteSize());
  Image().drawTo(target, 0, 0, 0, 0, 4, 4, kScreen, 1.0);
  Image grey;
  grey.assign(4, 4, 8, std::vector<uint8_t>(16, 0));  // no palette
  grey.drawTo(target, 0, 0, 0, 0, 4, 4, kScreen, 1.0);
  numbered().drawTo(target, 9, 0, 0, 0, 4, 4, kScreen, 1.0);  // source corner past the image
  EXPECT_EQ(std::vector<uint8_t>(target.pixels, target.pixels + target.byteSize()), before);

  Image empty;
  numbered().drawTo(empty, 0, 0, 0, 0, 4, 4, kScreen, 1.0);
  Image eightBit(4, 4, 8);
  numbered().drawTo(eightBit, 0, 0, 0, 0, 4, 4, kScreen, 1.0);
  eightBit.fillRect(kScreen, Colour{0, 0, 0}, kScreen, 1.0);
  eightBit.frameRect(Rect(0, 0, 4, 4), Colour{0, 0, 0}, kScreen, 1.0);
  for (size_t i = 0; i < eightBit.byteSize(); ++i) ASSERT_EQ(eightBit.pixels[i], 255);
}

TEST(Image, FrameRectAndLinesStopBeforeTheClipEdge) {
  Image target = solid(640, 480, 255, 255, 255);
  target.frameRect(Rect(10, 10, 20, 20), Colour{0, 0, 0}, kScreen, 1.0);
  for (int y = 5; y < 25; ++y) {
    for (int x = 5; x < 25; ++x) {
      const bool inRange = x >= 10 && x <= 19 && y >= 10 && y <= 19;
      const bool onEdge = x == 10 || x == 19 || y == 10 || y == 19;
      ASSERT_EQ(blue(target, x, y), inRange && onEdge ? 0 : 255) << x << "," << y;
    }
  }

  target.drawHLine(0, 700, 100, Colour{1, 2, 3}, kScreen, 1.0);
  EXPECT_EQ(target.pixelAddress(638, 100)[2], 1);  // red
  EXPECT_EQ(target.pixelAddress(638, 100)[0], 3);  // blue
  EXPECT_EQ(blue(target, 639, 100), 255);
  target.drawVLine(-20, 900, 300, Colour{0, 0, 0}, kScreen, 1.0);
  EXPECT_EQ(blue(target, 300, 0), 0);
  EXPECT_EQ(blue(target, 300, 478), 0);
  EXPECT_EQ(blue(target, 300, 479), 255);
  target.drawHLine(5, 5, 200, Colour{0, 0, 0}, kScreen, 1.0);   // empty
  target.drawHLine(0, 10, 480, Colour{0, 0, 0}, kScreen, 1.0);  // below the clip
  EXPECT_EQ(blue(target, 5, 200), 255);

  // A clip reaching past the image still never writes outside it.
  Image small = solid(4, 4, 9, 9, 9);
  small.drawHLine(-10, 10, 1, Colour{0, 0, 0}, Rect(-50, -50, 50, 50), 0.5);
  small.drawVLine(-10, 10, 3, Colour{0, 0, 0}, Rect(-50, -50, 50, 50), 1.0);
  EXPECT_EQ(blue(small, 0, 1), 4);
  EXPECT_EQ(blue(small, 3, 3), 0);
}

}  // namespace
