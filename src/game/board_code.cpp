#include "game/board_code.h"

namespace {

constexpr int kLetterA = 'A';

// Each letter of a tile code is shifted by its place in the code, so that the same tile code
// reads differently from cell to cell: k runs over the 162 tile letters, and the shift is k mod 10.
constexpr int shiftAt(size_t k) { return static_cast<int>(k % 10); }

}  // namespace

uint16_t boardChecksum(const BoardCodes& tiles) {
  uint32_t sum = 0;
  for (TileCode tile : tiles) sum += tile.byte;
  return static_cast<uint16_t>(sum);
}

std::string encodeBoard(const BoardCodes& tiles) {
  std::string text;
  text.reserve(kBoardCodeLength);
  const uint16_t sum = boardChecksum(tiles);
  for (int shift = 12; shift >= 0; shift -= 4) {
    text.push_back(static_cast<char>(kLetterA + ((sum >> shift) & 0x0F)));
  }
  for (size_t cell = 0; cell < tiles.size(); ++cell) {
    const size_t k = 2 * cell;
    const uint8_t b = tiles[cell].byte;
    text.push_back(static_cast<char>(kLetterA + b / 16 + shiftAt(k)));
    text.push_back(static_cast<char>(kLetterA + b % 16 + shiftAt(k + 1)));
  }
  return text;
}

bool decodeBoard(PuzzleRecord& record, std::string_view text) {
  if (text.size() != kBoardCodeLength) return false;
  // Bytes above 127 count as their unsigned values, as the line reader keeps them.
  const auto at = [&text](size_t i) { return int{static_cast<unsigned char>(text[i])}; };
  // Four letters A stand for 0; anything else lands somewhere and is compared in 16 bits.
  int32_t expected = 0;
  for (size_t i = 0; i < 4; ++i) expected = expected * 16 + (at(i) - kLetterA);
  uint32_t sum = 0;
  for (size_t cell = 0; cell < record.tiles.size(); ++cell) {
    const size_t k = 2 * cell;
    const int high = at(4 + k) - kLetterA - shiftAt(k);
    const int low = at(5 + k) - kLetterA - shiftAt(k + 1);
    // Taking the low eight bits is the remainder modulo 256, negative values included.
    const auto code = static_cast<uint8_t>(high * 16 + low);
    record.tiles[cell] = TileCode(code);
    sum += code;
  }
  return static_cast<uint16_t>(expected) == static_cast<uint16_t>(sum);
}
