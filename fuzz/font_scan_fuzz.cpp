// The glyph-strip marker scan, measuring and drawing over arbitrary strips.
// The input gives the strip's size, depth and pixels and the drawing
// parameters; whatever they are, nothing may be read outside the strip or
// written outside the target, and widths must agree with drawing.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gfx/font.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// Hands out the input's bytes in order, then zeros.
struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  uint8_t byte() { return at < size ? data[at++] : 0; }
  uint16_t word() { return static_cast<uint16_t>(byte() | byte() << 8); }
  int32_t coordinate() { return static_cast<int8_t>(byte()) * (byte() % 4 == 0 ? 1000000 : 1); }
};

Image stripFrom(Input& in) {
  const uint16_t width = in.word() % 600;
  const uint16_t height = in.byte() % 40;
  const uint8_t depth = in.byte() & 1 ? 24 : 8;
  const size_t pitch = (size_t{width} * depth / 8 + 3) & ~size_t{3};
  std::vector<uint8_t> pixels(pitch * height);
  for (uint8_t& p : pixels) p = in.byte();
  Image strip;
  strip.assign(width, height, depth, std::move(pixels));  // refused sizes leave it empty
  return strip;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  // Parameters first, so mutations of the strip keep them.
  const uint8_t firstChar = in.byte();
  const uint16_t spacing = in.byte() % 4;
  const double opacity = in.byte() / 200.0;
  const int32_t x = in.coordinate(), y = in.coordinate();
  const Rect clip(in.coordinate(), in.coordinate(), in.coordinate(), in.coordinate());
  const uint16_t maximum = in.byte() == 0 ? Font::kWholeText : in.byte();
  Image strip = stripFrom(in);

  BitmapFont font(&strip);
  require(font.glyphCount() <= BitmapFont::kMaxMarkers);
  for (size_t g = 0; g < font.glyphCount(); ++g) {
    require(font.glyphStart(g) < font.glyphStart(g + 1));
  }
  require(font.glyphCount() == 0 || font.glyphStart(font.glyphCount()) == strip.width);
  font.setFirstChar(firstChar);
  font.setSpacing(spacing);

  char text[256];
  for (int i = 0; i < 255; ++i) text[i] = static_cast<char>(i + 1);
  text[255] = '\0';
  Image colourTarget(24, 12, 24), greyTarget(24, 12, 8);
  const uint16_t drawn =
      font.drawText(colourTarget, clip, x, y, text, Colour{9, 99, 199}, maximum, opacity);
  require(drawn == font.textWidth(text, maximum) || drawn == font.textWidth(text));
  font.drawText(greyTarget, clip, x, y, text, Colour{}, maximum, opacity);
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    const uint16_t w = font.drawChar(colourTarget, Rect(0, 0, 24, 12), x % 30, y % 16, ch,
                                     Colour{1, 2, 3}, opacity);
    require(w == font.charWidth(ch) && w <= strip.width);
  }
  return 0;
}
