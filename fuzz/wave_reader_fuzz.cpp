// Sound decoding from arbitrary bytes, aimed at the WAVE reader: whatever the chunks say, the
// buffer is no larger than the bytes that followed the header, holds exactly those bytes when
// the file was whole, and plays through the mixer, once and looping, in its own format.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "audio/sound_decoder.h"
#include "platform/audio_mixer.h"
#include "res/resource_stream.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void playThrough(platform::SoftwareMixer& mixer, platform::AudioBuffer& buffer) {
  std::vector<int16_t> out(2 * 700);
  buffer.play(false);
  mixer.mix(out.data(), 700);
  buffer.setCurrentPosition(buffer.size() / 2);
  buffer.setVolume(-1234);
  buffer.play(true);
  mixer.mix(out.data(), 700);
  require(buffer.status() == (platform::kStatusPlaying | platform::kStatusLooping));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Ogg input belongs to the other target.
  if (size >= 4 && std::memcmp(data, "OggS", 4) == 0) return 0;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::istringstream in(bytes, std::ios::binary);
  ResourceStream stream;
  stream.attach(in);
  platform::SoftwareMixer mixer(platform::PcmFormat::pcm16(2, 22050));
  DecodedSound sound;
  bool whole = decodeSound(stream, mixer, sound);
  if (!sound.buffer) {
    require(!whole);
    return 0;
  }
  require(platform::SoftwareMixer::isPlayable(sound.format));
  require(sound.buffer->size() == sound.dataBytes && sound.dataBytes <= size);
  if (whole) {
    // The data were the last dataBytes bytes read, right after the "data" length.
    std::vector<uint8_t> contents =
        static_cast<platform::MixerBuffer*>(sound.buffer.get())->contents();
    require(stream.position() >= sound.dataBytes);
    require(std::memcmp(contents.data(), data + stream.position() - sound.dataBytes,
                        sound.dataBytes) == 0);
  }
  playThrough(mixer, *sound.buffer);
  return 0;
}
