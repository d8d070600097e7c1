// The pictures of the player's manual, taken from the game itself: the real game screen on
// the headless backend, built from the archive in the current folder, photographed in play,
// with hints, and solved, and each tile kind drawn by the game's own tile widget.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/game_clock.h"
#include "core/random.h"
#include "game/tile.h"
#include "gfx/display_window.h"
#include "gfx/image_cache.h"
#include "platform/headless/headless_backend.h"
#include "screens/game_screen.h"
#include "screens/layout.h"

namespace {

namespace fs = std::filesystem;

platform::HeadlessBackend* backend = nullptr;

// The tool's own window procedure: it only keeps the display window in the window's slot.
intptr_t keepSlot(platform::WindowId window, const platform::Message& message) {
  if (message.kind == platform::MessageKind::Create) {
    backend->setWindowSlot(window, message.client);
  }
  return 0;
}

// A layout with every kind of tile: a ring of plain tiles round a core of the others.
BoardCodes showcase() {
  BoardCodes codes;
  codes.fill(TileCode(TileKind::Empty, 0));
  const char* rows[] = {
      ".........",  //
      "..ppppp..",  //
      ".ppspkpp.",  //
      ".pkpfpsp.",  //
      ".pppbppp.",  //
      ".psppfkp.",  //
      ".ppkspsp.",  //
      "..ppppp..",  //
      ".........",
  };
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    switch (rows[cell / 9][cell % 9]) {
      case 'p':
        codes[cell] = TileCode(TileKind::Plain, 0);
        break;
      case 's':
        codes[cell] = TileCode(TileKind::Sliding, 0);
        break;
      case 'f':
        codes[cell] = TileCode(TileKind::Fixed, 0);
        break;
      case 'k':
        codes[cell] = TileCode(TileKind::Linked, 0);
        break;
      case 'b':
        codes[cell] = TileCode(TileKind::Bomb, 0);
        break;
      default:
        break;
    }
  }
  return codes;
}

class Photographer {
 public:
  explicit Photographer(fs::path folder) : folder_(std::move(folder)) {}

  // Runs frames up to game time t.
  void runTo(GameScreen& screen, uint32_t t) {
    while (backend->now < t) {
      backend->now += 10;
      screen.update(GameClock::now());
    }
  }

  // The part of the picture now on the screen, as a PNG.
  bool take(GameScreen& screen, const std::string& name, Rect part = layout::kScreen) {
    DisplayWindow& picture = *screen.displayWindow;
    screen.draw(picture, layout::kScreen);
    backend->present(picture.windowHandle(), picture.pixelAddress(part.left, part.top),
                     static_cast<int>(picture.pitch()), part.width(), part.height());
    return report(backend->writeLastFrame((folder_ / name).string()), name);
  }

  // One row of tiles of a kind, every shape, on the board's colour.
  bool tiles(GameScreen& screen, TileKind kind, const std::string& name) {
    const uint8_t shapes[] = {1, 3, 5, 7, 15};
    Image row(5 * 60 + 10, 70, 24);
    const Rect all(0, 0, row.width, row.height);
    row.fillRect(all, {24, 62, 72}, all, 1.0);
    for (int i = 0; i < 5; ++i) {
      Tile tile(screen.tileFont, Rect(10 + 60 * i, 10, 60 + 60 * i, 60), 0);
      tile.setContent(TileCode(kind, shapes[i]));
      if (kind == TileKind::Bomb && i == 1) tile.setFuse(7500);  // the countdown shows
      tile.draw(row, all);
    }
    backend->present(screen.displayWindow->windowHandle(), row.pixels,
                     static_cast<int>(row.pitch()), row.width, row.height);
    return report(backend->writeLastFrame((folder_ / name).string()), name);
  }

 private:
  static bool report(bool ok, const std::string& name) {
    if (!ok) std::fprintf(stderr, "manual_pictures: could not write %s\n", name.c_str());
    return ok;
  }
  fs::path folder_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: manual_pictures OUTPUT-FOLDER (run beside gyrotide.zap)\n", stderr);
    return 2;
  }
  const fs::path folder = argv[1];
  fs::create_directories(folder);
  if (getImage(layout::kBackground.picture)->width == 0) {
    std::fputs("manual_pictures: no background.png; is gyrotide.zap in this folder?\n", stderr);
    return 1;
  }
  platform::HeadlessBackend headless;
  headless.audioAvailable = false;  // pictures only
  backend = &headless;
  platform::setBackend(&headless);
  platform::WindowClass windowClass;
  windowClass.name = kWindowClassName;
  windowClass.proc = keepSlot;
  headless.registerClass(windowClass);
  seedRandom(2055);

  bool ok = true;
  {
    auto screen = std::make_unique<GameScreen>("");
    screen->scoring = true;
    screen->loadResources();
    const BoardCodes layout = showcase();
    for (int32_t cell = 0; cell < board::kCells; ++cell) {
      screen->tiles[cell]->setContent(layout[cell]);
    }
    screen->dealBoard();
    screen->scramble();
    screen->setScore(1250);
    screen->tiles[40]->setFuse(7400);  // the bomb in the middle counts down
    Photographer camera(folder);
    camera.runTo(*screen, 100);
    ok &= camera.take(*screen, "screen.png");
    ok &= camera.take(*screen, "controls.png", Rect(0, 0, 180, 480));

    screen->hints = true;
    screen->applyHintsOption();
    camera.runTo(*screen, 200);
    ok &= camera.take(*screen, "hints.png", Rect(177, 0, 640, 480));

    // Dealt again without a scramble the board has no loose end: solved, with the bonus
    // half drained into the score.
    for (int32_t cell = 0; cell < board::kCells; ++cell) {
      screen->tiles[cell]->setContent(layout[cell]);
    }
    screen->hints = false;
    screen->applyHintsOption();
    screen->dealBoard();
    screen->allowance = screen->allowanceMax;
    screen->countLooseEnds();
    screen->startSolved();
    camera.runTo(*screen, backend->now + 500);
    ok &= camera.take(*screen, "solved.png");

    ok &= camera.tiles(*screen, TileKind::Plain, "tiles-plain.png");
    ok &= camera.tiles(*screen, TileKind::Fixed, "tiles-fixed.png");
    ok &= camera.tiles(*screen, TileKind::Sliding, "tiles-sliding.png");
    ok &= camera.tiles(*screen, TileKind::Linked, "tiles-linked.png");
    ok &= camera.tiles(*screen, TileKind::Bomb, "tiles-bomb.png");
  }
  platform::setBackend(nullptr);
  return ok ? 0 : 1;
}
