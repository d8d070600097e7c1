#include "audio/sound_system.h"

#include <cmath>
#include <sstream>

#include "audio/audio_fixture.h"
#include "platform/audio_mixer.h"

namespace {

// Stereo 16-bit frames whose left channel counts 1, 2, 3... and whose right is its negative.
std::vector<int16_t> countingFrames(int frames) {
  std::vector<int16_t> out;
  for (int i = 1; i <= frames; ++i) {
    out.push_back(static_cast<int16_t>(i * 100));
    out.push_back(static_cast<int16_t>(-i * 100));
  }
  return out;
}

std::string countingWave(int frames) {
  return waveBytes(pcmFormat(2, 22050, 16), pcmBytes(countingFrames(frames)));
}

std::vector<int16_t> firstFrames(const std::vector<int16_t>& samples, size_t frames) {
  return {samples.begin(), samples.begin() + static_cast<long>(frames * 2)};
}

int32_t volumeOf(Sound* sound) {
  return sound->buffer ? sound->buffer->volume() : 1;
}

class SoundSystemTest : public AudioTest {};

}  // namespace

TEST_F(SoundSystemTest, LevelsClampAndMapToAttenuationByNaturalLogarithm) {
  EXPECT_EQ(toDeviceVolume(1.0), 0);
  EXPECT_EQ(toDeviceVolume(0.9), -210);
  EXPECT_EQ(toDeviceVolume(0.75), -575);
  EXPECT_EQ(toDeviceVolume(0.5), -1386);
  EXPECT_EQ(toDeviceVolume(0.25), -2772);
  EXPECT_EQ(toDeviceVolume(0.1), -4605);
  EXPECT_EQ(toDeviceVolume(0.01), -9210);
  EXPECT_EQ(toDeviceVolume(std::exp(-5.0)), -9999);
  EXPECT_EQ(toDeviceVolume(0.0), -9999);
  EXPECT_EQ(toDeviceVolume(-1.0), -9999);
  EXPECT_EQ(toDeviceVolume(std::nan("")), -9999);
  EXPECT_EQ(toDeviceVolume(7.0), 0);

  useArchive({{"a.wav", countingWave(4)}, {"b.wav", countingWave(4)}});
  SoundSystem sounds(2, 22050);
  EXPECT_EQ(sounds.effectsLevel(), 1.0);
  EXPECT_EQ(sounds.musicLevel(), 0.0);
  Sound* a = sounds.getSound("a.wav");
  EXPECT_EQ(volumeOf(a), 0);
  sounds.setEffectsLevel(0.5);
  Sound* b = sounds.getSound("b.wav");  // a new sound starts at the current level
  EXPECT_EQ(volumeOf(a), -1386);
  EXPECT_EQ(volumeOf(b), -1386);
  sounds.setEffectsLevel(-0.5);
  EXPECT_EQ(sounds.effectsLevel(), 0.0);
  EXPECT_EQ(volumeOf(a), -9999);
  EXPECT_EQ(volumeOf(b), -9999);
  sounds.setEffectsLevel(7);
  EXPECT_EQ(sounds.effectsLevel(), 1.0);
  EXPECT_EQ(volumeOf(b), 0);
  sounds.setMusicLevel(-3);
  EXPECT_EQ(sounds.musicLevel(), 0.0);
  sounds.setMusicLevel(2);
  EXPECT_EQ(sounds.musicLevel(), 1.0);
}

TEST_F(SoundSystemTest, EachNameLoadsOnceAndUnknownNamesAreSilent) {
  useArchive({{"pop2.ogg", encodeOgg(glide(2205, 2, 22050), 2, 22050)}});
  SoundSystem sounds(2, 22050);
  EXPECT_EQ(loadSound("pop2.ogg"), sounds.getSound("pop2.ogg"));
  EXPECT_EQ(sounds.sounds().size(), 1u);
  EXPECT_EQ(device().buffers().size(), 1u);  // decoded once
  EXPECT_EQ(sounds.getSound("pop2.ogg")->dataBytes, 2205u * 4);

  Sound* missing = sounds.getSound("Pop2.ogg");  // names are exact
  EXPECT_NE(missing, nullptr);
  EXPECT_EQ(missing->buffer, nullptr);
  missing->play();
  restartSound(missing);
  EXPECT_FALSE(missing->isPlaying());
  EXPECT_TRUE(allZero(advance(100)));
  EXPECT_EQ(sounds.sounds().size(), 2u);
  restartSound(nullptr);
}

