// Everything the game does in answer to a notification: moves and their charges, swaps,
// rotations coming to rest, bombs, sounds, and the controls.
#include "audio/sound.h"
#include "audio/sound_system.h"
#include "core/game_clock.h"
#include "game/blast.h"
#include "game/board_view.h"
#include "game/rules.h"
#include "game/tile.h"
#include "gfx/animated_image.h"
#include "gfx/display_window.h"
#include "screens/game_screen.h"
#include "screens/instructions_screen.h"
#include "store/settings.h"
#include "ui/button.h"
#include "ui/dialog.h"

namespace {

bool isMoveCode(uint32_t code) {
  return code == TileRotated || code == TileLinkedCounter || code == TileLinkedClockwise;
}

// The options' sliders report value changes, their check boxes toggles.
bool isOptionControl(uint16_t sender, uint32_t code) {
  switch (sender) {
    case layout::kSoundLevelId:
    case layout::kMusicLevelId:
      return code == NotifyValueChanged;
    case layout::kFullScreenBoxId:
    case layout::kScoringBoxId:
    case layout::kBombsBoxId:
    case layout::kTutorialBoxId:
    case layout::kHintsBoxId:
    case layout::kLeftTurnsBackBoxId:
      return code == NotifyToggled;
    default:
      return false;
  }
}

}  // namespace

bool GameScreen::onNotify(uint16_t sender, uint32_t code, int32_t value) {
  // First the tree (or the capture widget): linked tiles and radio buttons hear their siblings.
  bool result = Screen::onNotify(sender, code, value);
  onDrag(sender, code, value);
  if (isMoveCode(code) && sender < board::kFirstSampleId) {
    chargeMove(1);
    recordMove(sender, code);
  }
  if (code == TileAtRest) onRotationEnd(sender);
  playSoundFor(sender, code);
  if (code == TileBlastHit || code == TileFuseOut) onBlast(sender, code, value);
  if (code == NotifyBlastDone && sender == layout::kBlastId) {
    if (Blast* blast = Blast::withHandle(value)) removeChild(blast);
    invalidate(layout::kScreen);
  }
  // Enter in a text field confirms like the OK button beside it.
  if ((code == NotifyClicked || code == NotifyEnter) && onClicked(sender)) result = true;
  if (isOptionControl(sender, code)) onOptionChanged(sender, value);
  return result;
}

// ---- Drag and drop.

void GameScreen::onDrag(uint16_t sender, uint32_t code, int32_t value) {
  if (code == TileDragStarted) {
    dragTile = Tile::dragged();
    return;
  }
  if (code != TileDropped || dragTile == nullptr) return;
  const auto point = static_cast<uint32_t>(value);
  const auto x = static_cast<int32_t>(point >> 16);
  const auto y = static_cast<int32_t>(point & 0xFFFF);
  const int32_t cell = board::cellAt(x, y);
  // Off the board nothing happens; sample tiles never swap with the board.
  if (sender < board::kFirstSampleId && dragTile->id < board::kFirstSampleId && cell >= 0) {
    Tile* target = tiles[cell];
    const int32_t from = board::cellOfId(dragTile->id);
    if (target != dragTile && target->kind == TileKind::Sliding && !isLocked(cell) && from >= 0) {
      swapCells(*dragTile, *target);
      history::record(moveHistory, history::swap(from, cell));
      offerLockTip(cell);
    } else {
      // A fixed tile, a tile that cannot slide, a locked one, or its own cell.
      playSound(Sfx::Snap);
    }
  }
  dragTile = nullptr;
  invalidate(layout::kScreen);
}

void GameScreen::swapCells(Tile& dragged, Tile& target) {
  dragged.swapContents(target);
  playSound(Sfx::Swap);
  chargeMove(1);
  if (countLooseEnds() == 0) startSolved();
}

// A turn has come to rest: only now can it have solved the board. Under a pop-up the board
// is counted once the pop-up has gone (sample tiles of the instructions turn there too).
void GameScreen::onRotationEnd(uint16_t sender) {
  if (popup != nullptr) {
    if (board::cellOfId(sender) >= 0) restUnderPopup = true;
    invalidate(layout::kScreen);
    return;
  }
  if (solved) return;
  invalidate(board::kRect);
  if (countLooseEnds() == 0) startSolved();
}

// ---- Sounds.

void GameScreen::playSoundFor(uint16_t sender, uint32_t code) {
  if (code == NotifyBackgroundClick) {
    playSound(Sfx::Bloop);
    return;
  }
  // The screen itself, labels and the board view make no sound.
  if (sender < board::kFirstTileId) return;
  switch (code) {
    case NotifyHover:
      playSound(Sfx::Hiss);
      break;
    case NotifyPressed:
      playSound(Sfx::Pop);
      break;
    case TileRotated:
      // The new-puzzle swirl is not cut short by a click on the new board.
      if (sound(Sfx::Swirl) == nullptr || !sound(Sfx::Swirl)->isPlaying()) playSound(Sfx::Snap);
      break;
    case TileLinkedCounter:
    case TileLinkedClockwise:
      playSound(Sfx::Ratchet);
      break;
    case TileFixedClicked:
      playSound(Sfx::Clank);
      break;
    default:
      break;
  }
}

// ---- Bombs.

