#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/colour.h"
#include "gfx/image.h"
#include "core/rect.h"

// A proportional font. Characters from firstChar to lastChar have glyphs of
// their own; every other character draws a substitute glyph.
class Font {
 public:
  static constexpr uint16_t kWholeText = 0xFFFF;  // a maximum length meaning "up to the zero"

  uint8_t firstChar = 32;
  uint8_t lastChar = 31;
  uint16_t spacing = 1;  // pixels after every character but the last

  Font() = default;
  virtual ~Font() = default;
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // The name under which the image cache keeps the font.
  virtual std::string name() const = 0;
  // Draws up to maximum characters from (x, y), the top-left of the first
  // glyph cell; returns the width drawn.
  virtual uint16_t drawText(Image& target, const Rect& clip, int32_t x, int32_t y, const char* text,
                            Colour colour, uint16_t maximum, double opacity) const = 0;
  // Returns the glyph width whether or not anything was drawn.
  virtual uint16_t drawChar(Image& target, const Rect& clip, int32_t x, int32_t y, char ch,
                            Colour colour, double opacity) const = 0;
  virtual uint16_t height() const = 0;
  virtual uint16_t firstCharWidth() const = 0;
  virtual uint16_t textWidth(const char* text, uint16_t maximum = kWholeText) const = 0;
  virtual uint16_t charWidth(char ch) const = 0;

  // Moves the whole glyph range so that glyph 1 draws ch.
  void setFirstChar(uint8_t ch) {
    lastChar = static_cast<uint8_t>(lastChar + ch - firstChar);
    firstChar = ch;
  }
  void setSpacing(uint16_t pixels) { spacing = pixels; }
};

// A font drawn from a glyph strip: glyphs side by side in one image, their
// left edges marked in its top row by pixels whose first byte is 0. Glyph 0
// is the substitute; glyph 1 is firstChar, and so on. In an 8-bit strip the
// values are ink coverage (0 full ink, 255 none), drawn in the text colour.
class BitmapFont : public Font {
 public:
  static constexpr size_t kMaxMarkers = 98;

  // The strip of that name from the image cache.
  explicit BitmapFont(std::string_view stripName);
  // A strip the caller keeps alive for the font's lifetime.
  explicit BitmapFont(Image* strip);
  ~BitmapFont() override;

  std::string name() const override { return strip_->name; }
  uint16_t drawText(Image& target, const Rect& clip, int32_t x, int32_t y, const char* text,
                    Colour colour, uint16_t maximum, double opacity) const override;
  uint16_t drawChar(Image& target, const Rect& clip, int32_t x, int32_t y, char ch, Colour colour,
                    double opacity) const override;
  uint16_t height() const override;
  uint16_t firstCharWidth() const override { return glyphWidth(1); }
  uint16_t textWidth(const char* text, uint16_t maximum = kWholeText) const override;
  uint16_t charWidth(char ch) const override { return glyphWidth(glyphIndex(ch)); }

  const Image& strip() const { return *strip_; }
  // Glyphs found by the marker scan.
  size_t glyphCount() const { return markers_; }
  // Left edge of glyph g; entry glyphCount() is the strip's width.
  uint16_t glyphStart(size_t g) const { return g <= markers_ ? glyphStart_[g] : 0; }
  // The glyph drawn for ch: 0 for anything without a glyph of its own.
  size_t glyphIndex(char ch) const;

 private:
  void scanMarkers();
  uint16_t glyphWidth(size_t g) const;
  void drawCoverage(Image& target, const Rect& clip, int64_t x, int64_t y, size_t g, Colour colour,
                    double opacity) const;

  Image* strip_;
  std::array<uint16_t, 100> glyphStart_{};
  size_t markers_ = 0;
};
