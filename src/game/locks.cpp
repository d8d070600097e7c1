#include "game/locks.h"

namespace locks {
namespace {

bool onBoard(int32_t cell) { return cell >= 0 && cell < board::kCells; }

// Every cell of the linked group set to `on`.
void setLinkedGroup(LockSet& locked, const BoardCodes& codes, bool on) {
  for (size_t cell = 0; cell < codes.size(); ++cell) {
    if (codes[cell].kind() == TileKind::Linked) locked[cell] = on;
  }
}

// The cell, or the whole linked group when it is linked, set to `on`.
LockSet withCell(LockSet locked, const BoardCodes& codes, int32_t cell, bool on) {
  const TileCode tile = codes[static_cast<size_t>(cell)];
  if (tile.kind() == TileKind::Linked) {
    setLinkedGroup(locked, codes, on);
  } else {
    locked[static_cast<size_t>(cell)] = on;
  }
  return locked;
}

}  // namespace

LockSet toggled(const LockSet& locked, const BoardCodes& codes, int32_t cell) {
  if (!onBoard(cell) || !lockable(codes[static_cast<size_t>(cell)])) return locked;
  return withCell(locked, codes, cell, !locked[static_cast<size_t>(cell)]);
}

LockSet released(const LockSet& locked, const BoardCodes& codes, int32_t cell) {
  if (!onBoard(cell)) return locked;
  return withCell(locked, codes, cell, false);
}

LockSet fitted(const LockSet& locked, const BoardCodes& codes) {
  LockSet result;
  bool linkedLocked = false;
  for (size_t cell = 0; cell < codes.size(); ++cell) {
    if (!locked[cell] || !lockable(codes[cell])) continue;
    result[cell] = true;
    linkedLocked = linkedLocked || codes[cell].kind() == TileKind::Linked;
  }
  if (linkedLocked) setLinkedGroup(result, codes, true);
  return result;
}

bool isLocked(const LockSet& locked, int32_t cell) {
  return onBoard(cell) && locked[static_cast<size_t>(cell)];
}

}  // namespace locks
