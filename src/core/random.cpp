#include "core/random.h"

namespace {
uint32_t state = 1;
}

void seedRandom(uint32_t seed) { state = seed; }

uint32_t gameRandom() {
  // The classic linear congruential step; the middle bits are the best ones.
  state = state * 214013u + 2531011u;
  return (state >> 16) & 0x7FFFu;
}
