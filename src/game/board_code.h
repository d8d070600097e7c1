#pragma once

// Stand-in for the board code's header, which lands from the puzzle file's branch: only the
// record the game screen needs, in that header's shape. Replaced whole when it lands.

#include <cstdint>
#include <string>

#include "game/board.h"

inline constexpr uint8_t kDifficultyCount = 4;

struct PuzzleRecord {
  std::string name;        // from the puzzle file; empty for a saved game
  uint8_t difficulty = 0;  // 0 easy, 1 medium, 2 hard, 3 crazy
  BoardCodes tiles{};      // cells 0 to 80
};
