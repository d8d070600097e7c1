#include "audio/sound_system.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <new>

#include "audio/vorbis_io.h"
#include "platform/platform.h"

SoundSystem* currentSoundSystem = nullptr;

namespace {

double clampLevel(double level) {
  if (std::isnan(level) || level < 0.0) return 0.0;
  return level > 1.0 ? 1.0 : level;
}

}  // namespace

int32_t toDeviceVolume(double level) {
  double v = 2000.0 * std::log(level);
  // Written so that a level of 0 (minus infinity) and a NaN both take the floor.
  if (!(v > -10000.0)) {
    v = -9999.0;
  } else if (v > 0.0) {
    v = 0.0;
  }
  return static_cast<int32_t>(v);
}

SoundSystem::SoundSystem(uint16_t channels, uint16_t samplesPerSecond) {
  currentSoundSystem = this;
  device_ = platform::backend().openAudio(platform::PcmFormat::pcm16(channels, samplesPerSecond));
  musicDecoder_.reset(new (std::nothrow) OggVorbis_File{});
  if (!device_ || !musicDecoder_) {
    device_.reset();
    return;
  }
  notifySupported_ = device_->supportsNotification();
  streamThread_ = std::thread(&SoundSystem::streamingThread, this);
}

SoundSystem::~SoundSystem() {
  for (auto& sound : sounds_) {
    sound->stop();
    sound.reset();
  }
  {
    std::lock_guard guard(musicMutex_);
    if (musicBuffer_) musicBuffer_->stop();
  }
  if (streamThread_.joinable()) {
    {
      std::lock_guard guard(wakeMutex_);
      stopRequested_ = true;
    }
    wake_.notify_all();
    streamThread_.join();
  }
  musicBuffer_.reset();
  device_.reset();
  decodeBuffer_.reset();
  // The game stops the music first; a decoder still open here would leak its state.
  if (musicDecoderOpen_) ov_clear(musicDecoder_.get());
  musicFile_.close();
  sounds_.clear();
  if (currentSoundSystem == this) currentSoundSystem = nullptr;
}

Sound* SoundSystem::getSound(const std::string& name) {
  for (auto& sound : sounds_) {
    if (sound->name == name) return sound.get();
  }
  sounds_.push_back(std::make_unique<Sound>(name, device_.get()));
  Sound* sound = sounds_.back().get();
  sound->setLevel(effectsLevel_);
  return sound;
}

void SoundSystem::setEffectsLevel(double level) {
  effectsLevel_ = clampLevel(level);
  for (auto& sound : sounds_) sound->setLevel(effectsLevel_);
}

void SoundSystem::setMusicLevel(double level) {
  std::lock_guard guard(musicMutex_);
  musicLevel_ = clampLevel(level);
  if (musicBuffer_) musicBuffer_->setVolume(toDeviceVolume(musicLevel_));
}

double SoundSystem::musicLevel() {
  std::lock_guard guard(musicMutex_);
  return musicLevel_;
}

// Runs on the device's mixing thread: only raises the flag.
void SoundSystem::signalRefill() {
  {
    std::lock_guard guard(wakeMutex_);
    refillPending_ = true;
  }
  wake_.notify_one();
}

// Notification mode sleeps until the ring reports a finished half; a device that cannot
// notify is polled often enough to refill before a quarter of the ring has played.
void SoundSystem::streamingThread() {
  uint32_t pollMs = 1;  // the first pass only finds out how long to wait
  for (;;) {
    {
      std::unique_lock guard(wakeMutex_);
      if (notifySupported_) {
        wake_.wait(guard, [this] { return refillPending_ || stopRequested_; });
      } else {
        wake_.wait_for(guard, std::chrono::milliseconds(pollMs), [this] { return stopRequested_; });
      }
      if (stopRequested_) return;
      refillPending_ = false;
    }
    std::lock_guard music(musicMutex_);
    if (notifySupported_) {
      if (musicBuffer_ && halfAtMarkPlayed()) refillMusic(0);
    } else {
      pollMusic();
      pollMs = pollIntervalMs();
    }
  }
}

Sound* loadSound(const std::string& name) {
  return currentSoundSystem != nullptr ? currentSoundSystem->getSound(name) : nullptr;
}

void restartSound(Sound* sound) {
  if (sound == nullptr) return;
  if (sound->isPlaying()) sound->stop();
  sound->rewind();
  sound->play();
}
