#include "gfx/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "gfx/image.h"

// libpng reports errors by longjmp. The functions that call setjmp below, and
// the callbacks libpng calls, hold no object with a destructor, so an unwind
// never skips one; buffers live in decodePng, above the setjmp frames.

namespace {

constexpr png_uint_32 kMaxSide = 65535;  // Image sizes are 16-bit
// Deflate cannot expand data more than about 1032 times.
constexpr uint64_t kMaxInflation = 1032;
// No picture of this game comes near this; a larger one is refused rather
// than risk exhausting memory on a damaged or hostile file.
constexpr uint64_t kMaxDecodedBytes = 64u << 20;
// Ancillary chunks that only cost time and memory here. tRNS is among them:
// transparency comes from the colour key, never from the file.
constexpr png_byte kIgnoredChunks[] = "tRNS\0iCCP\0iTXt\0tEXt\0zTXt\0sPLT\0eXIf\0sBIT\0hIST";
constexpr int kIgnoredChunkCount = 9;
constexpr png_alloc_size_t kMaxChunkBytes = 4u << 20;

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t position;
};

// The layout the rows arrive in after the transforms.
struct PngLayout {
  png_uint_32 width;
  png_uint_32 height;
  int depth;        // 8 or 24
  int paletteSize;  // entries copied into palette, 8-bit palette images only
  png_color palette[256];
  uint64_t packedBytes;  // the image's bytes before any transform, filter bytes aside
};

// A short read fails before anything is copied, so libpng never works on a partly filled
// buffer. (The chunk walk below leaves libpng no short read to make.)
void readFromMemory(png_structp png, png_bytep out, size_t length) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (length > reader->size - reader->position) png_error(png, "unexpected end of data");
  std::memcpy(out, reader->data + reader->position, length);
  reader->position += length;
}

uint32_t bigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// True when every chunk up to and including IEND lies whole within the data. libpng takes a
// chunk's declared length at its word: for an ancillary chunk such as sCAL or pCAL it
// reserves and clears that much (1.6 GB for a file of 700 bytes) before its read runs short.
// A file that ends before IEND could never decode, so refusing it changes no result.
bool chunksFitInData(const uint8_t* data, size_t size) {
  constexpr size_t kSignatureBytes = 8;
  constexpr size_t kChunkOverhead = 12;  // length, type and checksum
  size_t at = kSignatureBytes;
  while (at <= size && size - at >= kChunkOverhead) {
    const uint32_t length = bigEndian32(data + at);
    if (length > PNG_UINT_31_MAX || length > size - at - kChunkOverhead) return false;
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
    at += kChunkOverhead + length;
  }
  return false;
}

// The game has no log: errors unwind quietly, warnings are dropped.
[[noreturn]] void quietError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void quietWarning(png_structp, png_const_charp) {}

int channelsOf(int colourType) {
  switch (colourType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
      return 2;
    case PNG_COLOR_TYPE_RGB:
      return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
      return 4;
    default:
      return 1;
  }
}

// Requests the transforms that bring any PNG to one of the three layouts and
// returns the depth it will have.
int requestTransforms(png_structp png, int colourType, int bitDepth) {
  if (bitDepth == 16) png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_PALETTE && bitDepth == 8) return 8;
  if (colourType == PNG_COLOR_TYPE_GRAY) {
    if (bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    return 8;
  }
  png_set_expand(png);  // small palettes become colour triples
  if (colourType & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(png);
  if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  return 24;
}

// The rows libpng will deliver must be exactly the layout chosen, so that no
// row is ever written past its end.
bool deliversLayout(png_structp png, png_infop info, const PngLayout& layout) {
  const int channels = layout.depth / 8;
  const int colourType = png_get_color_type(png, info);
  const bool typeMatches = layout.depth == 24 ? colourType == PNG_COLOR_TYPE_RGB
                                              : colourType == PNG_COLOR_TYPE_GRAY ||
                                                    colourType == PNG_COLOR_TYPE_PALETTE;
  return typeMatches && png_get_bit_depth(png, info) == 8 &&
         png_get_channels(png, info) == channels &&
         png_get_rowbytes(png, info) == size_t{layout.width} * channels;
}

void copyPalette(png_structp png, png_infop info, PngLayout* layout) {
  png_colorp entries = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &entries, &count) == 0 || count < 0) count = 0;
  if (count > 256) count = 256;
  layout->paletteSize = count;
  if (count > 0) std::memcpy(layout->palette, entries, sizeof(png_color) * count);
}

