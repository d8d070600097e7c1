#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/board.h"
#include "game/board_cursor.h"
#include "game/board_code.h"
#include "game/history.h"
#include "game/locks.h"
#include "game/tile.h"
#include "screens/high_score_popup.h"
#include "screens/layout.h"
#include "ui/screen.h"

class BitmapFont;
class BoardView;
class Button;
class Dialog;
class Label;
class Meter;
class Picture;
class Sound;
namespace keys {
enum class Action : uint8_t;
}

// The game's sound effects, each loaded once and started again from its beginning when played.
enum class Sfx : uint8_t {
  Hiss,        // the pointer entered a button
  Pop,         // a button went down
  Snap,        // a tile turned; a drop that swapped nothing
  Ratchet,     // the linked tiles turned
  Swap,        // two sliding tiles swapped
  Clank,       // a click on a fixed tile
  Swirl,       // a new puzzle or a new game
  Twiddle,     // looping while the bonus drains into the score
  Explode,     // an explosion where a blast hit
  ExplodeBig,  // an explosion where a bomb went off
  Bloop,       // a click on a pop-up outside its controls
};
inline constexpr size_t kSfxCount = 11;
inline constexpr std::array<const char*, kSfxCount> kSfxNames = {
    "hiss.ogg",  "pop2.ogg",    "snap2.ogg",   "ratchet4.ogg",    "swap.ogg", "clank.ogg",
    "swirl.ogg", "twiddle.ogg", "explode.ogg", "explode-big.ogg", "bloop.ogg"};

// The one screen of the game: the board of 81 tiles, the controls down the left, the
// loose-ends counter, the score and the allowance meter. It owns the game state, applies the
// rules (game/rules.h) to it and brings its widgets up to date, and it hears every
// notification any widget posts.
//
// The code is split by concern: game_screen.cpp builds, draws and tears down;
// game_screen_rules.cpp holds the game operations; game_screen_notify.cpp the reactions to
// notifications; game_screen_popups.cpp the pop-ups and the manual; game_screen_tutorial.cpp
// the instructions and the tutorial tips; game_screen_aids.cpp the locks, undo and redo, and
// which way each button turns; game_screen_keys.cpp the keyboard.
class GameScreen : public Screen {
 public:
  explicit GameScreen(const std::string& commandLine);
  ~GameScreen() override;

  bool update(uint32_t now) override;
  // Every frame while the solved board fades or its bonus drains; otherwise the widgets'.
  uint32_t nextChange(uint32_t now) override;
  void draw(Image& target, const Rect& clip) override;
  void show() override;
  void hide() override;
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override;
  // Closing the window is always allowed.
  bool onClose() override { return true; }
  // The keys of keys::kBindings the focus widget and the pop-up left: each does what the
  // mouse action it stands for does.
  bool onKeyDown(uint32_t key, uint32_t modifiers) override;

  // Loads the options and the game in progress; true when a saved game was restored.
  bool loadSettings();
  bool saveSettings();
  // The codes of the 81 tiles as they stand.
  BoardCodes boardCodes() const;
  // Fonts, the puzzle file, the pictures kept for the run, the sounds and the controls.
  void loadResources();

  // The game's operations: each calls the rules, then updates tiles, labels and meter.
  // The starter board: a lone plain tile in a ring of fixed ones.
  void resetBoard();
  // Random lines that fit together; false (the tiles untouched) when the board cannot be dealt.
  bool dealBoard();
  // Disturbs the dealt board and sets the allowance; false when nothing could disturb it.
  bool scramble();
  // Counts the loose ends, shows the count and sets `solved`.
  uint16_t countLooseEnds();
  void chargeMove(uint16_t n);
  void startSolved();
  void setScore(uint16_t v);
  // A new puzzle of the current difficulty; score and level stay.
  void nextPuzzle();
  void newGame();
  // Puts a puzzle (or a restored board) on the tiles and presses its difficulty's button.
  void applyRecord(const PuzzleRecord& record);
  // Reads the archive's puzzle file into the four lists.
  void readPuzzleFile();

