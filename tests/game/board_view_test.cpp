#include "game/board_view.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "game/blast.h"
#include "game/board_screen.h"
#include "gfx/animated_image.h"
#include "gfx/display_window.h"

namespace {

Colour pixel(const Image& image, int32_t x, int32_t y) {
  const uint8_t* p = image.pixelAddress(x, y);
  return Colour{p[2], p[1], p[0]};
}

constexpr Colour kRed{230, 10, 10};
constexpr Colour kWhite{255, 255, 255};

// Fills its rectangle with one colour: the table the board lies on.
class Backdrop : public Widget {
 public:
  Backdrop() : Widget(Rect(0, 0, 640, 480), 0) {}
  void draw(Image& target, const Rect& clip) override {
    target.fillRect(rect, Colour{40, 70, 80}, clip, 1.0);
    dirty = false;
  }
};

}  // namespace

TEST_F(BoardTest, MarksCrossEveryLooseEdgeBetweenTwoTiles) {
  put(0, 0x02);  // Right, facing a tile without Left
  put(1, 0x02);  // Right, facing a hole
  put(2, 0x10);
  put(9, 0x01);  // Up, under a tile without Down
  put(10, 0x00);
  const Rect all(0, 0, 640, 480);
  Image shown(640, 480, 24);
  screen->view->draw(shown, all);
  EXPECT_EQ(pixel(shown, 229, 30), kWhite);  // marks off

  screen->view->setShowMarks(true);
  EXPECT_TRUE(screen->view->dirty);
  screen->view->draw(shown, all);
  EXPECT_EQ(pixel(shown, 228, 30), kWhite);
  EXPECT_EQ(pixel(shown, 229, 10), kRed);
  EXPECT_EQ(pixel(shown, 230, 59), kRed);
  EXPECT_EQ(pixel(shown, 231, 30), kWhite);
  EXPECT_EQ(pixel(shown, 180, 59), kRed);
  EXPECT_EQ(pixel(shown, 229, 60), kRed);
  EXPECT_EQ(pixel(shown, 230, 60), kWhite);
  EXPECT_EQ(pixel(shown, 279, 30), kWhite);  // a hole needs no partner
  EXPECT_EQ(pixel(shown, 250, 60), kWhite);  // cell 1 has no Down, cell 10 no Up
  EXPECT_EQ(pixel(shown, 229, 80), kWhite);  // cells 9 and 10 have nothing facing

  // A dragged tile's lines stay marked at its cell.
  tile(0).rect.moveTo(400, 300);
  Image dragging(640, 480, 24);
  screen->view->draw(dragging, all);
  EXPECT_TRUE(std::equal(shown.pixels, shown.pixels + shown.byteSize(), dragging.pixels));
}

TEST_F(BoardTest, BlastPlaysOnceAndReportsItsHandleOnce) {
  auto* blast = new Blast(100, 120, "blast1.png", 5, 5, 12, 2200);
  EXPECT_EQ(blast->rect, Rect(100, 120, 100 + tile_art::kBlastFrame, 120 + tile_art::kBlastFrame));
  blast->animation->useCornerKey();
  blast->animation->startAt(0, 4, GameClock::now());
  screen->addChild(blast);
  EXPECT_EQ(Blast::withHandle(blast->handle()), blast);
  runTo(330, 10);  // four frames of 83 ms
  EXPECT_TRUE(screen->values(NotifyBlastDone).empty());
  runTo(340, 10);
  EXPECT_EQ(screen->values(NotifyBlastDone), (std::vector<int32_t>{blast->handle()}));
  runTo(600, 10);
  EXPECT_EQ(screen->values(NotifyBlastDone).size(), 1u);

  const int32_t handle = blast->handle();
  screen->removeChild(Blast::withHandle(handle));
  screen->update(600);
  EXPECT_EQ(Blast::withHandle(handle), nullptr);

  // A missing strip: nothing to draw, but the blast still ends.
  auto* blind = new Blast(0, 0, "blast9.png", 5, 5, 12, 2200);
  EXPECT_TRUE(blind->rect.isEmpty());
  blind->animation->startAt(0, 4, GameClock::now());
  screen->addChild(blind);
  runTo(1000, 10);
  EXPECT_EQ(screen->values(NotifyBlastDone).back(), blind->handle());
}

// Frames for a person to look at: every kind turning, a bomb counting down, an explosion, red
// marks, and a board gone to the background.
TEST_F(BoardTest, RenderedBoardFramesForReview) {
  screen->addChildAtBottom(new Backdrop);
  const uint8_t kinds[] = {0x00, 0x20, 0x30, 0x40, 0x50};
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    const int32_t row = cell / 9, column = cell % 9;
    if (row == 4 && column == 4) continue;  // a hole in the middle
    const uint8_t lines = static_cast<uint8_t>((cell * 7 + row) % 16);
    put(cell, static_cast<uint8_t>(kinds[(row + column) % 5] | lines));
  }
  // A bomb with 7 seconds to go and one about to blow.
  put(12, 0x55).fuseDeadline = 7500;
  Tile& bomb = put(60, 0x53);
  bomb.fuseDeadline = 600;
  screen->view->setShowMarks(true);

  for (int32_t cell : {0, 1, 2, 3, 4, 10, 20, 30}) click(cell, cell % 2 == 0);
  runTo(80, 10);
  const std::filesystem::path dir = std::filesystem::path(GYROTIDE_BINARY_DIR) / "review";
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(backend.writeLastFrame((dir / "board-turning.png").string()));
  const Image& picture = *screen->displayWindow;
  for (int32_t cell = 0; cell + 1 < board::kCells; ++cell) {
    if (cell % 9 == 8 || tile(cell).isEmpty() || tile(cell + 1).isEmpty()) continue;
    const bool loose = ((tile(cell).connections & line::Right) != 0) !=
                       ((tile(cell + 1).connections & line::Left) != 0);
    const Rect r = board::cellRect(cell);
    EXPECT_EQ(pixel(picture, r.right, r.top + 25) == kRed, loose) << cell;
  }

  runTo(700, 10);
  ASSERT_TRUE(bomb.exploding);
  auto* blast = new Blast(bomb.rect.left - 25, bomb.rect.top - 25, "blast2.png", 5, 1, 12, 2200);
  blast->animation->useCornerKey();
  blast->animation->startAt(0, 4, GameClock::now());
  screen->addChild(blast);
  runTo(900, 10);
  ASSERT_TRUE(backend.writeLastFrame((dir / "board-blast.png").string()));

  for (int32_t y = 0; y < 480; ++y) {
    for (int32_t x = 0; x < 640; ++x) ASSERT_NE(pixel(picture, x, y), (Colour{255, 0, 255}));
  }

  // The application went to the background: the board keeps only its outlines.
  for (Tile* t : screen->tiles) t->hide();
  screen->view->hide();
  runTo(950, 10);
  ASSERT_TRUE(backend.writeLastFrame((dir / "board-hidden.png").string()));
}
