#include "gfx/png_decoder.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/image.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSuite = fs::path(GYROTIDE_TESTDATA_DIR) / "pngsuite";

std::vector<uint8_t> fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> suiteFiles() {
  std::vector<fs::path> files;
  for (const auto& item : fs::recursive_directory_iterator(kSuite)) {
    if (item.path().extension() == ".png") files.push_back(item.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The file as libpng's ordinary reading API reports it: samples unpacked to
// one per byte, 16-bit samples as two bytes, no other transform.
struct Reference {
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0, channels = 0;
  std::vector<std::vector<uint8_t>> rows;
  std::vector<png_color> palette;
};

bool readUnpacked(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_png(png, info, PNG_TRANSFORM_PACKING, nullptr);
  return true;
}

bool readReference(const fs::path& path, Reference& ref) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  bool ok = readUnpacked(png, info);
  if (ok) {
    // png_read_png updates the info to the unpacked rows: the file's own
    // depth and colour type are read from its header bytes.
    const std::vector<uint8_t> bytes = fileBytes(path);
    ref.bitDepth = bytes.at(24);
    ref.colourType = bytes.at(25);
    ref.width = png_get_image_width(png, info);
    ref.height = png_get_image_height(png, info);
    ref.channels = png_get_channels(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    png_bytepp rows = png_get_rows(png, info);
    for (png_uint_32 y = 0; y < ref.height; ++y) ref.rows.emplace_back(rows[y], rows[y] + rowBytes);
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &entries, &count)) ref.palette.assign(entries, entries + count);
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return ok;
}

// Channel c of pixel x, brought to 8 bits: the high byte of 16-bit samples,
// small grey values stretched to 0..255.
uint8_t sample(const Reference& ref, png_uint_32 x, png_uint_32 y, int c) {
  const int bytes = ref.bitDepth == 16 ? 2 : 1;
  const uint8_t v = ref.rows[y][(x * ref.channels + c) * bytes];
  if (ref.bitDepth < 8 && ref.colourType == PNG_COLOR_TYPE_GRAY) {
    return static_cast<uint8_t>(v * 255 / ((1 << ref.bitDepth) - 1));
  }
  return v;
}

// What the decoder promises for each kind of PNG, pixel by pixel: blue,
// green, red for 24-bit results, the index or grey value for 8-bit ones.
std::vector<uint8_t> expectedPixel(const Reference& ref, png_uint_32 x, png_uint_32 y) {
  switch (ref.colourType) {
    case PNG_COLOR_TYPE_GRAY:
      return {sample(ref, x, y, 0)};
    case PNG_COLOR_TYPE_PALETTE: {
      const uint8_t index = sample(ref, x, y, 0);
      if (ref.bitDepth == 8) return {index};
      const png_color& c = ref.palette.at(index);
      return {c.blue, c.green, c.red};
    }
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
      const uint8_t g = sample(ref, x, y, 0);
      return {g, g, g};
    }
    default:
      return {sample(ref, x, y, 2), sample(ref, x, y, 1), sample(ref, x, y, 0)};
  }
}

bool decodeFile(const fs::path& path, Image& image) {
  const std::vector<uint8_t> bytes = fileBytes(path);
  return decodePng(bytes.data(), bytes.size(), image);
}

// The colour (blue, green, red) or grey value of each pixel, so twins whose
// encoders ordered the palette differently still compare equal.
std::vector<uint8_t> shownPixels(const Image& image) {
  std::vector<uint8_t> out;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* p = image.pixelAddress(x, y);
      if (image.depth == 24) {
        out.insert(out.end(), p, p + 3);
      } else if (image.paletteEntries() == 0) {
        out.push_back(*p);
      } else if (*p < image.paletteEntries()) {
        out.insert(out.end(), image.palette + *p * 3, image.palette + *p * 3 + 3);
      } else {
        out.push_back(*p);  // an index with no colour counts as itself
      }
    }
  }
  return out;
}

bool samePixels(const Image& a, const Image& b) {
  return a.width == b.width && a.height == b.height && a.depth == b.depth &&
         (a.paletteEntries() == 0) == (b.paletteEntries() == 0) && shownPixels(a) == shownPixels(b);
}

class PngSuite : public testing::Test {
 protected:
  void SetUp() override {
    // The suite is part of the project: without it the decoder would go untested.
    ASSERT_TRUE(fs::is_directory(kSuite)) << "no PNG suite at " << kSuite;
  }
};

