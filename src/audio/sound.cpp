#include "audio/sound.h"

#include <istream>
#include <memory>

#include "audio/sound_decoder.h"
#include "audio/sound_system.h"
#include "platform/regular_file.h"
#include "res/resource_archive.h"
#include "res/resource_stream.h"

namespace {

void take(Sound& sound, DecodedSound& decoded) {
  sound.format = decoded.format;
  sound.dataBytes = decoded.dataBytes;
  sound.buffer = std::move(decoded.buffer);
}

}  // namespace

Sound::Sound(const std::string& name, platform::AudioDevice* device) : name(name) {
  if (device == nullptr) return;
  {
    if (std::unique_ptr<std::istream> file = platform::openRegularFile(name)) {
      ResourceStream stream;
      stream.attach(*file);
      DecodedSound decoded;
      if (decodeSound(stream, *device, decoded)) {
        take(*this, decoded);
        return;
      }
    }
  }
  // Whatever the archive gives is final, a partly decoded member included.
  if (resourceArchive == nullptr) return;
  ResourceStream member = resourceArchive->openMember(name);
  DecodedSound decoded;
  decodeSound(member, *device, decoded);
  take(*this, decoded);
}

void Sound::play() {
  if (buffer) buffer->play(false);
}

void Sound::playLooping() {
  if (!buffer) return;
  buffer->stop();
  buffer->play(true);
}

void Sound::stop() {
  if (buffer) buffer->stop();
}

void Sound::rewind() {
  if (buffer) buffer->setCurrentPosition(0);
}

bool Sound::isPlaying() {
  return buffer && (buffer->status() & platform::kStatusPlaying) != 0;
}

void Sound::setLevel(double level) {
  if (buffer) buffer->setVolume(toDeviceVolume(level));
}
