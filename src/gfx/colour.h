#pragma once

#include <cstdint>

// A colour as the game names it. Pixels in memory hold the same bytes in the
// order blue, green, red.
struct Colour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  constexpr bool operator==(const Colour&) const = default;
};
