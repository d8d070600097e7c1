#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/board.h"
#include "store/settings.h"

// A whole board as a record and as text. The puzzle file and the saved game both carry a board
// as the 166-letter board code: a checksum of four letters, then two letters for each of the 81
// tile codes. Plain data only: the game screen puts a record on its tiles itself.

// The difficulties, in the order of the puzzle file's sections and the difficulty buttons.
inline constexpr uint8_t kDifficultyCount = 4;

struct PuzzleRecord {
  std::string name;        // from the puzzle file; empty for a saved game
  uint8_t difficulty = 0;  // 0 easy, 1 medium, 2 hard, 3 crazy
  BoardCodes tiles{};      // cells 0 to 80
};

// kBoardCodeLength (166: four checksum letters and two letters a cell) lives with the saved
// game's text layout, which carries a board code and sits below the game.
static_assert(kBoardCodeLength == 4 + 2 * board::kCells);

// The sum of the 81 tile codes, kept to 16 bits: what the checksum letters hold.
uint16_t boardChecksum(const BoardCodes& tiles);

// The board code of the tiles: 166 capital letters from 'A' to 'Y'.
std::string encodeBoard(const BoardCodes& tiles);

// Reads a board code into the record's tiles; true when the code is valid. A text that is not
// exactly 166 characters leaves the record untouched; otherwise the tiles are filled even when
// the checksum does not match, and the answer is false. Letters outside 'A' to 'Y' are not
// refused as such: they decode to some code and the checksum catches them or not.
bool decodeBoard(PuzzleRecord& record, std::string_view text);
