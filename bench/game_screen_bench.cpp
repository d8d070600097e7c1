// The game screen's frames against the cost of copying one 640 x 480 picture: a full redraw
// of every child from a clean picture, a frame while the solved board fades, and a frame while
// one tile turns, and a frame at rest, when nothing has changed. Read the ratios from one run,
// side by side.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/game_clock.h"
#include "core/random.h"
#include "game/tile.h"
#include "gfx/animated_image.h"
#include "gfx/display_window.h"
#include "platform/headless/headless_backend.h"
#include "res/resource_archive.h"
#include "screens/game_screen.h"
#include "screens/layout.h"

namespace {

// The built archive as the game's, the headless backend, and a game screen in scored play on
// a full board of every kind.
class ScreenBench {
 public:
  ScreenBench()
      : archive_((std::string(GYROTIDE_BINARY_DIR) + "/gyrotide.zap").c_str()), scope_(archive_) {
    backend_.audioAvailable = false;
    platform::setBackend(&backend_);
    platform::WindowClass windowClass;
    windowClass.name = kWindowClassName;
    windowClass.proc = [](platform::WindowId window, const platform::Message& m) -> intptr_t {
      if (m.kind == platform::MessageKind::Create)
        platform::backend().setWindowSlot(window, m.client);
      return 0;
    };
    backend_.registerClass(windowClass);
    seedRandom(3);
    screen = std::make_unique<GameScreen>("");
    screen->scoring = true;
    screen->hints = true;
    screen->loadResources();
    const TileKind kinds[] = {TileKind::Plain, TileKind::Sliding, TileKind::Linked, TileKind::Fixed,
                              TileKind::Plain};
    for (int32_t cell = 0; cell < board::kCells; ++cell) {
      screen->tiles[cell]->setContent(TileCode(kinds[cell % 5], 0));
    }
    screen->dealBoard();
    screen->scramble();
    frame();
  }
  ~ScreenBench() {
    screen.reset();
    platform::setBackend(nullptr);
  }

  void frame() { screen->update(GameClock::now()); }
  void advance(uint32_t ms) { backend_.now += ms; }

  std::unique_ptr<GameScreen> screen;

 private:
  ResourceArchive archive_;
  ScopedResourceArchive scope_;
  platform::HeadlessBackend backend_;
};

void BM_copy_one_frame(benchmark::State& state) {
  std::vector<uint8_t> from(640 * 480 * 3, 1), to(640 * 480 * 3);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_copy_one_frame);

void BM_game_screen_full_redraw(benchmark::State& state) {
  ScreenBench bench;
  DisplayWindow& picture = *bench.screen->displayWindow;
  for (auto _ : state) {
    std::memset(picture.pixels, 0, picture.byteSize());
    bench.screen->draw(picture, layout::kScreen);
    benchmark::DoNotOptimize(picture.pixels);
  }
}
BENCHMARK(BM_game_screen_full_redraw);

// Every frame of the first second after solving redraws the whole board at a new strength.
void BM_game_screen_fading_frame(benchmark::State& state) {
  ScreenBench bench;
  GameScreen& screen = *bench.screen;
  uint32_t since = 0;
  for (auto _ : state) {
    if (since == 0) {
      state.PauseTiming();
      screen.dealBoard();
      screen.countLooseEnds();
      screen.startSolved();
      state.ResumeTiming();
    }
    bench.advance(16);
    since = (since + 16) % 1000;
    bench.frame();
  }
}
BENCHMARK(BM_game_screen_fading_frame);

void BM_game_screen_turning_frame(benchmark::State& state) {
  ScreenBench bench;
  Tile& tile = *bench.screen->tiles[40];
  for (auto _ : state) {
    if (tile.sprite->currentCount() == tile.sprite->targetCount()) tile.rotateClockwise(true);
    bench.advance(16);
    bench.frame();
  }
}
BENCHMARK(BM_game_screen_turning_frame);

// A frame with nothing moving: the run loop still calls it at the display's rate.
void BM_game_screen_frame_at_rest(benchmark::State& state) {
  ScreenBench bench;
  for (int i = 0; i < 300; ++i) {  // every turn and glide of the deal comes to rest
    bench.advance(16);
    bench.frame();
  }
  for (auto _ : state) {
    bench.advance(16);
    bench.frame();
  }
}
BENCHMARK(BM_game_screen_frame_at_rest);

}  // namespace
