// The puzzle file read from an archive member through the line reader: sections, the length
// rule, the first "=", the empty line that ends it. And which layouts can be dealt at all.
#include "game/puzzle_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <sstream>
#include <string>

#include "core/random.h"
#include "game/rules.h"
#include "res/archive_writer.h"
#include "res/resource_archive.h"
#include "support/boards.h"

namespace {

// A distinct valid board for each number: a plain tile in cell n beside a fixed one.
BoardCodes boardNumber(int n) {
  BoardCodes tiles = emptyBoard();
  tiles[static_cast<size_t>(n % 80)] = TileCode(TileKind::Plain, 0);
  tiles[static_cast<size_t>(n % 80 + 1)] = TileCode(TileKind::Fixed, static_cast<uint8_t>(n / 80));
  return tiles;
}

std::string puzzleLine(const std::string& name, int n) {
  return name + "=" + encodeBoard(boardNumber(n));
}

PuzzleLists readText(const std::string& text) {
  ResourceArchive archive(std::make_unique<std::istringstream>(
      buildArchive({{"puzzles.ini", text}, {"zzz", "[C\n" + puzzleLine("leak", 9) + "\n"}})));
  return readPuzzleFile(archive);
}

std::vector<std::string> names(const PuzzleLists& lists, int difficulty) {
  std::vector<std::string> out;
  for (const PuzzleRecord& r : lists.lists[static_cast<size_t>(difficulty)]) out.push_back(r.name);
  return out;
}

using Names = std::vector<std::string>;

TEST(ParsePuzzleLine, NameUpToTheFirstEqualsAndTheCodeAfterIt) {
  PuzzleRecord record;
  EXPECT_TRUE(parsePuzzleLine(3, puzzleLine("Ring [of] fire", 4), record));
  EXPECT_EQ(record.name, "Ring [of] fire");
  EXPECT_EQ(record.difficulty, 3);
  EXPECT_EQ(record.tiles, boardNumber(4));

  // A second "=" belongs to the code, which is then one letter too long.
  EXPECT_FALSE(parsePuzzleLine(1, "a=" + puzzleLine("b", 4), record));
  EXPECT_EQ(record.name, "a");
  EXPECT_EQ(record.difficulty, 1);
  // No "=" at all: not a puzzle, and the name stays empty.
  EXPECT_FALSE(parsePuzzleLine(0, std::string(200, 'A'), record));
  EXPECT_EQ(record.name, "");
  // A correct code with one more letter after it is dropped.
  EXPECT_FALSE(parsePuzzleLine(0, puzzleLine("x", 4) + "A", record));
  // An empty name is still a name: the line is valid.
  EXPECT_TRUE(parsePuzzleLine(0, puzzleLine("", 4), record));
}

TEST(ReadPuzzleFile, SectionsPickTheListAndRepeatsAddUp) {
  const std::string text = puzzleLine("first", 1) + "\n" +  // no header yet: easy
                           "[Medium puzzles]\n" + puzzleLine("m1", 2) + "\n" + "[C\n" +
                           puzzleLine("c1", 3) + "\n" + "[X unknown letter]\n" +
                           puzzleLine("c2", 4) + "\n" + "[\n" + puzzleLine("c3", 5) + "\n" +
                           "[e lower case is no letter]\n" + puzzleLine("c4", 6) + "\n" + "[D\n" +
                           puzzleLine("d1", 7) + "\n" + "[M\n" + puzzleLine("m2", 8) + "\n";
  const PuzzleLists lists = readText(text);
  EXPECT_EQ(names(lists, 0), (Names{"first"}));
  EXPECT_EQ(names(lists, 1), (Names{"m1", "m2"}));
  EXPECT_EQ(names(lists, 2), (Names{"d1"}));
  EXPECT_EQ(names(lists, 3), (Names{"c1", "c2", "c3", "c4"}));
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(lists.counts[d], lists.lists[d].size());
    for (const PuzzleRecord& r : lists.lists[d]) EXPECT_EQ(r.difficulty, d) << r.name;
  }
  EXPECT_EQ(lists.lists[1][1].tiles, boardNumber(8));
}

