#include <gtest/gtest.h>

#include "game/board_screen.h"
#include "gfx/animated_image.h"
#include "gfx/font.h"

namespace {

// A bomb whose fuse runs out `ms` from now.
Tile& fuse(Tile& t, uint32_t now, uint32_t ms) {
  t.armFuse(0);
  t.lastTick = now;
  t.fuseDeadline = now + ms;
  return t;
}

Image blank() {
  return Image(640, 480, 24);
}

bool same(const Image& a, const Image& b) {
  return std::equal(a.pixels, a.pixels + a.byteSize(), b.pixels);
}

// What a tile with a picture shows: its frame, then `text` centred in the countdown grey, then
// the black outline.
Image expected(const Tile& t, const char* text) {
  Image out = blank();
  const Rect all(0, 0, 640, 480);
  t.sprite->drawTo(out, 0, 0, t.rect.left, t.rect.top, 50, 50, all, 1.0);
  const Font& f = tile_art::font();
  f.drawText(out, all, t.rect.left + 1 + (50 - f.textWidth(text)) / 2,
             t.rect.top + 1 + (50 - f.height()) / 2, text, Colour{77, 77, 77}, Font::kWholeText,
             1.0);
  out.frameRect(t.rect, Colour{}, all, 1.0);
  return out;
}

}  // namespace

TEST_F(BoardTest, ArmedFuseLastsThirtyToSixtyThreeSeconds) {
  backend.now = 1000;
  for (int i = 0; i < 200; ++i) {
    Tile& t = put(0, 0x50);
    ASSERT_TRUE(t.fuseBurning());
    EXPECT_GE(t.fuseDeadline, 31000u);
    EXPECT_LE(t.fuseDeadline, 1000u + 30000 + 32767);
  }
  tile(0).armFuse(0);
  EXPECT_FALSE(tile(0).fuseBurning());
  runTo(2000, 500);
  EXPECT_TRUE(screen->notes.empty());
}

TEST_F(BoardTest, CountdownShowsTheLastTenSecondsAndRedrawsOnlyWhenItChanges) {
  Tile& t = fuse(put(40, 0x55), 0, 20500);
  struct Step {
    uint32_t at;
    bool dirty;
  };
  t.update(9400);  // 11.1 seconds left
  t.dirty = false;
  for (Step s : {Step{9500, false}, Step{9600, true}, Step{10400, false}, Step{10600, true},
                 Step{15000, true}, Step{15100, false}}) {
    backend.now = s.at;
    t.update(s.at);
    EXPECT_EQ(t.dirty, s.dirty) << s.at;
    t.dirty = false;
  }

  fuse(t, 20000, 20500);
  struct Case {
    uint32_t at;
    const char* text;
  };
  for (Case c : {Case{29000, ""}, Case{30000, "10"}, Case{36000, "4"}, Case{39600, ""}}) {
    backend.now = c.at;
    Image shown = blank();
    t.draw(shown, Rect(0, 0, 640, 480));
    EXPECT_TRUE(same(shown, expected(t, c.text))) << c.at;
  }
}

TEST_F(BoardTest, BombGoesOffWithLessThanASecondLeftEvenAfterALateUpdate) {
  Tile& t = fuse(put(40, 0x55), 0, 5000);
  runTo(4000, 1000);
  EXPECT_TRUE(screen->notes.empty());
  runTo(4100, 100);
  EXPECT_EQ(screen->values(TileFuseOut), (std::vector<int32_t>{1040}));
  EXPECT_TRUE(t.exploding);
  EXPECT_EQ(t.fuseDeadline, 4100u);

  Tile& late = fuse(put(41, 0x55), 4100, 1500);
  runTo(6000, 1900);  // from 1.5 seconds left to 0.4 past the deadline
  EXPECT_EQ(screen->values(TileFuseOut).back(), 1041);
  EXPECT_TRUE(late.exploding);
}

