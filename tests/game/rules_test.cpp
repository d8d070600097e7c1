// The rules on plain boards: dealing, scrambling, charging, the bonus, the next puzzle.
#include "game/rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

#include "core/random.h"
#include "support/boards.h"

namespace {

TileCode plain(uint8_t lines) {
  return TileCode(TileKind::Plain, lines);
}

// The layout that greets a new player: eight fixed tiles round one plain tile.
BoardCodes starterBoard() {
  BoardCodes codes = emptyBoard();
  for (int cell : {30, 31, 32, 39, 41, 48, 49, 50}) codes[cell] = TileCode(TileKind::Fixed, 0);
  codes[40] = plain(0);
  return codes;
}

// ---- An independent model of dealing and scrambling, written straight from the rules with
// plain integers and its own copy of the random sequence, to hold the draws' order and count.
struct Model {
  uint32_t state;
  int rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
  static int kind(int code) { return code & 0x70; }
  static bool empty(int code) { return kind(code) == 0x10; }
  static int cw(int c) {
    c <<= 1;
    return c & 0x10 ? (c & 15) | 1 : c;
  }
  static int shape(int c) {
    static const int table[16] = {0, 1, 1, 3, 1, 5, 3, 7, 1, 3, 5, 7, 3, 7, 7, 15};
    return table[c & 15];
  }

  void deal(std::array<int, 81>& b) {
    for (;;) {
      for (int& t : b) {
        if (empty(t)) t &= ~15;
        else if (!(t & 0x80)) t = (t & ~15) | static_cast<int>(rand() * 15.0 / 32767 + 0.5);
      }
      for (int i = 0; i < 81; ++i) {
        if (empty(b[i])) continue;
        int r = i / 9, c = i % 9;
        if (c < 8 && !empty(b[i + 1])) {
          if (!(b[i + 1] & 0x80)) b[i + 1] = b[i] & 2 ? b[i + 1] | 8 : b[i + 1] & ~8;
          else if (!(b[i] & 0x80)) b[i] = b[i + 1] & 8 ? b[i] | 2 : b[i] & ~2;
        }
        if (r < 8 && !empty(b[i + 9])) {
          if (!(b[i + 9] & 0x80)) b[i + 9] = b[i] & 4 ? b[i + 9] | 1 : b[i + 9] & ~1;
          else if (!(b[i] & 0x80)) b[i] = b[i + 9] & 1 ? b[i] | 4 : b[i] & ~4;
        }
      }
      for (int t : b) {
        if (!empty(t) && (t & 15) != 0 && (t & 15) != 15) return;
      }
    }
  }

  static int loose(const std::array<int, 81>& b) {
    int n = 0;
    for (int i = 0; i < 81; ++i) {
      if (empty(b[i])) continue;
      if (i % 9 < 8 && !empty(b[i + 1])) n += ((b[i] >> 1) & 1) != ((b[i + 1] >> 3) & 1);
      if (i / 9 < 8 && !empty(b[i + 9])) n += ((b[i] >> 2) & 1) != (b[i + 9] & 1);
    }
    return n;
  }

