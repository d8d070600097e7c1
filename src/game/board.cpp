#include "game/board.h"

namespace {
// Exactly one of two facing line ends.
bool loose(TileCode a, uint8_t aSide, TileCode b, uint8_t bSide) {
  if (a.isEmpty() || b.isEmpty()) return false;
  return ((a.lines() & aSide) != 0) != ((b.lines() & bSide) != 0);
}
}  // namespace

LooseEdges looseEdges(const BoardCodes& codes) {
  LooseEdges edges;
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    const TileCode tile = codes[static_cast<size_t>(cell)];
    if (cell % board::kColumns + 1 < board::kColumns) {
      edges.right[static_cast<size_t>(cell)] =
          loose(tile, line::Right, codes[static_cast<size_t>(cell + 1)], line::Left);
    }
    if (cell / board::kColumns + 1 < board::kRows) {
      edges.down[static_cast<size_t>(cell)] =
          loose(tile, line::Down, codes[static_cast<size_t>(cell + board::kColumns)], line::Up);
    }
  }
  return edges;
}

bool LooseEdges::touches(int32_t cell) const {
  const auto at = [](const std::bitset<board::kCells>& bits, int32_t i) {
    return i >= 0 && i < board::kCells && bits[static_cast<size_t>(i)];
  };
  const bool hasLeft = cell % board::kColumns > 0;
  return at(right, cell) || at(down, cell) || (hasLeft && at(right, cell - 1)) ||
         at(down, cell - board::kColumns);
}
