// One present of the 640x480 picture through the real platform layer (SDL's dummy video driver,
// so the figure measures our path and SDL's software renderer, not a display).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "gfx/image.h"
#include "platform/sdl/sdl_backend.h"

namespace {

intptr_t quietProc(platform::WindowId, const platform::Message&) { return 0; }

// The whole picture, or one tile's square of it (a tile turning on a board at rest).
void present(benchmark::State& state, bool oneTile) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  auto backend = std::make_unique<platform::SdlBackend>();
  backend->registerClass({"BenchWindow", quietProc, true, {}});
  platform::WindowId window = backend->createWindow("BenchWindow", "bench", 640, 480, nullptr);
  if (window == 0) {
    state.SkipWithError("no window under the dummy driver");
    return;
  }
  Image picture(640, 480, 24);
  const int pitch = static_cast<int>(picture.pitch());
  backend->present(window, picture.pixels, pitch, 640, 480);
  const platform::PixelArea tile{295, 215, 50, 50};
  for (auto _ : state) {
    if (oneTile) {
      backend->presentChanged(window, picture.pixels, pitch, 640, 480, tile);
    } else {
      backend->present(window, picture.pixels, pitch, 640, 480);
    }
    benchmark::ClobberMemory();
  }
  backend->destroyWindow(window);
}
void BM_present_frame(benchmark::State& state) { present(state, false); }
void BM_present_one_tile(benchmark::State& state) { present(state, true); }
BENCHMARK(BM_present_frame);
BENCHMARK(BM_present_one_tile);

}  // namespace
