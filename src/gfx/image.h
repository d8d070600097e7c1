#pragma once
// Placeholder until the blitter lands.
#include <cstdint>
#include <string>
#include <vector>
#include "gfx/colour.h"
#include "ui/rect.h"
class Image;
class Graphic {
 public:
  virtual ~Graphic() = default;
  virtual void drawTo(Image&, int32_t, int32_t, int32_t, int32_t, uint16_t, uint16_t, const Rect&, double) {}
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t depth = 0;
};
class Image : public Graphic {
 public:
  Image() = default;
  Image(uint16_t w, uint16_t h, uint8_t d) {
    width = w; height = h; depth = d;
    store_.assign(byteSize(), 255);
    pixels = store_.data();
  }
  int32_t pitch() const { return (width * depth / 8 + 3) & ~3; }
  int32_t byteSize() const { return height * pitch(); }
  void fillRect(const Rect& r, Colour c, const Rect& clip, double) {
    Rect x = r; x.intersect(clip); x.intersect(Rect(0, 0, width, height));
    if (x.isEmpty()) return;
    for (int y = x.top; y < x.bottom; ++y)
      for (int i = x.left; i < x.right; ++i) {
        uint8_t* p = pixels + y * pitch() + i * 3; p[0] = c.blue; p[1] = c.green; p[2] = c.red;
      }
  }
  uint8_t* pixels = nullptr;
 private:
  std::vector<uint8_t> store_;
};
