// The hint marks of the board view: a full board of tiles with many loose ends, drawn into a
// 640 x 480 picture, as the game does on every frame that touches the board while hints are on.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>

#include "game/board_view.h"
#include "game/tile.h"
#include "gfx/image.h"
#include "platform/headless/headless_backend.h"

namespace {

void BM_board_marks(benchmark::State& state) {
  platform::HeadlessBackend backend;
  platform::setBackend(&backend);
  std::array<std::unique_ptr<Tile>, 81> owned;
  std::array<Tile*, 81> tiles{};
  for (int cell = 0; cell < 81; ++cell) {
    owned[cell] = std::make_unique<Tile>(nullptr, board::cellRect(cell),
                                         static_cast<uint16_t>(1000 + cell));
    owned[cell]->fromByte(static_cast<uint8_t>((cell * 7) % 16));  // plain, lines every way
    tiles[cell] = owned[cell].get();
  }
  BoardView view(tiles);
  view.showMarks = true;
  Image target(640, 480, 24);
  const Rect clip(0, 0, 640, 480);
  for (auto _ : state) {
    view.draw(target, clip);
    benchmark::DoNotOptimize(target.pixels);
  }
  platform::setBackend(nullptr);
}
BENCHMARK(BM_board_marks);

}  // namespace
