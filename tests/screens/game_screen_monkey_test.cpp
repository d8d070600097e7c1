// A monkey at the mouse and keyboard: random clicks, drags, right clicks, characters, trips to
// the background, waits and close requests through the window's message queue. After every
// event the game must still hold together: the loose-ends label tells the truth once the
// board is at rest, the allowance stays within its maximum and the score never falls within
// a game. The sanitizer build watches for crashes and leaks meanwhile.
//
// GYROTIDE_MONKEY_RUNS and GYROTIDE_MONKEY_EVENTS set the length (100 runs of 10,000 events
// for a long soak); the default is a short run for every build.
#include <cstdlib>
#include <random>
#include <utility>

#include "screens/game_screen_fixture.h"

namespace {

int fromEnvironment(const char* name, int fallback) {
  const char* text = std::getenv(name);
  const int value = text != nullptr ? std::atoi(text) : 0;
  return value > 0 ? value : fallback;
}

// Layouts with every kind of tile, bombs among them.
std::vector<PuzzleRecord> monkeyLayouts() {
  const char* maps[] = {
      "..........ppsp.....pkfbp....psppk.....pppp.........................................",
      "...........pppppp..pspbsp..pkfkp...ppppps..........................................",
      "......................bpppb....psps.....kfk.....pppp...............................",
      // Small enough for random clicks to solve now and then.
      "..............................pp.........s......s..................................",
      "...................................ksk....b........................................",
  };
  std::vector<PuzzleRecord> records;
  for (const char* map : maps) {
    PuzzleRecord record;
    for (int32_t cell = 0; cell < 81; ++cell) {
      TileKind kind = TileKind::Empty;
      switch (map[cell]) {
        case 'p':
          kind = TileKind::Plain;
          break;
        case 's':
          kind = TileKind::Sliding;
          break;
        case 'f':
          kind = TileKind::Fixed;
          break;
        case 'k':
          kind = TileKind::Linked;
          break;
        case 'b':
          kind = TileKind::Bomb;
          break;
        default:
          break;
      }
      record.tiles[cell] = TileCode(kind, 0);
    }
    records.push_back(record);
  }
  return records;
}

}  // namespace

class MonkeyTest : public GameScreenTest {
 protected:
  using K = platform::MessageKind;

  int32_t anyX() { return std::uniform_int_distribution<int32_t>(-20, 660)(random_); }
  int32_t anyY() { return std::uniform_int_distribution<int32_t>(-20, 500)(random_); }
  // A point on a tile most of the time, anywhere on the board otherwise.
  std::pair<int32_t, int32_t> boardPoint() {
    std::vector<int32_t> filled;
    for (int32_t cell = 0; cell < 81; ++cell) {
      if (!screen->tiles[cell]->isEmpty()) filled.push_back(cell);
    }
    std::uniform_int_distribution<int32_t> inCell(2, 47);
    if (!filled.empty() && chance(0.8)) {
      const Rect r = board::cellRect(filled[random_() % filled.size()]);
      return {r.left + inCell(random_), r.top + inCell(random_)};
    }
    return {std::uniform_int_distribution<int32_t>(180, 629)(random_),
            std::uniform_int_distribution<int32_t>(10, 459)(random_)};
  }
  bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

  bool turning() const {
    for (Tile* t : screen->tiles) {
      if (t->sprite && t->sprite->currentCount() != t->sprite->targetCount()) return true;
    }
    return false;
  }
  // Frames until every turn has come to rest (a visible screen only runs frames).
  void settle() {
    for (int i = 0; i < 200 && screen->visible && turning(); ++i) runFor(20, 20);
  }

  // One random event; false when it ended the run (quit or the window closed).
  bool event() {
    const double what = std::uniform_real_distribution<double>(0, 1)(random_);
    auto [x, y] = chance(0.75) ? boardPoint() : std::pair{anyX(), anyY()};
    if (what < 0.30) {
      mouse(K::MouseMove, x, y);
      mouse(K::LeftDown, x, y);
      mouse(K::LeftUp, x, y);
    } else if (what < 0.45) {
      mouse(K::RightDown, x, y);
      mouse(K::RightUp, x, y);
    } else if (what < 0.60) {
      mouse(chance(0.8) ? K::LeftDown : K::RightDown, x, y);
      for (int i = 0; i < 3; ++i) mouse(K::MouseMove, anyX(), anyY());
      if (chance(0.1)) runFor(100);  // a frame or two with the tile in the air
      mouse(chance(0.8) ? K::LeftUp : K::RightUp, anyX(), anyY());
    } else if (what < 0.70) {
      mouse(K::MouseMove, x, y);
    } else if (what < 0.75) {
      backend.send(K::Char, std::uniform_int_distribution<uint32_t>(0, 255)(random_));
      pump();
    } else if (what < 0.78) {
      backend.send(K::ActivateApp, screen->visible ? 0 : 1);
      pump();
    } else if (what < 0.78005) {
      backend.send(K::Close);
      pump();
      return false;
    } else {
      // Time passes: fuses burn, bonuses drain, explosions play out.
      if (screen->visible) runFor(std::uniform_int_distribution<uint32_t>(10, 4000)(random_), 50);
    }
    // The quit button would end the program; the monkey plays on.
    running = true;
    return true;
  }

  void check(uint16_t& lastScore) {
    ASSERT_LE(screen->allowance, screen->allowanceMax);
    // Only a new game takes the score back, and it starts from 0.
    ASSERT_TRUE(screen->score >= lastScore || screen->score == 0)
        << lastScore << " fell to " << screen->score;
    lastScore = screen->score;
    if (screen->visible && !turning()) {
      ASSERT_EQ(looseEndsText(), std::to_string(referenceLooseEnds()));
    }
  }

  std::mt19937 random_;
};

TEST_F(MonkeyTest, RandomPlayKeepsTheGameWhole) {
  const int runs = fromEnvironment("GYROTIDE_MONKEY_RUNS", 3);
  const int events = fromEnvironment("GYROTIDE_MONKEY_EVENTS", 1500);
  for (int run = 0; run < runs; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    random_.seed(static_cast<uint32_t>(run) * 7919u + 13u);
    seedRandom(static_cast<uint32_t>(run) + 1);
    start(run % 2 == 0, run % 3 == 0);
    running = true;
    for (auto& list : screen->puzzleLists) list = monkeyLayouts();
    uint16_t lastScore = screen->score;
    for (int i = 0; i < events; ++i) {
      const bool goesOn = event();
      settle();
      check(lastScore);
      if (HasFatalFailure() || !goesOn) break;
    }
    if (HasFatalFailure()) return;
    screen.reset();
  }
}
