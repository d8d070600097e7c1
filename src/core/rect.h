#pragma once

#include <algorithm>
#include <cstdint>

// A half-open rectangle in picture coordinates: (x, y) lies inside when
// left <= x < right and top <= y < bottom.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr Rect() = default;
  constexpr Rect(int32_t l, int32_t t, int32_t r, int32_t b)
      : left(l), top(t), right(r), bottom(b) {}

  constexpr void set(int32_t l, int32_t t, int32_t r, int32_t b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
  }
  constexpr int32_t width() const { return right - left; }
  constexpr int32_t height() const { return bottom - top; }
  constexpr bool isEmpty() const { return left >= right || top >= bottom; }
  constexpr bool contains(int32_t x, int32_t y) const {
    return left <= x && x < right && top <= y && y < bottom;
  }
  // Strict: rectangles that only touch do not intersect.
  constexpr bool intersects(const Rect& o) const {
    return o.left < right && left < o.right && o.top < bottom && top < o.bottom;
  }
  // Clips in place; the result may be empty.
  constexpr void intersect(const Rect& o) {
    left = std::max(left, o.left);
    top = std::max(top, o.top);
    right = std::min(right, o.right);
    bottom = std::min(bottom, o.bottom);
  }
  constexpr void unite(const Rect& o) {
    left = std::min(left, o.left);
    top = std::min(top, o.top);
    right = std::max(right, o.right);
    bottom = std::max(bottom, o.bottom);
  }
  constexpr void inflate(int32_t dx, int32_t dy) {
    left -= dx;
    right += dx;
    top -= dy;
    bottom += dy;
  }
  constexpr void offset(int32_t dx, int32_t dy) {
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
  }
  constexpr void moveTo(int32_t x, int32_t y) { offset(x - left, y - top); }

  constexpr bool operator==(const Rect&) const = default;
};
