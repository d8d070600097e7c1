// The end-to-end tests' hand on the settings store named by the environment (the same store the
// program opens).
//   prepare   a player in scoring play, in a window, without tutorial, with a small table and a
//             saved board one clockwise turn of its middle tile from solved;
//   open      the same player with a board no turn can solve: a straight line in the middle
//             cell, with fixed lines pointing at it from above and from the left;
//   rest      the same board, with the music at 0, no bombs and every tip seen: a game that
//             has nothing to do once its board has settled;
//   table     prints the high-score table, best first, one "score name" a line;
//   state     prints every stored value of the player, one "name value" a line ("none" when
//             the store holds no readable game), the saved board's loose ends, then the
//             locked cells.
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

// Whichever way the middle line turns, one of the fixed lines meets no end.
std::string neverSolved() {
  BoardCodes codes;
  codes.fill(TileCode(TileKind::Empty, 0));
  codes[31] = TileCode(TileKind::Fixed, line::Down);
  codes[39] = TileCode(TileKind::Fixed, line::Right);
  codes[40] = TileCode(TileKind::Plain, line::Left | line::Right);
  return encodeBoard(codes);
}

int prepare(platform::Store& store, std::string board, bool atRest = false) {
  Settings settings;
  settings.fullScreen = false;
  settings.scoring = true;
  settings.hints = false;
  settings.tutorial = false;
  settings.musicLevel = 0.25;
  settings.effectsLevel = 0.75;
  settings.game = SavedGame{0, 0, 0, 60, 60, 0, std::move(board)};
  settings.hsScores = {10, 20, 30, 40};
  settings.hsNames = {"Ann", "Ben", "Cy", "Di"};
  if (atRest) {
    settings.musicLevel = 0.0;
    settings.bombs = false;
    settings.tipsSeen = 0x7FFFFFFF;
  }
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

int state(platform::Store& store) {
  Settings s;
  const bool game = loadSettings(store, s);
  std::printf("options %d%d%d%d%d\n", s.fullScreen, s.scoring, s.bombs, s.hints, s.tutorial);
  std::printf("levels %u %u\n", storedLevel(s.musicLevel), storedLevel(s.effectsLevel));
  std::printf("difficulty %u\ntips %u\n", unsigned{s.difficulty}, unsigned{s.tipsSeen});
  if (!game) {
    std::printf("game none\n");
    return 0;
  }
  const SavedGame& g = s.game;
  std::printf("game %u %u\nscore %u\nallowance %u %u\nmoves %u\nboard %s\n",
              unsigned{g.puzzleIndex}, unsigned{g.level}, unsigned{g.score}, unsigned{g.allowance},
              unsigned{g.allowanceMax}, unsigned{g.moves}, g.board.c_str());
  // The loose ends of the saved board, counted by the game's own rule ("loose -" when the board
  // cannot be read).
  PuzzleRecord record;
  if (decodeBoard(record, g.board)) {
    std::printf("loose %u\n", unsigned{looseEdges(record.tiles).count()});
  } else {
    std::printf("loose -\n");
  }
  std::printf("locks");
  for (size_t cell = 0; cell < s.locks.size(); ++cell) {
    if (s.locks[cell]) std::printf(" %zu", cell);
  }
  std::printf("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc == 2 ? argv[1] : "";
  platform::FileStore store(platform::storeFoldersFromEnvironment());
  if (command == "prepare") return prepare(store, oneTurnFromSolved());
  if (command == "open") return prepare(store, neverSolved());
  if (command == "rest") return prepare(store, neverSolved(), true);
  if (command == "table") return table(store);
  if (command == "state") return state(store);
  std::fputs("usage: store_probe prepare|open|rest|table|state\n", stderr);
  return 2;
}
