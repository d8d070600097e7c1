#include "game/puzzle_file.h"

#include <array>
#include <utility>

#include "res/resource_archive.h"
#include "res/resource_stream.h"

namespace {

constexpr std::array<char, kDifficultyCount> kSectionLetters = {'E', 'M', 'D', 'C'};

// Whether a difficulty's list may take one more puzzle without its count wrapping.
bool hasRoom(const PuzzleLists& lists, int difficulty) {
  return lists.counts[static_cast<size_t>(difficulty)] < kMaxPuzzlesPerDifficulty;
}

}  // namespace

int difficultyOfSectionLetter(char letter) {
  for (size_t i = 0; i < kSectionLetters.size(); ++i) {
    if (kSectionLetters[i] == letter) return static_cast<int>(i);
  }
  return -1;
}

char sectionLetter(uint8_t difficulty) { return kSectionLetters[difficulty % kDifficultyCount]; }

bool parsePuzzleLine(uint8_t difficulty, std::string_view line, PuzzleRecord& record) {
  record.difficulty = difficulty;
  record.name.clear();
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return false;
  record.name.assign(line.substr(0, equals));
  return decodeBoard(record, line.substr(equals + 1));
}

PuzzleLists readPuzzleLines(ResourceStream& member) {
  PuzzleLists result;
  int difficulty = 0;
  char buffer[kPuzzleLineCapacity];
  // An empty line reads as 0 just like the end, so reading stops at the first one.
  while (uint32_t length = member.readLine(buffer, sizeof buffer)) {
    const std::string_view line(buffer, length);
    if (line.front() == '[') {
      // A lone "[" has no second character and, like an unknown letter, changes nothing.
      const int picked = line.size() > 1 ? difficultyOfSectionLetter(line[1]) : -1;
      if (picked >= 0) difficulty = picked;
      continue;
    }
    if (line.size() < kMinPuzzleLineLength) continue;
    PuzzleRecord record;
    if (!parsePuzzleLine(static_cast<uint8_t>(difficulty), line, record)) continue;
    if (!hasRoom(result, difficulty)) continue;
    const auto d = static_cast<size_t>(difficulty);
    ++result.counts[d];
    result.lists[d].push_back(std::move(record));
  }
  return result;
}

PuzzleLists readPuzzleFile(ResourceArchive& archive) {
  // A missing member is an empty view, which reads as the end at once.
  ResourceStream member = archive.openMember(kPuzzleFileName);
  PuzzleLists lists = readPuzzleLines(member);
  member.close();
  return lists;
}

PuzzleLists readPuzzleFile() {
  if (resourceArchive == nullptr || !resourceArchive->isOpen()) return {};
  return readPuzzleFile(*resourceArchive);
}

namespace {

// A neighbour's cell on the board, or -1 past an edge.
int32_t neighbour(int32_t cell, uint8_t side) {
  const int32_t column = cell % board::kColumns;
  const int32_t row = cell / board::kColumns;
  switch (side) {
    case line::Up:
      return row > 0 ? cell - board::kColumns : -1;
    case line::Right:
      return column + 1 < board::kColumns ? cell + 1 : -1;
    case line::Down:
      return row + 1 < board::kRows ? cell + board::kColumns : -1;
    default:
      return column > 0 ? cell - 1 : -1;
  }
}

constexpr std::array<uint8_t, 4> kSides = {line::Up, line::Right, line::Down, line::Left};

// The side of a neighbour that faces back.
constexpr uint8_t facing(uint8_t side) { return rotatedClockwise(rotatedClockwise(side)); }

// The lines a tile can only ever be dealt with, or -1 when a draw still decides one of them.
// A pinned tile keeps its own; an unpinned one is bound only where a pinned neighbour faces it.
int boundLines(const BoardCodes& tiles, int32_t cell) {
  const TileCode tile = tiles[static_cast<size_t>(cell)];
  if (tile.pinned()) return tile.lines();
  uint8_t lines = 0;
  for (uint8_t side : kSides) {
    const int32_t other = neighbour(cell, side);
    if (other < 0) return -1;
    const TileCode next = tiles[static_cast<size_t>(other)];
    if (next.isEmpty() || !next.pinned()) return -1;
    if (next.lines() & facing(side)) lines |= side;
  }
  return lines;
}

bool hasNeighbour(const BoardCodes& tiles, int32_t cell) {
  for (uint8_t side : kSides) {
    const int32_t other = neighbour(cell, side);
    if (other >= 0 && !tiles[static_cast<size_t>(other)].isEmpty()) return true;
  }
  return false;
}

}  // namespace

bool layoutCanBeScrambled(const BoardCodes& tiles) {
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    if (!tiles[static_cast<size_t>(cell)].turns() || !hasNeighbour(tiles, cell)) continue;
    const int lines = boundLines(tiles, cell);
    if (lines != 0 && lines != line::All) return true;
  }
  return false;
}
