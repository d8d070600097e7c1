#pragma once

// The headless audio device: the shared mixer, run only when a test advances it. The test gets
// the mixed output and can wait (on a condition, never on the clock) for the game's other
// thread to write a region into a buffer.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio_mixer.h"

namespace platform {

class HeadlessBackend;

class HeadlessAudioDevice : public SoftwareMixer {
 public:
  HeadlessAudioDevice(HeadlessBackend& backend, const PcmFormat& output, bool notifies);
  ~HeadlessAudioDevice() override;

  // Mixes the next `frames` frames and returns them interleaved.
  std::vector<int16_t> advance(uint32_t frames);

  // How many locked regions have been written into buffers so far.
  uint64_t regionsWritten();
  // Waits until at least `count` regions have been written; false when `timeout` passed first.
  bool waitForRegions(uint64_t count, std::chrono::milliseconds timeout);

 protected:
  void regionWritten() override;

 private:
  HeadlessBackend& backend_;
  std::mutex writtenMutex_;
  std::condition_variable writtenChanged_;
  uint64_t written_ = 0;
};

}  // namespace platform
