// One present of the 640x480 picture through the real platform layer (SDL's dummy video driver,
// so the figure measures our path and SDL's software renderer, not a display).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "gfx/image.h"
#include "platform/sdl/sdl_backend.h"

namespace {

intptr_t quietProc(platform::WindowId, const platform::Message&) { return 0; }

void BM_present_frame(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  auto backend = std::make_unique<platform::SdlBackend>();
  backend->registerClass({"BenchWindow", quietProc, true, {}});
  platform::WindowId window = backend->createWindow("BenchWindow", "bench", 640, 480, nullptr);
  if (window == 0) {
    state.SkipWithError("no window under the dummy driver");
    return;
  }
  Image picture(640, 480, 24);
  for (auto _ : state) {
    backend->present(window, picture.pixels, static_cast<int>(picture.pitch()), 640, 480);
    benchmark::ClobberMemory();
  }
  backend->destroyWindow(window);
}
BENCHMARK(BM_present_frame);

}  // namespace
