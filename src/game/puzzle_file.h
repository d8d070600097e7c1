#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "game/board_code.h"

class ResourceArchive;
class ResourceStream;

// The puzzle file: hand-made layouts in four sections, one per difficulty, read from the
// resource archive. A section header is a line starting with "[" whose second character picks
// the difficulty ("E", "M", "D", "C"); a puzzle line is a name, "=" and a board code; every
// other line is ignored, and the first empty line ends the file.

inline constexpr const char* kPuzzleFileName = "puzzles.ini";
// The game's scratch buffer for text lines, terminator included: at most 299 characters a line.
inline constexpr uint32_t kPuzzleLineCapacity = 300;
// A one-letter name, "=" and a whole board code.
inline constexpr size_t kMinPuzzleLineLength = 2 + kBoardCodeLength;
// A puzzle's place in its list is kept in 16 bits; puzzles beyond that are not taken.
inline constexpr size_t kMaxPuzzlesPerDifficulty = 0xFFFF;

// The valid puzzles of each difficulty, in file order; each record carries its section's
// difficulty. The game screen keeps these as its puzzle counts and lists.
struct PuzzleLists {
  std::array<uint16_t, kDifficultyCount> counts{};
  std::array<std::vector<PuzzleRecord>, kDifficultyCount> lists;
};

// The section letter's difficulty, or -1 for a letter that names none.
int difficultyOfSectionLetter(char letter);
// The letter a section header of that difficulty starts with after its "[".
char sectionLetter(uint8_t difficulty);

// Fills a record from one line: the name up to the first "=", the board code after it. False
// when the line holds no "=" or the code is not valid (see decodeBoard).
bool parsePuzzleLine(uint8_t difficulty, std::string_view line, PuzzleRecord& record);

// Reads every line of the stream from its current position as the puzzle file.
PuzzleLists readPuzzleLines(ResourceStream& member);
// Reads the member "puzzles.ini" of the archive; empty lists when it is missing.
PuzzleLists readPuzzleFile(ResourceArchive& archive);
// The same over the game's archive; empty lists when there is none.
PuzzleLists readPuzzleFile();

// Whether dealing and scrambling a layout can ever come to an end. Dealing needs a tile that
// can come out with lines other than none or all four; a scramble needs a pass that leaves a
// loose end. Both hold when some turning tile (plain, sliding, linked, bomb) has a neighbour
// on the board and its lines are not bound to none or all four, either by its pin or by four
// pinned neighbours. A layout without such a tile is refused when the puzzle file is built.
bool layoutCanBeScrambled(const BoardCodes& tiles);
