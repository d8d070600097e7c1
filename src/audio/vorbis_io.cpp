#include "audio/vorbis_io.h"

#include <cstdio>
#include <limits>

#include "res/resource_stream.h"

namespace {

ResourceStream& streamOf(void* source) {
  return *static_cast<ResourceStream*>(source);
}

// Whole items only, as fread counts them.
size_t readCallback(void* ptr, size_t size, size_t count, void* source) {
  if (size == 0 || count == 0) return 0;
  size_t wanted = count > std::numeric_limits<uint32_t>::max() / size
                      ? std::numeric_limits<uint32_t>::max() / size * size
                      : size * count;
  return streamOf(source).read(ptr, static_cast<uint32_t>(wanted)) / size;
}

// Positions are 32-bit, so only the low half of the offset counts. Always succeeds: a position
// past the end simply reads nothing.
int seekCallback(void* source, ogg_int64_t offset, int whence) {
  ResourceStream& stream = streamOf(source);
  auto low = static_cast<uint32_t>(offset);
  switch (whence) {
    case SEEK_SET:
      stream.setPosition(low);
      break;
    case SEEK_CUR:
      stream.setPosition(stream.position() + low);
      break;
    case SEEK_END:
      stream.setPosition(low <= stream.size() ? stream.size() - low : 0);
      break;
    default:
      break;
  }
  return 0;
}

// The stream belongs to whoever opened the decoder.
int closeCallback(void*) {
  return 0;
}

long tellCallback(void* source) {
  return static_cast<long>(streamOf(source).position());
}

}  // namespace

ov_callbacks resourceStreamCallbacks() {
  ov_callbacks callbacks;
  callbacks.read_func = readCallback;
  callbacks.seek_func = seekCallback;
  callbacks.close_func = closeCallback;
  callbacks.tell_func = tellCallback;
  return callbacks;
}

uint32_t decodeLooping(OggVorbis_File& decoder, uint8_t* out, uint32_t bytes) {
  uint32_t done = 0;
  bool decodedSinceSeek = true;
  int section = 0;
  while (done < bytes) {
    long r = ov_read(&decoder, reinterpret_cast<char*>(out + done), static_cast<int>(bytes - done),
                     0, 2, 1, &section);
    if (r > 0) {
      done += static_cast<uint32_t>(r);
      decodedSinceSeek = true;
    } else if (r == 0) {
      // A track that gives nothing from its start would loop here for ever.
      if (!decodedSinceSeek || ov_raw_seek(&decoder, 0) != 0) break;
      decodedSinceSeek = false;
    } else {
      break;
    }
  }
  return done;
}
