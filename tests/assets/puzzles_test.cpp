// The puzzle file the build packed: every layout read back through the game's own reader,
// dealt and scrambled a hundred times, and the four lists measured against each other.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "assets/built_archive.h"
#include "core/random.h"
#include "game/puzzle_file.h"
#include "game/rules.h"

namespace {

constexpr int kSeedsPerLayout = 100;
constexpr size_t kLayoutsPerList = 60;

// Seeds spread over the whole range: right after a small seed the first draws are small.
uint32_t spreadSeed(int i) { return static_cast<uint32_t>(i + 1) * 0x9E3779B9u; }

class BuiltPuzzles : public BuiltArchiveTest {
 protected:
  static std::string memberText() {
    ResourceStream member = archive().openMember(kPuzzleFileName);
    return readAll(member);
  }
  static const PuzzleLists& lists() {
    static const PuzzleLists read = readPuzzleFile(archive());
    return read;
  }
};

// Every line of the member, split here with no help from the game's reader: each is a
// comment, a section header or a puzzle line that parses into the section above it.
TEST_F(BuiltPuzzles, EveryLineParsesIntoItsSection) {
  std::istringstream lines(memberText());
  std::array<std::vector<std::string>, kDifficultyCount> expected;
  int section = -1;
  size_t number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    SCOPED_TRACE("line " + std::to_string(number));
    ASSERT_FALSE(line.empty()) << "an empty line would end the game's reading";
    ASSERT_EQ(line.find_first_of("\r\t"), std::string::npos);
    if (line[0] == ';') {
      EXPECT_LT(line.size(), kMinPuzzleLineLength);
      continue;
    }
    if (line[0] == '[') {
      section = difficultyOfSectionLetter(line.size() > 1 ? line[1] : 0);
      ASSERT_GE(section, 0) << line;
      continue;
    }
    ASSERT_GE(section, 0) << "a puzzle before the first section";
    ASSERT_GE(line.size(), kMinPuzzleLineLength);
    ASSERT_LT(line.size(), kPuzzleLineCapacity - 1);  // never split by the line reader
    PuzzleRecord record;
    ASSERT_TRUE(parsePuzzleLine(static_cast<uint8_t>(section), line, record)) << line;
    expected[static_cast<size_t>(section)].push_back(record.name);
  }
  for (size_t d = 0; d < kDifficultyCount; ++d) {
    std::vector<std::string> read;
    for (const PuzzleRecord& r : lists().lists[d]) read.push_back(r.name);
    EXPECT_EQ(read, expected[d]) << "difficulty " << d;
    EXPECT_EQ(lists().counts[d], read.size());
    EXPECT_GE(read.size(), kLayoutsPerList) << "difficulty " << d;
  }
}

// Dealing ends within the rules' bound and leaves no loose end (pinned tiles never disagree);
// scrambling ends with at least one; a hundred seeds never run either loop out.
TEST_F(BuiltPuzzles, EveryLayoutDealsAndScramblesToAnEnd) {
  int mostPasses = 0;
  for (const auto& list : lists().lists) {
    for (const PuzzleRecord& layout : list) {
      SCOPED_TRACE(layout.name);
      ASSERT_TRUE(layoutCanBeScrambled(layout.tiles));
      for (int i = 0; i < kSeedsPerLayout; ++i) {
        seedRandom(spreadSeed(i));
        BoardCodes codes = layout.tiles;
        ASSERT_TRUE(rules::dealBoard(codes, rules::kMaxDeals)) << "seed " << i;
        ASSERT_EQ(looseEdges(codes).count(), 0) << "seed " << i;
        for (size_t cell = 0; cell < codes.size(); ++cell) {
          if (layout.tiles[cell].pinned()) {
            ASSERT_EQ(codes[cell], layout.tiles[cell]);
          }
        }
        const rules::Scramble done = rules::scramble(codes, 0, rules::kMaxScramblePasses);
        ASSERT_TRUE(done.disturbed) << "seed " << i;
        ASSERT_GT(looseEdges(codes).count(), 0) << "seed " << i;
        mostPasses = std::max<int>(mostPasses, done.passes);
      }
    }
  }
  EXPECT_LT(mostPasses, rules::kMaxScramblePasses);
}

// The cells a layout covers, moved to the corner and turned or mirrored to the least form.
std::vector<int> canonicalShape(const BoardCodes& tiles) {
  std::vector<int> best;
  for (int map = 0; map < 8; ++map) {
    std::vector<std::pair<int, int>> points;
    for (int cell = 0; cell < board::kCells; ++cell) {
      if (tiles[static_cast<size_t>(cell)].isEmpty()) continue;
      int r = cell / 9, c = cell % 9;
      if (map & 1) std::swap(r, c);
      if (map & 2) r = 8 - r;
      if (map & 4) c = 8 - c;
      points.emplace_back(r, c);
    }
    int top = 9, left = 9;
    for (auto [r, c] : points) top = std::min(top, r), left = std::min(left, c);
    std::vector<int> shape;
    for (auto [r, c] : points) shape.push_back((r - top) * 9 + (c - left));
    std::sort(shape.begin(), shape.end());
    if (best.empty() || shape < best) best = shape;
  }
  return best;
}