TEST_F(SoundSystemTest, RestartSoundCutsOffAndStartsFromTheFirstSample) {
  useArchive({{"ratchet4.wav", countingWave(8)}});
  SoundSystem sounds(2, 22050);
  Sound* sound = loadSound("ratchet4.wav");
  restartSound(sound);
  EXPECT_EQ(firstFrames(advance(3), 3), firstFrames(countingFrames(3), 3));
  EXPECT_TRUE(sound->isPlaying());
  restartSound(sound);
  std::vector<int16_t> expected = countingFrames(8);
  expected.insert(expected.end(), {0, 0});
  EXPECT_EQ(advance(9), expected);
  EXPECT_FALSE(sound->isPlaying());
  restartSound(sound);  // finished: rewinds and plays again
  EXPECT_EQ(firstFrames(advance(2), 2), firstFrames(countingFrames(2), 2));

  sound->stop();
  sound->playLooping();  // loops on from where it stood
  std::vector<int16_t> looped = advance(8);
  EXPECT_EQ(looped[0], 300);
  EXPECT_EQ(looped[12], 100);
  EXPECT_TRUE(sound->isPlaying());
}

TEST_F(SoundSystemTest, WaveNeedsFormatThenDataAndFallsBackToTheArchive) {
  const platform::PcmFormat stereo = pcmFormat(2, 22050, 16);
  std::string listChunk = chunk("LIST", "INFOISFT");
  writeFile(dir / "clank.wav", waveBytes(stereo, pcmBytes({1, 1}), listChunk));
  writeFile(dir / "bloop.wav", waveBytes(stereo, pcmBytes({1, 1}), listChunk));
  // A longer "fmt " chunk (with its extra-size field) is fine.
  std::string longFormat = "RIFF" + le32(40) + "WAVE" +
                           chunk("fmt ", formatChunkBody(stereo) + le16(0)) + "data" + le32(4) +
                           pcmBytes({5, -5});
  writeFile(dir / "swirl.wav", longFormat);
  useArchive({{"clank.wav", countingWave(2)}});
  SoundSystem sounds(2, 22050);

  Sound* clank = sounds.getSound("clank.wav");
  restartSound(clank);
  EXPECT_EQ(advance(2), countingFrames(2));
  EXPECT_EQ(sounds.getSound("bloop.wav")->buffer, nullptr);  // no archive member either
  Sound* swirl = sounds.getSound("swirl.wav");
  restartSound(swirl);
  EXPECT_EQ(advance(1), (std::vector<int16_t>{5, -5}));
  EXPECT_EQ(swirl->format.cbSize, 0);
}

TEST_F(SoundSystemTest, TruncatedDataPlaysWhatArrived) {
  const platform::PcmFormat mono8 = pcmFormat(1, 22050, 8);
  useArchive({{"hiss.wav", waveBytes(mono8, std::string("\xC0\x40", 2), "", 1000)},
              {"explode.wav", countingWave(1)}});
  // A loose file cut short is passed over for the archive member.
  writeFile(dir / "explode.wav", waveBytes(pcmFormat(2, 22050, 16), pcmBytes({9, 9}), "", 400));
  SoundSystem sounds(2, 22050);
  Sound* hiss = sounds.getSound("hiss.wav");
  ASSERT_NE(hiss->buffer, nullptr);
  restartSound(hiss);
  EXPECT_EQ(advance(3), (std::vector<int16_t>{16384, 16384, -16384, -16384, 0, 0}));
  restartSound(sounds.getSound("explode.wav"));
  EXPECT_EQ(advance(1), countingFrames(1));
}

