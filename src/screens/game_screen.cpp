#include "screens/game_screen.h"

#include "audio/sound_system.h"
#include "core/game_clock.h"
#include "game/board_view.h"
#include "game/tile.h"
#include "gfx/image_cache.h"
#include "ui/button.h"
#include "ui/dialog.h"
#include "ui/label.h"
#include "ui/meter.h"
#include "ui/picture.h"

namespace {

constexpr const char* kCaption = "Gyrotide";
constexpr const char* kMusicFile = "music.zap";
constexpr const char* kTileFont = "tovy29.png";
constexpr const char* kNumberFont = "tovynum.png";
constexpr const char* kSmallFont = "tovy13.png";
constexpr Colour kLabelInk{0, 0, 0};
constexpr uint16_t kMeterRange = 100;

// Pictures the pop-ups and explosions use later, loaded now and kept, their corner colour
// made transparent once for all their users.
constexpr const char* kKeptPictures[] = {"newhigh.png", "next.png",   "okay.png",
                                         "blast1.png",  "blast2.png", "medium.png"};

void keyFromCorner(const char* name) {
  Image* image = getImage(name);
  if (image != nullptr && image->pixels != nullptr) image->setKeyFromCorner();
}

}  // namespace

GameScreen::GameScreen(const std::string& commandLine) : Screen(commandLine, kCaption) {
  tileFont = getFont(kTileFont);
  tileFont->setFirstChar(32);
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    Tile* tile = new Tile(tileFont, board::cellRect(cell), board::idOfCell(cell));
    tile->fromByte(TileCode(TileKind::Empty, 0).byte);
    tiles[cell] = tile;
    addChild(tile);
  }
}

GameScreen::~GameScreen() {
  saveSettings();
  releaseFont(numberFont);
  releaseFont(tileFont);
  releaseFont(smallFont);
  numberFont = tileFont = smallFont = nullptr;
  sounds.fill(nullptr);  // the sound system owns them and goes with the Screen
  if (soundSystem != nullptr) soundSystem->stopMusic();
}

void GameScreen::loadResources() {
  numberFont = getFont(kNumberFont);
  numberFont->setFirstChar('0');
  smallFont = getFont(kSmallFont);
  smallFont->setSpacing(0);
  smallFont->setFirstChar(32);
  readPuzzleFile();
  for (const char* name : kKeptPictures) keyFromCorner(name);
  for (size_t i = 0; i < kSfxCount; ++i) sounds[i] = loadSound(kSfxNames[i]);
  createChildren();
  showNextTip();
}

Button* GameScreen::addButton(const layout::Placed& placed, bool shown) {
  auto* button = new Button(placed.x, placed.y, placed.picture, placed.id);
  if (!shown) button->hide();
  addChild(button);
  return button;
}

// Bottom to top: the order decides what is drawn over what, and what is offered a click first.
void GameScreen::createChildren() {
  background = new Picture(layout::kBackground.x, layout::kBackground.y,
                           layout::kBackground.picture, layout::kBackground.id);
  addChildAtBottom(background);  // the tiles are already there

  boardLock = new Dialog();
  boardLock->hide();
  addChild(boardLock);

  boardView = new BoardView(tiles, &locked);
  boardView->setShowMarks(hints);
  addChild(boardView);

  looseEndsLabel = new Label(layout::kLooseEndsLabel, numberFont, kLabelInk, "0", 0);
  looseEndsLabel->alignCentre();
  addChild(looseEndsLabel);
  countLooseEnds();

  scoreBackground = new Picture(layout::kScoreBackground.x, layout::kScoreBackground.y,
                                layout::kScoreBackground.picture, layout::kScoreBackground.id);
  showIf(scoreBackground, scoring);
  addChild(scoreBackground);

  scoreLabel = new Label(layout::kScoreLabel, numberFont, kLabelInk, "0", 0);
  scoreLabel->alignCentre();
  showIf(scoreLabel, scoring);
  addChild(scoreLabel);
  setScore(score);

  meter = new Meter(layout::kMeter, 0, kMeterRange, layout::kMeterBack, layout::kMeterFront,
                    layout::kMeterId, true);
  meter->setMax(allowanceMax);
  meter->setValue(allowance);
  showIf(meter, scoring);
  addChild(meter);

  for (uint8_t d = 0; d < difficultyButtons.size(); ++d) {
    Button* button = addButton(layout::kDifficulties[d]);
    button->setToggle(true);
    button->setGroup(layout::kDifficultyGroup);
    button->setDown(difficulty == d);
    difficultyButtons[d] = button;
  }
  addButton(layout::kInstructions);
  newPuzzleButton = addButton(layout::kNewPuzzle, !scoring);
  newGameButton = addButton(layout::kNewGame, scoring);
  helpButton = addButton(layout::kHelp, !hints);
  noHelpButton = addButton(layout::kNoHelp, hints);
  addButton(layout::kOptions);
  addButton(layout::kQuit);
  keyFromCorner(layout::kNextPuzzle.picture);
  nextPuzzleButton = addButton(layout::kNextPuzzle, false);
  addButton(layout::kWeb);
}

// ---- Frames.

bool GameScreen::update(uint32_t now) {
  // Started on the first frame, and again whenever it has stopped.
  if (visible && soundSystem != nullptr && !soundSystem->isMusicOpen()) {
    soundSystem->playMusic(kMusicFile);
  }
  if (restUnderPopup && popup == nullptr) {
    restUnderPopup = false;
    onRotationEnd(0);
  }
  if (solved) updateSolved(now);
  return Screen::update(now);
}

uint32_t GameScreen::nextChange(uint32_t now) {
  if (solved) {
    const bool fading = rules::solvedFade(now - solvedAt) > rules::solvedFade(UINT32_MAX / 2);
    if (fading || (scoring && allowance > 0)) return 0;
  }
  return Screen::nextChange(now);
}

void GameScreen::draw(Image& target, const Rect& clip) {
  Screen::draw(target, clip);
  // Once more on top of everything, so a dragged tile floats over buttons and labels.
  if (Tile* dragged = liveDragTile()) {
    Rect own = dragged->rect;
    own.intersect(layout::kScreen);
    if (!own.isEmpty()) dragged->draw(target, own);
  }
  // A tile the keyboard carries keeps its cursor in sight.
  if (carried() != nullptr && boardView != nullptr) boardView->drawCursor(target, layout::kScreen);
}

Tile* GameScreen::liveDragTile() {
  if (dragTile != nullptr && dragTile != Tile::dragged()) dragTile = nullptr;
  return dragTile;
}

// The application went to the background: the board shows only its outlines, a drag ends
// where it began, and the music waits.
void GameScreen::hide() {
  if (liveDragTile() != nullptr) {
    dragTile->returnToDragOrigin();
    dragTile = nullptr;
  }
  for (Tile* tile : tiles) tile->hide();
  if (boardView != nullptr) boardView->hide();
  if (soundSystem != nullptr) soundSystem->pauseMusic();
  Screen::hide();
}

void GameScreen::show() {
  for (Tile* tile : tiles) tile->show();
  if (boardView != nullptr) boardView->show();
  if (soundSystem != nullptr) soundSystem->resumeMusic();
  Screen::show();
}

// ---- Small helpers shared by the other parts.

void GameScreen::playSound(Sfx which) { restartSound(sound(which)); }

BoardCodes GameScreen::boardCodes() const {
  BoardCodes codes;
  for (size_t cell = 0; cell < codes.size(); ++cell) codes[cell] = tiles[cell]->code();
  return codes;
}

