#include "game/tile_art.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <utility>

#include "game/tile.h"
#include "gfx/font.h"
#include "gfx/image_cache.h"
#include "res/archive_writer.h"
#include "res/test_files.h"

namespace tile_art {
namespace {

struct Bgr {
  uint8_t b, g, r;
};

void put32(std::string& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(v >> (8 * i));
}

std::string bmp(uint16_t width, uint16_t height, uint16_t bits, const std::vector<uint8_t>& rows,
                const std::vector<uint8_t>& palette) {
  const size_t rowBytes = width * bits / 8;
  const size_t pitch = (rowBytes + 3) & ~size_t{3};
  const size_t paletteBytes = palette.size() / 3 * 4;
  const size_t pixelOffset = 54 + paletteBytes;
  std::string out(pixelOffset + pitch * height, '\0');
  out[0] = 'B';
  out[1] = 'M';
  put32(out, 2, static_cast<uint32_t>(out.size()));
  put32(out, 10, static_cast<uint32_t>(pixelOffset));
  put32(out, 14, 40);
  put32(out, 18, width);
  put32(out, 22, static_cast<uint32_t>(-int32_t{height}));  // top-down
  out[26] = 1;
  out[28] = static_cast<char>(bits);
  put32(out, 46, static_cast<uint32_t>(palette.size() / 3));
  for (size_t i = 0; i < palette.size() / 3; ++i) {
    for (size_t c = 0; c < 3; ++c) out[54 + 4 * i + c] = static_cast<char>(palette[3 * i + c]);
  }
  for (size_t y = 0; y < height; ++y) {
    for (size_t x = 0; x < rowBytes; ++x) {
      out[pixelOffset + y * pitch + x] = static_cast<char>(rows[y * rowBytes + x]);
    }
  }
  return out;
}

Bgr background(TileKind kind) {
  switch (kind) {
    case TileKind::Fixed:
      return {150, 150, 150};
    case TileKind::Sliding:
      return {240, 210, 180};
    case TileKind::Linked:
      return {190, 235, 200};
    case TileKind::Bomb:
      return {180, 190, 245};
    default:
      return {200, 225, 235};
  }
}

// One pixel of a tile frame: (u, v) are its coordinates from the centre with the turn undone.
Bgr tilePixel(TileKind kind, uint8_t shape, double u, double v) {
  const Bgr line{90, 40, 30};
  const bool up = (shape & line::Up) && std::abs(u) <= 4 && v <= 0;
  const bool right = (shape & line::Right) && std::abs(v) <= 4 && u >= 0;
  const bool down = (shape & line::Down) && std::abs(u) <= 4 && v >= 0;
  const bool left = (shape & line::Left) && std::abs(v) <= 4 && u <= 0;
  const double r2 = u * u + v * v;
  // A bomb keeps a clear middle for its countdown.
  if (kind == TileKind::Bomb && r2 <= 100) return {235, 240, 250};
  if (up || right || down || left || (shape && r2 <= 49)) return line;
  // A dot in the upper right shows the turn even on shapes that look alike every way round.
  if ((u - 15) * (u - 15) + (v + 15) * (v + 15) <= 9) return {0, 140, 230};
  if (kind == TileKind::Bomb && std::abs(r2 - 169) <= 40) return {40, 40, 60};
  if (kind == TileKind::Linked && std::abs(r2 - 300) <= 30) return {40, 120, 40};
  if (kind == TileKind::Sliding && (std::abs(u) >= 19 || std::abs(v) >= 19)) return {200, 150, 90};
  if (kind == TileKind::Fixed && static_cast<int>(std::floor(u + v + 100)) % 8 < 2)
    return {110, 110, 110};
  return background(kind);
}

std::string tileStrip(TileKind kind, uint8_t shape) {
  const int size = board::kCellSize;
  const int width = size * Tile::kFrames;
  std::vector<uint8_t> bgr(static_cast<size_t>(width) * size * 3);
  for (int frame = 0; frame < Tile::kFrames; ++frame) {
    const double turn = frame * std::numbers::pi / 6;  // clockwise, 30 degrees a frame
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const double dx = x + 0.5 - size / 2.0;
        const double dy = y + 0.5 - size / 2.0;
        const double u = dx * std::cos(turn) + dy * std::sin(turn);
        const double v = -dx * std::sin(turn) + dy * std::cos(turn);
        const Bgr p = tilePixel(kind, shape, u, v);
        const size_t at = (static_cast<size_t>(y) * width + frame * size + x) * 3;
        bgr[at] = p.b;
        bgr[at + 1] = p.g;
        bgr[at + 2] = p.r;
      }
    }
  }
  return bmp24(static_cast<uint16_t>(width), static_cast<uint16_t>(size), bgr);
}

