// The puzzle file builder, run as the build runs it: the same bytes as the packed archive on
// every run, and a clear refusal, naming the layout, of pictures it cannot use.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "game/board_code.h"
#include "game/puzzle_file.h"
#include "res/archive_writer.h"
#include "res/test_files.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSources = fs::path(GYROTIDE_SOURCE_DIR) / "assets" / "puzzles";

// Rows of holes, one a line.
std::string holes(int rows) {
  std::string text;
  for (int i = 0; i < rows; ++i) text += ".........\n";
  return text;
}

struct GenRun {
  int exitCode = -1;
  std::string err;
};

class Puzzlegen : public ::testing::Test {
 protected:
  GenRun run(const std::vector<fs::path>& sources, const fs::path& out) {
    std::string command = std::string("'") + GYROTIDE_PUZZLEGEN + "' '" + out.string() + "' '" +
                          (out / "list").string() + "'";
    for (const fs::path& source : sources) command += " '" + source.string() + "'";
    command += " 2>'" + (dir_ / "err").string() + "'";
    const int status = std::system(command.c_str());
    GenRun result;
    if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    result.err = readFile(dir_ / "err");
    return result;
  }
  // Four sources: the given text as the easy list and a plain pair in each of the others.
  GenRun runEasy(const std::string& easy) {
    std::vector<fs::path> sources;
    for (const std::string list : {"easy", "medium", "hard", "crazy"}) {
      sources.push_back(dir_ / (list + ".txt"));
      writeFile(sources.back(),
                list == "easy" ? easy
                               : "Name: Pair " + list + "\n" + holes(3) + "...oo....\n" + holes(5));
    }
    return run(sources, dir_ / "out");
  }

  TempDir dir_;
};

const std::string kGood =
    "; a comment\n"
    "\n"
    "Name: Hook\n"
    ".........\n"
    "...oO....  RD\n"
    "....o....\n"
    "....x....\n"
    ".........\n"
    ".........\n"
    ".........\n"
    ".........\n"
    ".........\n";

TEST_F(Puzzlegen, WritesThePackedFileAgainByteForByte) {
  const std::vector<fs::path> sources = {kSources / "easy.txt", kSources / "medium.txt",
                                         kSources / "hard.txt", kSources / "crazy.txt"};
  ASSERT_EQ(run(sources, dir_ / "one").exitCode, 0);
  ASSERT_EQ(run(sources, dir_ / "two").exitCode, 0);
  const std::string written = readFile(dir_ / "one" / "puzzles.ini");
  EXPECT_EQ(written, readFile(dir_ / "two" / "puzzles.ini"));
  ResourceArchive built((std::string(GYROTIDE_BINARY_DIR) + "/gyrotide.zap").c_str());
  ResourceStream member = built.openMember("puzzles.ini");
  EXPECT_EQ(readAll(member), written);
  EXPECT_EQ(readFile(dir_ / "one" / "list"),
            fs::absolute(dir_ / "one" / "puzzles.ini").string() + "\n");
}

TEST_F(Puzzlegen, ReadsPicturesPinsAndComments) {
  ASSERT_EQ(runEasy(kGood).exitCode, 0) << readFile(dir_ / "err");
  ResourceArchive archive(std::make_unique<std::istringstream>(
      buildArchive({{"puzzles.ini", readFile(dir_ / "out" / "puzzles.ini")}})));
  const PuzzleLists lists = readPuzzleFile(archive);
  ASSERT_EQ(lists.counts[0], 1);
  const PuzzleRecord& hook = lists.lists[0][0];
  EXPECT_EQ(hook.name, "Hook");
  // Row 1: a plain tile in column 3, a plain tile pinned with right and down in column 4.
  EXPECT_EQ(hook.tiles[12], TileCode(TileKind::Plain, 0));
  EXPECT_EQ(hook.tiles[13], TileCode(TileKind::Plain, line::Right | line::Down, true));
  EXPECT_EQ(hook.tiles[22], TileCode(TileKind::Plain, 0));
  EXPECT_EQ(hook.tiles[31], TileCode(TileKind::Fixed, 0));
  EXPECT_EQ(hook.tiles[0], TileCode(TileKind::Empty, 0));
  for (uint8_t d = 1; d < kDifficultyCount; ++d) EXPECT_EQ(lists.counts[d], 1);
}

TEST_F(Puzzlegen, RefusesALayoutThatCouldNeverBeScrambled) {
  // One plain tile among fixed tiles, each of them pinned to face it: it can only ever be
  // dealt with four lines, and nothing else turns.
  const GenRun result = runEasy(
      "Name: Stuck Star\n"
      ".........\n"
      "....X....  D\n"
      "...XoX...  R L\n"
      "....X....  U\n" +
      holes(5));
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("easy.txt:1: layout 'Stuck Star' can never be dealt and scrambled"),
            std::string::npos)
      << result.err;
  EXPECT_FALSE(fs::exists(dir_ / "out" / "list"));
}

TEST_F(Puzzlegen, NamesEachFaultWithItsPlace) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"Name: Bad Char\n...q.....\n" + holes(8),
       "easy.txt:2: layout 'Bad Char': 'q' names no tile"},
      {"Name: Short\n.........\n", "layout 'Short' needs 9 picture rows"},
      {"Name: No Pin\n....O....\n" + holes(8), "the row has 1 pinned tile(s) but 0 pin(s)"},
      {"Name: Odd Pin\n....O....  UX\n" + holes(8), "pin 'UX' is not a set of U, R, D, L"},
      {"Name: a=b\n", "the name holds '='"},
      {"Name: [x\n", "the name starts with '['"},
      {"Name:\n", "the name is empty"},
      {"Picture first\n", "easy.txt:1: expected 'Name: ...'"},
      {kGood + kGood, "the name 'Hook' is used twice"},
      {"; nothing\n", "easy.txt: holds no layout"},
  };
  for (const auto& c : cases) {
    const GenRun result = runEasy(c.text);
    EXPECT_EQ(result.exitCode, 1) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
}

TEST_F(Puzzlegen, RefusesTheWrongNumberOfArguments) {
  const std::string command = std::string("'") + GYROTIDE_PUZZLEGEN + "' a b c 2>/dev/null";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
