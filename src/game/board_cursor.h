#pragma once

#include <algorithm>
#include <cstdint>

#include "game/board.h"

// The keyboard's place on the board, as plain data. It starts hidden; the first arrow only
// shows it, on the centre cell the first time and where it was left after that; each further
// arrow moves it one cell, holes included, and it stops at the edges.
struct BoardCursor {
  static constexpr int32_t kStartCell = 40;

  int32_t cell = kStartCell;
  bool shown = false;

  void step(int32_t dx, int32_t dy) {
    if (!shown) {
      shown = true;
      return;
    }
    const int32_t column = std::clamp(cell % board::kColumns + dx, 0, board::kColumns - 1);
    const int32_t row = std::clamp(cell / board::kColumns + dy, 0, board::kRows - 1);
    cell = row * board::kColumns + column;
  }
  void hide() { shown = false; }
};
