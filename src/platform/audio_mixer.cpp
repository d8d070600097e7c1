#include "platform/audio_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace platform {

namespace {

constexpr uint32_t kMinRate = 100;
constexpr uint32_t kMaxRate = 200000;
constexpr uint32_t kMixChunkFrames = 512;

std::unique_ptr<uint8_t[]> allocate(uint32_t bytes) {
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]);
}

int32_t gainFor(int32_t volume) {
  if (volume <= kVolumeMin) return 0;
  return static_cast<int32_t>(std::lround(std::pow(10.0, volume / 2000.0) * 65536.0));
}

}  // namespace

PcmFormat PcmFormat::pcm16(uint16_t channels, uint32_t samplesPerSec) {
  PcmFormat format;
  format.channels = channels;
  format.samplesPerSec = samplesPerSec;
  format.bitsPerSample = 16;
  format.blockAlign = static_cast<uint16_t>(channels * 2);
  format.avgBytesPerSec = samplesPerSec * format.blockAlign;
  return format;
}

// ---- MixerBuffer ----

MixerBuffer::MixerBuffer(SoftwareMixer& mixer, const PcmFormat& format, uint32_t bytes,
                         std::unique_ptr<uint8_t[]> data, std::unique_ptr<uint8_t[]> staging)
    : mixer_(&mixer),
      mutex_(mixer.mutex_),
      format_(format),
      bytes_(bytes),
      frames_(bytes / format.blockAlign),
      streaming_(staging != nullptr),
      data_(std::move(data)),
      staging_(std::move(staging)),
      step_((static_cast<uint64_t>(format.samplesPerSec) << 32) / mixer.output_.samplesPerSec) {
  std::memset(data_.get(), format.bitsPerSample == 8 ? 0x80 : 0x00, bytes);
}

MixerBuffer::~MixerBuffer() {
  std::lock_guard guard(*mutex_);
  if (mixer_ != nullptr) mixer_->remove(this);
}

bool MixerBuffer::play(bool looping) {
  SoftwareMixer* heard = nullptr;
  {
    std::lock_guard guard(*mutex_);
    playing_ = true;
    looping_ = looping;
    if (audible()) heard = mixer_;
  }
  if (heard != nullptr) heard->soundStarted();
  return true;
}

void MixerBuffer::stop() {
  std::lock_guard guard(*mutex_);
  playing_ = false;
}

bool MixerBuffer::setCurrentPosition(uint32_t offset) {
  std::lock_guard guard(*mutex_);
  if (offset >= bytes_) return false;
  frame_ = std::min(offset / format_.blockAlign, frames_ - 1);
  fraction_ = 0;
  seekNotifications();
  return true;
}

// Every byte from the play cursor on is read only when it is mixed, under the same mutex as
// unlock, so the write cursor is the play cursor itself.
bool MixerBuffer::getCurrentPosition(uint32_t& playCursor, uint32_t& writeCursor) {
  std::lock_guard guard(*mutex_);
  playCursor = writeCursor = this->playCursor();
  return true;
}

uint32_t MixerBuffer::status() {
  std::lock_guard guard(*mutex_);
  if (!playing_) return 0;
  return kStatusPlaying | (looping_ ? kStatusLooping : 0);
}

bool MixerBuffer::setVolume(int32_t hundredthsOfDecibel) {
  if (hundredthsOfDecibel < kVolumeMin || hundredthsOfDecibel > kVolumeMax) return false;
  int32_t gain = gainFor(hundredthsOfDecibel);
  SoftwareMixer* heard = nullptr;
  {
    std::lock_guard guard(*mutex_);
    const bool before = audible();
    volume_ = hundredthsOfDecibel;
    gain_ = gain;
    if (!before && audible()) heard = mixer_;
  }
  if (heard != nullptr) heard->soundStarted();
  return true;
}

int32_t MixerBuffer::volume() {
  std::lock_guard guard(*mutex_);
  return volume_;
}

