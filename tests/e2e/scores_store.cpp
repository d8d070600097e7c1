// The end-to-end test's hand on the settings store named by the environment (the same store the
// program opens). "prepare" leaves a player in scoring play, in a window, without tutorial,
// with a small table and a saved board one clockwise turn of its middle tile from solved;
// "table" prints the high-score table, best first, one "score name" a line.
#include <cstdio>
#include <string>

#include "game/board_code.h"
#include "game/tile_code.h"
#include "platform/store.h"
#include "store/settings.h"

namespace {

// The middle tile's line points left and must point up, to the fixed tile above it.
std::string oneTurnFromSolved() {
  BoardCodes codes;
  codes.fill(TileCode(TileKind::Empty, 0));
  codes[31] = TileCode(TileKind::Fixed, line::Down);
  codes[40] = TileCode(TileKind::Plain, line::Left);
  return encodeBoard(codes);
}

int prepare(platform::Store& store) {
  Settings settings;
  settings.fullScreen = false;
  settings.scoring = true;
  settings.hints = false;
  settings.tutorial = false;
  settings.game = SavedGame{0, 0, 0, 60, 60, 0, oneTurnFromSolved()};
  settings.hsScores = {10, 20, 30, 40};
  settings.hsNames = {"Ann", "Ben", "Cy", "Di"};
  return saveSettings(store, settings) ? 0 : 1;
}

int table(platform::Store& store) {
  Settings settings;
  loadSettings(store, settings);
  for (int i = 3; i >= 0; --i) {
    std::printf("%u %s\n", unsigned{settings.hsScores[i]}, settings.hsNames[i].c_str());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 2 ? argv[1] : "";
  platform::FileStore store(platform::storeFoldersFromEnvironment());
  if (command == "prepare") return prepare(store);
  if (command == "table") return table(store);
  std::fputs("usage: scores_store prepare|table\n", stderr);
  return 2;
}
