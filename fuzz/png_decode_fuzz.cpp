// PNG decoding of arbitrary bytes, as they come and again with every chunk
// checksum made right, so that mutations reach libpng's parsing and our
// transforms instead of stopping at the checksum. A decoded image must have
// one of the three layouts, and drawing it must stay inside its pixels.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gfx/image.h"
#include "gfx/png_decoder.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

uint32_t be32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// Rewrites the checksum of every whole chunk; true when any changed.
bool fixChecksums(std::vector<uint8_t>& bytes) {
  bool changed = false;
  for (size_t at = 8; bytes.size() >= 12 && at <= bytes.size() - 12;) {
    const uint32_t length = be32(&bytes[at]);
    if (length > bytes.size() - 12 - at) break;
    const size_t end = at + 8 + length;
    const uint32_t crc =
        static_cast<uint32_t>(crc32(0, &bytes[at + 4], static_cast<uInt>(length + 4)));
    const uint8_t want[4] = {uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8),
                             uint8_t(crc)};
    for (int i = 0; i < 4; ++i) {
      changed |= bytes[end + i] != want[i];
      bytes[end + i] = want[i];
    }
    at = end + 4;
  }
  return changed;
}

void check(const uint8_t* data, size_t size) {
  Image image;
  if (!decodePng(data, size, image)) {
    require(image.pixels == nullptr && image.width == 0);
    return;
  }
  require(image.pixels != nullptr && image.width > 0 && image.height > 0);
  require(image.depth == 8 || image.depth == 24);
  require(image.colourCount == (image.depth == 8 ? 256 : 1 << 24));
  require(image.colourKey == -1);
  Image target(16, 16, 24);
  image.drawTo(target, 0, 0, 0, 0, image.width, image.height, Rect(0, 0, 16, 16), 1.0);
  image.drawTo(target, image.width - 1, image.height - 1, 15, 15, 8, 8, Rect(0, 0, 16, 16), 0.5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  check(data, size);
  std::vector<uint8_t> fixed(data, data + size);
  if (fixChecksums(fixed)) check(fixed.data(), fixed.size());
  return 0;
}
