#pragma once

// Decoding a whole sound file (RIFF WAVE or Ogg Vorbis) into a new device buffer.

#include <cstdint>
#include <memory>

#include "platform/audio.h"

class ResourceStream;

struct DecodedSound {
  platform::PcmFormat format;
  uint32_t dataBytes = 0;
  std::unique_ptr<platform::AudioBuffer> buffer;  // may be set even when decoding failed
};

// True when the whole sound decoded. A failure can still leave a buffer holding what arrived
// before the damage, followed by silence.
bool decodeSound(ResourceStream& stream, platform::AudioDevice& device, DecodedSound& sound);

// The two paths, entered with the stream just past the 12-byte RIFF header, or at 0 for Ogg.
bool decodeWave(ResourceStream& stream, platform::AudioDevice& device, DecodedSound& sound);
bool decodeOgg(ResourceStream& stream, platform::AudioDevice& device, DecodedSound& sound);
