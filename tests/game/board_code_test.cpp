// The board code against values worked out by hand and against a reference encoder that
// spells the letters out of an alphabet instead of adding to 'A'.
#include "game/board_code.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>

namespace {

BoardCodes filled(uint8_t code) {
  BoardCodes tiles;
  tiles.fill(TileCode(code));
  return tiles;
}

// The reference: the checksum through printf's hexadecimal digits, and each tile letter
// picked from the alphabet by its value plus the running shift.
std::string referenceCode(const BoardCodes& tiles) {
  static const std::string kHex = "0123456789ABCDEF";
  static const std::string kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXY";
  unsigned sum = 0;
  for (TileCode t : tiles) sum += t.byte;
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", sum % 65536);
  std::string text;
  for (int i = 0; i < 4; ++i) text += kLetters[kHex.find(hex[i])];
  for (int i = 0; i < 81; ++i) {
    const int k = 2 * i;
    text += kLetters[tiles[i].byte / 16 + k % 10];
    text += kLetters[tiles[i].byte % 16 + (k + 1) % 10];
  }
  return text;
}

PuzzleRecord sentinelRecord() {
  PuzzleRecord record;
  record.name = "kept";
  record.difficulty = 2;
  record.tiles = filled(0x7E);
  return record;
}

TEST(BoardCode, WorkedValues) {
  // 81 holes: 81 x 16 = 1296 = 0x0510.
  EXPECT_EQ(encodeBoard(filled(0x10)).substr(0, 4), "AFBA");
  // Code 0 everywhere: only the running shift shows.
  std::string zeros = "AAAA";
  while (zeros.size() < kBoardCodeLength) zeros += "ABCDEFGHIJ";
  zeros.resize(kBoardCodeLength);
  EXPECT_EQ(encodeBoard(filled(0)), zeros);

  // A pinned fixed straight in cell 0 (0xA5), a bomb with four lines in cell 80 (0x5F), holes
  // elsewhere: 0xA5 + 0x5F + 79 x 0x10 = 1524 = 0x05F4.
  BoardCodes tiles = filled(0x10);
  tiles[0] = TileCode(0xA5);
  tiles[80] = TileCode(0x5F);
  const std::string code = encodeBoard(tiles);
  ASSERT_EQ(code.size(), 166u);
  EXPECT_EQ(code.substr(0, 4), "AFPE");
  EXPECT_EQ(code.substr(4, 2), "KG");    // 10 + 0, 5 + 1
  EXPECT_EQ(code.substr(6, 2), "DD");    // cell 1, k = 2: 1 + 2, 0 + 3
  EXPECT_EQ(code.substr(164, 2), "FQ");  // cell 80, k = 160: 5 + 0, 15 + 1
}

TEST(BoardCode, MatchesTheReferenceAndRoundTrips) {
  std::mt19937 draw(7);
  for (int round = 0; round < 200; ++round) {
    BoardCodes tiles;
    for (TileCode& t : tiles) t = TileCode(static_cast<uint8_t>(draw()));
    if (round < 16) tiles.fill(TileCode(static_cast<uint8_t>(round * 17)));
    const std::string code = encodeBoard(tiles);
    ASSERT_EQ(code, referenceCode(tiles));
    ASSERT_EQ(code.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXY"), std::string::npos);
    PuzzleRecord record;
    ASSERT_TRUE(decodeBoard(record, code));
    ASSERT_EQ(record.tiles, tiles);
    EXPECT_EQ(boardChecksum(tiles), boardChecksum(record.tiles));
  }
}

TEST(BoardCode, WrongLengthLeavesTheRecordAlone) {
  const std::string code = encodeBoard(filled(0x10));
  for (const std::string& text : {code.substr(0, 165), code + "A", std::string()}) {
    PuzzleRecord record = sentinelRecord();
    EXPECT_FALSE(decodeBoard(record, text)) << text.size();
    EXPECT_EQ(record.tiles, filled(0x7E));
    EXPECT_EQ(record.name, "kept");
    EXPECT_EQ(record.difficulty, 2);
  }
}

TEST(BoardCode, AnyOneLetterChangedFailsTheChecksum) {
  BoardCodes tiles = filled(0x10);
  tiles[40] = TileCode(0x05);
  tiles[3] = TileCode(0xB3);
  const std::string code = encodeBoard(tiles);
  for (size_t i = 0; i < code.size(); ++i) {
    for (int delta : {-1, 1}) {
      std::string changed = code;
      changed[i] = static_cast<char>(changed[i] + delta);
      PuzzleRecord record;
      EXPECT_FALSE(decodeBoard(record, changed)) << "letter " << i << " by " << delta;
    }
  }
}

TEST(BoardCode, FillsTilesEvenWhenTheChecksumFails) {
  std::string code = encodeBoard(filled(0));
  code[0] = 'B';  // the checksum now claims 0x1000
  PuzzleRecord record = sentinelRecord();
  EXPECT_FALSE(decodeBoard(record, code));
  EXPECT_EQ(record.tiles, filled(0));
}

TEST(BoardCode, LettersBeyondTheAlphabetDecodeByTheSameSums) {
  // Cell 0 written "ZB": (25 x 16 + 0) mod 256 = 0x90; the rest code 0, so the sum is 0x0090.
  std::string code = encodeBoard(filled(0));
  code.replace(0, 4, "AAJA");
  code.replace(4, 2, "ZB");
  PuzzleRecord record;
  EXPECT_TRUE(decodeBoard(record, code));
  EXPECT_EQ(record.tiles[0].byte, 0x90);
  // A byte above 127 counts as itself: 0xC1 - 'A' = 128 in the high letter gives 0 mod 256,
  // so the tile reads as code 0 and the checksum still holds.
  code = encodeBoard(filled(0));
  code[4] = static_cast<char>(0xC1);
  EXPECT_TRUE(decodeBoard(record, code));
  EXPECT_EQ(record.tiles[0].byte, 0);
  // Letters below 'A' go negative and wrap the same way: '@' is one below 'A' in the high
  // letter, so cell 0 becomes -16 mod 256 = 0xF0 and the checksum no longer matches.
  code[4] = '@';
  EXPECT_FALSE(decodeBoard(record, code));
  EXPECT_EQ(record.tiles[0].byte, 0xF0);
}

}  // namespace
