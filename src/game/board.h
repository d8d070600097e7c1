#pragma once

#include <array>
#include <bitset>
#include <cstdint>

#include "core/rect.h"
#include "game/tile_code.h"

// The board as plain data: 9 by 9 cells of 50 pixels, numbered row by row. The tile in cell i
// has id 1000 + i and never changes cells; moves exchange tile contents instead.
namespace board {
inline constexpr int32_t kColumns = 9;
inline constexpr int32_t kRows = 9;
inline constexpr int32_t kCells = kColumns * kRows;
inline constexpr int32_t kCellSize = 50;
inline constexpr Rect kRect(180, 10, 180 + kColumns * kCellSize, 10 + kRows * kCellSize);
inline constexpr uint16_t kFirstTileId = 1000;
// Ids from here up are sample tiles off the board (the instructions): never charged.
inline constexpr uint16_t kFirstSampleId = 1500;

constexpr Rect cellRect(int32_t cell) {
  const int32_t left = kRect.left + kCellSize * (cell % kColumns);
  const int32_t top = kRect.top + kCellSize * (cell / kColumns);
  return Rect(left, top, left + kCellSize, top + kCellSize);
}
// The cell under (x, y), or -1 off the board.
constexpr int32_t cellAt(int32_t x, int32_t y) {
  if (!kRect.contains(x, y)) return -1;
  return (y - kRect.top) / kCellSize * kColumns + (x - kRect.left) / kCellSize;
}
// The cell of a board tile's id, or -1 for any other id (sample tiles, decoration).
constexpr int32_t cellOfId(uint16_t id) {
  const int32_t cell = int32_t{id} - kFirstTileId;
  return cell >= 0 && cell < kCells ? cell : -1;
}
constexpr uint16_t idOfCell(int32_t cell) {
  return static_cast<uint16_t>(kFirstTileId + cell);
}
}  // namespace board

// The 81 tile codes of a board, in cell order.
using BoardCodes = std::array<TileCode, board::kCells>;

// Every loose end between two tiles: the edges where exactly one of the two facing line ends
// is there. Line ends towards an empty cell or off the board are never loose. One answer for
// the counter, the red hint marks and the tutorial alike.
struct LooseEdges {
  std::bitset<board::kCells> right;  // between cell i and cell i + 1
  std::bitset<board::kCells> down;   // between cell i and cell i + 9
  uint16_t count() const { return static_cast<uint16_t>(right.count() + down.count()); }
  bool touches(int32_t cell) const;  // a loose edge on any side of the cell
};

LooseEdges looseEdges(const BoardCodes& codes);
