#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/random.h"
#include "core/game_clock.h"
#include "ui/screen.h"
#include "game/board_view.h"
#include "game/tile.h"
#include "game/tile_art.h"
#include "support/headless_fixture.h"

// The least of a game screen: 81 empty tiles in their cells with the board view over them,
// every notification written down, and a dropped sliding tile swapped with the sliding tile
// under the release point.
class BoardScreen : public Screen {
 public:
  struct Note {
    uint16_t sender;
    uint32_t code;
    int32_t value;
    uint32_t at;  // game time it arrived
  };

  BoardScreen() : Screen("", "board") {
    for (int32_t cell = 0; cell < board::kCells; ++cell) {
      tiles[cell] = new Tile(&tile_art::font(), board::cellRect(cell),
                             static_cast<uint16_t>(board::kFirstTileId + cell));
      tiles[cell]->fromByte(0x10);
      addChild(tiles[cell]);
    }
    view = new BoardView(tiles);
    addChild(view);
  }

  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override {
    const bool routed = Screen::onNotify(sender, code, value);
    notes.push_back({sender, code, value, GameClock::now()});
    if (code == TileDragStarted) dragTile = Tile::dragged();
    if (code == TileDropped && dragTile != nullptr) drop(static_cast<uint32_t>(value));
    return routed;
  }

  // The values of every note with this code, in order.
  std::vector<int32_t> values(uint32_t code) const {
    std::vector<int32_t> out;
    for (const Note& n : notes) {
      if (n.code == code) out.push_back(n.value);
    }
    return out;
  }

  std::array<Tile*, board::kCells> tiles{};
  BoardView* view = nullptr;
  Tile* dragTile = nullptr;
  std::vector<Note> notes;

 private:
  void drop(uint32_t point) {
    const int32_t cell =
        board::cellAt(static_cast<int32_t>(point >> 16), static_cast<int32_t>(point & 0xFFFF));
    Tile* target = cell >= 0 ? tiles[cell] : nullptr;
    if (target != nullptr && target != dragTile && target->kind == TileKind::Sliding) {
      dragTile->swapContents(*target);
    }
    dragTile = nullptr;
  }
};

// Each test gets the made-up pictures, a fixed random sequence and a board at game time 0.
class BoardTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    tile_art::install();
    seedRandom(7);
    screen = std::make_unique<BoardScreen>();
  }
  void TearDown() override {
    screen.reset();
    HeadlessTest::TearDown();
  }

  Tile& tile(int32_t cell) { return *screen->tiles[cell]; }
  Tile& put(int32_t cell, uint8_t code) {
    tile(cell).fromByte(code);
    return tile(cell);
  }
  static int32_t centreX(int32_t cell) { return board::cellRect(cell).left + 25; }
  static int32_t centreY(int32_t cell) { return board::cellRect(cell).top + 25; }

  // Through the window's message queue, as the player's mouse arrives.
  void mouse(platform::MessageKind kind, int32_t x, int32_t y) {
    backend.sendMouse(kind, x, y);
    platform::Message m;
    while (backend.peekMessage(m)) backend.dispatchMessage(m);
  }
  void click(int32_t cell, bool left = true) {
    using K = platform::MessageKind;
    mouse(left ? K::LeftDown : K::RightDown, centreX(cell), centreY(cell));
    mouse(left ? K::LeftUp : K::RightUp, centreX(cell), centreY(cell));
  }
  // Frames every `step` milliseconds of game time up to `t`.
  void runTo(uint32_t t, uint32_t step = 5) {
    while (backend.now < t) {
      backend.now = std::min(t, backend.now + step);
      screen->update(GameClock::now());
    }
  }

  std::unique_ptr<BoardScreen> screen;
};
