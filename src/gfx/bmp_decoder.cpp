#include "gfx/bmp_decoder.h"

#include <cstring>
#include <vector>

#include "gfx/image.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kMaxSide = 65535;  // Image sizes are 16-bit

uint16_t le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t le32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Where everything lies in the file, once every field has been checked.
struct BmpLayout {
  uint16_t width = 0;
  uint16_t height = 0;
  uint8_t depth = 0;
  bool topDown = false;
  uint32_t colourCount = 0;
  size_t paletteOffset = 0;
  size_t pixelOffset = 0;
  size_t pitch = 0;
};

// The information header: the classic 40-byte one, or its longer V4 and V5
// forms, whose first 40 bytes mean the same and whose palette follows them.
bool knownInfoHeaderSize(uint32_t size) {
  return size == 40 || size == 108 || size == 124;
}

bool readSize(const uint8_t* info, BmpLayout& layout) {
  const int64_t width = static_cast<int32_t>(le32(info + 4));
  const int64_t height = static_cast<int32_t>(le32(info + 8));
  const int64_t rows = height < 0 ? -height : height;
  if (width <= 0 || width > kMaxSide || rows == 0 || rows > kMaxSide) return false;
  layout.width = static_cast<uint16_t>(width);
  layout.height = static_cast<uint16_t>(rows);
  layout.topDown = height < 0;
  return true;
}

bool readFormat(const uint8_t* info, BmpLayout& layout) {
  const uint16_t planes = le16(info + 12);
  const uint16_t bits = le16(info + 14);
  const uint32_t compression = le32(info + 16);
  const uint32_t coloursUsed = le32(info + 32);
  if (planes != 1 || (bits != 8 && bits != 24) || compression != 0) return false;
  const uint32_t addressable = 1u << bits;
  if (coloursUsed > addressable) return false;
  layout.depth = static_cast<uint8_t>(bits);
  layout.colourCount = coloursUsed ? coloursUsed : addressable;
  return true;
}

bool readLayout(const uint8_t* data, size_t size, BmpLayout& layout) {
  if (size < kFileHeaderSize + 40 || data[0] != 'B' || data[1] != 'M') return false;
  const uint8_t* info = data + kFileHeaderSize;
  const uint32_t infoSize = le32(info);
  if (!knownInfoHeaderSize(infoSize) || !readSize(info, layout) || !readFormat(info, layout)) {
    return false;
  }
  const uint64_t paletteOffset = kFileHeaderSize + uint64_t{infoSize};
  const uint64_t paletteBytes = layout.depth == 8 ? uint64_t{layout.colourCount} * 4 : 0;
  const uint64_t pixelOffset = le32(data + 10);
  layout.pitch = (size_t{layout.width} * layout.depth / 8 + 3) & ~size_t{3};
  const uint64_t pixelBytes = uint64_t{layout.pitch} * layout.height;
  // The palette lies between the headers and the pixels, and every pixel row
  // lies whole inside the data.
  if (paletteOffset + paletteBytes > pixelOffset || pixelOffset + pixelBytes > size) return false;
  layout.paletteOffset = static_cast<size_t>(paletteOffset);
  layout.pixelOffset = static_cast<size_t>(pixelOffset);
  return true;
}

// File entries are blue, green, red, reserved; the image keeps the first three.
std::vector<uint8_t> readPalette(const uint8_t* entries, uint32_t count) {
  std::vector<uint8_t> palette(size_t{count} * 3);
  for (uint32_t i = 0; i < count; ++i) std::memcpy(&palette[i * 3], entries + i * 4, 3);
  return palette;
}

std::vector<uint8_t> readPixels(const uint8_t* rows, const BmpLayout& layout) {
  std::vector<uint8_t> pixels(layout.pitch * layout.height);
  if (layout.topDown) {
    std::memcpy(pixels.data(), rows, pixels.size());
    return pixels;
  }
  // The usual bottom-up file: its first row is the picture's last.
  for (size_t row = 0; row < layout.height; ++row) {
    std::memcpy(&pixels[(layout.height - 1 - row) * layout.pitch], rows + row * layout.pitch,
                layout.pitch);
  }
  return pixels;
}

}  // namespace

bool decodeBmp(const uint8_t* data, size_t size, Image& image) {
  image = Image();
  BmpLayout layout;
  if (!data || !readLayout(data, size, layout)) return false;
  std::vector<uint8_t> pixels = readPixels(data + layout.pixelOffset, layout);
  if (layout.depth == 24) {
    if (!image.assign(layout.width, layout.height, 24, std::move(pixels))) return false;
    image.colourCount = static_cast<int32_t>(layout.colourCount);
    return true;
  }
  std::vector<uint8_t> palette = readPalette(data + layout.paletteOffset, layout.colourCount);
  if (!image.assign(layout.width, layout.height, 8, std::move(pixels), std::move(palette),
                    static_cast<int32_t>(layout.colourCount))) {
    return false;
  }
  image.setKeyFromCorner();  // BMP sprites are transparent where their corner colour is
  return true;
}
