// Random blits, fills and lines against a plain per-pixel model of the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "gfx/image.h"

namespace {

bool inside(const Rect& r, int64_t x, int64_t y) {
  return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

Rect drawable(const Image& target, const Rect& clip) {
  Rect r(0, 0, target.width, target.height);
  r.intersect(clip);
  return r;
}

// paletteSize: the entries really allocated, which colourCount may overstate.
void modelDraw(const Image& src, int paletteSize, Image& dst, int32_t sx, int32_t sy, int32_t tx,
               int32_t ty, uint16_t w, uint16_t h, const Rect& clip, double a) {
  if (!(a > 0) || dst.depth != 24) return;
  sx = std::max(sx, 0);
  sy = std::max(sy, 0);
  const int cw = std::min(w, src.width), ch = std::min(h, src.height);
  const Rect l = drawable(dst, clip), s(0, 0, src.width, src.height);
  const int entries = std::min(src.colourCount, paletteSize);
  for (int j = 0; j < ch; ++j) {
    for (int i = 0; i < cw; ++i) {
      if (!inside(l, int64_t{tx} + i, int64_t{ty} + j) || !inside(s, sx + i, sy + j)) continue;
      const uint8_t* from = src.pixelAddress(sx + i, sy + j);
      if (src.depth == 8) {
        if (*from == src.colourKey || *from >= entries) continue;
        from = src.palette + *from * 3;
      }
      uint8_t* to = dst.pixelAddress(tx + i, ty + j);
      for (int c = 0; c < 3; ++c) {
        to[c] = a > 0.99 ? from[c] : static_cast<uint8_t>((1 - a) * to[c] + a * from[c]);
      }
    }
  }
}

void modelFillPixel(uint8_t* p, Colour colour, double a) {
  const uint8_t bgr[3] = {colour.blue, colour.green, colour.red};
  for (int c = 0; c < 3; ++c) {
    p[c] = a > 0.99 ? bgr[c] : static_cast<uint8_t>(a * bgr[c] + (1 - a) * p[c]);
  }
}

void modelFill(Image& dst, const Rect& rect, Colour colour, const Rect& clip, double a) {
  if (!(a > 0)) return;
  const Rect l = drawable(dst, clip);
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      if (inside(l, x, y)) modelFillPixel(dst.pixelAddress(x, y), colour, a);
    }
  }
}

void modelHLine(Image& dst, int32_t x0, int32_t x1, int32_t y, Colour colour, const Rect& clip,
                double a) {
  if (!(a > 0)) return;
  x0 = std::max(x0, clip.left);
  if (x1 >= clip.right) x1 = clip.right - 1;
  for (int x = x0; x < x1; ++x) {
    if (inside(drawable(dst, clip), x, y)) modelFillPixel(dst.pixelAddress(x, y), colour, a);
  }
}

void modelVLine(Image& dst, int32_t y0, int32_t y1, int32_t x, Colour colour, const Rect& clip,
                double a) {
  if (!(a > 0)) return;
  y0 = std::max(y0, clip.top);
  if (y1 >= clip.bottom) y1 = clip.bottom - 1;
  for (int y = y0; y < y1; ++y) {
    if (inside(drawable(dst, clip), x, y)) modelFillPixel(dst.pixelAddress(x, y), colour, a);
  }
}

class Randomiser {
 public:
  int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  uint8_t byte() { return static_cast<uint8_t>(between(0, 255)); }
  double opacity() {
    static const double fixed[] = {1.0, 0.991, 0.99, 0.5, 0.25, 0.75, 0.3, 0.7, 0.0, 1 / 256.0};
    if (between(0, 2) == 0) return std::uniform_real_distribution<double>(0, 1)(rng_);
    return fixed[between(0, 9)];
  }
  Rect rect(int span) {
    const int l = between(-span / 2, span), t = between(-span / 2, span);
    return Rect(l, t, l + between(-2, span), t + between(-2, span));
  }
  Image image(uint8_t depth, int* paletteSize = nullptr) {
    const auto w = static_cast<uint16_t>(between(1, 40)), h = static_cast<uint16_t>(between(1, 40));
    Image image(w, h, depth);
    // A narrow range of indices makes keys and short palettes matter.
    for (size_t i = 0; i < image.byteSize(); ++i) {
      image.pixels[i] = depth == 8 ? static_cast<uint8_t>(between(0, 12)) : byte();
    }
    if (depth == 8) {
      const int entries = between(1, 16);
      if (paletteSize) *paletteSize = entries;
      std::vector<uint8_t> palette(3 * entries);
      for (auto& b : palette) b = byte();
      std::vector<uint8_t> pixels(image.pixels, image.pixels + image.byteSize());
      image.assign(w, h, 8, std::move(pixels), std::move(palette), between(0, 20));
      image.colourKey = static_cast<int16_t>(between(-1, 12));
    }
    return image;
  }

 private:
  std::mt19937 rng_{20240611};
};

std::vector<uint8_t> bytesOf(const Image& image) {
  return std::vector<uint8_t>(image.pixels, image.pixels + image.byteSize());
}

TEST(BlitReference, RandomBlitsMatchTheModel) {
  Randomiser random;
  for (int round = 0; round < 4000; ++round) {
    int paletteSize = 0;
    const Image src = random.image(random.between(0, 1) ? 24 : 8, &paletteSize);
    Image fast = random.image(24);
    Image model(fast.width, fast.height, 24);
    std::copy(fast.pixels, fast.pixels + fast.byteSize(), model.pixels);
    const int32_t sx = random.between(-20, 45), sy = random.between(-20, 45);
    const int32_t tx = random.between(-50, 60), ty = random.between(-50, 60);
    const auto w = static_cast<uint16_t>(random.between(0, 60));
    const auto h = static_cast<uint16_t>(random.between(0, 60));
    const Rect clip = random.rect(60);
    const double a = random.opacity();
    src.drawTo(fast, sx, sy, tx, ty, w, h, clip, a);
    modelDraw(src, paletteSize, model, sx, sy, tx, ty, w, h, clip, a);
    ASSERT_EQ(bytesOf(fast), bytesOf(model))
        << "round " << round << " depth " << int{src.depth} << " opacity " << a;
  }
}

TEST(BlitReference, RandomFillsAndLinesMatchTheModel) {
  Randomiser random;
  for (int round = 0; round < 3000; ++round) {
    Image fast = random.image(24);
    Image model(fast.width, fast.height, 24);
    std::copy(fast.pixels, fast.pixels + fast.byteSize(), model.pixels);
    const Rect rect = random.rect(50), clip = random.rect(50);
    const Colour colour{random.byte(), random.byte(), random.byte()};
    const double a = random.opacity();
    if (round % 3 == 0) {
      fast.fillRect(rect, colour, clip, a);
      modelFill(model, rect, colour, clip, a);
    } else if (round % 3 == 1) {
      fast.drawHLine(rect.left, rect.right, rect.top, colour, clip, a);
      modelHLine(model, rect.left, rect.right, rect.top, colour, clip, a);
    } else {
      fast.drawVLine(rect.top, rect.bottom, rect.left, colour, clip, a);
      modelVLine(model, rect.top, rect.bottom, rect.left, colour, clip, a);
    }
    ASSERT_EQ(bytesOf(fast), bytesOf(model)) << "round " << round << " opacity " << a;
  }
}

}  // namespace