// Rings of fire that grow frame by frame, on a key colour (index 0, the corner).
std::string blastStrip(uint16_t frames, uint16_t columns) {
  const int size = kBlastFrame;
  const int width = size * columns;
  const int height = size * (frames / columns);
  std::vector<uint8_t> index(static_cast<size_t>(width) * height, 0);
  for (int f = 0; f < frames; ++f) {
    const int ox = (f % columns) * size, oy = (f / columns) * size;
    const double outer = 15 + 8 * f, inner = 4 * f;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const double d = std::hypot(x - size / 2.0, y - size / 2.0);
        if (d > outer || d < inner) continue;
        index[static_cast<size_t>(oy + y) * width + ox + x] = d < (inner + outer) / 2 ? 1 : 2;
      }
    }
  }
  const std::vector<uint8_t> palette = {255, 0, 255, 80, 220, 255, 0, 90, 230};  // key, yellow, red
  return bmp8(static_cast<uint16_t>(width), static_cast<uint16_t>(height), index, palette);
}

// Seven-segment digits: which of the segments a to g each lights.
constexpr uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

bool lit(int digit, int x, int y) {
  const uint8_t s = kSegments[digit];
  const bool top = y < 3, middle = y >= 9 && y < 12, bottom = y >= 18;
  const bool leftEdge = x < 3, rightEdge = x >= 9;
  const bool upper = y < 11, lower = y >= 10;
  return ((s & 0x01) && top) || ((s & 0x40) && middle) || ((s & 0x08) && bottom) ||
         ((s & 0x02) && rightEdge && upper) || ((s & 0x04) && rightEdge && lower) ||
         ((s & 0x20) && leftEdge && upper) || ((s & 0x10) && leftEdge && lower);
}

// Glyph 0 (substitute), the space, '!' to '/' as boxes, then '0' to '9'; 21 rows of ink.
std::string fontStrip() {
  const int glyphs = 27, cell = 13, height = 22;
  const int width = glyphs * cell;
  std::vector<uint8_t> ink(static_cast<size_t>(width) * height, 255);
  for (int g = 0; g < glyphs; ++g) {
    ink[static_cast<size_t>(g) * cell] = 0;  // the marker of the glyph's left edge
    for (int y = 0; y < 21; ++y) {
      for (int x = 0; x < 12; ++x) {
        bool on = false;
        if (g >= 17)
          on = lit(g - 17, x, y);
        else if (g != 1)
          on = (x == 1 || x == 10 || y == 1 || y == 19) && x <= 10 && y <= 19;
        if (on) ink[static_cast<size_t>(y + 1) * width + g * cell + x] = 0;
      }
    }
  }
  std::vector<uint8_t> grey(256 * 3);
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<uint8_t>(i / 3);
  return bmp8(static_cast<uint16_t>(width), static_cast<uint16_t>(height), ink, grey);
}

std::string buildTileArchive() {
  std::vector<std::pair<std::string, std::string>> members;
  for (TileKind kind :
       {TileKind::Plain, TileKind::Fixed, TileKind::Sliding, TileKind::Linked, TileKind::Bomb}) {
    for (uint8_t shape : {0, 1, 3, 5, 7, 15}) {
      const std::string name = tilePictureName(kind, shape);
      if (name != kMissingPicture) members.emplace_back(name, tileStrip(kind, shape));
    }
  }
  members.emplace_back("blast1.png", blastStrip(5, 5));
  members.emplace_back("blast2.png", blastStrip(5, 1));
  return buildArchive(members);
}

}  // namespace

std::string bmp24(uint16_t width, uint16_t height, const std::vector<uint8_t>& bgr) {
  return bmp(width, height, 24, bgr, {});
}

std::string bmp8(uint16_t width, uint16_t height, const std::vector<uint8_t>& indices,
                 const std::vector<uint8_t>& bgrPalette) {
  return bmp(width, height, 8, indices, bgrPalette);
}

void install() {
  // Kept to the end of the process: the image cache keeps what it loaded for as long.
  static std::unique_ptr<ResourceArchive> archive = memoryArchive(buildTileArchive());
  static ScopedResourceArchive use(*archive);
}

const Font& font() {
  struct Owned {
    Image strip;
    std::unique_ptr<BitmapFont> font;
    Owned() {
      const std::string bytes = fontStrip();
      decodeImage(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), strip);
      font = std::make_unique<BitmapFont>(&strip);
    }
  };
  static Owned owned;
  return *owned.font;
}

}  // namespace tile_art