TEST_F(BuiltPuzzles, NoTwoLayoutsShareAShapeOrAName) {
  std::map<std::vector<int>, std::string> shapes;
  std::set<std::string> names;
  for (const auto& list : lists().lists) {
    for (const PuzzleRecord& layout : list) {
      EXPECT_TRUE(names.insert(layout.name).second) << layout.name;
      const auto [at, fresh] = shapes.emplace(canonicalShape(layout.tiles), layout.name);
      EXPECT_TRUE(fresh) << layout.name << " has the shape of " << at->second;
    }
  }
}

struct ListMeasure {
  std::vector<int> tiles, movable, allowance;
  std::map<TileKind, int> kinds;
  int pinned = 0, total = 0;
};

int median(std::vector<int> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

ListMeasure measure(const std::vector<PuzzleRecord>& list) {
  ListMeasure m;
  for (const PuzzleRecord& layout : list) {
    int tiles = 0, movable = 0;
    for (TileCode t : layout.tiles) {
      if (t.isEmpty()) continue;
      ++tiles;
      movable += t.turns() ? 1 : 0;
      ++m.kinds[t.kind()];
      m.pinned += t.pinned() ? 1 : 0;
    }
    m.total += tiles;
    m.tiles.push_back(tiles);
    m.movable.push_back(movable);
    for (int i = 0; i < kSeedsPerLayout; ++i) {
      seedRandom(spreadSeed(i));
      BoardCodes codes = layout.tiles;
      rules::dealBoard(codes);
      m.allowance.push_back(rules::scramble(codes, 0).allowance);
    }
  }
  return m;
}

// What each list may hold, and a rise from each list to the next in size, in tiles the
// player can move and in the allowance a scramble gives.
TEST_F(BuiltPuzzles, DifficultyRisesFromListToList) {
  const char* names[] = {"easy", "medium", "hard", "crazy"};
  std::array<ListMeasure, kDifficultyCount> m;
  for (size_t d = 0; d < kDifficultyCount; ++d) m[d] = measure(lists().lists[d]);
  std::printf("%-7s %6s %8s %9s %6s %6s %6s %6s %6s %6s\n", "list", "tiles", "movable", "allowance",
              "plain", "fixed", "slide", "linked", "bomb", "pinned");
  for (size_t d = 0; d < kDifficultyCount; ++d) {
    const auto share = [&](int n) { return 100.0 * n / std::max(1, m[d].total); };
    std::printf("%-7s %6d %8d %9d %5.1f%% %5.1f%% %5.1f%% %5.1f%% %5.1f%% %5.1f%%\n", names[d],
                median(m[d].tiles), median(m[d].movable), median(m[d].allowance),
                share(m[d].kinds[TileKind::Plain]), share(m[d].kinds[TileKind::Fixed]),
                share(m[d].kinds[TileKind::Sliding]), share(m[d].kinds[TileKind::Linked]),
                share(m[d].kinds[TileKind::Bomb]), share(m[d].pinned));
  }
  for (size_t d = 1; d < kDifficultyCount; ++d) {
    EXPECT_LT(median(m[d - 1].tiles), median(m[d].tiles)) << names[d];
    EXPECT_LT(median(m[d - 1].movable), median(m[d].movable)) << names[d];
    EXPECT_LT(median(m[d - 1].allowance), median(m[d].allowance)) << names[d];
  }
}

bool has(const PuzzleRecord& layout, TileKind kind) {
  return std::any_of(layout.tiles.begin(), layout.tiles.end(),
                     [kind](TileCode t) { return t.kind() == kind; });
}
int pinnedTiles(const PuzzleRecord& layout) {
  return static_cast<int>(std::count_if(layout.tiles.begin(), layout.tiles.end(),
                                        [](TileCode t) { return t.pinned(); }));
}

TEST_F(BuiltPuzzles, EachListKeepsToItsKinds) {
  for (const PuzzleRecord& layout : lists().lists[0]) {
    SCOPED_TRACE(layout.name);
    const auto tiles = std::count_if(layout.tiles.begin(), layout.tiles.end(),
                                     [](TileCode t) { return !t.isEmpty(); });
    EXPECT_LE(tiles, 30);
    EXPECT_FALSE(has(layout, TileKind::Sliding) || has(layout, TileKind::Linked) ||
                 has(layout, TileKind::Bomb));
    EXPECT_EQ(pinnedTiles(layout), 0);
  }
  for (const PuzzleRecord& layout : lists().lists[1]) {
    SCOPED_TRACE(layout.name);
    EXPECT_TRUE(has(layout, TileKind::Sliding));
    EXPECT_FALSE(has(layout, TileKind::Linked) || has(layout, TileKind::Bomb));
    EXPECT_EQ(pinnedTiles(layout), 0);
  }
  for (const PuzzleRecord& layout : lists().lists[2]) {
    SCOPED_TRACE(layout.name);
    EXPECT_TRUE(has(layout, TileKind::Linked) && has(layout, TileKind::Bomb));
    EXPECT_EQ(pinnedTiles(layout), 0);
  }
  for (const PuzzleRecord& layout : lists().lists[3]) {
    SCOPED_TRACE(layout.name);
    for (TileKind kind : kDrawnKinds) EXPECT_TRUE(has(layout, kind)) << int{uint8_t(kind)};
    EXPECT_GT(pinnedTiles(layout), 0);
  }
}

}  // namespace
