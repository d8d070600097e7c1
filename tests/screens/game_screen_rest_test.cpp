// The game screen names when it next changes by itself, so the run loop can sleep until then:
// frames run every millisecond here, and none may show a change before the moment named (the
// loop would have slept through it), while a change must come at that moment (the loop would
// wake for nothing). At rest it names none.
#include "screens/game_screen_fixture.h"

namespace {

class RestScreenTest : public GameScreenTest {
 protected:
  // Frames every millisecond for `ms`; checks each frame's present against the last promise.
  void checkPromises(uint32_t ms) {
    uint32_t promisedAt = 0;
    bool promised = false;
    for (uint32_t i = 0; i < ms; ++i) {
      ++backend.now;
      const int before = backend.presentCount;
      frame();
      const uint32_t now = GameClock::now();
      const bool changed = backend.presentCount != before;
      if (promised) {
        ASSERT_FALSE(changed && static_cast<int32_t>(now - promisedAt) < 0)
            << "a change at " << now << " before the promised " << promisedAt;
        if (static_cast<int32_t>(now - promisedAt) == 0) ++kept;
        if (static_cast<int32_t>(now - promisedAt) == 0 && changed) ++changedOnTime;
      }
      const uint32_t next = screen->nextChange(now);
      promised = next != kNoChange;
      promisedAt = now + next;
      if (!promised) ++restingFrames;
    }
  }
  int kept = 0;
  int changedOnTime = 0;
  int restingFrames = 0;
};

}  // namespace

TEST_F(RestScreenTest, NamesEveryChangeAheadAndNoneAtRest) {
  start(true);
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, line::Up);
  codes[50] = TileCode(TileKind::Bomb, line::Left);
  setBoard(codes);
  tile(50).setFuse(12500);  // the countdown shows from 10 s left
  checkPromises(300);
  clickCell(40);  // a turn, and in scored play the meter glides down
  checkPromises(13500);
  EXPECT_TRUE(tile(50).exploding || tile(50).fuseBurning());
  // Changes come when named: the countdown's ten digits and the bang at least; few moments
  // named pass without one (a meter's unit that moves the fill by less than a pixel).
  EXPECT_GE(changedOnTime, 11);
  EXPECT_LE(kept - changedOnTime, 10);

  // The bomb gone, the board settles: nothing is due any more.
  tile(50).setContent(TileCode(TileKind::Plain, line::Left));
  restingFrames = 0;
  checkPromises(3000);
  EXPECT_GT(restingFrames, 2500);
  EXPECT_EQ(screen->nextChange(GameClock::now()), kNoChange);
}
