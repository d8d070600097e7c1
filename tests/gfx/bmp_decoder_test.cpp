#include "gfx/bmp_decoder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "gfx/image.h"

namespace {

// The header fields of a test bitmap; the bytes follow from them unless a
// test overrides a field.
struct BmpFields {
  int32_t width = 3;
  int32_t height = 2;  // negative: rows top-down
  uint16_t bits = 8;
  uint32_t coloursUsed = 4;
  uint32_t infoSize = 40;
  uint16_t planes = 1;
  uint32_t compression = 0;
  int64_t pixelOffset = -1;  // -1: right after the palette
  size_t trimEnd = 0;        // bytes cut off the end of the file
};

void put(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

size_t pitchOf(const BmpFields& f) {
  return (static_cast<size_t>(f.width) * f.bits / 8 + 3) & ~size_t{3};
}

// File row r holds, at byte i, the value 16 * r + i + 1; palette entry k is
// (blue k, green 100 + k, red 200 - k, reserved 99). The data follow the
// header as it should be; only the header fields say what the test wants, so
// an absurd field never makes a huge file.
std::vector<uint8_t> bmpBytes(const BmpFields& f) {
  const size_t paletteCount =
      f.bits == 8 ? (f.coloursUsed ? std::min(f.coloursUsed, 256u) : 256) : 0;
  const size_t paletteAt = 14 + std::min(f.infoSize, 124u);
  const size_t pixelAt = paletteAt + paletteCount * 4;
  const size_t rows = std::min<size_t>(std::abs(int64_t{f.height}), 65536);
  const size_t pitch = std::min<size_t>(pitchOf(f), 65536 * 4);
  std::vector<uint8_t> out(pixelAt + pitch * rows);
  out[0] = 'B';
  out[1] = 'M';
  put(out, 2, static_cast<uint32_t>(out.size()), 4);
  put(out, 10, static_cast<uint32_t>(f.pixelOffset >= 0 ? f.pixelOffset : pixelAt), 4);
  put(out, 14, f.infoSize, 4);
  put(out, 18, static_cast<uint32_t>(f.width), 4);
  put(out, 22, static_cast<uint32_t>(f.height), 4);
  put(out, 26, f.planes, 2);
  put(out, 28, f.bits, 2);
  put(out, 30, f.compression, 4);
  put(out, 46, f.coloursUsed, 4);
  for (size_t k = 0; k < paletteCount; ++k) {
    const uint8_t entry[4] = {uint8_t(k), uint8_t(100 + k), uint8_t(200 - k), 99};
    std::memcpy(&out[paletteAt + k * 4], entry, 4);
  }
  for (size_t r = 0; r < rows; ++r) {
    for (size_t i = 0; i < pitch; ++i) out[pixelAt + r * pitch + i] = uint8_t(16 * r + i + 1);
  }
  out.resize(out.size() - std::min(f.trimEnd, out.size()));
  return out;
}

bool decode(const BmpFields& f, Image& image) {
  const std::vector<uint8_t> bytes = bmpBytes(f);
  return decodeBmp(bytes.data(), bytes.size(), image);
}

TEST(BmpDecoder, BottomUpEightBitKeepsIndicesPaletteAndCornerKey) {
  Image image;
  ASSERT_TRUE(decode(BmpFields{}, image));
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(image.height, 2);
  EXPECT_EQ(image.depth, 8);
  EXPECT_EQ(image.colourCount, 4);
  // The file's first row is the picture's last.
  EXPECT_EQ(image.pixelAddress(0, 1)[0], 1);
  EXPECT_EQ(image.pixelAddress(2, 0)[0], 19);
  ASSERT_EQ(image.paletteEntries(), 4);
  EXPECT_EQ(std::vector<uint8_t>(image.palette, image.palette + 6),
            (std::vector<uint8_t>{0, 100, 200, 1, 101, 199}));
  // The bottom-right pixel of the picture as seen: the file's first row.
  EXPECT_EQ(image.colourKey, 3);
}

TEST(BmpDecoder, TopDownTwentyFourBitWithRowPadding) {
  Image image;
  BmpFields f;
  f.bits = 24;
  f.coloursUsed = 0;
  f.height = -2;
  f.width = 3;  // 9 bytes a row, padded to 12
  ASSERT_TRUE(decode(f, image));
  EXPECT_EQ(image.depth, 24);
  EXPECT_EQ(image.pitch(), 12u);
  EXPECT_EQ(image.colourCount, 1 << 24);
  EXPECT_EQ(image.colourKey, -1);
  EXPECT_EQ(image.pixelAddress(0, 0)[0], 1);
  EXPECT_EQ(image.pixelAddress(2, 1)[2], 16 + 8 + 1);
}

TEST(BmpDecoder, ColourCountZeroMeansEveryIndexAndLongerHeadersCarryThePalette) {
  Image image;
  BmpFields f;
  f.coloursUsed = 0;
  f.infoSize = 124;  // the V5 header: the palette follows it
  ASSERT_TRUE(decode(f, image));
  EXPECT_EQ(image.colourCount, 256);
  EXPECT_EQ(image.palette[255 * 3 + 2], static_cast<uint8_t>(200 - 255));
}

TEST(BmpDecoder, EveryBadHeaderFieldIsRejected) {
  const std::vector<std::pair<const char*, std::function<void(BmpFields&)>>> cases = {
      {"width 0", [](BmpFields& f) { f.width = 0; }},
      {"width negative", [](BmpFields& f) { f.width = -3; }},
      {"width too large", [](BmpFields& f) { f.width = 65536; }},
      {"height 0", [](BmpFields& f) { f.height = 0; }},
      {"height too large", [](BmpFields& f) { f.height = 65536; }},
      {"height too large top-down", [](BmpFields& f) { f.height = -65536; }},
      {"height most negative", [](BmpFields& f) { f.height = INT32_MIN; }},
      {"16 bits", [](BmpFields& f) { f.bits = 16; }},
      {"32 bits", [](BmpFields& f) { f.bits = 32; }},
      {"4 bits", [](BmpFields& f) { f.bits = 4; }},
      {"run-length compressed", [](BmpFields& f) { f.compression = 1; }},
      {"bit fields", [](BmpFields& f) { f.compression = 3; }},
      {"two planes", [](BmpFields& f) { f.planes = 2; }},
      {"core header", [](BmpFields& f) { f.infoSize = 12; }},
      {"odd header size", [](BmpFields& f) { f.infoSize = 64; }},
      {"too many colours", [](BmpFields& f) { f.coloursUsed = 257; }},
      {"huge colour count", [](BmpFields& f) { f.coloursUsed = 0x40000000; }},
      {"pixels inside the palette", [](BmpFields& f) { f.pixelOffset = 54 + 4 * 4 - 1; }},
      {"pixels one byte late", [](BmpFields& f) { f.pixelOffset = 54 + 4 * 4 + 1; }},
      {"pixels past the end", [](BmpFields& f) { f.pixelOffset = 0x7FFFFFFF; }},
      {"offset wrapping", [](BmpFields& f) { f.pixelOffset = 0xFFFFFFFF; }},
      {"last row short", [](BmpFields& f) { f.trimEnd = 1; }},
      {"header cut", [](BmpFields& f) { f.trimEnd = 1000; }},
  };
  for (const auto& [what, spoil] : cases) {
    BmpFields f;
    spoil(f);
    Image image;
    EXPECT_FALSE(decode(f, image)) << what;
    EXPECT_EQ(image.pixels, nullptr) << what;
    EXPECT_EQ(image.width, 0) << what;
  }
  Image image;
  const uint8_t notBmp[60] = {'B', 'N'};
  EXPECT_FALSE(decodeBmp(notBmp, sizeof notBmp, image));
  EXPECT_FALSE(decodeBmp(nullptr, 0, image));
}

TEST(BmpDecoder, LargestSizesFitTheImage) {
  Image image;
  BmpFields f;
  f.width = 65535;
  f.height = -1;
  ASSERT_TRUE(decode(f, image));
  EXPECT_EQ(image.width, 65535);
  f.width = 1;
  f.height = 65535;
  ASSERT_TRUE(decode(f, image));
  EXPECT_EQ(image.height, 65535);
}

}  // namespace
