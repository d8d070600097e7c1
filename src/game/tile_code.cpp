#include "game/tile_code.h"

std::string tilePictureName(TileKind kind, uint8_t bits) {
  const uint8_t shape = canonicalShape(bits);
  std::string name(1, kindLetter(kind));
  name += static_cast<char>('0' + shape / 10);
  name += static_cast<char>('0' + shape % 10);
  return name + ".png";
}
