#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/locks.h"

// The player's own moves on the current puzzle, as plain data, so that they can be taken back
// and made again. The game screen records each move as the player makes it and asks here what
// an undo or a redo has to do; it then makes that move on the tiles like any other.
namespace history {

enum class MoveKind : uint8_t {
  Turn,        // one quarter turn of one tile
  LinkedTurn,  // the linked group's quarter turn, started from one of its tiles
  Swap,        // two sliding tiles exchanged their contents
};

struct Move {
  MoveKind kind = MoveKind::Turn;
  uint8_t cell = 0;   // the tile turned; the dragged tile of a swap
  uint8_t other = 0;  // the other tile of a swap
  bool clockwise = true;
  constexpr bool operator==(const Move&) const = default;
};

constexpr Move turn(int32_t cell, bool clockwise) {
  return {MoveKind::Turn, static_cast<uint8_t>(cell), 0, clockwise};
}
constexpr Move linkedTurn(int32_t cell, bool clockwise) {
  return {MoveKind::LinkedTurn, static_cast<uint8_t>(cell), 0, clockwise};
}
constexpr Move swap(int32_t cell, int32_t other) {
  return {MoveKind::Swap, static_cast<uint8_t>(cell), static_cast<uint8_t>(other), true};
}

// The move that takes `m` back: a turn the other way; a swap is its own inverse.
constexpr Move inverse(Move m) {
  if (m.kind != MoveKind::Swap) m.clockwise = !m.clockwise;
  return m;
}

// Whether the move would turn or move a locked tile.
bool touchesLock(const Move& m, const LockSet& locked, const BoardCodes& codes);

// Far more than any puzzle takes; past it the oldest moves are forgotten.
inline constexpr size_t kMaxMoves = 65535;

struct History {
  std::vector<Move> done;    // oldest first
  std::vector<Move> undone;  // the most recently undone last
};

// A new move of the player's: what was undone cannot be made again after it.
void record(History& h, const Move& m);
// The move that undoes the latest one, or null when there is none.
const Move* lastDone(const History& h);
// The latest move counts as undone (after the caller has taken it back).
void stepBack(History& h);
// The move a redo makes again, or null.
const Move* nextUndone(const History& h);
// The move counts as done again.
void stepForward(History& h);
void clear(History& h);

}  // namespace history
