#pragma once

#include <cstddef>
#include <cstdint>

class Image;

// Decodes a PNG through libpng into one of the three layouts the game draws:
//  - 8-bit palette: indices with the palette (blue, green, red), colourCount
//    256, colourKey -1;
//  - 8-bit grey: values without a palette (glyph strips), colourCount 256;
//  - everything else: 24-bit blue, green, red, colourCount 2^24.
// Other kinds are converted with libpng's own transforms:
//  - 16-bit samples keep their high byte;
//  - grey of 1, 2 or 4 bits is widened to 8-bit grey;
//  - palettes of 1, 2 or 4 bits become 24-bit colour;
//  - alpha channels are dropped: grey with alpha becomes 24-bit grey colour,
//    RGBA becomes RGB;
//  - tRNS transparency chunks are ignored (transparency comes from the colour
//    key alone);
//  - interlaced images are de-interlaced.
// Sizes above 65535, declared sizes that the data could never fill, chunks
// that run past the end of the data (or stop short of IEND), and decoded
// images above 64 MiB are rejected before anything is allocated. On failure
// the image is left empty.
bool decodePng(const uint8_t* data, size_t size, Image& image);
