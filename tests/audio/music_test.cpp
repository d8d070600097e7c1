// The streamed music, through the real streaming thread into the headless device. The test
// advances the device and waits (on a condition) for each refill the thread owes it.
#include <sstream>

#include "audio/audio_fixture.h"
#include "audio/sound_system.h"
#include "platform/audio_mixer.h"

namespace {

class MusicTest : public AudioTest {
 protected:
  // Writes a track of `frames` frames as "music.zap" and returns its decoded samples.
  std::vector<int16_t> writeTrack(uint32_t frames, int channels, uint32_t rate) {
    std::string ogg = encodeOgg(glide(frames, channels, rate), channels, rate);
    writeFile(dir / "music.zap", ogg);
    std::istringstream in(ogg);
    return samplesOf(decodeOggBytes(in));
  }

  platform::MixerBuffer* ring() {
    for (platform::MixerBuffer* buffer : device().buffers()) {
      if (buffer->isStreaming()) return buffer;
    }
    return nullptr;
  }

  // Plays `frames` frames in pieces of `step`. A refill is due each time the play cursor
  // finishes a half of the ring (two were written before the start); each is awaited before
  // the ring comes round to the half it writes.
  std::vector<int16_t> play(uint32_t frames, uint32_t step) {
    uint32_t ringFrames = ring()->size() / ring()->format().blockAlign;
    std::vector<int16_t> out;
    for (uint32_t played = 0; played < frames; played += step) {
      std::vector<int16_t> piece = advance(std::min(step, frames - played));
      out.insert(out.end(), piece.begin(), piece.end());
      uint64_t halves = (played + std::min(step, frames - played)) / (ringFrames / 2);
      awaitRegions(regionsAtStart_ + halves);
      if (HasFatalFailure()) break;
    }
    return out;
  }

  void start(SoundSystem& sounds, const char* path = "music.zap") {
    sounds.setMusicLevel(1.0);
    sounds.playMusic(path);
    regionsAtStart_ = device().regionsWritten();
  }

