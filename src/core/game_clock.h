#pragma once

#include <cstdint>

// The one clock of the game, in milliseconds. It stands still while the application is in the
// background, so animations, fuses and fades resume exactly where they stopped.
class GameClock {
 public:
  static uint32_t now();
  // Pausing twice counts from the first pause.
  static void pause();
  static void resume();

  static inline bool paused = false;
  static inline uint32_t pausedAt = 0;
  static inline uint32_t totalPaused = 0;
};