TEST(ReadPuzzleFile, AFileWithoutHeadersIsAllEasy) {
  const PuzzleLists lists = readText(puzzleLine("a", 1) + "\r\n" + puzzleLine("b", 2) + "\r\n");
  EXPECT_EQ(names(lists, 0), (Names{"a", "b"}));
  EXPECT_EQ(lists.counts[1] + lists.counts[2] + lists.counts[3], 0);
}

TEST(ReadPuzzleFile, AnEmptyLineEndsReading) {
  const PuzzleLists lists =
      readText(puzzleLine("a", 1) + "\n\n" + "[M\n" + puzzleLine("b", 2) + "\n");
  EXPECT_EQ(names(lists, 0), (Names{"a"}));
  EXPECT_EQ(lists.counts[1], 0);
  // A line of control characters only reads as empty too.
  EXPECT_EQ(readText(puzzleLine("a", 1) + "\n\t\r\n" + puzzleLine("b", 2)).counts[0], 1);
  // The last line needs no line feed, and the next member never leaks in.
  EXPECT_EQ(names(readText("[E\n" + puzzleLine("last", 3)), 0), (Names{"last"}));
}

TEST(ReadPuzzleFile, LengthIsMeasuredAfterTheLineReaderDropsControlBytes) {
  const std::string code = encodeBoard(boardNumber(1));
  // A one-letter name, "=" and 165 letters: 167 characters, skipped.
  EXPECT_EQ(readText("n=" + code.substr(0, 165) + "\n").counts[0], 0);
  // 168 bytes, one of them a tab: 167 characters once the tab is gone.
  EXPECT_EQ(readText("\t=" + code + "\n").counts[0], 0);
  const std::string tabbed = "n\t=" + code;
  ASSERT_EQ(tabbed.size(), 169u);
  const PuzzleLists lists = readText(tabbed + "\n" + "a\tb c=" + code + "\n");
  EXPECT_EQ(names(lists, 0), (Names{"n", "ab c"}));
  // A long line without "=", and a short one that does have it, are both skipped.
  EXPECT_EQ(readText(std::string(200, 'Q') + "\n" + "x=y\n").counts[0], 0);
  // A wrong checksum drops the line and does not count it.
  std::string damaged = "d=" + code;
  damaged[2] = damaged[2] == 'A' ? 'B' : 'A';
  EXPECT_EQ(readText(damaged + "\n" + puzzleLine("ok", 2) + "\n").counts[0], 1);
}

TEST(ReadPuzzleFile, LinesBeyondTheBufferComeInPieces) {
  // A 133-letter name makes a 300-character line: the first 299 characters end one letter
  // short of a code, and the last letter comes alone.
  const std::string name(133, 'n');
  EXPECT_EQ(readText(puzzleLine(name, 1) + "\n" + puzzleLine("next", 2) + "\n").counts[0], 1);
}

TEST(ReadPuzzleFile, MissingMemberOrArchiveGivesEmptyLists) {
  ResourceArchive archive(std::make_unique<std::istringstream>(buildArchive({{"other", "x"}})));
  const PuzzleLists lists = readPuzzleFile(archive);
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(lists.counts[d], 0);
    EXPECT_TRUE(lists.lists[d].empty());
  }
  ResourceArchive* previous = resourceArchive;
  resourceArchive = nullptr;
  EXPECT_EQ(readPuzzleFile().counts[0], 0);
  resourceArchive = previous;

  ResourceArchive game(std::make_unique<std::istringstream>(
      buildArchive({{"puzzles.ini", "[D\n" + puzzleLine("via the game", 1) + "\n"}})));
  ScopedResourceArchive scope(game);
  EXPECT_EQ(names(readPuzzleFile(), 2), (Names{"via the game"}));
}

