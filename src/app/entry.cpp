#include "app/entry.h"

#include <cstdlib>
#include <memory>

#include "app/game_clock.h"
#include "app/run_loop.h"
#include "game/game_screen.h"
#include "gfx/display_window.h"
#include "platform/platform.h"
#include "res/resource_archive.h"

namespace {

void chooseFirstBoard(GameScreen& screen, bool restored) {
  if (!restored) {
    screen.resetBoard();
  } else if (screen.countLooseEnds() == 0 && screen.allowance == 0) {
    screen.nextPuzzle();
  } else if (screen.allowance == 0) {
    screen.newGame();
  }
}

}  // namespace

void registerWindowClass() {
  platform::WindowClass windowClass;
  windowClass.name = kWindowClassName;
  windowClass.proc = windowProc;
  windowClass.redrawOnResize = true;
  platform::backend().registerClass(windowClass);
}

int entry(const std::string& commandLine, AppBody body) {
  registerWindowClass();
  std::srand(GameClock::now());
  try {
    return body(commandLine);
  } catch (const char* text) {
    platform::backend().messageBox(text != nullptr ? text : "", kAppCaption);
  } catch (...) {
    platform::backend().messageBox(kUnrecoverableText, kAppCaption);
  }
  return 1;
}

int appMain(const std::string& commandLine) {
  if (resourceArchive == nullptr || !resourceArchive->isOpen()) {
    platform::backend().messageBox(kMissingArchiveText, kAppCaption);
    return 0;
  }
  // Destroyed on every way out, failures included, so the game is saved before any message.
  auto screen = std::make_unique<GameScreen>(commandLine);
  bool restored = screen->loadSettings();
  screen->loadResources();
  chooseFirstBoard(*screen, restored);
  int result = runLoop(*screen);
  screen.reset();
  return result;
}
