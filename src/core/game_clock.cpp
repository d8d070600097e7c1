#include "core/game_clock.h"

#include "platform/platform.h"

uint32_t GameClock::now() {
  if (paused) return pausedAt - totalPaused;
  return platform::backend().ticks() - totalPaused;
}

void GameClock::pause() {
  if (paused) return;
  pausedAt = platform::backend().ticks();
  paused = true;
}

void GameClock::resume() {
  if (!paused) return;
  totalPaused += platform::backend().ticks() - pausedAt;
  paused = false;
}