  uint64_t regionsAtStart_ = 0;
};

std::vector<int16_t> repeated(const std::vector<int16_t>& track, size_t samples) {
  std::vector<int16_t> out;
  while (out.size() < samples) out.insert(out.end(), track.begin(), track.end());
  out.resize(samples);
  return out;
}

// Where two sample streams first differ, for a readable failure.
size_t firstDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

TEST_F(MusicTest, RingIsFourSecondsOrTheWholeTrackWithNotificationsAtTheEndOfEachHalf) {
  struct Case {
    uint32_t seconds;
    int channels;
    uint32_t rate;
    uint32_t ringBytes;
  };
  for (const Case& c : {Case{1, 2, 22050, 88200}, Case{5, 2, 22050, 352800},
                        Case{5, 2, 44100, 705600}, Case{5, 1, 22050, 176400}}) {
    SCOPED_TRACE(testing::Message() << c.seconds << " s, " << c.channels << " ch, " << c.rate);
    writeTrack(c.seconds * c.rate, c.channels, c.rate);
    SoundSystem sounds(2, 22050);
    start(sounds);
    ASSERT_NE(ring(), nullptr);
    EXPECT_EQ(ring()->size(), c.ringBytes);
    EXPECT_EQ(ring()->format().channels, c.channels);
    EXPECT_EQ(ring()->format().samplesPerSec, c.rate);
    EXPECT_EQ(ring()->notificationOffsets(),
              (std::vector<uint32_t>{c.ringBytes / 2 - 1, c.ringBytes - 1}));
    EXPECT_EQ(ring()->status(), platform::kStatusPlaying | platform::kStatusLooping);
    EXPECT_EQ(regionsAtStart_, 2u);  // both halves, before the ring started
  }
}

TEST_F(MusicTest, LoopsFromTheFirstSampleWithNoSilenceBetweenRepeats) {
  std::vector<int16_t> track = writeTrack(22050, 2, 22050);
  ASSERT_EQ(track.size(), 44100u);
  SoundSystem sounds(2, 22050);
  start(sounds);
  std::vector<int16_t> out = play(22050 * 4, 1000);
  std::vector<int16_t> expected = repeated(track, out.size());
  EXPECT_EQ(firstDifference(out, expected), out.size());
}

TEST_F(MusicTest, ATrackWithAnOddNumberOfFramesStillLoopsSampleForSample) {
  std::vector<int16_t> track = writeTrack(11025, 2, 22050);
  ASSERT_EQ(track.size() / 2 % 2, 1u);
  SoundSystem sounds(2, 22050);
  start(sounds);
  std::vector<int16_t> out = play(11025 * 5, 777);
  EXPECT_EQ(firstDifference(out, repeated(track, out.size())), out.size());
}

TEST_F(MusicTest, PauseAndResumeContinueWhereTheyStopped) {
  std::vector<int16_t> track = writeTrack(22050, 2, 22050);
  SoundSystem sounds(2, 22050);
  start(sounds);
  std::vector<int16_t> out = play(5000, 5000);
  sounds.pauseMusic();
  EXPECT_EQ(ring()->status(), 0u);
  EXPECT_TRUE(allZero(advance(30000)));
  sounds.resumeMusic();
  std::vector<int16_t> rest = play(30000, 1000);
  out.insert(out.end(), rest.begin(), rest.end());
  EXPECT_EQ(firstDifference(out, repeated(track, out.size())), out.size());
}

TEST_F(MusicTest, LevelChangesReachTheRingAtOnceAndNewRingsStartAtTheStoredLevel) {
  writeTrack(22050, 2, 22050);
  SoundSystem sounds(2, 22050);
  start(sounds);
  EXPECT_EQ(ring()->volume(), 0);
  sounds.setMusicLevel(0);
  EXPECT_EQ(ring()->volume(), -9999);
  sounds.setMusicLevel(0.5);
  EXPECT_EQ(ring()->volume(), -1386);
  EXPECT_TRUE(sounds.stopMusic());
  EXPECT_FALSE(sounds.isMusicOpen());
  EXPECT_EQ(ring(), nullptr);
  sounds.playMusic("music.zap");
  ASSERT_NE(ring(), nullptr);
  EXPECT_EQ(ring()->volume(), -1386);
}

TEST_F(MusicTest, MissingOrNonOggMusicPlaysNothingAndIsNotOpenedAgain) {
  SoundSystem sounds(2, 22050);
  // The game screen's rule: start the music whenever it is not open.
  auto update = [&] {
    if (!sounds.isMusicOpen()) sounds.playMusic("music.zap");
  };
  update();  // no file at all
  EXPECT_TRUE(sounds.isMusicOpen());
  writeTrack(22050, 2, 22050);
  update();
  EXPECT_EQ(ring(), nullptr);
  sounds.stopMusic();

  writeFile(dir / "music.zap", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  update();
  EXPECT_TRUE(sounds.isMusicOpen());
  writeTrack(22050, 2, 22050);
  update();
  EXPECT_EQ(ring(), nullptr);
  EXPECT_TRUE(allZero(advance(1000)));
  sounds.stopMusic();

  // An empty file is not open, so the next update tries again and finds the music.
  writeFile(dir / "music.zap", "");
  update();
  EXPECT_FALSE(sounds.isMusicOpen());
  writeTrack(22050, 2, 22050);
  update();
  EXPECT_NE(ring(), nullptr);
}

TEST_F(MusicTest, APollingDeviceGetsTheSameMusic) {
  backend.audioNotifies = false;
  std::vector<int16_t> track = writeTrack(22050, 2, 22050);
  SoundSystem sounds(2, 22050);
  start(sounds);
  ASSERT_TRUE(ring()->notificationOffsets().empty());
  // Polling refills once the play cursor is a quarter of the ring from the write mark:
  // at three quarters, then every half ring.
  const uint32_t quarter = 22050 / 4 + 1;  // just past each quarter
  std::vector<int16_t> out;
  for (uint32_t quarters = 1; quarters <= 16; ++quarters) {
    std::vector<int16_t> piece = advance(quarter);
    out.insert(out.end(), piece.begin(), piece.end());
    uint64_t due = quarters >= 3 ? (quarters - 3) / 2 + 1 : 0;
    awaitRegions(regionsAtStart_ + due);
    ASSERT_FALSE(HasFatalFailure());
  }
  EXPECT_EQ(firstDifference(out, repeated(track, out.size())), out.size());
}

TEST_F(MusicTest, ADestroyedSoundSystemEndsItsThreadWithTheMusicStillPlaying) {
  writeTrack(22050, 2, 22050);
  for (int i = 0; i < 20; ++i) {
    SoundSystem sounds(2, 22050);
    sounds.playMusic("music.zap");
    advance(11025 + i * 500);  // a notification may be pending as it ends
  }
  SoundSystem sounds(2, 22050);
  sounds.playMusic("music.zap");
  sounds.playMusic("music.zap");  // a second start replaces the first ring
  EXPECT_EQ(device().buffers().size(), 1u);
}

// The game's own music, when the asset build has made it.
TEST_F(MusicTest, TheGeneratedMusicRepeatsWithoutAGap) {
  std::filesystem::path built = std::filesystem::path(GYROTIDE_BINARY_DIR) / "music.zap";
  if (!std::filesystem::exists(built)) GTEST_SKIP() << built << " has not been generated";
  std::filesystem::copy_file(built, dir / "music.zap");
  std::ifstream in(built, std::ios::binary);
  std::vector<int16_t> track = samplesOf(decodeOggBytes(in));
  ASSERT_FALSE(track.empty());
  SoundSystem sounds(2, 22050);
  start(sounds);
  ASSERT_NE(ring(), nullptr);
  ASSERT_EQ(ring()->format().samplesPerSec, 22050u) << "compared sample for sample at 22050 Hz";
  uint32_t frames = static_cast<uint32_t>(track.size() / ring()->format().channels) + 22050 * 3;
  std::vector<int16_t> out = play(frames, 4096);
  if (ring()->format().channels == 1) {
    std::vector<int16_t> stereo;
    for (int16_t s : track) stereo.insert(stereo.end(), {s, s});
    track = stereo;
  }
  EXPECT_EQ(firstDifference(out, repeated(track, out.size())), out.size());
}