  // The consequences of the options, applied when the options are confirmed.
  // Bombs off: every bomb on the board becomes plain.
  void applyBombsOption();
  // Shows or hides the score, its backing and the meter, and swaps new puzzle for new game;
  // switching scoring on starts a new game.
  void applyScoringOption();
  // The red marks and which of help and no help is shown.
  void applyHintsOption();

  // The game in progress ends: a scored game's score is offered to the table, once (never
  // again until a new game begins). True when the name pop-up opened; the next step (a new
  // game, unless `newGameFollows` is false) then waits for the name.
  bool endGame(bool scored, bool newGameFollows = true);

  // Pop-ups. Each returns the dialog it opened, or null when there is none to show.
  // A pop-up asking for the name of a new high score, or null when the score does not qualify
  // (or was offered already).
  Dialog* offerHighScore();
  // The next tutorial tip, opened as the pop-up; null when none is due.
  Dialog* showNextTip();
  Dialog* makeOptionsScreen();
  Dialog* makeInstructionsScreen();
  // Opens the player's manual in the browser, out of full screen first.
  void openManual();

  // The player's aids beyond turning and sliding; the mouse and the keyboard both come here.
  // Locks or unlocks the tile (with the whole linked group for a linked tile). Free: never a
  // move. Nothing happens to a fixed tile or a hole, to a board under a pop-up, a dragged tile
  // or a solved board.
  void toggleLock(int cell);
  void unlockAll();
  bool isLocked(int cell) const;
  // Takes back the player's latest move on the board, or makes the latest undone one again.
  // Each is a move of its own, charged like one, and sounds, animates and may solve the board
  // like one. False when there is nothing to take back (or make again), the board is solved or
  // under a pop-up or a drag, or the move would turn a locked tile.
  bool undo();
  bool redo();
  // What a click of the button (without a drag) does to the tile in the cell, with the buttons
  // as the player has set them: a locked or fixed tile clanks, any other turns.
  void clickTile(int cell, TurnButton button);
  // Which way each button turns the board's tiles, applied when the options are confirmed.
  void applyButtonsOption();

  // Shift with the left button, or the middle button, locks; a locked tile only clanks. A
  // click on the board hides the keyboard's cursor.
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onRightDown(int32_t x, int32_t y, int32_t flags) override;
  bool onMiddleDown(int32_t x, int32_t y, int32_t flags) override;

  std::array<Tile*, board::kCells> tiles{};
  Tile* dragTile = nullptr;
  Picture* background = nullptr;
  BitmapFont* numberFont = nullptr;
  BitmapFont* tileFont = nullptr;
  BitmapFont* smallFont = nullptr;
  Label* looseEndsLabel = nullptr;
  Picture* scoreBackground = nullptr;
  Label* scoreLabel = nullptr;
  Meter* meter = nullptr;
  // The high-score name field and the row its score went into, while its pop-up is open.
  HighScoreEntry nameEntry;
  std::array<Button*, 4> difficultyButtons{};
  Button* newPuzzleButton = nullptr;
  Button* newGameButton = nullptr;
  Button* nextPuzzleButton = nullptr;
  Dialog* boardLock = nullptr;
  Button* helpButton = nullptr;
  Button* noHelpButton = nullptr;
  BoardView* boardView = nullptr;
  BoardCursor cursor;
  // The sliding tile the keyboard picked up, while it is carried.
  Tile* carriedTile = nullptr;
  std::array<Sound*, kSfxCount> sounds{};

