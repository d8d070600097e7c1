#include "audio/sound_system.h"

SoundSystem* currentSoundSystem = nullptr;

SoundSystem::SoundSystem(uint16_t channels, uint16_t samplesPerSecond)
    : channels(channels), samplesPerSecond(samplesPerSecond) {
  currentSoundSystem = this;
}

SoundSystem::~SoundSystem() {
  if (currentSoundSystem == this) currentSoundSystem = nullptr;
}
