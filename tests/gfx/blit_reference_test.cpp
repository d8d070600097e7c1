// Random blits, fills and lines against a plain per-pixel model of the rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "gfx/image.h"

namespace {

uint8_t modelBlend(double a, uint8_t target, uint8_t source) {
  return a > 0.99 ? source : static_cast<uint8_t>((1 - a) * target + a * source);
}
uint8_t modelFill(double a, uint8_t colour, uint8_t old) {
  return a > 0.99 ? colour : static_cast<uint8_t>(a * colour + (1 - a) * old);
}

// Where anything may be drawn: the target's own area within the clip.
bool drawable(const Image& target, const Rect& clip, int64_t x, int64_t y) {
  return clip.contains(x, y) && x >= 0 && y >= 0 && x < target.width && y < target.height;
}

// paletteSize: the entries really allocated, which colourCount may overstate.
void modelDraw(const Image& src, int paletteSize, Image& dst, int32_t sx, int32_t sy, int32_t tx,
               int32_t ty, uint16_t w, uint16_t h, const Rect& clip, double a) {
  if (!(a > 0)) return;
  sx = std::max(sx, 0), sy = std::max(sy, 0);
  for (int j = 0; j < std::min(h, src.height); ++j) {
    for (int i = 0; i < std::min(w, src.width); ++i) {
      if (!drawable(dst, clip, int64_t{tx} + i, int64_t{ty} + j)) continue;
      if (sx + i >= src.width || sy + j >= src.height) continue;
      const uint8_t* from = src.pixelAddress(sx + i, sy + j);
      if (src.depth == 8) {
        if (*from == src.colourKey || *from >= std::min(src.colourCount, paletteSize)) continue;
        from = src.palette + *from * 3;
      }
      uint8_t* to = dst.pixelAddress(tx + i, ty + j);
      for (int c = 0; c < 3; ++c) to[c] = modelBlend(a, to[c], from[c]);
    }
  }
}

void modelFillRect(Image& dst, const Rect& rect, Colour colour, const Rect& clip, double a) {
  const uint8_t bgr[3] = {colour.blue, colour.green, colour.red};
  for (int y = rect.top; y < rect.bottom && a > 0; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      if (!drawable(dst, clip, x, y)) continue;
      for (int c = 0; c < 3; ++c)
        dst.pixelAddress(x, y)[c] = modelFill(a, bgr[c], dst.pixelAddress(x, y)[c]);
    }
  }
}

class Randomiser {
 public:
  int between(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  double opacity() {
    static const double fixed[] = {1.0, 0.991, 0.99, 0.5, 0.25, 0.75, 0.3, 0.7, 0.0, 1 / 256.0};
    if (between(0, 2) == 0) return std::uniform_real_distribution<double>(0, 1)(rng_);
    return fixed[between(0, 9)];
  }
  Rect rect(int span) {
    const int l = between(-span / 2, span), t = between(-span / 2, span);
    return Rect(l, t, l + between(-2, span), t + between(-2, span));
  }
  // 8-bit images use indices 0 to 12 with palettes of 1 to 16 entries, so
  // keys, colourCount and the palette's real end all come into play.
  Image image(uint8_t depth, int* paletteSize = nullptr) {
    const auto w = static_cast<uint16_t>(between(1, 40)), h = static_cast<uint16_t>(between(1, 40));
    Image image(w, h, depth);
    std::vector<uint8_t> pixels(image.byteSize());
    for (auto& p : pixels) p = static_cast<uint8_t>(depth == 8 ? between(0, 12) : between(0, 255));
    std::vector<uint8_t> palette(depth == 8 ? 3 * between(1, 16) : 0);
    for (auto& b : palette) b = static_cast<uint8_t>(between(0, 255));
    if (paletteSize) *paletteSize = static_cast<int>(palette.size() / 3);
    image.assign(w, h, depth, std::move(pixels), std::move(palette), between(0, 20));
    image.colourKey = static_cast<int16_t>(between(-1, 12));
    return image;
  }

 private:
  std::mt19937 rng_{20240611};
};

// A 24-bit target and an identical copy for the model.
struct Pair {
  Image fast, model;
  explicit Pair(Randomiser& random) : fast(random.image(24)), model(fast.width, fast.height, 24) {
    std::copy(fast.pixels, fast.pixels + fast.byteSize(), model.pixels);
  }
  bool same() const { return std::equal(fast.pixels, fast.pixels + fast.byteSize(), model.pixels); }
};

TEST(BlitReference, RandomBlitsMatchTheModel) {
  Randomiser random;
  for (int round = 0; round < 4000; ++round) {
    int paletteSize = 0;
    const Image src = random.image(random.between(0, 1) ? 24 : 8, &paletteSize);
    Pair pair(random);
    const int32_t sx = random.between(-20, 45), sy = random.between(-20, 45);
    const int32_t tx = random.between(-50, 60), ty = random.between(-50, 60);
    const auto w = static_cast<uint16_t>(random.between(0, 60));
    const auto h = static_cast<uint16_t>(random.between(0, 60));
    const Rect clip = random.rect(60);
    const double a = random.opacity();
    src.drawTo(pair.fast, sx, sy, tx, ty, w, h, clip, a);
    modelDraw(src, paletteSize, pair.model, sx, sy, tx, ty, w, h, clip, a);
    ASSERT_TRUE(pair.same()) << "round " << round << " depth " << int{src.depth} << " opacity "
                             << a;
  }
}

// The line-end rule: an end at or past the clip's edge stops one short of it.
void modelHLine(Image& dst, int x0, int x1, int y, Colour colour, const Rect& clip, double a) {
  modelFillRect(dst, Rect(x0, y, x1 >= clip.right ? clip.right - 1 : x1, y + 1), colour, clip, a);
}
void modelVLine(Image& dst, int y0, int y1, int x, Colour colour, const Rect& clip, double a) {
  modelFillRect(dst, Rect(x, y0, x + 1, y1 >= clip.bottom ? clip.bottom - 1 : y1), colour, clip, a);
}

TEST(BlitReference, RandomFillsAndLinesMatchTheModel) {
  Randomiser random;
  for (int round = 0; round < 4000; ++round) {
    Pair pair(random);
    const Rect r = random.rect(50);
    const Rect clip = random.rect(50);
    const Colour colour{static_cast<uint8_t>(round), static_cast<uint8_t>(round * 7), 200};
    const double a = random.opacity();
    switch (round % 4) {
      case 0:
        pair.fast.fillRect(r, colour, clip, a);
        modelFillRect(pair.model, r, colour, clip, a);
        break;
      case 1:
        pair.fast.drawHLine(r.left, r.right, r.top, colour, clip, a);
        modelHLine(pair.model, r.left, r.right, r.top, colour, clip, a);
        break;
      case 2:
        pair.fast.drawVLine(r.top, r.bottom, r.left, colour, clip, a);
        modelVLine(pair.model, r.top, r.bottom, r.left, colour, clip, a);
        break;
      default:  // the sides in turn, so the corners are blended twice
        pair.fast.frameRect(r, colour, clip, a);
        if (r.isEmpty() || !r.intersects(clip)) break;
        modelHLine(pair.model, r.left, r.right, r.top, colour, clip, a);
        modelHLine(pair.model, r.left, r.right, r.bottom - 1, colour, clip, a);
        modelVLine(pair.model, r.top, r.bottom, r.left, colour, clip, a);
        modelVLine(pair.model, r.top, r.bottom, r.right - 1, colour, clip, a);
    }
    ASSERT_TRUE(pair.same()) << "round " << round << " opacity " << a;
  }
}

}  // namespace