TEST_F(SoundSystemTest, OggKeepsItsOwnFormatAndLooseFilesComeFirst) {
  std::string mono = encodeOgg(glide(4410, 1, 44100), 1, 44100);
  std::string other = encodeOgg(glide(2000, 2, 22050), 2, 22050);
  useArchive({{"twiddle.ogg", mono}, {"swap.ogg", mono}, {"explode-big.ogg", mono}});
  writeFile(dir / "swap.ogg", other);
  writeFile(dir / "explode-big.ogg", "OggS but nothing decodable follows");
  SoundSystem sounds(2, 22050);

  Sound* twiddle = sounds.getSound("twiddle.ogg");
  EXPECT_EQ(twiddle->format.channels, 1);
  EXPECT_EQ(twiddle->format.samplesPerSec, 44100u);
  EXPECT_EQ(twiddle->format.bitsPerSample, 16);
  EXPECT_EQ(twiddle->dataBytes, 4410u * 2);
  std::istringstream monoStream(mono);
  auto* twiddleBuffer = static_cast<platform::MixerBuffer*>(twiddle->buffer.get());
  EXPECT_EQ(twiddleBuffer->contents(), decodeOggBytes(monoStream));
  restartSound(twiddle);
  std::vector<int16_t> out = advance(2205);
  EXPECT_FALSE(allZero(out));
  for (size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], out[i + 1]);

  std::istringstream otherStream(other);
  EXPECT_EQ(
      static_cast<platform::MixerBuffer*>(sounds.getSound("swap.ogg")->buffer.get())->contents(),
      decodeOggBytes(otherStream));
  EXPECT_EQ(sounds.getSound("explode-big.ogg")->format.channels, 1);
}

TEST_F(SoundSystemTest, AFolderNamedLikeASoundIsNoLooseFile) {
  useArchive({{"swap.wav", countingWave(2)}});
  std::filesystem::create_directory(dir / "swap.wav");
  SoundSystem sounds(2, 22050);
  restartSound(sounds.getSound("swap.wav"));
  EXPECT_EQ(advance(2), countingFrames(2));
}

TEST_F(SoundSystemTest, WithoutADeviceEverythingIsSilentAndNothingIsSaid) {
  backend.audioAvailable = false;
  useArchive({{"swap.wav", countingWave(4)}});
  writeFile(dir / "music.zap", encodeOgg(glide(22050, 2, 22050), 2, 22050));
  SoundSystem sounds(2, 22050);
  EXPECT_EQ(sounds.device(), nullptr);
  EXPECT_FALSE(sounds.hasStreamingThread());
  Sound* swap = sounds.getSound("swap.wav");
  swap->playLooping();
  EXPECT_FALSE(swap->isPlaying());
  sounds.playMusic("music.zap");
  EXPECT_TRUE(sounds.isMusicOpen());
  EXPECT_TRUE(backend.boxes.empty());
}

// Outside files: Debian's freedesktop sound theme (Ogg Vorbis) and alsa-utils' WAVE files.
TEST_F(SoundSystemTest, OutsideOggAndWaveFilesLoadAndPlay) {
  const std::vector<std::string> folders = {"/usr/share/sounds/freedesktop/stereo",
                                            "/usr/share/sounds/alsa"};
  SoundSystem sounds(2, 22050);
  int loaded = 0;
  for (const std::string& folder : folders) {
    ASSERT_TRUE(std::filesystem::is_directory(folder))
        << folder << " is missing: install sound-theme-freedesktop and alsa-utils (setup.sh does)";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      Sound* sound = sounds.getSound(entry.path().string());
      ASSERT_NE(sound->buffer, nullptr) << entry.path();
      EXPECT_EQ(sound->dataBytes % sound->format.blockAlign, 0u) << entry.path();
      restartSound(sound);
      EXPECT_FALSE(allZero(advance(22050))) << entry.path();
      sound->stop();
      ++loaded;
    }
  }
  EXPECT_GT(loaded, 30);
}
