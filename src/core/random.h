#pragma once

#include <cstdint>

// The game's one pseudo-random sequence, seeded once at start. Every draw is 0 to 32767 on
// every system (the C library's own rand() reaches far higher here), so comparisons such as
// "below 0x4000" split evenly.
void seedRandom(uint32_t seed);
uint32_t gameRandom();
