#pragma once

// The SDL audio device: the shared mixer run in SDL's audio callback. SDL converts the mixer's
// output format to whatever the hardware (or the dummy and disk drivers) wants. While nothing
// audible plays, the device is paused, so no mixing runs; a sound that starts resumes it.

#include <cstdint>
#include <memory>

#include "platform/audio_mixer.h"

namespace platform {

class SdlAudioDevice : public SoftwareMixer {
 public:
  // Null when SDL has no audio device at all; nothing is reported, the game plays silently.
  static std::unique_ptr<SdlAudioDevice> open(const PcmFormat& output);
  ~SdlAudioDevice() override;

 private:
  explicit SdlAudioDevice(const PcmFormat& output) : SoftwareMixer(output) {}
  static void callback(void* self, uint8_t* stream, int length);
  // The device plays again from its next period.
  void soundStarted() override;

  uint32_t device_ = 0;
};

}  // namespace platform
