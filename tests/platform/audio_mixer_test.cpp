#include "platform/audio_mixer.h"

#include <gtest/gtest.h>

#include "audio/audio_test_support.h"

#include <cstring>
#include <vector>

using namespace platform;

namespace {

PcmFormat format(uint16_t channels, uint32_t rate, uint16_t bits) {
  return pcmFormat(channels, rate, bits);
}

void write(AudioBuffer& buffer, uint32_t offset, const std::vector<uint8_t>& bytes) {
  LockedRegion region;
  ASSERT_TRUE(buffer.lock(offset, static_cast<uint32_t>(bytes.size()), false, region));
  std::memcpy(region.first, bytes.data(), region.firstBytes);
  if (region.second)
    std::memcpy(region.second, bytes.data() + region.firstBytes, region.secondBytes);
  ASSERT_TRUE(buffer.unlock(region));
}

std::vector<uint8_t> samples16(const std::vector<int16_t>& values) {
  std::vector<uint8_t> out;
  for (int16_t v : values) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  return out;
}

class AudioMixerTest : public ::testing::Test {
 protected:
  std::vector<int16_t> mix(uint32_t frames) {
    std::vector<int16_t> out(frames * 2, 12345);
    mixer.mix(out.data(), frames);
    return out;
  }
  std::unique_ptr<AudioBuffer> buffer16(const std::vector<int16_t>& stereo) {
    auto buffer =
        mixer.createBuffer(format(2, 22050, 16), static_cast<uint32_t>(stereo.size() * 2), false);
    if (buffer) write(*buffer, 0, samples16(stereo));
    return buffer;
  }

  SoftwareMixer mixer{PcmFormat::pcm16(2, 22050)};
};

}  // namespace

TEST_F(AudioMixerTest, ConvertsEightBitMonoAndRatesToTheOutput) {
  auto eight = mixer.createBuffer(format(1, 22050, 8), 3, false);
  ASSERT_TRUE(eight);
  write(*eight, 0, {0x00, 0x80, 0xFF});
  eight->play(false);
  EXPECT_EQ(mix(4), (std::vector<int16_t>{-32768, -32768, 0, 0, 32512, 32512, 0, 0}));

  // Half the output rate: every source frame twice, the second time halfway to the next.
  auto slow = mixer.createBuffer(format(1, 11025, 16), 6, false);
  write(*slow, 0, samples16({1000, 3000, 5000}));
  slow->play(false);
  EXPECT_EQ(mix(6), (std::vector<int16_t>{1000, 1000, 2000, 2000, 3000, 3000, 4000, 4000, 5000,
                                          5000, 5000, 5000}));
}

TEST_F(AudioMixerTest, SumsSaturateAndVolumeScalesInDecibels) {
  auto a = buffer16({30000, -30000, 100, 0});
  auto b = buffer16({30000, -30000, 100, 0});
  a->play(false);
  b->play(false);
  EXPECT_EQ(mix(2), (std::vector<int16_t>{32767, -32768, 200, 0}));

  a->setCurrentPosition(0);
  a->play(false);
  EXPECT_TRUE(a->setVolume(-600));  // -6 dB: about half
  EXPECT_EQ(a->volume(), -600);
  std::vector<int16_t> half = mix(1);
  EXPECT_NEAR(half[0], 15036, 2);
  EXPECT_FALSE(a->setVolume(1));
  EXPECT_FALSE(a->setVolume(-10001));
  EXPECT_EQ(a->volume(), -600);
  a->setCurrentPosition(0);
  a->setVolume(-10000);
  a->play(false);
  EXPECT_EQ(mix(1), (std::vector<int16_t>{0, 0}));
}

TEST_F(AudioMixerTest, PlaysOnceOrLoopsAndKeepsItsPositionWhenStopped) {
  auto buffer = buffer16({1, 1, 2, 2, 3, 3});
  EXPECT_EQ(buffer->status(), 0u);
  buffer->play(false);
  EXPECT_EQ(buffer->status(), kStatusPlaying);
  EXPECT_EQ(mix(2), (std::vector<int16_t>{1, 1, 2, 2}));
  buffer->stop();
  uint32_t play = 0, write = 0;
  buffer->getCurrentPosition(play, write);
  EXPECT_EQ(play, 8u);
  EXPECT_EQ(write, 8u);
  EXPECT_EQ(mix(1), (std::vector<int16_t>{0, 0}));
  buffer->play(false);
  EXPECT_EQ(mix(3), (std::vector<int16_t>{3, 3, 0, 0, 0, 0}));
  EXPECT_EQ(buffer->status(), 0u);

  EXPECT_TRUE(buffer->setCurrentPosition(4));
  EXPECT_FALSE(buffer->setCurrentPosition(12));
  buffer->play(true);
  EXPECT_EQ(buffer->status(), kStatusPlaying | kStatusLooping);
  EXPECT_EQ(mix(5), (std::vector<int16_t>{2, 2, 3, 3, 1, 1, 2, 2, 3, 3}));
}