bool MixerBuffer::lock(uint32_t offset, uint32_t bytes, bool fromWriteCursor,
                       LockedRegion& region) {
  // A static buffer gets its lock space only while locked; allocate it before taking the
  // mutex the mixer needs.
  std::unique_ptr<uint8_t[]> space;
  if (!streaming_ && bytes > 0 && bytes <= bytes_) {
    space = allocate(bytes);
    if (!space) return false;
  }
  std::lock_guard guard(*mutex_);
  uint32_t start = fromWriteCursor ? playCursor() : offset;
  if (locked_ || bytes == 0 || bytes > bytes_ || start >= bytes_) return false;
  if (!streaming_) staging_ = std::move(space);
  lockStart_ = start;
  lockFirst_ = std::min(bytes, bytes_ - start);
  lockSecond_ = bytes - lockFirst_;
  std::memcpy(staging_.get(), data_.get() + start, lockFirst_);
  std::memcpy(staging_.get() + lockFirst_, data_.get(), lockSecond_);
  region.first = staging_.get();
  region.firstBytes = lockFirst_;
  region.second = lockSecond_ > 0 ? staging_.get() + lockFirst_ : nullptr;
  region.secondBytes = lockSecond_;
  locked_ = true;
  return true;
}

bool MixerBuffer::unlock(const LockedRegion& region) {
  std::unique_ptr<uint8_t[]> released;
  SoftwareMixer* mixer = nullptr;
  {
    std::lock_guard guard(*mutex_);
    if (!locked_ || region.first != staging_.get() || region.firstBytes > lockFirst_ ||
        region.secondBytes > lockSecond_) {
      return false;
    }
    std::memcpy(data_.get() + lockStart_, staging_.get(), region.firstBytes);
    std::memcpy(data_.get(), staging_.get() + lockFirst_, region.secondBytes);
    locked_ = false;
    if (!streaming_) released = std::move(staging_);
    mixer = mixer_;
  }
  if (mixer != nullptr) mixer->regionWritten();
  return true;
}

bool MixerBuffer::setNotificationPositions(const std::vector<uint32_t>& offsets,
                                           std::function<void(uint32_t)> notify) {
  std::vector<Notification> sorted;
  sorted.reserve(offsets.size());
  for (uint32_t i = 0; i < offsets.size(); ++i) {
    if (offsets[i] >= bytes_) return false;
    sorted.push_back({offsets[i] / format_.blockAlign, i});
  }
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Notification& a, const Notification& b) { return a.frame < b.frame; });
  std::vector<uint32_t> copied = offsets;
  // Swapped in under the mutex, so the old lists are freed after it is released.
  std::lock_guard guard(*mutex_);
  if (mixer_ == nullptr || !mixer_->notifies_) return false;
  notifyOffsets_.swap(copied);
  notifications_.swap(sorted);
  notify_.swap(notify);
  seekNotifications();
  return true;
}

std::vector<uint32_t> MixerBuffer::notificationOffsets() {
  std::lock_guard guard(*mutex_);
  return notifyOffsets_;
}

std::vector<uint8_t> MixerBuffer::contents() {
  std::lock_guard guard(*mutex_);
  return std::vector<uint8_t>(data_.get(), data_.get() + bytes_);
}

void MixerBuffer::seekNotifications() {
  nextNotification_ = 0;
  while (nextNotification_ < notifications_.size() &&
         notifications_[nextNotification_].frame < frame_) {
    ++nextNotification_;
  }
}

void MixerBuffer::frameAt(uint32_t frame, int32_t& left, int32_t& right) const {
  const uint8_t* p = data_.get() + static_cast<size_t>(frame) * format_.blockAlign;
  if (format_.bitsPerSample == 8) {
    left = (p[0] - 128) * 256;
    right = format_.channels == 2 ? (p[1] - 128) * 256 : left;
  } else {
    left = static_cast<int16_t>(p[0] | (p[1] << 8));
    right = format_.channels == 2 ? static_cast<int16_t>(p[2] | (p[3] << 8)) : left;
  }
}

// The frame to interpolate towards: the one after, the first again for a loop, or the last
// frame itself at the end of a single play.
uint32_t MixerBuffer::nextFrame() const {
  if (frame_ + 1 < frames_) return frame_ + 1;
  return looping_ ? 0 : frame_;
}

void MixerBuffer::firePassed() {
  while (nextNotification_ < notifications_.size() &&
         notifications_[nextNotification_].frame < frame_) {
    if (notify_) notify_(notifications_[nextNotification_].index);
    ++nextNotification_;
  }
}

