#include "gfx/font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

const Rect kAll(0, 0, 640, 480);

// An 8-bit coverage strip: markers (value 0) at the given columns of row 0,
// value 1 elsewhere in that row; glyph rows hold ink(x, y).
Image coverageStrip(
    uint16_t width, uint16_t height, const std::vector<int>& markers,
    std::function<uint8_t(int, int)> ink = [](int, int) { return 255; }) {
  const size_t pitch = (width + 3u) & ~3u;
  std::vector<uint8_t> pixels(pitch * height, 1);
  for (int x : markers) pixels[x] = 0;
  for (int y = 1; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels[y * pitch + x] = ink(x, y);
  }
  Image strip;
  strip.assign(width, height, 8, std::move(pixels));
  strip.name = "strip.png";
  return strip;
}

Image exampleStrip() {  // the glyphs 0: 0-9, 1 (space): 10-13, 2 ("!"): 14-29, 3 ('"'): 30-39
  return coverageStrip(40, 5, {0, 10, 14, 30});
}

TEST(BitmapFont, MarkerScanFindsGlyphEdges) {
  Image strip = exampleStrip();
  BitmapFont font(&strip);
  EXPECT_EQ(font.name(), "strip.png");
  ASSERT_EQ(font.glyphCount(), 4u);
  EXPECT_EQ(font.glyphStart(3), 30);
  EXPECT_EQ(font.glyphStart(4), 40);  // the end of the last glyph
  EXPECT_EQ(font.firstChar, 32);
  EXPECT_EQ(font.lastChar, 35);
  EXPECT_EQ(font.spacing, 1);
  EXPECT_EQ(font.height(), 4);
  EXPECT_EQ(font.charWidth(' '), 4);
  EXPECT_EQ(font.charWidth('!'), 16);
  EXPECT_EQ(font.charWidth('"'), 10);
  EXPECT_EQ(font.firstCharWidth(), 4);
  // '#' is lastChar but has no glyph of its own.
  EXPECT_EQ(font.glyphIndex('#'), 0u);
  EXPECT_EQ(font.charWidth('#'), 10);
}

TEST(BitmapFont, ScanStopsAfter98MarkersAndReadsBlueOfColourStrips) {
  Image dense = coverageStrip(200, 2, {});
  std::fill(dense.pixels, dense.pixels + 200, 0);
  BitmapFont capped(&dense);
  EXPECT_EQ(capped.glyphCount(), 98u);
  EXPECT_EQ(capped.glyphStart(98), 200);
  EXPECT_EQ(capped.lastChar, 98 + 31);

  Image colour(6, 2, 24);  // white: no markers but where blue is 0
  colour.pixelAddress(2, 0)[0] = 0;
  colour.pixelAddress(4, 0)[1] = 0;  // green 0 is no marker
  BitmapFont font(&colour);
  EXPECT_EQ(font.glyphCount(), 1u);
  EXPECT_EQ(font.glyphStart(0), 2);
  EXPECT_EQ(font.glyphStart(1), 6);
}

TEST(BitmapFont, CharactersOutsideTheRangeUseTheSubstitute) {
  Image strip = exampleStrip();
  BitmapFont font(&strip);
  EXPECT_EQ(font.glyphIndex('\t'), 0u);
  EXPECT_EQ(font.glyphIndex('\x80'), 0u);  // codes from 128 count as negative
  EXPECT_EQ(font.glyphIndex('\xFF'), 0u);
  EXPECT_EQ(font.glyphIndex(' '), 1u);
  font.setFirstChar('0');
  EXPECT_EQ(font.lastChar, 35 + 16);
  EXPECT_EQ(font.glyphIndex('0'), 1u);
  EXPECT_EQ(font.glyphIndex('1'), 2u);
  EXPECT_EQ(font.glyphIndex('3'), 0u);  // index 4: past the last glyph
  EXPECT_EQ(font.glyphIndex(' '), 0u);
}

TEST(BitmapFont, TextWidthAddsSpacingBetweenCharacters) {
  Image strip = exampleStrip();
  BitmapFont font(&strip);
  EXPECT_EQ(font.textWidth(""), 0);
  EXPECT_EQ(font.textWidth("!"), 16);
  EXPECT_EQ(font.textWidth(" !"), 4 + 1 + 16);
  EXPECT_EQ(font.textWidth("!!!!!", 3), 3 * 16 + 2);
  EXPECT_EQ(font.textWidth("!!", 0), 0);
  font.setSpacing(0);
  EXPECT_EQ(font.textWidth(" !\x01"), 4 + 16 + 10);
  EXPECT_EQ(font.textWidth(nullptr), 0);
}

TEST(BitmapFont, MissingStripHasNoGlyphs) {
  Image empty;
  BitmapFont font(&empty);
  EXPECT_EQ(font.glyphCount(), 0u);
  EXPECT_EQ(font.lastChar, 31);
  EXPECT_EQ(font.height(), 0);
  EXPECT_EQ(font.firstCharWidth(), 0);
  EXPECT_EQ(font.textWidth("abcd"), 3);  // (n - 1) x spacing
  Image target(4, 4, 24);
  EXPECT_EQ(font.drawText(target, kAll, 0, 0, "abcd", Colour{}, Font::kWholeText, 1.0), 3);
  EXPECT_EQ(BitmapFont(static_cast<Image*>(nullptr)).textWidth("ab"), 1);
}