// Every file of the suite decodes to the layout its kind maps to, with every
// pixel as libpng reports it.
TEST_F(PngSuite, EveryFileDecodesToThePixelsLibpngReports) {
  for (const fs::path& path : suiteFiles()) {
    SCOPED_TRACE(path.filename().string());
    Reference ref;
    ASSERT_TRUE(readReference(path, ref));
    Image image;
    ASSERT_TRUE(decodeFile(path, image));
    const bool indexed = ref.colourType == PNG_COLOR_TYPE_PALETTE && ref.bitDepth == 8;
    const bool grey = ref.colourType == PNG_COLOR_TYPE_GRAY;
    ASSERT_EQ(image.width, ref.width);
    ASSERT_EQ(image.height, ref.height);
    ASSERT_EQ(image.depth, indexed || grey ? 8 : 24);
    EXPECT_EQ(image.colourCount, indexed || grey ? 256 : 1 << 24);
    EXPECT_EQ(image.colourKey, -1);  // tRNS chunks never make a key
    EXPECT_EQ(image.paletteEntries(), indexed ? static_cast<int32_t>(ref.palette.size()) : 0);
    for (int32_t i = 0; i < image.paletteEntries(); ++i) {
      const uint8_t* bgr = image.palette + i * 3;
      ASSERT_EQ(bgr[0], ref.palette[i].blue);
      ASSERT_EQ(bgr[1], ref.palette[i].green);
      ASSERT_EQ(bgr[2], ref.palette[i].red);
    }
    for (png_uint_32 y = 0; y < ref.height; ++y) {
      for (png_uint_32 x = 0; x < ref.width; ++x) {
        const std::vector<uint8_t> want = expectedPixel(ref, x, y);
        const uint8_t* got = image.pixelAddress(x, y);
        ASSERT_EQ(std::vector<uint8_t>(got, got + want.size()), want) << "at " << x << "," << y;
      }
    }
  }
}

// An interlaced file (i...) and its plain twin decode to the same image.
TEST_F(PngSuite, InterlacedTwinsDecodeAlike) {
  int pairs = 0;
  for (const fs::path& path : suiteFiles()) {
    const std::string name = path.filename().string();
    if (name[0] != 'i') continue;
    fs::path twin = kSuite / name.substr(1);
    SCOPED_TRACE(name);
    ASSERT_TRUE(fs::exists(twin));
    Image interlaced, plain;
    const bool a = decodeFile(path, interlaced), b = decodeFile(twin, plain);
    EXPECT_EQ(a, b);
    EXPECT_TRUE(samePixels(interlaced, plain));
    ++pairs;
  }
  EXPECT_GT(pairs, 20);
}

// Damaged copies of a suite file fail cleanly and leave the image empty.
TEST_F(PngSuite, DamagedFilesAreRejected) {
  const std::vector<uint8_t> good = fileBytes(kSuite / "basn2c08.png");
  Image image;
  for (size_t cut :
       {size_t{0}, size_t{4}, size_t{8}, size_t{33}, good.size() / 2, good.size() - 1}) {
    std::vector<uint8_t> truncated(good.begin(), good.begin() + cut);
    EXPECT_FALSE(decodePng(truncated.data(), truncated.size(), image)) << cut;
    EXPECT_EQ(image.pixels, nullptr);
  }
  std::vector<uint8_t> badCrc = good;
  badCrc[29] ^= 1;  // the IHDR checksum
  EXPECT_FALSE(decodePng(badCrc.data(), badCrc.size(), image));
  EXPECT_FALSE(decodePng(nullptr, 0, image));
  EXPECT_EQ(image.width, 0);
}

uint32_t crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFF;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

