#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio.h"

// One sound effect, decoded whole into a device buffer of its own when it is made. Without a
// device, or when neither a loose file nor the archive member of its name decodes, it has no
// buffer and stays silent for ever.
class Sound {
 public:
  // A loose file of exactly this name comes first; the archive member is tried when the file
  // is missing or does not decode.
  Sound(const std::string& name, platform::AudioDevice* device);
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // Plays once from the current position.
  void play();
  // Loops from the current position until stopped.
  void playLooping();
  // Stops; the position stays.
  void stop();
  void rewind();
  bool isPlaying();
  void setLevel(double level);

  platform::PcmFormat format;
  std::string name;
  uint32_t dataBytes = 0;
  std::unique_ptr<platform::AudioBuffer> buffer;
};
