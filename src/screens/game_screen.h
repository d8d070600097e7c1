#pragma once

#include <cstdint>
#include <string>

#include "ui/screen.h"

// The one screen of the game: the board, the controls and the game state. For now it holds
// the state the start-up sequence reads and the operations it calls.
class GameScreen : public Screen {
 public:
  explicit GameScreen(const std::string& commandLine);
  ~GameScreen() override;

  bool onClose() override { return true; }

  // Loads the options and the game in progress; true when a saved game was restored.
  bool loadSettings();
  void saveSettings();
  // Loads fonts, sounds, the puzzle file and the controls.
  void loadResources();
  // The first board of a player without a saved game.
  void resetBoard();
  void nextPuzzle();
  void newGame();
  uint16_t countLooseEnds();

  uint16_t allowance = 0;
};
