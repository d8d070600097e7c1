// The game's operations on the screen: each asks the rules (game/rules.h) what becomes of the
// board's codes and numbers, then brings the tiles, labels and meter up to date.
#include <string>

#include "audio/sound.h"
#include "core/game_clock.h"
#include "game/board_view.h"
#include "game/rules.h"
#include "game/tile.h"
#include "screens/game_screen.h"
#include "ui/button.h"
#include "ui/dialog.h"
#include "ui/label.h"
#include "ui/meter.h"
#include "ui/picture.h"

namespace {

// The starter board: a plain tile in the centre of a ring of fixed ones.
constexpr int32_t kStarterCentre = 40;
constexpr int32_t kStarterRing[] = {30, 31, 32, 39, 41, 48, 49, 50};

// How often a layout is dealt afresh when its scramble could not leave a loose end (the
// starter board comes out so when its centre gets no line or all four: one deal in eight).
constexpr int kMaxRedeals = 20;

}  // namespace

void GameScreen::showIf(Widget* w, bool shown) {
  if (w == nullptr || w->visible == shown) return;
  if (shown) {
    w->show();
  } else {
    w->hide();
  }
  invalidate(w->rect);
}

void GameScreen::putCodes(const BoardCodes& codes) {
  for (size_t cell = 0; cell < codes.size(); ++cell) tiles[cell]->setContent(codes[cell]);
}

void GameScreen::resetBoard() {
  forgetAids();
  for (Tile* tile : tiles) tile->fromByte(TileCode(TileKind::Empty, 0).byte);
  for (int32_t cell : kStarterRing) tiles[cell]->fromByte(TileCode(TileKind::Fixed, 0).byte);
  tiles[kStarterCentre]->fromByte(TileCode(TileKind::Plain, 0).byte);
  if (!dealAndScramble()) settleUnplayableBoard();
}

bool GameScreen::dealBoard() {
  BoardCodes codes = boardCodes();
  const bool dealt = rules::dealBoard(codes);
  // A layout that can never be dealt keeps the tiles it has.
  if (dealt) putCodes(codes);
  for (Tile* tile : tiles) tile->setAlpha(1.0);
  return dealt;
}

bool GameScreen::scramble() {
  BoardCodes codes = boardCodes();
  const rules::Scramble result = rules::scramble(codes, level);
  putCodes(codes);
  for (size_t cell = 0; cell < codes.size(); ++cell) {
    if (result.fuseDelay[cell] != 0) tiles[cell]->setFuse(result.fuseDelay[cell]);
  }
  moves = 0;
  allowanceMax = result.allowance;
  allowance = scoring ? allowanceMax : 0;
  if (meter != nullptr) {
    meter->setMax(allowanceMax);
    meter->setValue(allowance);
  }
  countLooseEnds();
  return result.disturbed;
}

bool GameScreen::dealAndScramble() {
  const BoardCodes layout = boardCodes();
  for (int deal = 0; deal < kMaxRedeals; ++deal) {
    if (deal > 0) putCodes(layout);
    if (!dealBoard()) return false;  // dealing again cannot help: the rules tried hard enough
    if (scramble()) return true;
  }
  return false;
}

// A board that could not be dealt or disturbed stays as it is. Without a loose end it is
// shown solved, without a bonus, so the next-puzzle button takes the player on.
void GameScreen::settleUnplayableBoard() {
  allowance = 0;
  if (meter != nullptr) meter->setValue(0);
  if (countLooseEnds() == 0) startSolved();
}

uint16_t GameScreen::countLooseEnds() {
  const uint16_t count = looseEdges(boardCodes()).count();
  solved = count == 0;
  if (looseEndsLabel != nullptr) {
    looseEndsLabel->setText(std::to_string(count));
    invalidate(looseEndsLabel->rect);
  }
  return count;
}

void GameScreen::chargeMove(uint16_t n) {
  allowance = rules::chargedAllowance(allowance, n, hints, scoring);
  if (scoring && meter != nullptr) meter->animateTo(allowance);
  ++moves;
}

void GameScreen::startSolved() {
  for (Tile* tile : tiles) {
    if (!tile->isEmpty() && tile->kind != TileKind::Fixed) tile->spinFullTurn();
  }
  showIf(boardLock, true);
  showIf(nextPuzzleButton, true);
  if (scoring && allowance > 0 && sound(Sfx::Twiddle) != nullptr) {
    sound(Sfx::Twiddle)->playLooping();
  }
  solvedAt = lastTransfer = GameClock::now();
}

// Every frame of the solved board: the tiles fade to half strength over a second, and the
// allowance drains into the score in about a second, whatever its size.
void GameScreen::updateSolved(uint32_t now) {
  const double fade = rules::solvedFade(now - solvedAt);
  for (Tile* tile : tiles) {
    // Set only on a change, so a board that has finished fading stops redrawing.
    if (tile->alpha > 0 && tile->alpha != fade) tile->setAlpha(fade);
  }
  if (!scoring || allowance == 0) return;
  const rules::Transfer step = rules::bonusStep(score, allowance, allowanceMax, now - lastTransfer);
  if (!step.stepped) return;
  lastTransfer = now;
  allowance = step.allowance;
  if (step.emptied && sound(Sfx::Twiddle) != nullptr) sound(Sfx::Twiddle)->stop();
  if (meter != nullptr) meter->setValue(allowance);
  setScore(step.score);
}

void GameScreen::setScore(uint16_t v) {
  score = v;
  if (scoreLabel != nullptr) {
    scoreLabel->setText(std::to_string(v));
    invalidate(scoreLabel->rect);
  }
}

// The rest of a draining bonus goes into the score at once.
void GameScreen::takeRestOfBonus() {
  if (!solved || !scoring) return;
  setScore(rules::addScore(score, allowance));
  allowance = 0;
  if (meter != nullptr) meter->setValue(0);
  if (sound(Sfx::Twiddle) != nullptr) sound(Sfx::Twiddle)->stop();
}

void GameScreen::newGame() {
  setScore(0);
  level = 0;
  nextPuzzle();
}

// ---- Option changes, applied when the options are confirmed.

void GameScreen::applyBombsOption() {
  if (bombs) return;
  for (Tile* tile : tiles) {
    if (tile->kind == TileKind::Bomb) tile->makePlain();
  }
}

void GameScreen::applyScoringOption() {
  const bool shown = scoreLabel != nullptr && scoreLabel->visible;
  if (scoring == shown) return;
  if (scoring) {
    newGame();
    showNextTip();
  }
  showIf(scoreLabel, scoring);
  showIf(meter, scoring);
  showIf(scoreBackground, scoring);
  showIf(newPuzzleButton, !scoring);
  showIf(newGameButton, scoring);
}

void GameScreen::applyHintsOption() {
  if (boardView != nullptr) boardView->setShowMarks(hints);
  showIf(helpButton, !hints);
  showIf(noHelpButton, hints);
  invalidate(layout::kScreen);
}
