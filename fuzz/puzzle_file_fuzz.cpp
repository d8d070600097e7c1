// The whole puzzle file over arbitrary bytes, read from an archive member followed by another
// member that must never leak in: the lists are the same as with the member alone at the end of
// the archive (the input itself may well name a puzzle like the one that follows). Every
// puzzle read is counted in its own list, carries that list's difficulty, has a name without
// "=" or control bytes, and re-encodes to a valid code.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "game/board_code.h"
#include "game/puzzle_file.h"
#include "res/archive_writer.h"
#include "res/resource_archive.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// A valid line in the next member: reading past the end of the file would count it.
std::string leakingMember() {
  BoardCodes tiles;
  tiles.fill(TileCode(0x10));
  return "\n[C\nLEAK=" + encodeBoard(tiles) + "\n";
}

PuzzleLists readFrom(const std::vector<std::pair<std::string, std::string>>& members) {
  ResourceArchive archive(
      std::make_unique<std::istringstream>(buildArchive(members), std::ios::binary));
  return readPuzzleFile(archive);
}

bool sameLists(const PuzzleLists& a, const PuzzleLists& b) {
  if (a.counts != b.counts) return false;
  for (uint8_t d = 0; d < kDifficultyCount; ++d) {
    if (a.lists[d].size() != b.lists[d].size()) return false;
    for (size_t i = 0; i < a.lists[d].size(); ++i) {
      const PuzzleRecord& x = a.lists[d][i];
      const PuzzleRecord& y = b.lists[d][i];
      if (x.name != y.name || x.difficulty != y.difficulty || x.tiles != y.tiles) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
  static const std::string next = leakingMember();
  const PuzzleLists lists = readFrom({{"puzzles.ini", text}, {"zz", next}});
  require(sameLists(lists, readFrom({{"puzzles.ini", text}})));

  size_t puzzles = 0;
  for (uint8_t d = 0; d < kDifficultyCount; ++d) {
    require(lists.counts[d] == lists.lists[d].size());
    for (const PuzzleRecord& record : lists.lists[d]) {
      require(record.difficulty == d);
      require(record.name.find('=') == std::string::npos);
      for (unsigned char c : record.name) require(c >= 32);
      require(record.name.empty() || record.name[0] != '[');  // that line is a header
      // Room for the name, "=", the code and nothing else in one line of the reader.
      require(record.name.size() + 1 + kBoardCodeLength < kPuzzleLineCapacity);
      PuzzleRecord copy;
      require(decodeBoard(copy, encodeBoard(record.tiles)) && copy.tiles == record.tiles);
      ++puzzles;
    }
  }
  // Each puzzle takes at least a whole line of the text.
  require(puzzles * kMinPuzzleLineLength <= size);
  return 0;
}
