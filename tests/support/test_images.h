#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Bytes of an uncompressed 24-bit BMP of width by height whose pixel (x, y) has the colour
// pick(x, y) returns as 0xRRGGBB. Rows are stored bottom-up, as BMP files usually are.
template <typename Pick>
std::string bmp24(int width, int height, Pick pick) {
  int pitch = (width * 3 + 3) & ~3;
  uint32_t dataSize = static_cast<uint32_t>(pitch * height);
  std::string out(54 + dataSize, '\0');
  auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  out[0] = 'B';
  out[1] = 'M';
  put(2, 54 + dataSize, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<uint32_t>(width), 4);
  put(22, static_cast<uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, dataSize, 4);
  for (int y = 0; y < height; ++y) {
    size_t row = 54 + static_cast<size_t>(height - 1 - y) * pitch;
    for (int x = 0; x < width; ++x) {
      uint32_t rgb = pick(x, y);
      out[row + x * 3] = static_cast<char>(rgb & 0xFF);
      out[row + x * 3 + 1] = static_cast<char>((rgb >> 8) & 0xFF);
      out[row + x * 3 + 2] = static_cast<char>((rgb >> 16) & 0xFF);
    }
  }
  return out;
}

inline std::string solidBmp(int width, int height, uint32_t rgb) {
  return bmp24(width, height, [rgb](int, int) { return rgb; });
}
