#pragma once

#include <cstdint>

// Owns everything audible. So far it only keeps its configuration; the device, the effects
// and the music stream are added on top of this.
class SoundSystem {
 public:
  SoundSystem(uint16_t channels, uint16_t samplesPerSecond);
  ~SoundSystem();
  SoundSystem(const SoundSystem&) = delete;
  SoundSystem& operator=(const SoundSystem&) = delete;

  double effectsLevel = 1.0;
  double musicLevel = 0.0;
  uint16_t channels;
  uint16_t samplesPerSecond;
};

// Set by the constructor, cleared by the destructor.
extern SoundSystem* currentSoundSystem;
