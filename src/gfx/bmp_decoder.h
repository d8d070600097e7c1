#pragma once

#include <cstddef>
#include <cstdint>

class Image;

// Decodes an uncompressed Windows bitmap of 8 bits (palette indices, with the
// palette and the header's colour count) or 24 bits (blue, green, red) per
// pixel, stored bottom-up or top-down. Every header field is checked against
// the data before anything is allocated. An 8-bit result takes its colour key
// from the bottom-right pixel. On failure the image is left empty.
bool decodeBmp(const uint8_t* data, size_t size, Image& image);