std::string be32(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string pngChunk(const std::string& type, const std::string& data) {
  return be32(static_cast<uint32_t>(data.size())) + type + data + be32(crc32(type + data));
}

// A PNG with the given header and one stored (uncompressed) deflate block
// holding rows of raw filter-0 data.
std::string pngFile(uint32_t width, uint32_t height, int bitDepth, int colourType,
                    const std::string& rows, const std::string& extra = "") {
  const std::string header =
      be32(width) + be32(height) + char(bitDepth) + char(colourType) + std::string("\0\0\0", 3);
  uint32_t a = 1, b = 0;  // adler-32
  for (unsigned char c : rows) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  const auto n = static_cast<uint16_t>(rows.size());
  const std::string zlib = std::string("\x78\x01\x01", 3) + char(n) + char(n >> 8) + char(~n) +
                           char(~n >> 8) + rows + be32(b << 16 | a);
  return std::string("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) + extra + pngChunk("IDAT", zlib) +
         pngChunk("IEND", "");
}

bool decodeString(const std::string& file, Image& image) {
  return decodePng(reinterpret_cast<const uint8_t*>(file.data()), file.size(), image);
}

TEST(PngDecoder, RgbArrivesBlueGreenRedAndTransparencyIsIgnored) {
  const std::string row = std::string("\0\xFF\0\0\x01\x02\x03", 7);  // red, then (1, 2, 3)
  const std::string trns = pngChunk("tRNS", std::string("\0\xFF\0\0\0\0", 6));
  Image image;
  ASSERT_TRUE(decodeString(pngFile(2, 1, 8, 2, row, trns), image));
  ASSERT_EQ(image.depth, 24);
  EXPECT_EQ(std::vector<uint8_t>(image.pixels, image.pixels + 6),
            (std::vector<uint8_t>{0, 0, 255, 3, 2, 1}));
}

TEST(PngDecoder, SizesBeyondTheImageLimitsAreRejectedBeforeDecoding) {
  Image image;
  const std::string row(1 + 3, '\0');
  EXPECT_TRUE(decodeString(pngFile(1, 1, 8, 2, row), image));
  EXPECT_FALSE(decodeString(pngFile(65536, 1, 8, 2, row), image));
  EXPECT_FALSE(decodeString(pngFile(1, 65536, 8, 2, row), image));
  // The largest size the image allows, but far more than a few bytes can hold.
  EXPECT_FALSE(decodeString(pngFile(65535, 65535, 8, 2, row), image));
  EXPECT_EQ(image.pixels, nullptr);
}

// A chunk whose header declares more bytes than the file holds, with a checksum over what
// is there.
std::string overlongChunk(const std::string& type, const std::string& data, uint32_t declared) {
  return be32(declared) + type + data + be32(crc32(type + data));
}

// The largest the process has ever been resident, in KiB.
long peakResidentKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A few hundred bytes whose ancillary chunk claims 1.6 GB: refused from the chunk list alone.
// libpng, left to itself, reserves and clears the claimed size before its read runs short.
TEST(PngDecoder, ChunksClaimingMoreThanTheFileHoldsAreRefusedUpFront) {
  const std::string row(1 + 3, '\0');
  // Unit 1 (metre), width "1.0", height "1.0"; purpose, range 0..255, type 0, no parameters.
  const std::string scale = std::string(1, '\1') + "1.0" + '\0' + "1.0" + std::string(600, '\0');
  const std::string calibration = std::string("calibration") + '\0' + be32(0) + be32(255) +
                                  std::string(2, '\0') + "unit" + std::string(600, '\0');
  const long before = peakResidentKiB();
  Image image;
  EXPECT_FALSE(
      decodeString(pngFile(1, 1, 8, 2, row, overlongChunk("sCAL", scale, 1600000000)), image));
  EXPECT_FALSE(decodeString(
      pngFile(1, 1, 8, 2, row, overlongChunk("pCAL", calibration, 1600000000)), image));
  EXPECT_EQ(image.pixels, nullptr);
  EXPECT_LT(peakResidentKiB() - before, 256 * 1024) << "the claimed size was reserved";
}

TEST(PngDecoder, EveryChunkUpToTheEndChunkMustLieWithinTheData) {
  const std::string row(1 + 3, '\0');
  const std::string good = pngFile(1, 1, 8, 2, row);
  Image image;
  ASSERT_TRUE(decodeString(good, image));
  // Bytes after the end chunk are never read.
  EXPECT_TRUE(decodeString(good + "trailing bytes", image));
  // The end chunk's length one byte too long, or its checksum cut short.
  std::string longEnd = good;
  longEnd[longEnd.size() - 9] = 1;
  EXPECT_FALSE(decodeString(longEnd, image));
  EXPECT_FALSE(decodeString(good.substr(0, good.size() - 2), image));
  // No end chunk at all, and a length with the top bit set.
  EXPECT_FALSE(decodeString(good.substr(0, good.size() - 12), image));
  EXPECT_FALSE(
      decodeString(pngFile(1, 1, 8, 2, row, overlongChunk("tEXt", "a\0b", 0x80000003)), image));
  EXPECT_EQ(image.pixels, nullptr);
}

}  // namespace
