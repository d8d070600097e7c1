#pragma once

#include "game/board.h"

// A board of holes, for tests to place their tiles on.
inline BoardCodes emptyBoard() {
  BoardCodes codes;
  codes.fill(TileCode(TileKind::Empty, 0));
  return codes;
}
