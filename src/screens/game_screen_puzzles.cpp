// The puzzle lists: reading them, choosing the next puzzle and putting a record on the board.
#include <algorithm>

#include "audio/sound.h"
#include "game/puzzle_file.h"
#include "game/rules.h"
#include "game/tile.h"
#include "screens/game_screen.h"
#include "ui/button.h"
#include "ui/dialog.h"

void GameScreen::readPuzzleFile() {
  puzzleLists = ::readPuzzleFile().lists;
}

void GameScreen::nextPuzzle() {
  if (difficulty >= puzzleLists.size()) return;
  const auto& list = puzzleLists[difficulty];
  if (list.empty()) return;  // the board on the screen stays
  const auto count = static_cast<uint16_t>(std::min<size_t>(list.size(), UINT16_MAX));
  puzzleIndex = rules::drawPuzzleIndex(count, puzzleIndex);
  applyRecord(list[puzzleIndex]);
  const bool playable = dealAndScramble();
  showIf(boardLock, false);
  showIf(nextPuzzleButton, false);
  // A bonus cut short leaves the count-up sound running.
  if (sound(Sfx::Twiddle) != nullptr && sound(Sfx::Twiddle)->isPlaying()) {
    sound(Sfx::Twiddle)->stop();
  }
  invalidate(layout::kScreen);
  if (!playable) settleUnplayableBoard();
}

void GameScreen::applyRecord(const PuzzleRecord& record) {
  forgetAids();  // locks and moves belong to the board they were made on
  for (size_t cell = 0; cell < tiles.size(); ++cell) {
    Tile* tile = tiles[cell];
    tile->fromByte(TileCode(record.tiles[cell]).byte);
    tile->setAlpha(1.0);
    if (!bombs && tile->kind == TileKind::Bomb) tile->makePlain();
  }
  // A record from a damaged store may name a difficulty that does not exist.
  const auto recordDifficulty =
      static_cast<uint8_t>(std::min<size_t>(record.difficulty, difficultyButtons.size() - 1));
  if (recordDifficulty != difficulty) {
    post(NotifySetUp, layout::kEasyId + difficulty);
    difficulty = recordDifficulty;
    post(NotifySetDown, layout::kEasyId + difficulty);
  }
  invalidate(layout::kScreen);
}
