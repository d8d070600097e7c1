#pragma once

// The software mixer behind both backends' audio devices. Each buffer is converted to the
// output format as it plays (8 or 16 bits, mono or stereo, any rate, linear interpolation
// between frames), scaled by its volume and added with saturation. The SDL backend runs
// `mix` in its audio callback; the headless backend runs it when a test advances it.
//
// One mutex guards every buffer. `mix` holds it while it mixes; buffer calls hold it for at
// most one copy. Locked regions are written into a staging block and copied in at unlock, so
// the writer never touches bytes the mixer is reading.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio.h"

namespace platform {

class SoftwareMixer;

class MixerBuffer : public AudioBuffer {
 public:
  ~MixerBuffer() override;

  bool play(bool looping) override;
  void stop() override;
  bool setCurrentPosition(uint32_t offset) override;
  bool getCurrentPosition(uint32_t& playCursor, uint32_t& writeCursor) override;
  uint32_t status() override;
  bool setVolume(int32_t hundredthsOfDecibel) override;
  int32_t volume() override;
  bool lock(uint32_t offset, uint32_t bytes, bool fromWriteCursor, LockedRegion& region) override;
  bool unlock(const LockedRegion& region) override;
  bool setNotificationPositions(const std::vector<uint32_t>& offsets,
                                std::function<void(uint32_t)> notify) override;
  uint32_t size() const override { return bytes_; }

  // For inspection by tests and tools.
  const PcmFormat& format() const { return format_; }
  bool isStreaming() const { return streaming_; }
  std::vector<uint32_t> notificationOffsets();
  std::vector<uint8_t> contents();

 private:
  friend class SoftwareMixer;
  struct Notification {
    uint32_t frame;  // fires once this frame has been played
    uint32_t index;
  };

  MixerBuffer(SoftwareMixer& mixer, const PcmFormat& format, uint32_t bytes,
              std::unique_ptr<uint8_t[]> data, std::unique_ptr<uint8_t[]> staging);

  // Everything below runs with the mixer's mutex held.
  void mixInto(int32_t* sum, uint32_t frames, uint16_t outChannels);
  void frameAt(uint32_t frame, int32_t& left, int32_t& right) const;
  uint32_t nextFrame() const;
  void advance();
  void firePassed();
  void seekNotifications();
  uint32_t playCursor() const { return frame_ * format_.blockAlign; }
  // Playing at a gain that moves the output: at a gain of 1 in 65536 every sample comes out
  // as 0 or -1, which nobody hears.
  bool audible() const { return playing_ && gain_ > 1; }

  SoftwareMixer* mixer_;  // null once the device is gone
  std::shared_ptr<std::mutex> mutex_;
  PcmFormat format_;
  uint32_t bytes_;
  uint32_t frames_;
  bool streaming_;
  std::unique_ptr<uint8_t[]> data_;
  std::unique_ptr<uint8_t[]> staging_;  // lock space; kept only by streaming buffers
  uint64_t step_;                       // source frames per output frame, 32.32 fixed point
  uint32_t frame_ = 0;
  uint32_t fraction_ = 0;
  bool playing_ = false;
  bool looping_ = false;
  int32_t volume_ = 0;
  int32_t gain_ = 1 << 16;  // 16.16 fixed point
  std::vector<uint32_t> notifyOffsets_;
  std::vector<Notification> notifications_;  // sorted by frame
  size_t nextNotification_ = 0;
  std::function<void(uint32_t)> notify_;
  bool locked_ = false;
  uint32_t lockStart_ = 0;
  uint32_t lockFirst_ = 0;
  uint32_t lockSecond_ = 0;
};

class SoftwareMixer : public AudioDevice {
 public:
  // `output` must be 16-bit PCM with 1 or 2 channels. Without notification, buffers refuse
  // notification positions (a device that can only be polled).
  explicit SoftwareMixer(const PcmFormat& output, bool notifies = true);
  ~SoftwareMixer() override;
  SoftwareMixer(const SoftwareMixer&) = delete;
  SoftwareMixer& operator=(const SoftwareMixer&) = delete;

  std::unique_ptr<AudioBuffer> createBuffer(const PcmFormat& format, uint32_t bytes,
                                            bool streaming) override;
  bool supportsNotification() const override { return notifies_; }
  PcmFormat outputFormat() const override { return output_; }

  // Fills `frames` frames of interleaved 16-bit output. Allocates nothing. Returns whether
  // anything audible is still playing: a device may rest until soundStarted.
  bool mix(int16_t* out, uint32_t frames);

  // Every buffer alive, oldest first, for inspection.
  std::vector<MixerBuffer*> buffers();

  // Whether the device plays this buffer format.
  static bool isPlayable(const PcmFormat& format);

 protected:
  // Runs after a locked region has been copied into its buffer, with no lock held.
  virtual void regionWritten() {}
  // Runs when a buffer starts to be heard (it plays, at a volume that reaches the output),
  // with no lock held, on the thread that started it.
  virtual void soundStarted() {}

 private:
  friend class MixerBuffer;
  void remove(MixerBuffer* buffer);

  PcmFormat output_;
  bool notifies_;
  std::shared_ptr<std::mutex> mutex_ = std::make_shared<std::mutex>();
  std::vector<MixerBuffer*> buffers_;
};

}  // namespace platform
