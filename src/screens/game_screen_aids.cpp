// The player's aids: locked tiles, undo and redo, and which way each button turns. The lock set
// and the history are plain data (game/locks.h, game/history.h); here clicks and keys become
// calls on them, and their answers become turns, sounds and marks on the board.
#include "game/board_view.h"
#include "game/tile.h"
#include "platform/platform.h"
#include "screens/game_screen.h"
#include "screens/tutorial.h"
#include "ui/dialog.h"

namespace {

bool shiftHeld(int32_t flags) {
  return (static_cast<uint32_t>(flags) & platform::kMouseShift) != 0;
}

}  // namespace

// ---- Clicks on the board.

int32_t GameScreen::cellTakingClick(int32_t x, int32_t y) const {
  if (!boardTakesMoves()) return -1;
  return board::cellAt(x, y);
}

bool GameScreen::boardTakesMoves() const {
  return popup == nullptr && !solved && captureWidget == nullptr;
}

bool GameScreen::onLeftDown(int32_t x, int32_t y, int32_t flags) {
  if (popup == nullptr && board::kRect.contains(x, y)) hideCursor();
  const int32_t cell = cellTakingClick(x, y);
  if (cell >= 0 && shiftHeld(flags)) {
    toggleLock(cell);
    return true;
  }
  if (cell >= 0 && isLocked(cell)) {
    playSound(Sfx::Clank);  // as a fixed tile's click: it cannot turn, nor be picked up
    return true;
  }
  return Screen::onLeftDown(x, y, flags);
}

bool GameScreen::onRightDown(int32_t x, int32_t y, int32_t flags) {
  if (popup == nullptr && board::kRect.contains(x, y)) hideCursor();
  const int32_t cell = cellTakingClick(x, y);
  if (cell >= 0 && isLocked(cell)) {
    playSound(Sfx::Clank);
    return true;
  }
  return Screen::onRightDown(x, y, flags);
}

bool GameScreen::onMiddleDown(int32_t x, int32_t y, int32_t) {
  if (popup == nullptr && board::kRect.contains(x, y)) hideCursor();
  const int32_t cell = cellTakingClick(x, y);
  if (cell < 0) return false;
  toggleLock(cell);
  return true;
}

void GameScreen::clickTile(int cell, TurnButton button) {
  if (!boardTakesMoves() || cell < 0 || cell >= board::kCells) return;
  if (isLocked(cell)) {
    playSound(Sfx::Clank);
    return;
  }
  tiles[cell]->click(button);
}

void GameScreen::applyButtonsOption() {
  for (Tile* tile : tiles) tile->leftTurnsBack = leftTurnsBack;
}

// ---- Locks.

bool GameScreen::isLocked(int cell) const { return locks::isLocked(locked, cell); }

void GameScreen::toggleLock(int cell) {
  if (!boardTakesMoves()) return;
  setLocks(locks::toggled(locked, boardCodes(), cell));
}

void GameScreen::unlockAll() { setLocks(LockSet()); }

void GameScreen::setLocks(const LockSet& next) {
  const LockSet changed = next ^ locked;
  locked = next;
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    if (changed[static_cast<size_t>(cell)]) invalidate(board::cellRect(cell));
  }
}

void GameScreen::forgetAids() {
  setLocks(LockSet());
  history::clear(moveHistory);
}

void GameScreen::afterBlastTurned(int32_t cell) {
  setLocks(locks::released(locked, boardCodes(), cell));
  history::clear(moveHistory);
}

// ---- Undo and redo.

void GameScreen::recordMove(uint16_t sender, uint32_t code) {
  // The screen's own report of a blast (sender 0) is no move of the player's.
  const int32_t cell = board::cellOfId(sender);
  if (replaying_ || cell < 0) return;
  const history::Move move = code == TileRotated
                                 ? history::turn(cell, tiles[cell]->lastTurnClockwise)
                                 : history::linkedTurn(cell, code == TileLinkedClockwise);
  history::record(moveHistory, move);
  offerLockTip(cell);
}

bool GameScreen::undo() { return stepThroughHistory(false); }

bool GameScreen::redo() { return stepThroughHistory(true); }

bool GameScreen::stepThroughHistory(bool forward) {
  const history::Move* step =
      forward ? history::nextUndone(moveHistory) : history::lastDone(moveHistory);
  if (step == nullptr || !boardTakesMoves()) return false;
  const history::Move m = forward ? *step : history::inverse(*step);
  if (history::touchesLock(m, locked, boardCodes())) {
    playSound(Sfx::Clank);  // as a click on the locked tile would
    return false;
  }
  if (forward) {
    history::stepForward(moveHistory);
  } else {
    history::stepBack(moveHistory);
  }
  replay(m);
  return true;
}

void GameScreen::replay(const history::Move& m) {
  replaying_ = true;
  if (m.kind == history::MoveKind::Swap) {
    swapCells(*tiles[m.cell], *tiles[m.other]);
  } else {
    // Reported as the player's turn: charged, sounded, and solving once it comes to rest.
    tiles[m.cell]->turnByPlayer(m.clockwise);
  }
  replaying_ = false;
}

// ---- The tip about the lock.

void GameScreen::offerLockTip(int32_t cell) {
  if (!tutorial || (tipsSeen & tips::kLockTip.seenBit) != 0 || popup != nullptr || solved) return;
  if (moves < tips::kLockTipAfterMoves || !locks::lockable(tiles[cell]->code())) return;
  tipsSeen |= tips::kLockTip.seenBit;
  openPopup(tips::buildTipDialog(tips::kLockTip.character, tips::cellCentre(cell)));
}