  uint8_t difficulty = 0;  // 0 easy, 1 medium, 2 hard, 3 crazy
  uint16_t puzzleIndex = 0;
  uint16_t level = 0;
  uint16_t score = 0;
  uint16_t allowance = 0;
  uint16_t allowanceMax = 0;
  uint16_t moves = 0;
  uint32_t lastTransfer = 0;
  std::array<uint16_t, 4> hsScores{};
  std::array<std::string, 4> hsNames;
  // This game's score went to the table: the game is over, and a new game clears it.
  bool scoreOffered = false;
  // The table was reset in this run: it replaces the shared one instead of joining it.
  bool hsReset = false;
  bool fullScreen = false;
  bool scoring = false;
  bool bombs = true;
  bool tutorial = false;
  bool hints = false;
  bool leftTurnsBack = false;  // the left button turns counter-clockwise, the right clockwise
  uint32_t tipsSeen = 0;
  bool solved = false;
  uint32_t solvedAt = 0;
  // A board tile's turn came to rest under a pop-up: the board is counted when it has gone.
  bool restUnderPopup = false;
  std::array<std::vector<PuzzleRecord>, kDifficultyCount> puzzleLists;
  LockSet locked;                // the tiles the player has locked
  history::History moveHistory;  // the player's moves on this puzzle, for undo and redo

 private:
  void createChildren();
  Button* addButton(const layout::Placed& placed, bool shown = true);
  // Shows or hides a control and redraws the place it leaves or takes.
  void showIf(Widget* w, bool shown);
  void playSound(Sfx which);
  Sound* sound(Sfx which) const { return sounds[static_cast<size_t>(which)]; }
  void putCodes(const BoardCodes& codes);
  // The dragged tile while its drag lasts; null (and forgotten) once the tile is gone.
  Tile* liveDragTile();
  // Deals and scrambles, dealing afresh (within a bound) while the scramble leaves no loose
  // end. False when the board could not be made playable.
  bool dealAndScramble();
  void settleUnplayableBoard();
  void updateSolved(uint32_t now);
  // The cell under a click the board takes (in play, nothing over it), or -1.
  int32_t cellTakingClick(int32_t x, int32_t y) const;
  bool boardTakesMoves() const;
  void setLocks(const LockSet& next);
  // A fresh board: no locks and nothing to undo.
  void forgetAids();
  // A tile a blast turned: its lock comes off, and no move before it can be taken back.
  void afterBlastTurned(int32_t cell);
  void recordMove(uint16_t sender, uint32_t code);
  void swapCells(Tile& dragged, Tile& target);
  // Takes back the latest move, or makes the latest undone one again, when the board allows.
  bool stepThroughHistory(bool forward);
  // Makes a move from the history on the tiles, like the player's own.
  void replay(const history::Move& m);
  bool replaying_ = false;  // a move from the history is being made: not recorded again
  // The tip about the lock, once the player has made a few moves on a puzzle.
  void offerLockTip(int32_t cell);
  void takeRestOfBonus();

  // The keyboard (game_screen_keys.cpp).
  bool runKey(keys::Action action, bool repeat);
  bool runPopupKey(keys::Action action);
  bool runBoardKey(keys::Action action);
  bool runDesktopKey(keys::Action action);
  void moveCursor(int32_t dx, int32_t dy);
  void hideCursor();
  // The tile the keyboard carries; null (and forgotten) once it is down.
  Tile* carried();
  // Carrying: the tile over the cursor's cell, lifted a little off the board.
  void hangCarried();
  void dropCarried();
  void putCarriedBack();
  // Clicks the game screen's shown control with this id, as the mouse would.
  bool clickControl(uint16_t controlId);

  // Notification steps, in the order they run.
  void onDrag(uint16_t sender, uint32_t code, int32_t value);
  void onRotationEnd(uint16_t sender);
  void playSoundFor(uint16_t sender, uint32_t code);
  void onBlast(uint16_t sender, uint32_t code, int32_t value);
  void turnLinkedGroup();
  void showExplosion(const Tile& hit, uint32_t code);
  bool onClicked(uint16_t sender);
  void onOptionChanged(uint16_t sender, int32_t value);
  void startNewGameFromButton();
  void toggleHints();
  void confirmOptions();
  // The table of the reset button; the typed name into the row where its score went.
  void resetHighScores();
  void storeHighScoreName();
  Dialog* offerScore(bool scored);
};
