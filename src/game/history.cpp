#include "game/history.h"

namespace history {

bool touchesLock(const Move& m, const LockSet& locked, const BoardCodes& codes) {
  switch (m.kind) {
    case MoveKind::Turn:
      return locks::isLocked(locked, m.cell);
    case MoveKind::LinkedTurn:
      for (size_t cell = 0; cell < codes.size(); ++cell) {
        if (codes[cell].kind() == TileKind::Linked && locked[cell]) return true;
      }
      return locks::isLocked(locked, m.cell);
    case MoveKind::Swap:
      return locks::isLocked(locked, m.cell) || locks::isLocked(locked, m.other);
  }
  return false;
}

void record(History& h, const Move& m) {
  h.undone.clear();
  if (h.done.size() >= kMaxMoves) h.done.erase(h.done.begin());
  h.done.push_back(m);
}

const Move* lastDone(const History& h) { return h.done.empty() ? nullptr : &h.done.back(); }

void stepBack(History& h) {
  if (h.done.empty()) return;
  h.undone.push_back(h.done.back());
  h.done.pop_back();
}

const Move* nextUndone(const History& h) { return h.undone.empty() ? nullptr : &h.undone.back(); }

void stepForward(History& h) {
  if (h.undone.empty()) return;
  h.done.push_back(h.undone.back());
  h.undone.pop_back();
}

void clear(History& h) {
  h.done.clear();
  h.undone.clear();
}

}  // namespace history
