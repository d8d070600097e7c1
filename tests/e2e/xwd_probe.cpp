// Reads the screen dumps of xwd (24 or 32 bits a pixel, either byte order) for the end-to-end
// tests:
//   xwd_probe changed A B X Y W H   prints how many pixels differ between A and B inside the
//                                    rectangle, how many differ outside it, and the box
//                                    round those outside (left top right bottom)
//   xwd_probe brightest A X Y W H   prints the largest colour value inside the rectangle
//   xwd_probe png A OUT             writes A as a PNG, for a person to look at
// Exit code 2 for a wrong command line, 1 for a dump it cannot read.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Dump {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // three bytes a pixel, rows top to bottom
};

uint32_t bigEndian(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) |
         b[at + 3];
}

// The header is 25 big-endian 32-bit fields, then the window name, then 12 bytes for each
// colour-map entry, then the rows.
bool readDump(const char* path, Dump& out) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> b((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (b.size() < 100) return false;
  const uint32_t headerSize = bigEndian(b, 0);
  const uint32_t width = bigEndian(b, 16), height = bigEndian(b, 20);
  const uint32_t byteOrder = bigEndian(b, 28);  // 0: least significant byte first
  const uint32_t bitsPerPixel = bigEndian(b, 44), bytesPerLine = bigEndian(b, 48);
  const uint32_t colours = bigEndian(b, 76);
  if (width == 0 || height == 0 || width > 16384 || height > 16384) return false;
  if (bitsPerPixel != 32 && bitsPerPixel != 24) return false;
  const uint64_t start = uint64_t{headerSize} + uint64_t{colours} * 12;
  const uint32_t bytes = bitsPerPixel / 8;
  if (bytesPerLine < width * bytes || start + uint64_t{bytesPerLine} * height > b.size()) {
    return false;
  }
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.rgb.resize(size_t{width} * height * 3);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = &b[start + uint64_t{y} * bytesPerLine + uint64_t{x} * bytes];
      uint32_t v = 0;
      for (uint32_t i = 0; i < bytes; ++i) {
        const uint32_t shift = byteOrder == 0 ? 8 * i : 8 * (bytes - 1 - i);
        v |= uint32_t{p[i]} << shift;
      }
      uint8_t* q = &out.rgb[(size_t{y} * width + x) * 3];
      q[0] = static_cast<uint8_t>(v >> 16);
      q[1] = static_cast<uint8_t>(v >> 8);
      q[2] = static_cast<uint8_t>(v);
    }
  }
  return true;
}

struct Area {
  int x, y, w, h;
  bool contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

Area areaFrom(char** args) {
  return {std::atoi(args[0]), std::atoi(args[1]), std::atoi(args[2]), std::atoi(args[3])};
}

int changed(const Dump& a, const Dump& b, const Area& area) {
  if (a.width != b.width || a.height != b.height) return 1;
  long inside = 0, outside = 0;
  int left = a.width, top = a.height, right = 0, bottom = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      const size_t at = (size_t(y) * a.width + x) * 3;
      if (std::equal(&a.rgb[at], &a.rgb[at + 3], &b.rgb[at])) continue;
      if (area.contains(x, y)) {
        ++inside;
        continue;
      }
      ++outside;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x + 1);
      bottom = std::max(bottom, y + 1);
    }
  }
  if (outside == 0) left = top = 0;
  std::printf("%ld %ld %d %d %d %d\n", inside, outside, left, top, right, bottom);
  return 0;
}

int brightest(const Dump& a, const Area& area) {
  int most = 0;
  for (int y = std::max(0, area.y); y < std::min(a.height, area.y + area.h); ++y) {
    for (int x = std::max(0, area.x); x < std::min(a.width, area.x + area.w); ++x) {
      const size_t at = (size_t(y) * a.width + x) * 3;
      most = std::max({most, int{a.rgb[at]}, int{a.rgb[at + 1]}, int{a.rgb[at + 2]}});
    }
  }
  std::printf("%d\n", most);
  return 0;
}

int writePng(const Dump& a, const char* path) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return 1;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, a.width, a.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < a.height; ++y) {
      png_write_row(png, const_cast<uint8_t*>(&a.rgb[size_t(y) * a.width * 3]));
    }
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  Dump a, b;
  if (command == "changed" && argc == 8) {
    if (!readDump(argv[2], a) || !readDump(argv[3], b)) return 1;
    return changed(a, b, areaFrom(argv + 4));
  }
  if (command == "brightest" && argc == 7) {
    if (!readDump(argv[2], a)) return 1;
    return brightest(a, areaFrom(argv + 3));
  }
  if (command == "png" && argc == 4) {
    if (!readDump(argv[2], a)) return 1;
    return writePng(a, argv[3]);
  }
  std::fputs("usage: xwd_probe changed A B X Y W H | brightest A X Y W H | png A OUT\n", stderr);
  return 2;
}