void MixerBuffer::advance() {
  uint64_t position = fraction_ + (step_ & 0xFFFFFFFFu);
  fraction_ = static_cast<uint32_t>(position);
  uint64_t frame = frame_ + (step_ >> 32) + (position >> 32);
  for (;;) {
    frame_ = static_cast<uint32_t>(std::min<uint64_t>(frame, frames_));
    firePassed();
    if (frame < frames_) return;
    if (!looping_) {
      // A single play ends at the last frame and starts from the beginning next time.
      playing_ = false;
      frame_ = 0;
      fraction_ = 0;
      seekNotifications();
      return;
    }
    frame -= frames_;
    frame_ = 0;
    nextNotification_ = 0;
  }
}

void MixerBuffer::mixInto(int32_t* sum, uint32_t frames, uint16_t outChannels) {
  for (uint32_t i = 0; i < frames && playing_; ++i) {
    int32_t left, right;
    frameAt(frame_, left, right);
    if (fraction_ != 0) {
      int32_t nextLeft, nextRight;
      frameAt(nextFrame(), nextLeft, nextRight);
      int64_t weight = fraction_ >> 16;
      left += static_cast<int32_t>(((nextLeft - left) * weight) >> 16);
      right += static_cast<int32_t>(((nextRight - right) * weight) >> 16);
    }
    left = static_cast<int32_t>((static_cast<int64_t>(left) * gain_) >> 16);
    right = static_cast<int32_t>((static_cast<int64_t>(right) * gain_) >> 16);
    if (outChannels == 2) {
      sum[2 * i] += left;
      sum[2 * i + 1] += right;
    } else {
      sum[i] += (left + right) / 2;
    }
    advance();
  }
}

// ---- SoftwareMixer ----

SoftwareMixer::SoftwareMixer(const PcmFormat& output, bool notifies)
    : output_(output), notifies_(notifies) {}

SoftwareMixer::~SoftwareMixer() {
  std::lock_guard guard(*mutex_);
  for (MixerBuffer* buffer : buffers_) buffer->mixer_ = nullptr;
  buffers_.clear();
}

bool SoftwareMixer::isPlayable(const PcmFormat& format) {
  return format.formatTag == 1 && (format.channels == 1 || format.channels == 2) &&
         (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
         format.blockAlign == format.channels * format.bitsPerSample / 8 &&
         format.samplesPerSec >= kMinRate && format.samplesPerSec <= kMaxRate;
}

std::unique_ptr<AudioBuffer> SoftwareMixer::createBuffer(const PcmFormat& format, uint32_t bytes,
                                                         bool streaming) {
  if (!isPlayable(format) || bytes < format.blockAlign || bytes > kMaxBufferBytes) return nullptr;
  std::unique_ptr<uint8_t[]> data = allocate(bytes);
  std::unique_ptr<uint8_t[]> staging = streaming ? allocate(bytes) : nullptr;
  if (!data || (streaming && !staging)) return nullptr;
  std::unique_ptr<MixerBuffer> buffer(
      new (std::nothrow) MixerBuffer(*this, format, bytes, std::move(data), std::move(staging)));
  if (!buffer) return nullptr;
  std::lock_guard guard(*mutex_);
  buffers_.push_back(buffer.get());
  return buffer;
}

void SoftwareMixer::remove(MixerBuffer* buffer) {
  buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
}

std::vector<MixerBuffer*> SoftwareMixer::buffers() {
  std::lock_guard guard(*mutex_);
  return buffers_;
}

bool SoftwareMixer::mix(int16_t* out, uint32_t frames) {
  const uint16_t channels = output_.channels;
  int32_t sum[kMixChunkFrames * 2];
  std::lock_guard guard(*mutex_);
  while (frames > 0) {
    uint32_t n = std::min(frames, kMixChunkFrames);
    std::fill(sum, sum + n * channels, 0);
    for (MixerBuffer* buffer : buffers_) {
      if (buffer->playing_) buffer->mixInto(sum, n, channels);
    }
    for (uint32_t i = 0; i < n * channels; ++i) {
      out[i] = static_cast<int16_t>(std::clamp(sum[i], -32768, 32767));
    }
    out += n * channels;
    frames -= n;
  }
  return std::any_of(buffers_.begin(), buffers_.end(),
                     [](const MixerBuffer* buffer) { return buffer->audible(); });
}

}  // namespace platform
