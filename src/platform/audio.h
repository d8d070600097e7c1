#pragma once

// The audio part of the platform layer: a device that mixes any number of PCM buffers into its
// output. Static buffers hold a whole sound and play once or loop; a streaming buffer (the
// ring) is written while it plays and can report when its play cursor passes given offsets.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

// A PCM format in the layout sound files store it (the WAVE "fmt " chunk), little-endian
// numbers read into native fields.
struct PcmFormat {
  uint16_t formatTag = 1;  // 1: integer PCM, the only kind the device plays
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t cbSize = 0;

  // 16-bit integer PCM with the block size and byte rate filled in.
  static PcmFormat pcm16(uint16_t channels, uint32_t samplesPerSec);
};

// Volume in hundredths of a decibel: 0 leaves the samples unchanged, -10000 is silence.
inline constexpr int32_t kVolumeMax = 0;
inline constexpr int32_t kVolumeMin = -10000;

// The largest buffer a device makes: far more than any effect or the music ring needs, and a
// damaged length field cannot ask for gigabytes.
inline constexpr uint32_t kMaxBufferBytes = 32u << 20;

// Status bits.
inline constexpr uint32_t kStatusPlaying = 1;
inline constexpr uint32_t kStatusLooping = 4;

// A locked byte range of a buffer: one piece, or two when the range wraps past the end (the
// second then starts at offset 0). Unlock with the byte counts really written.
struct LockedRegion {
  uint8_t* first = nullptr;
  uint32_t firstBytes = 0;
  uint8_t* second = nullptr;
  uint32_t secondBytes = 0;
};

class AudioBuffer {
 public:
  virtual ~AudioBuffer() = default;

  // Plays from the current position, once or looping until stopped.
  virtual bool play(bool looping) = 0;
  // Stops; the position stays where it is.
  virtual void stop() = 0;
  // Byte offsets. The write cursor is where data may be written without racing the output.
  virtual bool setCurrentPosition(uint32_t offset) = 0;
  virtual bool getCurrentPosition(uint32_t& playCursor, uint32_t& writeCursor) = 0;
  virtual uint32_t status() = 0;
  // Refuses values outside kVolumeMin..kVolumeMax.
  virtual bool setVolume(int32_t hundredthsOfDecibel) = 0;
  virtual int32_t volume() = 0;
  // Locks `bytes` bytes from `offset`, or from the write cursor. The region holds the buffer's
  // current bytes; what is written there reaches the buffer at unlock. One lock at a time.
  virtual bool lock(uint32_t offset, uint32_t bytes, bool fromWriteCursor,
                    LockedRegion& region) = 0;
  virtual bool unlock(const LockedRegion& region) = 0;
  // After the play cursor has passed the byte at offsets[i], `notify(i)` runs on the device's
  // mixing thread; it must only signal and return.
  virtual bool setNotificationPositions(const std::vector<uint32_t>& offsets,
                                        std::function<void(uint32_t)> notify) = 0;
  virtual uint32_t size() const = 0;
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;

  // A buffer of `bytes` bytes of silence in `format` (integer PCM of 8 or 16 bits, 1 or 2
  // channels, 100 to 200000 samples per second); null when the device refuses. A streaming
  // buffer keeps its lock space from the start, so writing it while it plays allocates
  // nothing.
  virtual std::unique_ptr<AudioBuffer> createBuffer(const PcmFormat& format, uint32_t bytes,
                                                    bool streaming) = 0;
  // Whether buffers can report play-cursor positions.
  virtual bool supportsNotification() const = 0;
  virtual PcmFormat outputFormat() const = 0;
};

}  // namespace platform
