// What the game screen plays, and its music across the application's comings and goings.
#include "platform/audio_mixer.h"
#include "screens/game_screen_fixture.h"

namespace {

BoardCodes oneOfEachKind() {
  BoardCodes codes = GameScreenTest::emptyBoard();
  codes[10] = TileCode(TileKind::Plain, line::Up);
  codes[12] = TileCode(TileKind::Linked, line::Up);
  codes[14] = TileCode(TileKind::Linked, line::Right);
  codes[16] = TileCode(TileKind::Fixed, line::Up);
  codes[28] = TileCode(TileKind::Sliding, line::Up);
  return codes;
}

}  // namespace

class SoundTest : public GameScreenTest {
 protected:
  void SetUp() override {
    start(true);
    setBoard(oneOfEachKind());
    silence();
  }
};

TEST_F(SoundTest, ElevenEffectsAreLoadedOnce) {
  for (size_t i = 0; i < kSfxCount; ++i) {
    ASSERT_NE(screen->sounds[i], nullptr) << kSfxNames[i];
    EXPECT_EQ(screen->sounds[i]->name, kSfxNames[i]);
    EXPECT_NE(screen->sounds[i]->buffer, nullptr) << kSfxNames[i] << " did not decode";
  }
  EXPECT_EQ(screen->soundSystem->sounds().size(), kSfxCount);
}

TEST_F(SoundTest, ButtonsHissOnHoverAndPopOnPress) {
  Widget* quit = control(layout::kOptionsId);
  const int32_t x = quit->rect.left + 5, y = quit->rect.top + 5;
  mouse(platform::MessageKind::MouseMove, x, y);
  EXPECT_EQ(playing(), (SoundNames{"hiss.ogg"}));
  silence();
  mouse(platform::MessageKind::LeftDown, x, y);
  EXPECT_EQ(playing(), (SoundNames{"pop2.ogg"}));
  silence();
  mouse(platform::MessageKind::LeftUp, x, y);
  EXPECT_TRUE(playing().empty());
}

TEST_F(SoundTest, EachTileKindHasItsSound) {
  struct Case {
    int32_t cell;
    SoundNames heard;
  };
  for (const Case& c :
       {Case{10, {"snap2.ogg"}}, Case{12, {"ratchet4.ogg"}}, Case{14, {"ratchet4.ogg"}},
        Case{16, {"clank.ogg"}}, Case{28, {"snap2.ogg"}}}) {
    silence();
    clickCell(c.cell);
    EXPECT_EQ(playing(), c.heard) << c.cell;
    clickCell(c.cell, false);
    EXPECT_EQ(playing(), c.heard) << c.cell << " right";
  }
}

TEST_F(SoundTest, NewPuzzleSwirlsAndATurnDuringTheSwirlMakesNoSnap) {
  start(false);  // relaxed: the new-puzzle button shows
  setBoard(oneOfEachKind());
  silence();
  clickControl(layout::kNewPuzzleId);
  EXPECT_EQ(playing(), (SoundNames{"hiss.ogg", "pop2.ogg", "swirl.ogg"}));
  sfx(Sfx::Hiss)->stop();
  sfx(Sfx::Pop)->stop();
  setBoard(oneOfEachKind());  // in place of the new puzzle, so cell 10 holds a plain tile
  clickCell(10);
  EXPECT_EQ(playing(), (SoundNames{"swirl.ogg"}));
  sfx(Sfx::Swirl)->stop();
  clickCell(10);
  EXPECT_EQ(playing(), (SoundNames{"snap2.ogg"}));
}

TEST_F(SoundTest, NotificationsFromTheScreenLabelsAndBoardViewAreSilent) {
  for (uint32_t code :
       {uint32_t{TileRotated}, uint32_t{TileLinkedClockwise}, uint32_t{TileFixedClicked},
        uint32_t{NotifyHover}, uint32_t{NotifyPressed}}) {
    screen->onNotify(0, code, 0);
    screen->onNotify(999, code, 0);
  }
  EXPECT_TRUE(playing().empty());
  screen->onNotify(0, NotifyBackgroundClick, 0);
  EXPECT_EQ(playing(), (SoundNames{"bloop.ogg"}));
}

// ---- Music.

class MusicOnScreenTest : public GameScreenTest {
 protected:
  platform::MixerBuffer* ring() {
    for (platform::MixerBuffer* buffer : backend.audio->buffers()) {
      if (buffer->isStreaming()) return buffer;
    }
    return nullptr;
  }
};

TEST_F(MusicOnScreenTest, StartsOnTheFirstFramePausesInTheBackgroundAndResumes) {
  screen = std::make_unique<GameScreen>("");
  screen->loadResources();
  screen->resetBoard();
  EXPECT_FALSE(screen->soundSystem->isMusicOpen());
  frame();
  ASSERT_TRUE(screen->soundSystem->isMusicOpen());
  ASSERT_NE(ring(), nullptr);
  EXPECT_NE(ring()->status() & platform::kStatusPlaying, 0u);

  backend.send(platform::MessageKind::ActivateApp, 0);
  pump();
  EXPECT_EQ(ring()->status(), 0u);
  backend.send(platform::MessageKind::ActivateApp, 1);
  pump();
  EXPECT_NE(ring()->status() & platform::kStatusPlaying, 0u);
}

TEST_F(MusicOnScreenTest, StartsAgainWheneverItHasStoppedButNotWhileHidden) {
  start();
  ASSERT_TRUE(screen->soundSystem->isMusicOpen());
  screen->hide();
  screen->soundSystem->stopMusic();
  screen->update(GameClock::now());
  EXPECT_FALSE(screen->soundSystem->isMusicOpen());
  screen->show();
  frame();
  EXPECT_TRUE(screen->soundSystem->isMusicOpen());
}
