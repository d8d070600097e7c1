// One puzzle line and one board code over arbitrary bytes. The first byte picks the
// difficulty; the rest is the line as the line reader could deliver it. Beyond "no crash" it
// checks what the game relies on: the name is the text before the first "=", a code of the
// wrong length leaves the record alone, and every board encodes back to a code in the
// alphabet 'A' to 'Y' that decodes to the same tiles.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "game/board_code.h"
#include "game/puzzle_file.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

PuzzleRecord sentinel() {
  PuzzleRecord record;
  record.name = "sentinel";
  record.difficulty = 7;
  record.tiles.fill(TileCode(0x7E));
  return record;
}

void checkDecode(std::string_view text) {
  PuzzleRecord record = sentinel();
  const bool valid = decodeBoard(record, text);
  if (text.size() != kBoardCodeLength) {
    require(!valid);
    require(record.tiles == sentinel().tiles && record.name == "sentinel");
    return;
  }
  const std::string again = encodeBoard(record.tiles);
  require(again.size() == kBoardCodeLength);
  require(again.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXY") == std::string::npos);
  PuzzleRecord copy;
  require(decodeBoard(copy, again) && copy.tiles == record.tiles);
  // A valid code whose checksum is spelled with plain hexadecimal letters ('A' to 'P') holds
  // the very sum the encoder writes for the tiles it decodes to.
  const bool plainSum =
      text.substr(0, 4).find_first_not_of("ABCDEFGHIJKLMNOP") == std::string::npos;
  if (valid && plainSum) require(again.compare(0, 4, text.substr(0, 4)) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto difficulty = static_cast<uint8_t>(data[0] % kDifficultyCount);
  const std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);
  checkDecode(line);

  PuzzleRecord record = sentinel();
  const bool valid = parsePuzzleLine(difficulty, line, record);
  require(record.difficulty == difficulty);
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    require(!valid && record.name.empty());
    return 0;
  }
  require(record.name == line.substr(0, equals));
  require(!valid || line.size() - equals - 1 == kBoardCodeLength);
  checkDecode(line.substr(equals + 1));
  return 0;
}
