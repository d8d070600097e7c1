// The options, the levels, the game in progress and the high-score table, to and from the
// settings store.
#include "audio/sound_system.h"
#include "game/board_code.h"
#include "gfx/display_window.h"
#include "platform/platform.h"
#include "screens/game_screen.h"
#include "store/settings.h"

bool GameScreen::loadSettings() {
  Settings stored;
  const bool gameText = ::loadSettings(platform::backend().store(), stored);
  soundSystem->setMusicLevel(stored.musicLevel);
  soundSystem->setEffectsLevel(stored.effectsLevel);
  difficulty = stored.difficulty;
  fullScreen = stored.fullScreen;
  scoring = stored.scoring;
  bombs = stored.bombs;
  hints = stored.hints;
  tutorial = stored.tutorial;
  tipsSeen = stored.tipsSeen;
  leftTurnsBack = stored.leftTurnsBack;
  applyButtonsOption();
  hsScores = stored.hsScores;
  hsNames = stored.hsNames;
  bool restored = false;
  PuzzleRecord record;
  if (gameText && decodeBoard(record, stored.game.board)) {
    restored = true;
    puzzleIndex = stored.game.puzzleIndex;
    level = stored.game.level;
    score = stored.game.score;
    allowance = stored.game.allowance;
    allowanceMax = stored.game.allowanceMax;
    moves = stored.game.moves;
    record.difficulty = difficulty;
    applyRecord(record);
    static_assert(kLockCells == board::kCells);
    setLocks(locks::fitted(stored.locks, boardCodes()));
  }
  if (fullScreen) {
    displayWindow->enterFullScreen();
  } else {
    displayWindow->leaveFullScreen();
  }
  return restored;
}

bool GameScreen::saveSettings() {
  Settings out;
  out.musicLevel = soundSystem->musicLevel();
  out.effectsLevel = soundSystem->effectsLevel();
  out.difficulty = difficulty;
  out.fullScreen = fullScreen;
  out.scoring = scoring;
  out.bombs = bombs;
  out.hints = hints;
  out.tutorial = tutorial;
  out.tipsSeen = tipsSeen;
  out.leftTurnsBack = leftTurnsBack;
  out.locks = locked;
  out.game = SavedGame{puzzleIndex, level,    score, allowance,
                       allowanceMax, moves, encodeBoard(boardCodes())};
  out.hsScores = hsScores;
  out.hsNames = hsNames;
  return ::saveSettings(platform::backend().store(), out);
}