TEST_F(AudioMixerTest, LockedRegionsWrapInTwoPiecesAndReachTheBufferAtUnlock) {
  auto ring = mixer.createBuffer(format(2, 22050, 16), 16, true);
  ASSERT_TRUE(ring);
  LockedRegion region;
  EXPECT_FALSE(ring->lock(0, 17, false, region));
  EXPECT_FALSE(ring->lock(16, 4, false, region));
  EXPECT_FALSE(ring->lock(0, 0, false, region));
  ASSERT_TRUE(ring->lock(12, 8, false, region));
  EXPECT_EQ(region.firstBytes, 4u);
  EXPECT_EQ(region.secondBytes, 4u);
  ASSERT_NE(region.second, nullptr);
  LockedRegion other;
  EXPECT_FALSE(ring->lock(0, 4, false, other));  // one lock at a time
  std::memset(region.first, 0x11, 4);
  std::memset(region.second, 0x22, 4);
  auto* ringBuffer = static_cast<MixerBuffer*>(ring.get());
  EXPECT_EQ(ringBuffer->contents(), std::vector<uint8_t>(16, 0));  // nothing until unlock
  ASSERT_TRUE(ring->unlock(region));
  EXPECT_EQ(ringBuffer->contents(), (std::vector<uint8_t>{0x22, 0x22, 0x22, 0x22, 0, 0, 0, 0, 0, 0,
                                                          0, 0, 0x11, 0x11, 0x11, 0x11}));
  EXPECT_FALSE(ring->unlock(region));

  // From the write cursor, which follows the play cursor.
  ring->play(true);
  mix(3);
  ASSERT_TRUE(ring->lock(0, 4, true, region));
  EXPECT_EQ(region.first[0], 0x11);  // the region holds the bytes already there
  region.first[0] = 0x33;
  ring->unlock({region.first, 1, nullptr, 0});
  EXPECT_EQ(ringBuffer->contents()[12], 0x33);
  EXPECT_EQ(ringBuffer->contents()[13], 0x11);
}

TEST_F(AudioMixerTest, NotificationsFireOncePassedAndAgainOnEveryLoop) {
  auto ring = mixer.createBuffer(format(2, 22050, 16), 16, true);
  std::vector<uint32_t> fired;
  ASSERT_TRUE(ring->setNotificationPositions({7, 15}, [&](uint32_t i) { fired.push_back(i); }));
  EXPECT_FALSE(ring->setNotificationPositions({16}, nullptr));
  ring->play(true);
  mix(1);
  EXPECT_TRUE(fired.empty());  // byte 7 belongs to the second frame
  mix(1);
  EXPECT_EQ(fired, (std::vector<uint32_t>{0}));
  mix(2);
  EXPECT_EQ(fired, (std::vector<uint32_t>{0, 1}));
  mix(4);
  EXPECT_EQ(fired, (std::vector<uint32_t>{0, 1, 0, 1}));

  SoftwareMixer pollOnly(PcmFormat::pcm16(2, 22050), false);
  auto polled = pollOnly.createBuffer(format(2, 22050, 16), 16, true);
  EXPECT_FALSE(polled->setNotificationPositions({7}, [](uint32_t) {}));
}

TEST_F(AudioMixerTest, RefusesWhatItCannotPlayAndForgetsReleasedBuffers) {
  EXPECT_TRUE(mixer.createBuffer(format(1, 100, 8), 1, false));
  for (PcmFormat bad :
       {format(3, 22050, 16), format(2, 22050, 12), format(2, 99, 16), format(2, 200001, 16)}) {
    EXPECT_FALSE(mixer.createBuffer(bad, 12, false));
  }
  PcmFormat misaligned = format(2, 22050, 16);
  misaligned.blockAlign = 3;
  EXPECT_FALSE(mixer.createBuffer(misaligned, 12, false));
  EXPECT_FALSE(mixer.createBuffer(format(2, 22050, 16), 3, false));
  EXPECT_FALSE(mixer.createBuffer(format(2, 22050, 16), kMaxBufferBytes + 4, false));
  EXPECT_TRUE(mixer.buffers().empty());
}

namespace {
// Counts the moments a sound starts to be heard, as a device that rests while silent would.
class RestingMixer : public SoftwareMixer {
 public:
  RestingMixer() : SoftwareMixer(PcmFormat::pcm16(2, 22050)) {}
  int started = 0;

 protected:
  void soundStarted() override { ++started; }
};
}  // namespace

// A device may rest exactly while nothing audible plays: the music at the lowest volume (a
// level of 0 gives -9999) and stopped or finished effects are silent; playing an effect or
// raising the music's volume starts it again at once.
TEST(AudioMixerRest, SaysWhenNothingAudibleIsLeftAndWhenASoundStarts) {
  RestingMixer mixer;
  std::vector<int16_t> out(2 * 8);
  EXPECT_FALSE(mixer.mix(out.data(), 8));  // nothing at all
  auto music = mixer.createBuffer(format(2, 22050, 16), 400, true);
  auto effect = mixer.createBuffer(format(2, 22050, 16), 16, false);  // four frames
  ASSERT_TRUE(music && effect);
  write(*effect, 0, samples16({1000, 1000, 1000, 1000, 1000, 1000, 1000, 1000}));
  ASSERT_TRUE(music->setVolume(-9999));
  music->play(true);
  EXPECT_EQ(mixer.started, 0);
  EXPECT_FALSE(mixer.mix(out.data(), 8));  // music too quiet to hear

  effect->play(false);
  EXPECT_EQ(mixer.started, 1);
  EXPECT_TRUE(mixer.mix(out.data(), 2));   // half of the effect left
  EXPECT_FALSE(mixer.mix(out.data(), 8));  // it has ended

  ASSERT_TRUE(music->setVolume(-600));
  EXPECT_EQ(mixer.started, 2);
  ASSERT_TRUE(music->setVolume(-300));  // already heard: no new start
  EXPECT_EQ(mixer.started, 2);
  EXPECT_TRUE(mixer.mix(out.data(), 8));
  music->stop();
  EXPECT_FALSE(mixer.mix(out.data(), 8));
  ASSERT_TRUE(effect->setVolume(-10000));
  effect->play(false);  // an effect at silence starts nothing
  EXPECT_EQ(mixer.started, 2);
  EXPECT_FALSE(mixer.mix(out.data(), 8));
}