TEST_F(BoardTest, CornerBlastsReachCellsOneToEightAndReArm) {
  struct Corner {
    int32_t cell;
    bool alongColumn;
    int32_t idStep;
  };
  for (Corner corner : {Corner{0, false, 1}, Corner{80, true, -9}}) {
    SCOPED_TRACE(corner.cell);
    screen->notes.clear();
    Tile& bomb = fuse(put(corner.cell, 0x50), backend.now, 500);
    runTo(backend.now + 10, 10);  // under a second left: off at once
    ASSERT_TRUE(bomb.exploding);
    const uint32_t off = bomb.fuseDeadline;
    EXPECT_EQ(off, backend.now);
    bomb.alongColumn = corner.alongColumn;
    runTo(off + 2990, 10);
    std::vector<int32_t> ids;
    for (const BoardScreen::Note& n : screen->notes) {
      if (n.code != TileBlastHit) continue;
      const int32_t d = static_cast<int32_t>(ids.size()) + 1;
      EXPECT_EQ(n.at, off + 300 * (d + 1));
      ids.push_back(n.value);
    }
    ASSERT_EQ(ids.size(), 8u);
    for (int32_t d = 1; d <= 8; ++d) EXPECT_EQ(ids[d - 1], 1000 + corner.cell + corner.idStep * d);
    EXPECT_TRUE(bomb.exploding);
    runTo(off + 3000, 10);  // the step at distance 9 passes both edges
    EXPECT_FALSE(bomb.exploding);
    EXPECT_TRUE(bomb.fuseBurning());
    EXPECT_GE(bomb.fuseDeadline, off + 3000 + 30000);
    EXPECT_EQ(screen->values(TileBlastHit).size(), 8u);
  }
}

TEST_F(BoardTest, SlowUpdatesSkipNoCellAndAMiddleBlastEndsSooner) {
  Tile& bomb = fuse(put(40, 0x50), 0, 500);
  runTo(500, 500);
  bomb.alongColumn = false;
  runTo(1500, 1000);  // one update covers distances 1 and 2
  EXPECT_EQ(screen->values(TileBlastHit), (std::vector<int32_t>{1039, 1041, 1038, 1042}));
  runTo(2300, 800);
  EXPECT_EQ(screen->values(TileBlastHit).size(), 8u);
  EXPECT_FALSE(bomb.exploding);  // column 4: past both edges at distance 5
}

TEST_F(BoardTest, SampleBombOffTheBoardHitsNothing) {
  auto* sample = new Tile(&tile_art::font(), Rect(20, 300, 70, 350), 1500);
  screen->addChild(sample);
  sample->fromByte(0x55);
  sample->lastTick = 0;
  sample->fuseDeadline = 100;
  runTo(100, 100);
  ASSERT_TRUE(sample->exploding);
  runTo(3500, 50);
  EXPECT_TRUE(screen->values(TileBlastHit).empty());
  EXPECT_FALSE(sample->exploding);
  EXPECT_TRUE(sample->fuseBurning());
}

TEST_F(BoardTest, BlastRunsAlongRowsAndColumnsAboutEvenly) {
  Tile& bomb = put(40, 0x50);
  int columns = 0;
  for (int i = 0; i < 200; ++i) {
    fuse(bomb, backend.now, 10);
    runTo(backend.now + 10, 10);
    columns += bomb.alongColumn;
  }
  EXPECT_GT(columns, 60);
  EXPECT_LT(columns, 140);
}

TEST_F(BoardTest, HiddenTilesShowOnlyOutlinesAndEmptyOnesNothing) {
  const Rect all(0, 0, 640, 480);
  Image outline = blank();
  outline.frameRect(board::cellRect(0), Colour{}, all, 1.0);

  Tile& t = put(0, 0x05);
  Image shown = blank();
  t.draw(shown, all);
  EXPECT_TRUE(same(shown, expected(t, "")));
  t.hide();
  shown = blank();
  t.draw(shown, all);
  EXPECT_TRUE(same(shown, outline));
  EXPECT_FALSE(t.dirty);
  t.show();

  // No picture: still an outline, and still a tile that turns and slides.
  Tile& missing = put(0, 0x37);
  EXPECT_FALSE(missing.hasPicture());
  shown = blank();
  missing.draw(shown, all);
  EXPECT_TRUE(same(shown, outline));
  click(0);
  EXPECT_EQ(missing.connections, 0x0E);
  EXPECT_EQ(screen->values(TileRotated), (std::vector<int32_t>{1000}));

  for (Tile* nothing : {&put(0, 0x15), &put(1, 0x05)}) {
    if (nothing->kind != TileKind::Empty) nothing->setAlpha(0.0005);
    shown = blank();
    nothing->draw(shown, all);
    EXPECT_TRUE(same(shown, blank()));
  }
}
