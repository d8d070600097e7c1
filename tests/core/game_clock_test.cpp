#include "core/game_clock.h"

#include <gtest/gtest.h>

#include "support/headless_fixture.h"

class GameClockTest : public HeadlessTest {};

TEST_F(GameClockTest, StandsStillWhilePausedAndResumesWhereItStopped) {
  backend.now = 1000;
  EXPECT_EQ(GameClock::now(), 1000u);
  GameClock::pause();
  backend.now = 6000;
  EXPECT_EQ(GameClock::now(), 1000u);
  GameClock::resume();
  EXPECT_EQ(GameClock::now(), 1000u);
  backend.now = 6100;
  EXPECT_EQ(GameClock::now(), 1100u);
}

TEST_F(GameClockTest, SecondPauseCountsFromTheFirst) {
  backend.now = 100;
  GameClock::pause();
  backend.now = 300;
  GameClock::pause();
  backend.now = 700;
  GameClock::resume();
  EXPECT_FALSE(GameClock::paused);
  EXPECT_EQ(GameClock::now(), 100u);
  GameClock::resume();  // not paused: nothing changes
  EXPECT_EQ(GameClock::now(), 100u);
}

TEST_F(GameClockTest, WrapsWithTheTimer) {
  backend.now = 0xFFFFFF00u;
  GameClock::pause();
  backend.now = 0x100;
  GameClock::resume();
  EXPECT_EQ(GameClock::totalPaused, 0x200u);
  EXPECT_EQ(GameClock::now(), 0xFFFFFF00u);
}
