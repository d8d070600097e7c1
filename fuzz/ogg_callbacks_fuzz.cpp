// Ogg Vorbis loading through the decoder callbacks, from an archive member that sits between
// two others (so a read past the member would find foreign bytes): the effect loader, then
// the music's looping decode with its seek back to the start.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "audio/sound_decoder.h"
#include "audio/vorbis_io.h"
#include "platform/audio_mixer.h"
#include "res/archive_writer.h"
#include "res/resource_archive.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

const std::string kNeighbour = "OggS\x00\x02 neighbouring member, never to be read";

void loadAsEffect(ResourceStream member) {
  platform::SoftwareMixer mixer(platform::PcmFormat::pcm16(2, 22050));
  DecodedSound sound;
  decodeSound(member, mixer, sound);
  if (!sound.buffer) return;
  require(platform::SoftwareMixer::isPlayable(sound.format) && sound.format.bitsPerSample == 16);
  require(sound.buffer->size() == sound.dataBytes);
  std::vector<int16_t> out(2 * 500);
  sound.buffer->play(true);
  mixer.mix(out.data(), 500);
}

// Two halves of a small ring, as the music thread decodes them.
void decodeAsMusic(ResourceStream member) {
  OggVorbis_File decoder;
  if (ov_open_callbacks(&member, &decoder, nullptr, 0, resourceStreamCallbacks()) != 0) return;
  std::vector<uint8_t> half(16384);
  for (int i = 0; i < 3; ++i) {
    require(decodeLooping(decoder, half.data(), static_cast<uint32_t>(half.size())) <= half.size());
  }
  ov_clear(&decoder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string file = buildArchive({{"a", kNeighbour}, {"music", bytes}, {"z", kNeighbour}});
  ResourceArchive archive(std::make_unique<std::istringstream>(file, std::ios::binary));
  require(archive.openMember("music").size() == size);
  loadAsEffect(archive.openMember("music"));
  decodeAsMusic(archive.openMember("music"));
  return 0;
}
