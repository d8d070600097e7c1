#include "screens/game_screen.h"

namespace {
constexpr const char* kCaption = "Gyrotide";
}

GameScreen::GameScreen(const std::string& commandLine) : Screen(commandLine, kCaption) {}

GameScreen::~GameScreen() { saveSettings(); }

bool GameScreen::loadSettings() { return false; }

void GameScreen::saveSettings() {}

void GameScreen::loadResources() {}

void GameScreen::resetBoard() {}

void GameScreen::nextPuzzle() {}

void GameScreen::newGame() {}

uint16_t GameScreen::countLooseEnds() { return 0; }
