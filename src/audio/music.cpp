// The streamed music of SoundSystem: opening the track, the ring and its refills.
#include <algorithm>
#include <cstring>
#include <new>

#include "audio/sound_system.h"
#include "audio/vorbis_io.h"

namespace {

constexpr uint32_t kRingSeconds = 4;
constexpr uint32_t kIdlePollMs = 100;

}  // namespace

bool SoundSystem::isMusicOpen() {
  std::lock_guard guard(musicMutex_);
  return musicFileOpen();
}

void SoundSystem::pauseMusic() {
  std::lock_guard guard(musicMutex_);
  musicPaused_ = true;
  if (musicBuffer_) musicBuffer_->stop();
}

void SoundSystem::resumeMusic() {
  std::lock_guard guard(musicMutex_);
  if (musicBuffer_) musicBuffer_->play(true);
  musicPaused_ = false;
}

bool SoundSystem::stopMusic() {
  std::lock_guard guard(musicMutex_);
  closeMusic();
  return true;
}

// Ends the decoder, the file and the ring. decodeBuffer, the pause flag and the write mark
// stay as they are.
void SoundSystem::closeMusic() {
  if (musicDecoderOpen_) ov_clear(musicDecoder_.get());
  musicDecoderOpen_ = false;
  musicFile_.close();
  if (std::unique_ptr<platform::AudioBuffer> ring = std::move(musicBuffer_)) ring->stop();
}

void SoundSystem::playMusic(const std::string& path) {
  std::lock_guard guard(musicMutex_);
  // A ring or decoder left by an earlier start would otherwise be lost.
  closeMusic();
  musicFile_.openFile(path.c_str());
  if (!musicFileOpen() || !device_) return;
  char signature[12];
  if (musicFile_.read(signature, 12) != 12 || std::memcmp(signature, "OggS", 4) != 0) return;
  musicFile_.setPosition(0);
  if (ov_open_callbacks(&musicFile_, musicDecoder_.get(), nullptr, 0, resourceStreamCallbacks()) !=
      0) {
    return;
  }
  musicDecoderOpen_ = true;
  if (!startRing()) musicFile_.close();  // the game screen tries again at its next update
}

// Makes the ring for the open track, fills both halves and starts it. False when the start
// failed after the ring was made; a track the device cannot take is silent but stays open.
bool SoundSystem::startRing() {
  const vorbis_info* info = ov_info(musicDecoder_.get(), -1);
  if (info == nullptr) return true;
  musicFormat_ = platform::PcmFormat::pcm16(static_cast<uint16_t>(info->channels),
                                            static_cast<uint32_t>(info->rate));
  auto total =
      static_cast<uint32_t>(ov_pcm_total(musicDecoder_.get(), -1) * musicFormat_.blockAlign);
  uint32_t ring = musicFormat_.samplesPerSec * kRingSeconds * musicFormat_.channels *
                  (musicFormat_.bitsPerSample / 8);
  ring = std::min(ring, total);
  // Whole frames in each half, so the channels never swap places across a refill.
  uint32_t pair = 2u * musicFormat_.blockAlign;
  musicRingBytes_ = pair == 0 ? 0 : ring / pair * pair;
  // The ring first: the device refuses formats and sizes a damaged header could make up,
  // before anything as large is allocated here.
  musicBuffer_ = device_->createBuffer(musicFormat_, musicRingBytes_, true);
  if (!musicBuffer_) return true;
  decodeBuffer_.reset(new (std::nothrow) uint8_t[musicRingBytes_ / 2]);
  decodeReady_ = false;
  musicBuffer_->setVolume(toDeviceVolume(musicLevel_));
  uint32_t half = musicRingBytes_ / 2;
  if (notifySupported_) {
    musicBuffer_->setNotificationPositions({half - 1, musicRingBytes_ - 1},
                                           [this](uint32_t) { signalRefill(); });
  }
  musicWriteMark_ = 0;
  // Both halves hold music before the ring starts: each refill then writes the half that has
  // just finished, with a whole half of time to spare.
  bool ok = decodeNextHalf() && refillMusic(half) && refillMusic(half);
  if (ok) musicBuffer_->play(true);
  return ok;
}

bool SoundSystem::decodeNextHalf() {
  decodeReady_ = false;
  if (!decodeBuffer_ || !musicDecoderOpen_) return false;
  // What a decode error leaves undecoded keeps the bytes it held before.
  decodeLooping(*musicDecoder_, decodeBuffer_.get(), musicRingBytes_ / 2);
  decodeReady_ = true;
  return true;
}

void SoundSystem::copyDecoded(uint8_t* destination, uint32_t offset, uint32_t count) {
  uint32_t half = musicRingBytes_ / 2;
  if (!decodeReady_ || !decodeBuffer_ || offset > half) return;
  std::memcpy(destination, decodeBuffer_.get() + offset, std::min(count, half - offset));
}

// Writes the decoded half at the write mark, the end of the previous write, then decodes the
// next half while the ring plays.
bool SoundSystem::refillMusic(uint32_t bytes) {
  if (!musicBuffer_ || !musicFileOpen()) return false;
  uint32_t half = musicRingBytes_ / 2;
  bytes = bytes == 0 ? half : std::min(bytes, half);
  platform::LockedRegion region;
  if (!musicBuffer_->lock(musicWriteMark_, bytes, false, region)) return false;
  if (region.first != nullptr) copyDecoded(region.first, 0, region.firstBytes);
  if (region.second != nullptr) copyDecoded(region.second, region.firstBytes, region.secondBytes);
  decodeNextHalf();
  musicBuffer_->unlock(region);
  musicWriteMark_ = (musicWriteMark_ + bytes) % musicRingBytes_;
  return true;
}

// Whether the play cursor has left the half that starts at the write mark, so that half can
// be written. A notification that belongs to a ring since replaced finds its half still
// playing and is ignored.
bool SoundSystem::halfAtMarkPlayed() {
  uint32_t play = 0, write = 0;
  if (musicRingBytes_ == 0 || !musicBuffer_->getCurrentPosition(play, write)) return false;
  uint32_t sinceMark = (play + musicRingBytes_ - musicWriteMark_) % musicRingBytes_;
  return sinceMark >= musicRingBytes_ / 2;
}

// Polling: refill once the play cursor is within a quarter of the ring of the write mark.
void SoundSystem::pollMusic() {
  uint32_t play = 0, write = 0;
  if (!musicBuffer_ || musicPaused_ || !musicBuffer_->getCurrentPosition(play, write)) return;
  uint32_t w = musicWriteMark_;
  if (w <= play) w += musicRingBytes_;
  if (w - play <= musicRingBytes_ / 4) refillMusic(0);
}

// An eighth of the ring's playing time: a refill always comes before a quarter has played.
uint32_t SoundSystem::pollIntervalMs() const {
  if (!musicBuffer_ || musicFormat_.avgBytesPerSec == 0) return kIdlePollMs;
  uint64_t ms = uint64_t{musicRingBytes_} / 8 * 1000 / musicFormat_.avgBytesPerSec;
  return static_cast<uint32_t>(std::clamp<uint64_t>(ms, 1, kIdlePollMs));
}
