#pragma once

#include <bitset>
#include <cstdint>

#include "game/board.h"

// The tiles the player has locked, as plain data: one bit per cell. A lock is the player's own
// note that a tile is right; it never changes the board, costs nothing and never counts as a
// move. The game screen keeps the set and asks these functions how it changes.
using LockSet = std::bitset<board::kCells>;

namespace locks {

// Fixed tiles and holes cannot be locked: there is nothing a click could change.
constexpr bool lockable(TileCode tile) { return tile.turns(); }

// Locks the cell, or unlocks it when it is locked. A linked tile takes the whole linked group
// with it, since the group turns as one. A cell that cannot be locked leaves the set as it is.
LockSet toggled(const LockSet& locked, const BoardCodes& codes, int32_t cell);

// The lock comes off a tile a rule turned (a blast), so a lock never claims a tile that has
// moved; off the whole group for a linked tile.
LockSet released(const LockSet& locked, const BoardCodes& codes, int32_t cell);

// The locks that can stand on this board: none on a fixed tile or a hole, and the linked group
// locked as a whole when any of it is. For a set read back from the store.
LockSet fitted(const LockSet& locked, const BoardCodes& codes);

// Whether the cell is locked; false off the board.
bool isLocked(const LockSet& locked, int32_t cell);

}  // namespace locks
