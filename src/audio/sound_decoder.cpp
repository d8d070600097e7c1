#include "audio/sound_decoder.h"

#include <algorithm>
#include <cstring>

#include "audio/vorbis_io.h"
#include "res/resource_stream.h"

namespace {

uint16_t le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t le32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool readTag(ResourceStream& stream, const char* tag) {
  char bytes[4];
  return stream.read(bytes, 4) == 4 && std::memcmp(bytes, tag, 4) == 0;
}

bool readLe32(ResourceStream& stream, uint32_t& value) {
  uint8_t bytes[4];
  if (stream.read(bytes, 4) != 4) return false;
  value = le32(bytes);
  return true;
}

// The first 16 bytes of a "fmt " chunk, taken as stored.
bool readFormat(ResourceStream& stream, platform::PcmFormat& format) {
  uint8_t bytes[16];
  if (stream.read(bytes, 16) != 16) return false;
  format.formatTag = le16(bytes);
  format.channels = le16(bytes + 2);
  format.samplesPerSec = le32(bytes + 4);
  format.avgBytesPerSec = le32(bytes + 8);
  format.blockAlign = le16(bytes + 12);
  format.bitsPerSample = le16(bytes + 14);
  format.cbSize = 0;
  return true;
}

// Skips in small reads, so a length that runs past the end of the data stops at the end.
bool skip(ResourceStream& stream, uint32_t bytes) {
  char scratch[10];
  while (bytes > 0) {
    uint32_t n = stream.read(scratch, std::min<uint32_t>(bytes, sizeof scratch));
    if (n == 0) return false;
    bytes -= n;
  }
  return true;
}

bool lockWhole(platform::AudioBuffer& buffer, platform::LockedRegion& region) {
  return buffer.lock(0, buffer.size(), false, region) && region.second == nullptr;
}

}  // namespace

bool decodeWave(ResourceStream& stream, platform::AudioDevice& device, DecodedSound& sound) {
  uint32_t formatBytes = 0;
  if (!readTag(stream, "fmt ") || !readLe32(stream, formatBytes) ||
      !readFormat(stream, sound.format) || !skip(stream, formatBytes - 16)) {
    return false;
  }
  uint32_t declared = 0;
  if (!readTag(stream, "data") || !readLe32(stream, declared)) return false;
  // A buffer no larger than what the stream can still deliver: a damaged length cannot ask
  // for more memory than the file has bytes, and what is missing would be silence anyway.
  uint32_t available = stream.size() > stream.position() ? stream.size() - stream.position() : 0;
  sound.dataBytes = std::min(declared, available);
  sound.buffer = device.createBuffer(sound.format, sound.dataBytes, false);
  platform::LockedRegion region;
  if (!sound.buffer || !lockWhole(*sound.buffer, region)) return false;
  uint32_t arrived = stream.read(region.first, region.firstBytes);
  uint8_t silence = sound.format.bitsPerSample == 8 ? 0x80 : 0x00;
  std::memset(region.first + arrived, silence, region.firstBytes - arrived);
  sound.buffer->unlock(region);
  return arrived == declared;
}

bool decodeOgg(ResourceStream& stream, platform::AudioDevice& device, DecodedSound& sound) {
  OggVorbis_File decoder;
  if (ov_open_callbacks(&stream, &decoder, nullptr, 0, resourceStreamCallbacks()) != 0) {
    return false;
  }
  bool ok = false;
  if (const vorbis_info* info = ov_info(&decoder, -1)) {
    sound.format = platform::PcmFormat::pcm16(static_cast<uint16_t>(info->channels),
                                              static_cast<uint32_t>(info->rate));
    sound.dataBytes = static_cast<uint32_t>(ov_pcm_total(&decoder, -1) * sound.format.blockAlign);
    sound.buffer = device.createBuffer(sound.format, sound.dataBytes, false);
    platform::LockedRegion region;
    if (sound.buffer && lockWhole(*sound.buffer, region)) {
      uint32_t done = 0;
      int section = 0;
      for (;;) {
        long r = ov_read(&decoder, reinterpret_cast<char*>(region.first + done),
                         static_cast<int>(region.firstBytes - done), 0, 2, 1, &section);
        if (r <= 0) {
          ok = r == 0;
          break;
        }
        done += static_cast<uint32_t>(r);
      }
      std::memset(region.first + done, 0, region.firstBytes - done);
      sound.buffer->unlock(region);
    }
  }
  ov_clear(&decoder);
  return ok;
}

bool decodeSound(ResourceStream& stream, platform::AudioDevice& device, DecodedSound& sound) {
  char header[12];
  if (stream.read(header, 12) != 12) return false;
  if (std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WAVE", 4) == 0) {
    return decodeWave(stream, device, sound);
  }
  if (std::memcmp(header, "OggS", 4) == 0) {
    stream.setPosition(0);
    return decodeOgg(stream, device, sound);
  }
  return false;
}