// A strip with one 2 x 2 glyph for 'A' (glyph 1) of coverage 0, 128 / 254, 255.
Image inkStrip() {
  return coverageStrip(4, 3, {0, 2}, [](int x, int y) {
    if (x < 2) return 0;  // the substitute: full ink
    static const uint8_t values[2][2] = {{0, 128}, {254, 255}};
    return static_cast<int>(values[y - 1][x - 2]);
  });
}

TEST(BitmapFont, CoverageBlendsTheTextColour) {
  Image strip = inkStrip();
  BitmapFont font(&strip);
  font.setFirstChar('A');
  Image target(4, 2, 24);
  target.fillRect(Rect(0, 0, 4, 2), Colour{100, 100, 100}, kAll, 1.0);
  const Colour colour{200, 10, 0};
  EXPECT_EQ(font.drawChar(target, kAll, 1, 0, 'A', colour, 1.0), 2);
  const uint8_t* full = target.pixelAddress(1, 0);
  EXPECT_EQ(full[0], 0);  // blue
  EXPECT_EQ(full[1], 10);
  EXPECT_EQ(full[2], 200);
  // 127/255 of the colour: red 100 + 127/255 x 100, blue 100 - 127/255 x 100.
  const uint8_t* half = target.pixelAddress(2, 0);
  EXPECT_EQ(half[2], 149);
  EXPECT_EQ(half[0], 50);
  EXPECT_EQ(target.pixelAddress(1, 1)[2], 100);  // 1/255 of ink: 100.39 truncates to 100
  EXPECT_EQ(target.pixelAddress(1, 1)[0], 99);
  EXPECT_EQ(target.pixelAddress(2, 1)[0], 100);  // no ink: untouched
  EXPECT_EQ(target.pixelAddress(0, 0)[0], 100);  // outside the glyph
  EXPECT_EQ(target.pixelAddress(3, 0)[0], 100);

  font.drawChar(target, kAll, 0, 0, 'A', Colour{0, 0, 0}, 0.5);
  EXPECT_EQ(target.pixelAddress(0, 0)[2], 50);  // full ink at half opacity
}

TEST(BitmapFont, DrawingIsClippedLikeABlit) {
  Image strip = inkStrip();
  BitmapFont font(&strip);
  font.setFirstChar('A');
  Image target(3, 3, 24);
  const Colour black{0, 0, 0};
  // Half off the left edge: only the glyph's right column lands, at x = 0.
  EXPECT_EQ(font.drawChar(target, kAll, -1, 0, 'A', black, 1.0), 2);
  EXPECT_EQ(target.pixelAddress(0, 0)[0], 255 - 255 * 127 / 255);
  EXPECT_EQ(target.pixelAddress(0, 1)[0], 255);
  EXPECT_EQ(target.pixelAddress(1, 0)[0], 255);
  // A clip rectangle cuts the same way; below and right of the target nothing.
  Image clipped(3, 3, 24);
  font.drawChar(clipped, Rect(0, 1, 3, 3), 0, 0, 'A', black, 1.0);
  EXPECT_EQ(clipped.pixelAddress(0, 0)[0], 255);
  EXPECT_EQ(clipped.pixelAddress(0, 1)[0], 254);
  font.drawChar(clipped, kAll, 2, 2, 'A', black, 1.0);
  EXPECT_EQ(clipped.pixelAddress(2, 2)[0], 0);
}

TEST(BitmapFont, DrawTextAdvancesAndHonoursMaximumAndClip) {
  Image strip = inkStrip();
  BitmapFont font(&strip);
  font.setFirstChar('A');
  Image target(8, 2, 24);
  const Colour black{0, 0, 0};
  EXPECT_EQ(font.drawText(target, kAll, 0, 0, "AAAA", black, 2, 1.0), 2 + 1 + 2);
  EXPECT_EQ(target.pixelAddress(3, 0)[0], 0);    // second 'A' starts at 2 + spacing
  EXPECT_EQ(target.pixelAddress(6, 0)[0], 255);  // no third one
  // Entirely outside the clip: nothing drawn, the whole text measured.
  Image untouched(8, 2, 24);
  EXPECT_EQ(font.drawText(untouched, Rect(0, 0, 8, 2), 8, 0, "AAA", black, 1, 1.0), 8);
  EXPECT_EQ(font.drawText(untouched, Rect(0, 0, 8, 2), 0, 2, "A", black, 1, 1.0), 2);
  EXPECT_EQ(font.drawText(untouched, Rect(0, 3, 8, 9), 0, 0, "A", black, 1, 1.0), 2);
  EXPECT_EQ(font.drawText(untouched, Rect(), 0, 0, "A", black, 1, 1.0), 2);
  EXPECT_EQ(font.drawText(untouched, kAll, INT32_MAX - 1, 0, "AAA", black, 3, 1.0), 8);
  for (size_t i = 0; i < untouched.byteSize(); ++i) ASSERT_EQ(untouched.pixels[i], 255);
}

TEST(BitmapFont, ColourStripsAreCopiedInTheirOwnColours) {
  Image strip(4, 2, 24);
  strip.pixelAddress(0, 0)[0] = 0;
  strip.pixelAddress(2, 0)[0] = 0;
  std::memset(strip.pixelAddress(2, 1), 40, 6);
  BitmapFont font(&strip);
  Image target(2, 1, 24);
  EXPECT_EQ(font.drawChar(target, kAll, 0, 0, ' ', Colour{1, 2, 3}, 1.0), 2);
  EXPECT_EQ(target.pixels[0], 40);
  EXPECT_EQ(target.pixels[5], 40);
}

}  // namespace
