#pragma once

#include <png.h>

#include <memory>
#include <string>
#include <vector>

#include "gfx/image.h"
#include "res/resource_archive.h"

// The archive the build packed beside the program, opened once for all tests.
inline ResourceArchive& builtArchive() {
  static ResourceArchive archive((std::string(GYROTIDE_BINARY_DIR) + "/gyrotide.zap").c_str());
  return archive;
}

// Reads PNG bytes handed over in memory.
struct PngSource {
  const std::vector<uint8_t>* bytes;
  size_t offset = 0;
};

inline void readPngBytes(png_structp png, png_bytep out, png_size_t count) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (source->offset + count > source->bytes->size()) png_error(png, "cut short");
  std::copy_n(source->bytes->data() + source->offset, count, out);
  source->offset += count;
}

// Decodes a PNG member into an Image the way the game stores pictures: 8-bit palette
// pictures as indices with their palette, 8-bit grey without one, 24-bit RGB as
// blue-green-red. Anything else, a missing member or a broken one gives an empty image.
inline std::unique_ptr<Image> loadMember(const std::string& name) {
  auto image = std::make_unique<Image>();
  ResourceStream member = builtArchive().openMember(name);
  std::vector<uint8_t> bytes(member.size());
  if (bytes.empty() || member.read(bytes.data(), member.size()) != bytes.size()) return image;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  PngSource source{&bytes};
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> colours;
  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colourType = 0;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_read_fn(png, &source, readPngBytes);
    png_read_info(png, info);
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    bool eightBit = colourType == PNG_COLOR_TYPE_PALETTE || colourType == PNG_COLOR_TYPE_GRAY;
    if (bitDepth == 8 && (eightBit || colourType == PNG_COLOR_TYPE_RGB)) {
      if (colourType == PNG_COLOR_TYPE_RGB) png_set_bgr(png);
      png_read_update_info(png, info);
      size_t pitch = ((width * (eightBit ? 1 : 3)) + 3) & ~size_t{3};
      pixels.resize(pitch * height);
      std::vector<png_bytep> rows(height);
      for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixels.data() + pitch * y;
      png_read_image(png, rows.data());
      png_colorp entries = nullptr;
      int count = 0;
      if (colourType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(png, info, &entries, &count)) {
        for (int i = 0; i < count; ++i) {
          colours.insert(colours.end(), {entries[i].blue, entries[i].green, entries[i].red});
        }
      }
      auto entryCount = static_cast<int32_t>(colours.size() / 3);
      image->assign(static_cast<uint16_t>(width), static_cast<uint16_t>(height), eightBit ? 8 : 24,
                    std::move(pixels), std::move(colours), entryCount);
    }
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return image;
}
