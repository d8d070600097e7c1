// The software blitter on full 640 x 480 x 24 frames and on a board of tiles,
// measured against a plain memcpy of one frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "gfx/image.h"

namespace {

const Rect kScreen(0, 0, 640, 480);

Image noise(uint16_t w, uint16_t h, uint32_t seed) {
  Image image(w, h, 24);
  std::mt19937 rng(seed);
  for (size_t i = 0; i < image.byteSize(); ++i) image.pixels[i] = static_cast<uint8_t>(rng());
  return image;
}

// A 50 x 50 round tile on a keyed background, like the board's sprites.
Image tile() {
  std::vector<uint8_t> pixels(52 * 50);
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 50; ++x) {
      const int dx = x - 25, dy = y - 25;
      pixels[y * 52 + x] = dx * dx + dy * dy < 23 * 23 ? static_cast<uint8_t>(1 + (x + y) % 16) : 0;
    }
  }
  std::vector<uint8_t> palette(256 * 3);
  for (size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<uint8_t>(i * 7);
  Image image;
  image.assign(50, 50, 8, std::move(pixels), std::move(palette), 256);
  image.setKeyFromCorner();
  return image;
}

void BM_memcpy_frame(benchmark::State& state) {
  const Image src = noise(640, 480, 1);
  Image dst = noise(640, 480, 2);
  for (auto _ : state) {
    std::memcpy(dst.pixels, src.pixels, src.byteSize());
    benchmark::ClobberMemory();
  }
}

void drawFrame(benchmark::State& state, double opacity) {
  const Image src = noise(640, 480, 1);
  Image dst = noise(640, 480, 2);
  for (auto _ : state) {
    src.drawTo(dst, 0, 0, 0, 0, 640, 480, kScreen, opacity);
    benchmark::ClobberMemory();
  }
}

void BM_opaque_frame(benchmark::State& state) { drawFrame(state, 1.0); }
void BM_blend_frame_half(benchmark::State& state) { drawFrame(state, 0.5); }
// An opacity off the 1/256 grid (a fade in progress) takes the table path.
void BM_offgrid_frame_0_3(benchmark::State& state) { drawFrame(state, 0.3); }

void drawBoard(benchmark::State& state, double opacity) {
  const Image sprite = tile();
  Image dst = noise(640, 480, 2);
  for (auto _ : state) {
    for (int cell = 0; cell < 81; ++cell) {
      sprite.drawTo(dst, 0, 0, 95 + 50 * (cell % 9), 15 + 50 * (cell / 9), 50, 50, kScreen,
                    opacity);
    }
    benchmark::ClobberMemory();
  }
}

void BM_keyed_board(benchmark::State& state) { drawBoard(state, 1.0); }
// The solved board rests at half opacity.
void BM_half_faded_board(benchmark::State& state) { drawBoard(state, 0.5); }
// On its way there it passes through strengths off the 1/256 grid (1 - ms / 2000).
void BM_fading_board_0_8(benchmark::State& state) { drawBoard(state, 1.0 - 400 / 2000.0); }
void BM_fading_board_0_6235(benchmark::State& state) { drawBoard(state, 1.0 - 753 / 2000.0); }

void washFrame(benchmark::State& state, double opacity) {
  Image dst = noise(640, 480, 2);
  for (auto _ : state) {
    dst.fillRect(kScreen, Colour{77, 77, 77}, kScreen, opacity);
    benchmark::ClobberMemory();
  }
}

void BM_fill_frame_half(benchmark::State& state) { washFrame(state, 0.5); }
// The pop-up panel's translucent white, and its shadow.
void BM_offgrid_wash_0_7(benchmark::State& state) { washFrame(state, 0.7); }
void BM_offgrid_wash_0_3(benchmark::State& state) { washFrame(state, 0.3); }

BENCHMARK(BM_memcpy_frame);
BENCHMARK(BM_opaque_frame);
BENCHMARK(BM_blend_frame_half);
BENCHMARK(BM_offgrid_frame_0_3);
BENCHMARK(BM_keyed_board);
BENCHMARK(BM_half_faded_board);
BENCHMARK(BM_fading_board_0_8);
BENCHMARK(BM_fading_board_0_6235);
BENCHMARK(BM_fill_frame_half);
BENCHMARK(BM_offgrid_wash_0_7);
BENCHMARK(BM_offgrid_wash_0_3);

}  // namespace

BENCHMARK_MAIN();