// Reads the header and sets up the transforms. Unwound to on any libpng error.
bool readHeader(png_structp png, png_infop info, PngLayout* layout) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
  layout->width = width;
  layout->height = height;
  layout->packedBytes = (uint64_t{width} * channelsOf(colourType) * bitDepth + 7) / 8 * height;
  layout->depth = requestTransforms(png, colourType, bitDepth);
  if (layout->depth == 8 && colourType == PNG_COLOR_TYPE_PALETTE) copyPalette(png, info, layout);
  if (interlace != PNG_INTERLACE_NONE) png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return deliversLayout(png, info, *layout);
}

// Decodes every row into place. Unwound to on any libpng error.
bool readRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  png_read_end(png, nullptr);
  return true;
}

// Destroys libpng's structures however decodePng returns.
struct ReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~ReadStructs() {
    if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  }
};

void applyLimits(png_structp png) {
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kIgnoredChunks, kIgnoredChunkCount);
}

bool assignDecoded(const PngLayout& layout, std::vector<uint8_t> pixels, Image& image) {
  const auto width = static_cast<uint16_t>(layout.width);
  const auto height = static_cast<uint16_t>(layout.height);
  if (layout.depth == 24) {
    if (!image.assign(width, height, 24, std::move(pixels))) return false;
    image.colourCount = 1 << 24;
    return true;
  }
  if (layout.paletteSize == 0) {  // grey: no palette, so it serves only as a glyph strip
    if (!image.assign(width, height, 8, std::move(pixels))) return false;
    image.colourCount = 256;
    return true;
  }
  std::vector<uint8_t> palette(size_t(layout.paletteSize) * 3);
  for (int i = 0; i < layout.paletteSize; ++i) {
    palette[i * 3] = layout.palette[i].blue;
    palette[i * 3 + 1] = layout.palette[i].green;
    palette[i * 3 + 2] = layout.palette[i].red;
  }
  return image.assign(width, height, 8, std::move(pixels), std::move(palette), 256);
}

}  // namespace

bool decodePng(const uint8_t* data, size_t size, Image& image) {
  image = Image();
  if (!data || !chunksFitInData(data, size)) return false;
  ReadStructs structs;
  structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
  if (!structs.png) return false;
  structs.info = png_create_info_struct(structs.png);
  if (!structs.info) return false;
  MemoryReader reader{data, size, 0};
  png_set_read_fn(structs.png, &reader, readFromMemory);
  applyLimits(structs.png);

  PngLayout layout{};
  if (!readHeader(structs.png, structs.info, &layout)) return false;
  // A declared size the compressed data could never fill is refused before
  // its buffer is allocated.
  if (layout.packedBytes > uint64_t{size} * kMaxInflation) return false;
  const size_t pitch = (size_t{layout.width} * (layout.depth / 8) + 3) & ~size_t{3};
  if (uint64_t{pitch} * layout.height > kMaxDecodedBytes) return false;
  std::vector<uint8_t> pixels(pitch * layout.height);
  std::vector<png_bytep> rows(layout.height);
  for (size_t j = 0; j < rows.size(); ++j) rows[j] = pixels.data() + j * pitch;
  if (!readRows(structs.png, rows.data())) return false;
  return assignDecoded(layout, std::move(pixels), image);
}
