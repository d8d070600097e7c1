#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/colour.h"
#include "core/rect.h"

class Image;

// Anything that can be drawn into an Image: a size, a pixel depth and drawTo.
// Every drawing call takes an opacity from 0.0 to 1.0: above 0.99 it copies,
// otherwise it blends with truncation, exactly as the game always has.
class Graphic {
 public:
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t depth = 0;  // bits per pixel: 8 or 24, 0 when nothing is loaded

  Graphic() = default;
  Graphic(uint16_t w, uint16_t h, uint8_t d) : width(w), height(h), depth(d) {}
  virtual ~Graphic() = default;

  // Draws the w x h area at (sx, sy) of this graphic to (tx, ty) of target,
  // limited to clip and to the target. The base draws nothing.
  virtual void drawTo(Image& target, int32_t sx, int32_t sy, int32_t tx, int32_t ty, uint16_t w,
                      uint16_t h, const Rect& clip, double opacity) const;

 protected:
  Graphic(const Graphic&) = default;
  Graphic& operator=(const Graphic&) = default;
};

// A software image: 24-bit blue-green-red pixels, or 8-bit palette indices
// with one optional transparent index. Rows run top to bottom, each padded to
// a multiple of 4 bytes.
class Image : public Graphic {
 public:
  std::string name;            // resource name it was loaded from; empty for a blank image
  uint8_t* pixels = nullptr;   // height rows of pitch() bytes
  uint8_t* palette = nullptr;  // 8-bit only: blue, green, red per entry
  int32_t colourCount = 0;     // palette entries the image claims to use
  int16_t colourKey = -1;      // 8-bit only: index that is not drawn; -1 = none

  // An empty image: nothing loaded, draws nothing.
  Image() = default;
  // A blank image of the given size and depth, every pixel byte 255 (white).
  Image(uint16_t width, uint16_t height, uint8_t depth);
  ~Image() override = default;

  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;
  Image(Image&& other) noexcept;
  Image& operator=(Image&& other) noexcept;

  // Takes decoded pixels (height rows of pitch() bytes each, at least
  // byteSize() bytes) and, for 8-bit images, a palette of 3 bytes per entry.
  // On any inconsistency the image becomes empty and false is returned.
  bool assign(uint16_t width, uint16_t height, uint8_t depth, std::vector<uint8_t> pixelBytes,
              std::vector<uint8_t> paletteBytes = {}, int32_t colourCount = 0);
  // Draws into memory owned elsewhere (at least byteSize() bytes); the image
  // never frees it.
  void attach(uint8_t* externalPixels, uint16_t width, uint16_t height, uint8_t depth);

  size_t pitch() const { return (static_cast<size_t>(width) * depth / 8 + 3) & ~size_t{3}; }
  size_t byteSize() const { return pitch() * height; }
  uint8_t* pixelAddress(int32_t x, int32_t y) const {
    return pixels + static_cast<ptrdiff_t>(y) * static_cast<ptrdiff_t>(pitch()) +
           static_cast<ptrdiff_t>(x) * depth / 8;
  }
  // Palette entries that may be read: colourCount, but never past the palette
  // handed to assign (a palette pointer set by hand counts as no palette).
  int32_t paletteEntries() const;

  // 8-bit: the index of the bottom-right pixel becomes the colour key and is
  // returned. Any other depth: nothing changes and the depth is returned.
  int32_t setKeyFromCorner();

  void drawTo(Image& target, int32_t sx, int32_t sy, int32_t tx, int32_t ty, uint16_t w, uint16_t h,
              const Rect& clip, double opacity) const override;
  // True when drawTo at this opacity replaces every pixel of its area on a 24-bit target,
  // whatever was there: an opaque draw of 24-bit pixels.
  bool coversWhenDrawn(double opacity) const;

  // Primitives on 24-bit images; other depths are left alone.
  void fillRect(const Rect& rect, Colour colour, const Rect& clip, double opacity);
  void frameRect(const Rect& rect, Colour colour, const Rect& clip, double opacity);
  // Pixels x0 <= x < x1 of row y. An x1 at or past the clip's right edge
  // stops at clip.right - 1, so such a line ends two pixels before the edge.
  void drawHLine(int32_t x0, int32_t x1, int32_t y, Colour colour, const Rect& clip,
                 double opacity);
  // The same down column x, from y0 to before y1.
  void drawVLine(int32_t y0, int32_t y1, int32_t x, Colour colour, const Rect& clip,
                 double opacity);

 private:
  void reset();
  void takeFrom(Image& other);

  std::vector<uint8_t> pixelStore_;
  std::vector<uint8_t> paletteStore_;
};
