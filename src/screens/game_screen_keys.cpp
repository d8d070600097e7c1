// The keyboard: the board cursor, the keys of the whole game and the pop-ups' controls. Each
// key works through the very widgets the mouse works through (a tile pressed and let go, a
// button clicked), so charges, sounds and solving are the mouse's own.
#include "game/board_view.h"
#include "game/tile.h"
#include "screens/game_screen.h"
#include "screens/key_bindings.h"
#include "ui/button.h"
#include "ui/dialog.h"

namespace {

using keys::Action;

constexpr int32_t kLevelStep = 5;  // of a slider's 100
constexpr int32_t kCarryLift = 6;  // a carried tile hangs this far up and left of its cell

// What Esc clicks on a pop-up: OK on a tip and on the options, play on the instructions. The
// name pop-up has none: only its own OK (or Enter) completes it.
constexpr uint16_t kDismissIds[] = {layout::kCloseId, layout::kOptionsOkId};

int32_t centreX(int32_t cell) {
  const Rect r = board::cellRect(cell);
  return (r.left + r.right) / 2;
}
int32_t centreY(int32_t cell) {
  const Rect r = board::cellRect(cell);
  return (r.top + r.bottom) / 2;
}

bool isMove(Action a) {
  switch (a) {
    case Action::CursorLeft:
    case Action::CursorRight:
    case Action::CursorUp:
    case Action::CursorDown:
    case Action::NextControl:
    case Action::PreviousControl:
    case Action::SliderDown:
    case Action::SliderUp:
      return true;
    default:
      return false;
  }
}

// Clicks the shown button with this id among the panel's children.
bool clickIn(const Panel& panel, uint16_t id) {
  for (Widget* w : panel.children) {
    auto* button = dynamic_cast<Button*>(w);
    if (button != nullptr && button->id == id && button->visible) return button->click();
  }
  return false;
}

}  // namespace

bool GameScreen::onKeyDown(uint32_t key, uint32_t modifiers) {
  if (Screen::onKeyDown(key, modifiers)) return true;
  const keys::Found found = keys::find(key, modifiers);
  const bool repeat = (modifiers & platform::key::kRepeat) != 0;
  for (size_t i = 0; i < found.count; ++i) {
    if (runKey(found.actions[i], repeat)) return true;
  }
  return false;
}

bool GameScreen::runKey(Action action, bool repeat) {
  // A held key repeats only the moves: a turn, a switch or a button is one press each.
  if (repeat && !isMove(action)) return true;
  if (popup != nullptr ? runPopupKey(action) : runBoardKey(action)) return true;
  return runDesktopKey(action);
}

// ---- Pop-ups: the keyboard focus over their controls, and Esc.

bool GameScreen::runPopupKey(Action action) {
  auto* dialog = dynamic_cast<Dialog*>(popup);
  if (dialog == nullptr) return false;
  switch (action) {
    case Action::NextControl:
    case Action::PreviousControl:
      dialog->moveKeyFocus(action == Action::PreviousControl);
      return true;
    case Action::Press:
      return dialog->pressKeyFocus();
    case Action::SliderDown:
    case Action::SliderUp:
      return dialog->stepKeyFocus(action == Action::SliderUp ? kLevelStep : -kLevelStep);
    case Action::Back:
      for (uint16_t id : kDismissIds) {
        if (clickIn(*dialog, id)) break;
      }
      return true;
    default:
      return false;
  }
}

// ---- The board.

