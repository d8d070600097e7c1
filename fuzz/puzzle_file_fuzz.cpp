// The whole puzzle file over arbitrary bytes, read from an archive member followed by another
// member that must never leak in. Every puzzle read is counted in its own list, carries that
// list's difficulty, has a name without "=" or control bytes, and re-encodes to a valid code.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
  static const std::string next = leakingMember();
  const std::string bytes = buildArchive({{"puzzles.ini", text}, {"zz", next}});
  ResourceArchive archive(std::make_unique<std::istringstream>(bytes, std::ios::binary));
  const PuzzleLists lists = readPuzzleFile(archive);

  size_t puzzles = 0;
  for (uint8_t d = 0; d < kDifficultyCount; ++d) {
    require(lists.counts[d] == lists.lists[d].size());
    for (const PuzzleRecord& record : lists.lists[d]) {
      require(record.difficulty == d);
      require(record.name != "LEAK");
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
