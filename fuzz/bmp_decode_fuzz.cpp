// BMP decoding of arbitrary bytes. Beyond "no crash": a decoded image has the
// layout the drawing code relies on, and drawing it stays inside its pixels
// and palette.
#include <cstdint>
#include <cstdlib>

#include "gfx/bmp_decoder.h"
#include "gfx/image.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Image image;
  if (!decodeBmp(data, size, image)) {
    require(image.pixels == nullptr && image.width == 0 && image.height == 0);
    return 0;
  }
  require(image.pixels != nullptr && image.width > 0 && image.height > 0);
  require(image.depth == 8 || image.depth == 24);
  require(image.pitch() * image.height <= size);
  if (image.depth == 8) require(image.colourCount >= 1 && image.colourCount <= 256);
  Image target(16, 16, 24);
  image.drawTo(target, 0, 0, 0, 0, image.width, image.height, Rect(0, 0, 16, 16), 1.0);
  image.drawTo(target, image.width - 1, image.height - 1, 15, 15, 8, 8, Rect(0, 0, 16, 16), 0.5);
  return 0;
}
