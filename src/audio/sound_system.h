#pragma once

// Everything audible: the audio device, every sound effect and the streamed background music.
// Exactly one exists while the top-level screen lives.
//
// The music is an Ogg Vorbis file read from disk and never decoded whole: a looping ring of
// about four seconds plays on the device while the streaming thread refills the half that has
// just played and decodes the half after it. One mutex covers the music state; the main
// thread's music operations and the thread's refills each hold it for their whole run.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/sound.h"
#include "platform/audio.h"
#include "res/resource_stream.h"

struct OggVorbis_File;

class SoundSystem {
 public:
  // Opens the audio device with 16-bit samples in the given layout and starts the streaming
  // thread. Without a device everything stays silent, and nothing is reported.
  SoundSystem(uint16_t channels, uint16_t samplesPerSecond);
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  // The effect of this name (exact bytes), loaded on the first request and kept; never null.
  Sound* getSound(const std::string& name);
  // Both levels are clamped to 0..1.
  void setEffectsLevel(double level);
  double effectsLevel() const { return effectsLevel_; }
  void setMusicLevel(double level);
  double musicLevel();

  // Opens and starts the music file at path. A missing file, one that is not Ogg Vorbis, or
  // one the decoder refuses leaves the music open but silent, so it is not tried again.
  void playMusic(const std::string& path);
  // Whether the music file's end differs from its start: true for a file with content and
  // after an attempt on a missing file; false for an empty file and after stopMusic.
  bool isMusicOpen();
  // The ring stops where it is and resumes from there.
  void pauseMusic();
  void resumeMusic();
  bool stopMusic();

  platform::AudioDevice* device() const { return device_.get(); }
  bool hasStreamingThread() const { return streamThread_.joinable(); }
  const std::vector<std::unique_ptr<Sound>>& sounds() const { return sounds_; }

 private:
  // Everything below runs with musicMutex_ held.
  bool decodeNextHalf();
  bool refillMusic(uint32_t bytes);
  void copyDecoded(uint8_t* destination, uint32_t offset, uint32_t count);
  void pollMusic();
  bool halfAtMarkPlayed();
  bool musicFileOpen() const { return musicFile_.size() != 0; }
  void closeMusic();
  bool startRing();
  uint32_t pollIntervalMs() const;

  void streamingThread();
  void signalRefill();

  double effectsLevel_ = 1.0;
  std::vector<std::unique_ptr<Sound>> sounds_;
  double musicLevel_ = 0.0;
  ResourceStream musicFile_;
  bool musicPaused_ = false;
  platform::PcmFormat musicFormat_;
  uint32_t musicRingBytes_ = 0;
  std::unique_ptr<platform::AudioBuffer> musicBuffer_;
  uint32_t musicWriteMark_ = 0;
  std::unique_ptr<OggVorbis_File> musicDecoder_;
  bool musicDecoderOpen_ = false;

  std::unique_ptr<platform::AudioDevice> device_;
  bool notifySupported_ = false;
  std::unique_ptr<uint8_t[]> decodeBuffer_;
  bool decodeReady_ = false;
  std::mutex musicMutex_;

  // The streaming thread sleeps until a ring notification or the stop request. Both are flags
  // under wakeMutex_, so neither is lost when it arrives before the thread waits.
  std::mutex wakeMutex_;
  std::condition_variable wake_;
  bool refillPending_ = false;
  bool stopRequested_ = false;
  std::thread streamThread_;
};

// Set by the constructor, cleared by the destructor.
extern SoundSystem* currentSoundSystem;

// getSound on the current sound system; null when there is none.
Sound* loadSound(const std::string& name);
// Cuts the sound off if it is playing and starts it again from its first sample.
void restartSound(Sound* sound);
// The device attenuation for a level: 2000 times its natural logarithm, in hundredths of a
// decibel, truncated, at most 0 and at least -9999.
int32_t toDeviceVolume(double level);