// A bomb went off (its own cell) or its blast reached a cell: the tile there turns, and an
// explosion shows, unless the hit solved the board.
void GameScreen::onBlast(uint16_t sender, uint32_t code, int32_t value) {
  if (board::cellOfId(sender) < 0 || solved || value < 0 || value > UINT16_MAX) return;
  const int32_t cell = board::cellOfId(static_cast<uint16_t>(value));
  if (cell < 0) return;
  Tile& hit = *tiles[cell];
  const uint8_t turns = rules::drawBlastTurns(hit.code());
  if (!hit.isEmpty() && hit.kind != TileKind::Fixed && &hit != dragTile) {
    afterBlastTurned(cell);  // before the group's turn below, which is no move to take back
    if (hit.kind == TileKind::Linked) {
      turnLinkedGroup();
    } else {
      for (uint8_t i = 0; i < turns; ++i) hit.rotateClockwise(true);
    }
  }
  if (countLooseEnds() == 0) {
    startSolved();
  } else if (popup == nullptr && &hit != dragTile) {
    showExplosion(hit, code);
  }
}

// The whole linked group turns one step clockwise, and that is one move. The group hears it
// straight from the screen: posted, it would reach only a pop-up or a dragged tile while one
// of them takes every notification.
void GameScreen::turnLinkedGroup() {
  for (Tile* tile : tiles) tile->onNotify(id, TileLinkedClockwise, 0);
  chargeMove(1);
}

void GameScreen::showExplosion(const Tile& hit, uint32_t code) {
  const layout::BlastLook& look =
      rules::drawSmallBlast() ? layout::kBlastSmall : layout::kBlastLarge;
  auto* blast =
      new Blast(hit.rect.left - look.offsetX, hit.rect.top - look.offsetY, look.picture,
                look.frames, look.columns, layout::kBlastFramesPerSecond, layout::kBlastId);
  blast->animation->useCornerKey();
  blast->animation->startAt(0, look.frames - 1, GameClock::now());
  addChild(blast);
  playSound(code == TileFuseOut ? Sfx::ExplodeBig : Sfx::Explode);
}

// ---- Controls.

// Returns true where a click counts as consumed by the screen.
bool GameScreen::onClicked(uint16_t sender) {
  if (sender >= layout::kEasyId && sender <= layout::kCrazyId) {
    difficulty = static_cast<uint8_t>(sender - layout::kEasyId);
    if (!endGame(scoring)) {  // else the new game starts once the name is in
      newGame();
      showNextTip();
    }
    return false;
  }
  switch (sender) {
    case layout::kNewPuzzleId:
    case layout::kNewGameId:
      if (!endGame(scoring)) startNewGameFromButton();
      return false;
    case layout::kInstructionsId:
      if (Dialog* instructions = makeInstructionsScreen()) openPopup(instructions);
      return true;
    case layout::kKeysId:
      openPopup(instructions::buildKeysScreen());
      return true;
    case layout::kOptionsId:
      if (Dialog* options = makeOptionsScreen()) openPopup(options);
      return false;
    case layout::kHelpId:
      toggleHints();
      return false;
    case layout::kQuitId:
      running = false;  // the loop ends after this frame; the game is saved on the way out
      return false;
    case layout::kNextPuzzleId:
      invalidate(layout::kScreen);
      takeRestOfBonus();
      nextPuzzle();
      showNextTip();
      return true;
    case layout::kTipNextId:
      closePopup();
      showNextTip();
      return false;
    case layout::kResetScoresId:
      resetHighScores();
      closePopup();
      if (Dialog* options = makeOptionsScreen()) openPopup(options);
      return false;
    case layout::kNameConfirmedId: {
      const bool newGameFollows = nameEntry.newGameFollows;
      storeHighScoreName();  // and forgets the field, which goes with its pop-up
      closePopup();
      invalidate(layout::kScreen);
      if (newGameFollows) {
        newGame();
        showNextTip();
      }
      return true;
    }
    case layout::kWebId:
      openManual();
      return false;
    case layout::kOptionsOkId:
      confirmOptions();
      return false;
    case layout::kCloseId:
      closePopup();
      invalidate(layout::kScreen);
      return true;
    default:
      return false;
  }
}

void GameScreen::startNewGameFromButton() {
  closePopup();
  playSound(Sfx::Swirl);
  newGame();
  showNextTip();
}

void GameScreen::toggleHints() {
  hints = !hints;
  if (hints) chargeMove(2);  // doubled by the hints just switched on
  applyHintsOption();
}

// OK on the options: the flags the boxes left take effect.
void GameScreen::confirmOptions() {
  Widget* options = popup;
  applyBombsOption();
  // Scoring switched on may put a tip in the options' place.
  applyScoringOption();
  if (!tutorial) tipsSeen = 0;  // every tip shows again once the tutorial is back on
  applyHintsOption();
  applyButtonsOption();
  // The new game that scoring starts may have opened its first tip in place of the options:
  // that tip stays for the player to read.
  if (popup == options) closePopup();
  invalidate(layout::kScreen);
}

// Levels and full screen act at once; the other flags wait for OK.
void GameScreen::onOptionChanged(uint16_t sender, int32_t value) {
  const bool on = value != 0;
  switch (sender) {
    // The level whose whole percent is the value: value / 100 itself can fall a hair short
    // (0.29), and the next save would then keep one percent less.
    case layout::kSoundLevelId:
      if (soundSystem != nullptr) soundSystem->setEffectsLevel(levelFromStored(value));
      break;
    case layout::kMusicLevelId:
      if (soundSystem != nullptr) soundSystem->setMusicLevel(levelFromStored(value));
      break;
    case layout::kFullScreenBoxId:
      fullScreen = on;
      if (displayWindow != nullptr) {
        if (on) {
          displayWindow->enterFullScreen();
        } else {
          displayWindow->leaveFullScreen();
        }
      }
      break;
    case layout::kScoringBoxId:
      scoring = on;
      break;
    case layout::kBombsBoxId:
      bombs = on;
      break;
    case layout::kTutorialBoxId:
      tutorial = on;
      break;
    case layout::kHintsBoxId:
      hints = on;
      break;
    case layout::kLeftTurnsBackBoxId:
      leftTurnsBack = on;
      break;
    default:
      break;
  }
}
