#include "gfx/font.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "gfx/image_cache.h"

namespace {

// Stands in for a missing strip, so every font has one; it has no glyphs.
Image* noStrip() {
  static Image empty;
  return &empty;
}

// The first byte of the pixel at (x, 0): palette index, grey value or blue.
uint8_t markerByte(const Image& strip, uint16_t x) {
  return strip.pixels[size_t{x} * (strip.depth / 8)];
}

}  // namespace

BitmapFont::BitmapFont(std::string_view stripName) : BitmapFont(getImage(stripName)) {}

BitmapFont::BitmapFont(Image* strip) : strip_(strip ? strip : noStrip()) {
  scanMarkers();
  lastChar = static_cast<uint8_t>(markers_ + 31);
}

BitmapFont::~BitmapFont() {
  releaseImage(strip_);
}

void BitmapFont::scanMarkers() {
  const Image& strip = *strip_;
  const bool readable = strip.pixels && strip.height > 0 && (strip.depth == 8 || strip.depth == 24);
  if (readable) {
    for (uint16_t x = 0; x < strip.width && markers_ < kMaxMarkers; ++x) {
      if (markerByte(strip, x) == 0) glyphStart_[markers_++] = x;
    }
  }
  glyphStart_[markers_] = readable ? strip.width : 0;
}

size_t BitmapFont::glyphIndex(char ch) const {
  const int code = static_cast<signed char>(ch);  // codes 128 to 255 fall below firstChar
  if (code < firstChar || code > lastChar) return 0;
  const size_t g = static_cast<size_t>(code - firstChar) + 1;
  return g < markers_ ? g : 0;  // past the last marker there is no glyph
}

uint16_t BitmapFont::glyphWidth(size_t g) const {
  if (g >= markers_) return 0;
  return static_cast<uint16_t>(glyphStart_[g + 1] - glyphStart_[g]);
}

uint16_t BitmapFont::height() const {
  return strip_->height > 0 ? static_cast<uint16_t>(strip_->height - 1) : 0;
}

uint16_t BitmapFont::textWidth(const char* text, uint16_t maximum) const {
  if (!text) return 0;
  uint16_t sum = 0;  // 16 bits, as every width
  for (size_t i = 0; text[i] != '\0' && (maximum == kWholeText || i < maximum); ++i) {
    sum = static_cast<uint16_t>(sum + charWidth(text[i]) + spacing);
  }
  return sum != 0 ? static_cast<uint16_t>(sum - spacing) : 0;
}

uint16_t BitmapFont::drawText(Image& target, const Rect& clip, int32_t x, int32_t y,
                              const char* text, Colour colour, uint16_t maximum,
                              double opacity) const {
  if (!text) return 0;
  const bool outside =
      clip.isEmpty() || y >= clip.bottom || int64_t{y} + height() < clip.top || x >= clip.right;
  if (outside) return textWidth(text);
  uint16_t sum = 0;
  int64_t left = x;  // wide, so a long text far right cannot overflow
  for (size_t i = 0; text[i] != '\0' && (maximum == kWholeText || i < maximum); ++i) {
    const bool drawable = left <= std::numeric_limits<int32_t>::max();
    const uint16_t w =
        drawable ? drawChar(target, clip, static_cast<int32_t>(left), y, text[i], colour, opacity)
                 : charWidth(text[i]);
    sum = static_cast<uint16_t>(sum + w + spacing);
    left += w + spacing;
  }
  return sum != 0 ? static_cast<uint16_t>(sum - spacing) : 0;
}

uint16_t BitmapFont::drawChar(Image& target, const Rect& clip, int32_t x, int32_t y, char ch,
                              Colour colour, double opacity) const {
  const size_t g = glyphIndex(ch);
  const uint16_t w = glyphWidth(g);
  if (w == 0) return 0;
  if (strip_->depth == 8 && target.depth == 24) {
    drawCoverage(target, clip, x, y, g, colour, opacity);
  } else {
    strip_->drawTo(target, glyphStart_[g], 1, x, y, w, height(), clip, opacity);
  }
  return w;
}

// Blends the text colour into the target by each pixel's ink coverage,
// clipped as a blit is: a cut on one side of the target cuts the same side of
// the glyph.
void BitmapFont::drawCoverage(Image& target, const Rect& clip, int64_t x, int64_t y, size_t g,
                              Colour colour, double opacity) const {
  if (!target.pixels || !(opacity > 0.0)) return;
  opacity = std::min(opacity, 1.0);
  const int64_t left = std::max<int64_t>({x, 0, clip.left});
  const int64_t top = std::max<int64_t>({y, 0, clip.top});
  const int64_t right = std::min<int64_t>({x + glyphWidth(g), target.width, clip.right});
  const int64_t bottom = std::min<int64_t>({y + height(), target.height, clip.bottom});
  if (left >= right || top >= bottom) return;
  const uint8_t ink[3] = {colour.blue, colour.green, colour.red};
  for (int64_t ty = top; ty < bottom; ++ty) {
    const uint8_t* from = strip_->pixelAddress(glyphStart_[g], static_cast<int32_t>(ty - y + 1));
    uint8_t* to = target.pixelAddress(static_cast<int32_t>(left), static_cast<int32_t>(ty));
    for (int64_t tx = left; tx < right; ++tx, to += 3) {
      const uint8_t v = from[tx - x];
      if (v == 255) continue;  // no ink
      const double a = (255 - v) * opacity / 255;
      for (int c = 0; c < 3; ++c) to[c] = static_cast<uint8_t>((1 - a) * to[c] + a * ink[c]);
    }
  }
}
