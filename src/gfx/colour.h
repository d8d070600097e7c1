#pragma once
#include <cstdint>
struct Colour {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
};