bool GameScreen::runBoardKey(Action action) {
  switch (action) {
    case Action::CursorLeft:
      moveCursor(-1, 0);
      return true;
    case Action::CursorRight:
      moveCursor(1, 0);
      return true;
    case Action::CursorUp:
      moveCursor(0, -1);
      return true;
    case Action::CursorDown:
      moveCursor(0, 1);
      return true;
    case Action::Back:
      if (carried() == nullptr) return false;
      putCarriedBack();
      return true;
    case Action::Turn:
    case Action::TurnBack:
    case Action::Carry:
      break;
    case Action::UnlockAll:
      putCarriedBack();
      unlockAll();
      return true;
    case Action::Undo:
    case Action::Redo:
      putCarriedBack();
      if (action == Action::Undo) {
        undo();
      } else {
        redo();
      }
      return true;
    case Action::Lock:
      putCarriedBack();
      if (cursor.shown) toggleLock(cursor.cell);
      return true;
    default:
      return false;
  }
  if (!cursor.shown) return false;
  if (carried() != nullptr) {
    dropCarried();
    return true;
  }
  // The solved board is locked against keys as against the mouse, and a button or a tile the
  // mouse holds keeps the board for the mouse.
  if ((boardLock != nullptr && boardLock->visible) || captureWidget != nullptr) return true;
  Tile& tile = *tiles[static_cast<size_t>(cursor.cell)];
  if (action != Action::Carry) {
    clickTile(cursor.cell, action == Action::Turn ? TurnButton::Left : TurnButton::Right);
  } else if (isLocked(cursor.cell)) {
    playSound(Sfx::Clank);  // as the mouse finds it: a locked tile cannot be picked up
  } else if (tile.kind == TileKind::Sliding) {
    tile.onLeftDown(centreX(cursor.cell), centreY(cursor.cell), 0);
    if (Tile::dragged() == &tile) {
      carriedTile = &tile;
      hangCarried();
    }
  }
  return true;
}

void GameScreen::moveCursor(int32_t dx, int32_t dy) {
  cursor.step(dx, dy);
  if (boardView != nullptr) boardView->setCursor(cursor.cell);
  if (carried() != nullptr) hangCarried();
}

void GameScreen::hideCursor() {
  cursor.hide();
  if (boardView != nullptr) boardView->setCursor(-1);
}

Tile* GameScreen::carried() {
  if (carriedTile != nullptr && carriedTile != Tile::dragged()) carriedTile = nullptr;
  return carriedTile;
}

void GameScreen::hangCarried() {
  // The tile follows a pointer that holds it by its middle.
  carried()->onMouseMove(centreX(cursor.cell) - kCarryLift, centreY(cursor.cell) - kCarryLift, 0);
}

void GameScreen::dropCarried() {
  Tile* tile = carried();
  carriedTile = nullptr;
  tile->onLeftUp(centreX(cursor.cell), centreY(cursor.cell), 0);
}

void GameScreen::putCarriedBack() {
  Tile* tile = carried();
  if (tile == nullptr) return;
  carriedTile = nullptr;
  dragTile = nullptr;
  tile->returnToDragOrigin();
}

// ---- Keys of the whole game: each clicks the control it stands for. A carried tile goes
// home first, as a dragged one does when the mouse lets go of it off the board.

bool GameScreen::runDesktopKey(Action action) {
  switch (action) {
    case Action::FullScreen:
      // The options' box is kept in step when the options are open.
      if (auto* open = dynamic_cast<Panel*>(popup);
          open == nullptr || !clickIn(*open, layout::kFullScreenBoxId)) {
        onOptionChanged(layout::kFullScreenBoxId, fullScreen ? 0 : 1);
      }
      return true;
    case Action::Manual:
      putCarriedBack();
      return clickControl(layout::kWebId);
    case Action::Quit:
      putCarriedBack();
      return clickControl(layout::kQuitId);
    case Action::NewGame:
      if (popup != nullptr) return false;
      putCarriedBack();
      return clickControl(layout::kNewPuzzleId) || clickControl(layout::kNewGameId);
    case Action::Hints:
      if (popup != nullptr) return false;
      putCarriedBack();
      return clickControl(layout::kHelpId);
    default:
      return false;
  }
}

bool GameScreen::clickControl(uint16_t controlId) { return clickIn(*this, controlId); }
