#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "audio/sound_system.h"
#include "core/game_clock.h"
#include "core/random.h"
#include "game/board_view.h"
#include "game/tile.h"
#include "gfx/animated_image.h"
#include "gfx/display_window.h"
#include "gfx/image.h"
#include "gfx/image_cache.h"
#include "res/resource_archive.h"
#include "res/test_files.h"
#include "screens/game_screen.h"
#include "screens/layout.h"
#include "support/boards.h"
#include "support/headless_fixture.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/meter.h"
#include "ui/picture.h"

// The game screen built from the archive the build packed, with the music beside it in a
// fresh current folder, on the headless backend. Input goes through the window's message
// queue as the player's mouse would; frames run on the game clock the test sets.
class GameScreenTest : public HeadlessTest {
 protected:
  static ResourceArchive& builtArchive() {
    static ResourceArchive built((std::string(GYROTIDE_BINARY_DIR) + "/gyrotide.zap").c_str());
    return built;
  }

  // The game's image cache is the process's: pictures another test loaded from its own
  // archive must not stand in for the built ones, nor the built ones for theirs afterwards.
  GameScreenTest() : archiveScope_(builtArchive()) {
    clearImageCache();
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::copy_file(std::string(GYROTIDE_BINARY_DIR) + "/music.zap",
                               folder_ / "music.zap");
    std::filesystem::current_path(folder_.path());
    seedRandom(1234);
  }
  ~GameScreenTest() override {
    screen.reset();
    clearImageCache();
    std::filesystem::current_path(previousFolder_);
  }

  // Builds the screen as the program does, with these options in place of stored ones.
  void start(bool scoring = false, bool hints = false) {
    ASSERT_TRUE(builtArchive().isOpen());
    screen = std::make_unique<GameScreen>("");
    screen->scoring = scoring;
    screen->hints = hints;
    screen->loadResources();
    // Each test deals the layouts it names; the built puzzle file has its own test.
    builtPuzzleCounts.clear();
    for (auto& list : screen->puzzleLists) {
      builtPuzzleCounts.push_back(list.size());
      list.clear();
    }
    screen->resetBoard();
    frame();
  }

  void frame() { screen->update(GameClock::now()); }
  // How many layouts of each difficulty the screen read from the built archive.
  std::vector<size_t> builtPuzzleCounts;
  // Frames every `step` ms of game time for `ms` ms.
  void runFor(uint32_t ms, uint32_t step = 10) {
    const uint32_t end = backend.now + ms;
    while (backend.now < end) {
      backend.now = std::min(end, backend.now + step);
      frame();
    }
  }

  // ---- Input through the message queue.
  void pump() {
    platform::Message m;
    while (backend.peekMessage(m)) backend.dispatchMessage(m);
  }
  void mouse(platform::MessageKind kind, int32_t x, int32_t y) {
    backend.sendMouse(kind, x, y);
    pump();
  }
  void clickAt(int32_t x, int32_t y, bool left = true) {
    using K = platform::MessageKind;
    mouse(K::MouseMove, x, y);
    mouse(left ? K::LeftDown : K::RightDown, x, y);
    mouse(left ? K::LeftUp : K::RightUp, x, y);
  }
  static int32_t centreX(int32_t cell) { return board::cellRect(cell).left + 25; }
  static int32_t centreY(int32_t cell) { return board::cellRect(cell).top + 25; }
  void clickCell(int32_t cell, bool left = true) { clickAt(centreX(cell), centreY(cell), left); }
  // Picks a tile up, carries it in a few steps and lets go at (x, y).
  void drag(int32_t cell, int32_t x, int32_t y) {
    using K = platform::MessageKind;
    const int32_t x0 = centreX(cell), y0 = centreY(cell);
    mouse(K::LeftDown, x0, y0);
    for (int i = 1; i <= 4; ++i) mouse(K::MouseMove, x0 + (x - x0) * i / 4, y0 + (y - y0) * i / 4);
    mouse(K::LeftUp, x, y);
  }
  // The shown control with this id (help and no help share one).
  Widget* control(uint16_t id) const {
    for (Widget* w : screen->children) {
      if (w->id == id && w->visible) return w;
    }
    return nullptr;
  }
  // A click in the middle of the control's pixels.
  void clickControl(uint16_t id) {
    Widget* w = control(id);
    ASSERT_NE(w, nullptr) << "no shown control " << id;
    ASSERT_FALSE(w->rect.isEmpty()) << id;
    clickAt((w->rect.left + w->rect.right) / 2, (w->rect.top + w->rect.bottom) / 2);
  }

  // ---- The board.
  void setBoard(const BoardCodes& codes) {
    for (size_t cell = 0; cell < codes.size(); ++cell) screen->tiles[cell]->setContent(codes[cell]);
    screen->countLooseEnds();
    frame();
  }
  // Everything empty but the given cells.
 public:
  static BoardCodes emptyBoard() { return ::emptyBoard(); }

 protected:
  Tile& tile(int32_t cell) { return *screen->tiles[cell]; }
  // Loose ends counted straight from the tiles, edge by edge.
  int referenceLooseEnds() const {
    int count = 0;
    auto has = [&](int32_t cell, uint8_t side) {
      return (screen->tiles[cell]->connections & side) != 0;
    };
    auto empty = [&](int32_t cell) { return screen->tiles[cell]->kind == TileKind::Empty; };
    for (int32_t r = 0; r < 9; ++r) {
      for (int32_t c = 0; c < 9; ++c) {
        const int32_t i = r * 9 + c;
        if (empty(i)) continue;
        if (c < 8 && !empty(i + 1) && has(i, line::Right) != has(i + 1, line::Left)) ++count;
        if (r < 8 && !empty(i + 9) && has(i, line::Down) != has(i + 9, line::Up)) ++count;
      }
    }
    return count;
  }
  std::string looseEndsText() const { return screen->looseEndsLabel->text; }

  // ---- Sounds: started effects stay "playing" until the test advances the device.
  Sound* sfx(Sfx which) const { return screen->sounds[static_cast<size_t>(which)]; }
  void silence() {
    for (Sound* s : screen->sounds) {
      if (s != nullptr) s->stop();
    }
  }
  std::vector<std::string> playing() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < kSfxCount; ++i) {
      Sound* s = screen->sounds[i];
      if (s != nullptr && s->isPlaying()) names.push_back(kSfxNames[i]);
    }
    return names;
  }

  std::unique_ptr<GameScreen> screen;

 private:
  ScopedResourceArchive archiveScope_;
  TempDir folder_;
  std::filesystem::path previousFolder_;
};

using SoundNames = std::vector<std::string>;