  // Returns the allowance; fuses[i] is the drawn delay of an armed bomb.
  int scramble(std::array<int, 81>& b, std::array<int, 81>& fuses) {
    int allowance = 0;
    do {
      allowance = 0;
      fuses.fill(0);
      bool swapped[81] = {};
      for (int p = 0; p < 81; ++p) {
        int r = rand() % 4;
        int k = kind(b[p]);
        if (k == 0x20 || k == 0x10 || k == 0x40) continue;
        int c = b[p] & 15;
        if (c == 5 || c == 10) r &= 1;
        if (r != 0 && c != 0 && c != 15) {
          for (int i = 0; i < r; ++i) c = cw(c);
          b[p] = (b[p] & ~15) | c;
        }
        allowance += 2;
        if (k == 0x50) {
          fuses[p] = 30000 + rand() % 60001;
          allowance += 6;
        }
      }
      for (int p = 0; p < 81; ++p) {
        if (kind(b[p]) != 0x30 || swapped[p]) continue;
        if (rand() == 0) continue;
        int start = rand() * 81 / 32767;
        for (int j = 0; j < 81; ++j) {
          int q = (p + j + start) % 81;
          if (q != p && kind(b[q]) == 0x30 && !swapped[q] && shape(b[q]) != shape(b[p])) {
            std::swap(b[p], b[q]);
            swapped[q] = true;
            break;
          }
        }
        allowance += 2;
      }
      int r = rand() % 4;
      bool linked = false;
      for (int& t : b) {
        if (kind(t) != 0x40) continue;
        linked = true;
        int c = t & 15;
        for (int i = 0; i < r; ++i) c = cw(c);
        t = (t & ~15) | c;
      }
      if (linked) allowance += 4;
      allowance = static_cast<int>(allowance * 1.25 + 0.5);
      if (allowance == 0) allowance = 1;
    } while (loose(b) == 0);
    return allowance;
  }
};

// A busy board of every kind, with pinned tiles, holes and a bomb row.
BoardCodes mixedBoard() {
  BoardCodes codes;
  for (int i = 0; i < 81; ++i) {
    const TileKind kinds[6] = {TileKind::Plain,  TileKind::Fixed, TileKind::Sliding,
                               TileKind::Linked, TileKind::Bomb,  TileKind::Empty};
    codes[i] = TileCode(kinds[(i * 7 + i / 9) % 6], static_cast<uint8_t>(i % 16), i % 11 == 0);
  }
  return codes;
}

TEST(Rules, DealAndScrambleFollowTheDrawsOfTheRulesExactly) {
  for (uint32_t seed : {1u, 7u, 99u, 12345u, 424242u}) {
    BoardCodes codes = mixedBoard();
    std::array<int, 81> model{};
    for (int i = 0; i < 81; ++i) model[i] = codes[i].byte;
    seedRandom(seed);
    ASSERT_TRUE(rules::dealBoard(codes));
    const rules::Scramble s = rules::scramble(codes, 0);
    Model m{seed};
    m.deal(model);
    std::array<int, 81> fuses{};
    const int allowance = m.scramble(model, fuses);
    for (int i = 0; i < 81; ++i) {
      EXPECT_EQ(codes[i].byte, model[i]) << "cell " << i << " seed " << seed;
      EXPECT_EQ(s.fuseDelay[i], static_cast<uint32_t>(fuses[i])) << "cell " << i;
    }
    EXPECT_EQ(s.allowance, allowance) << "seed " << seed;
    EXPECT_TRUE(s.disturbed);
    EXPECT_EQ(gameRandom(), static_cast<uint32_t>(m.rand())) << "the same number of draws";
  }
}

TEST(Rules, ADealtBoardHasNoLooseEndsButBetweenDisagreeingPins) {
  for (uint32_t seed = 1; seed <= 30; ++seed) {
    BoardCodes codes = mixedBoard();
    const BoardCodes before = codes;
    seedRandom(seed);
    ASSERT_TRUE(rules::dealBoard(codes));
    const LooseEdges loose = looseEdges(codes);
    for (int i = 0; i < 81; ++i) {
      if (before[i].pinned()) {
        EXPECT_EQ(codes[i], before[i]) << "a pinned tile keeps its lines";
      }
      if (before[i].isEmpty()) {
        EXPECT_EQ(codes[i].lines(), 0);
      }
      EXPECT_EQ(codes[i].kind(), before[i].kind());
      if (loose.right[i]) {
        EXPECT_TRUE(codes[i].pinned() && codes[i + 1].pinned()) << i;
      }
      if (loose.down[i]) {
        EXPECT_TRUE(codes[i].pinned() && codes[i + 9].pinned()) << i;
      }
    }
  }
}

// The worked allowances: one plain tile and one bomb earn (2 + 2 + 6) x 1.25, rounded: 13;
// the starter board's one plain tile 2 x 1.25 rounded: 3.
TEST(Rules, AllowancesOfTheWorkedBoards) {
  BoardCodes pair = emptyBoard();
  pair[10] = plain(line::Right);
  pair[11] = TileCode(TileKind::Bomb, line::Left | line::Down);
  seedRandom(5);
  const rules::Scramble s = rules::scramble(pair, 0);
  EXPECT_TRUE(s.disturbed);
  EXPECT_EQ(s.allowance, 13);
  EXPECT_GE(s.fuseDelay[11], 30000u);
  EXPECT_LE(s.fuseDelay[11], 90000u);

  BoardCodes starter = starterBoard();
  seedRandom(3);
  ASSERT_TRUE(rules::dealBoard(starter));
  const rules::Scramble t = rules::scramble(starter, 0);
  ASSERT_TRUE(t.disturbed);
  EXPECT_EQ(t.allowance, 3);
}

TEST(Rules, AllowanceMultiplierFallsWithLevelToOneHalf) {
  EXPECT_EQ(rules::scaledAllowance(10, 0), 13);  // 12.5 rounds up
  EXPECT_EQ(rules::scaledAllowance(10, 5), 10);  // 1.0
  EXPECT_EQ(rules::scaledAllowance(10, 40), 5);  // never below 0.5
  EXPECT_EQ(rules::scaledAllowance(0, 0), 1);    // never 0
}

// Boards the loops could never finish end at the bound instead of hanging.
TEST(Rules, BoardsThatCannotComeOutRightStopAtTheBound) {
  BoardCodes holes = emptyBoard();
  EXPECT_FALSE(rules::dealBoard(holes, 5));

  // A lone plain tile with no lines: no turn, swap or link can make a loose end.
  BoardCodes lone = emptyBoard();
  lone[40] = TileCode(TileKind::Plain, 0, true);
  const rules::Scramble s = rules::scramble(lone, 0, 7);
  EXPECT_FALSE(s.disturbed);
  EXPECT_EQ(s.passes, 7);
}

TEST(Rules, ChargingDoublesUnderHintsAndTakesNothingWithoutScoring) {
  EXPECT_EQ(rules::chargedAllowance(10, 1, false, true), 9);
  EXPECT_EQ(rules::chargedAllowance(10, 1, true, true), 8);
  EXPECT_EQ(rules::chargedAllowance(10, 2, true, true), 6);  // turning hints on: 4
  EXPECT_EQ(rules::chargedAllowance(3, 2, true, true), 0);   // never below 0
  EXPECT_EQ(rules::chargedAllowance(10, 1, true, false), 10);
}

TEST(Rules, TheSolvedBoardFadesToHalfInOneSecond) {
  EXPECT_DOUBLE_EQ(rules::solvedFade(0), 1.0);
  EXPECT_DOUBLE_EQ(rules::solvedFade(500), 0.75);
  EXPECT_DOUBLE_EQ(rules::solvedFade(1000), 0.5);
  EXPECT_DOUBLE_EQ(rules::solvedFade(60000), 0.5);
}

// 37 units left on a meter of 50: a 10 ms unit moves 50 / 100 = 0 steps, two units move one.
// Frames every 10 ms therefore move one unit every 20 ms: 37 units in 740 ms.
TEST(Rules, BonusDrainsStepByStepIntoTheScore) {
  EXPECT_FALSE(rules::bonusStep(100, 37, 50, 10).stepped);
  uint16_t score = 100, allowance = 37;
  uint32_t now = 0, last = 0;
  bool emptied = false;
  while (!emptied && now < 5000) {
    now += 10;
    const rules::Transfer t = rules::bonusStep(score, allowance, 50, now - last);
    if (!t.stepped) continue;
    EXPECT_EQ(t.score + t.allowance, 137) << "nothing lost or made up";
    last = now;
    score = t.score;
    allowance = t.allowance;
    emptied = t.emptied;
  }
  EXPECT_EQ(score, 137);
  EXPECT_EQ(allowance, 0);
  EXPECT_EQ(now, 740u);
  // A big meter drains in about a second whatever its size: 1000 units, 10 per 10 ms.
  const rules::Transfer big = rules::bonusStep(0, 1000, 1000, 10);
  EXPECT_EQ(big.score, 10);
}

TEST(Rules, TheScoreStopsAtItsTop) {
  EXPECT_EQ(rules::addScore(65000, 1000), 65535);
  EXPECT_EQ(rules::addScore(65535, 0), 65535);
  EXPECT_EQ(rules::addScore(1, 2), 3);
  EXPECT_EQ(rules::bonusStep(65530, 20, 100, 1000).score, 65535);
}

TEST(Rules, TheNextPuzzleIsNeverTheSameOneTwice) {
  seedRandom(77);
  uint16_t current = 0;
  std::set<uint16_t> seen;
  for (int i = 0; i < 200; ++i) {
    const uint16_t next = rules::drawPuzzleIndex(2, current);
    ASSERT_NE(next, current);
    current = next;
    seen.insert(rules::drawPuzzleIndex(60, current));
  }
  EXPECT_GT(seen.size(), 50u);
  EXPECT_EQ(rules::drawPuzzleIndex(1, 0), 0) << "a list of one deals its puzzle again";
}

TEST(Rules, BlastTurnsAStraightLineOnce) {
  seedRandom(9);
  std::set<int> turns;
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(rules::drawBlastTurns(plain(line::Left | line::Right)), 1);
    turns.insert(rules::drawBlastTurns(plain(line::Up)));
  }
  EXPECT_EQ(turns, (std::set<int>{1, 2, 3}));
}

}  // namespace
