#pragma once

#include <string>

// The application body: checks the archive, builds the game screen, restores the saved game,
// chooses the first board, runs the loop and tears everything down (saving on the way).
int appMain(const std::string& commandLine);

using AppBody = int (*)(const std::string& commandLine);

// The process entry: registers the window class, seeds the random sequence and runs the body
// inside the handler that turns escaping failures into a message box and exit code 1.
int entry(const std::string& commandLine, AppBody body = appMain);

class GameScreen;

// The board the player sees first: the starter board without a saved game; a restored game is
// moved on from when solved, replaced by a new game when its allowance is spent, and otherwise
// played on as it was.
void chooseFirstBoard(GameScreen& screen, bool restored);

// Registers the class of the main window ("ZapWindow") with the window procedure.
void registerWindowClass();

// The caption of every message box the entry shows.
inline constexpr const char* kAppCaption = "Gyromania";
inline constexpr const char* kMissingArchiveText =
    "Gyromania can't find the resource file 'gyrotide.zap'!";
inline constexpr const char* kUnrecoverableText = "Sorry, an unrecoverable error has occurred.";