TEST(SectionLetters, RoundTrip) {
  for (uint8_t d = 0; d < kDifficultyCount; ++d) {
    EXPECT_EQ(difficultyOfSectionLetter(sectionLetter(d)), d);
  }
  EXPECT_EQ(
      std::string() + sectionLetter(0) + sectionLetter(1) + sectionLetter(2) + sectionLetter(3),
      "EMDC");
  EXPECT_EQ(difficultyOfSectionLetter('H'), -1);
}

// ---- Which layouts can be dealt and scrambled to an end.

TEST(LayoutCanBeScrambled, CasesByHand) {
  BoardCodes tiles = emptyBoard();
  EXPECT_FALSE(layoutCanBeScrambled(tiles));  // nothing at all
  tiles[40] = TileCode(TileKind::Plain, 0);
  EXPECT_FALSE(layoutCanBeScrambled(tiles));  // one tile alone: no turn makes a loose end
  for (int cell : {31, 39, 41, 49}) tiles[cell] = TileCode(TileKind::Fixed, 0);
  EXPECT_TRUE(layoutCanBeScrambled(tiles));  // the starter board's kind of layout
  // Four pinned neighbours all facing it bind it to four lines; none facing it, to none.
  for (int cell : {31, 39, 41, 49}) tiles[cell] = TileCode(TileKind::Fixed, line::All, true);
  EXPECT_FALSE(layoutCanBeScrambled(tiles));
  for (int cell : {31, 39, 41, 49}) tiles[cell] = TileCode(TileKind::Fixed, 0, true);
  EXPECT_FALSE(layoutCanBeScrambled(tiles));
  tiles[31] = TileCode(TileKind::Fixed, line::Down, true);  // only the one above reaches it
  EXPECT_TRUE(layoutCanBeScrambled(tiles));

  tiles = emptyBoard();
  tiles[0] = TileCode(TileKind::Fixed, 0);
  tiles[1] = TileCode(TileKind::Fixed, 0);
  EXPECT_FALSE(layoutCanBeScrambled(tiles));  // fixed tiles never turn
  tiles[1] = TileCode(TileKind::Linked, 0);
  EXPECT_TRUE(layoutCanBeScrambled(tiles));
  tiles[1] = TileCode(TileKind::Bomb, line::Up | line::Down, true);
  EXPECT_TRUE(layoutCanBeScrambled(tiles));  // a pinned straight still turns
  tiles[1] = TileCode(TileKind::Sliding, line::All, true);
  EXPECT_FALSE(layoutCanBeScrambled(tiles));
}

// Tiny layouts drawn at random: the verdict agrees with what dealing and scrambling do.
TEST(LayoutCanBeScrambled, AgreesWithTheRules) {
  std::mt19937 draw(11);
  const TileKind kinds[] = {TileKind::Empty, TileKind::Empty,  TileKind::Plain,
                            TileKind::Fixed, TileKind::Linked, TileKind::Bomb};
  int seen[2] = {0, 0};
  for (int round = 0; round < 400; ++round) {
    BoardCodes tiles = emptyBoard();
    // A 2 by 2 corner of the board, so that edges and holes both matter.
    for (int cell : {0, 1, 9, 10}) tiles[cell] = TileCode(kinds[draw() % 6], 0);
    const bool verdict = layoutCanBeScrambled(tiles);
    ++seen[verdict];
    bool ended = false;
    // Seeds spread over the whole range: right after a small seed the first draws are small.
    for (uint32_t i = 1; i <= 20 && !ended; ++i) {
      seedRandom(i * 0x9E3779B9u);
      BoardCodes codes = tiles;
      ended = rules::dealBoard(codes, 40) && rules::scramble(codes, 0, 40).disturbed;
    }
    EXPECT_EQ(verdict, ended) << "round " << round;
  }
  EXPECT_GT(seen[0], 20);
  EXPECT_GT(seen[1], 20);
}

}  // namespace
