#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Font;

// Pictures made up for the board tests and served as the resource archive: a 12-frame strip
// for every tile picture but one, two explosion strips and a font with digits. The frames turn
// by 30 degrees each, so a picture shows plainly which frame is up.
namespace tile_art {

// The one tile picture left out, for the tests of a tile without a picture.
inline constexpr const char* kMissingPicture = "m07.png";
inline constexpr uint16_t kBlastFrame = 100;  // explosion frames are square

// Installs the pictures as the resource archive, once per process, before any is asked for.
void install();
// The countdown font: space to '9' from a glyph strip of ink coverage.
const Font& font();

// Top-down uncompressed bitmaps, which the image decoder reads like PNG files.
std::string bmp24(uint16_t width, uint16_t height, const std::vector<uint8_t>& bgr);
std::string bmp8(uint16_t width, uint16_t height, const std::vector<uint8_t>& indices,
                 const std::vector<uint8_t>& bgrPalette);

}  // namespace tile_art
