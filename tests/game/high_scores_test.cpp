#include "game/high_scores.h"

#include <gtest/gtest.h>

using high_scores::Names;
using high_scores::Scores;

namespace {

struct Table {
  Scores scores{50, 100, 200, 400};
  Names names{"Flint", "Opal", "Zinc", "Tin"};
};

TEST(HighScores, AScoreBetweenEntriesPushesTheLowerOnesDown) {
  Table t;
  EXPECT_EQ(high_scores::insertScore(t.scores, t.names, 150), 1);
  EXPECT_EQ(t.scores, (Scores{100, 150, 200, 400}));
  EXPECT_EQ(t.names, (Names{"Opal", "", "Zinc", "Tin"}));
  // Shown best first, row 1 is the third row from the top.
}

TEST(HighScores, OnlyAScoreAboveTheLowestQualifies) {
  Table t;
  EXPECT_EQ(high_scores::qualifyingRow(t.scores, 50), -1);
  EXPECT_EQ(high_scores::insertScore(t.scores, t.names, 50), -1);
  EXPECT_EQ(t.scores, (Scores{50, 100, 200, 400}));
  EXPECT_EQ(t.names, (Names{"Flint", "Opal", "Zinc", "Tin"}));
  EXPECT_EQ(high_scores::insertScore(t.scores, t.names, 0), -1);

  EXPECT_EQ(high_scores::insertScore(t.scores, t.names, 51), 0);
  EXPECT_EQ(t.scores, (Scores{51, 100, 200, 400}));
  EXPECT_EQ(t.names, (Names{"", "Opal", "Zinc", "Tin"}));
}

TEST(HighScores, AnEqualScoreGoesBelowTheOlderOne) {
  Table t;
  EXPECT_EQ(high_scores::insertScore(t.scores, t.names, 400), 2);
  EXPECT_EQ(t.scores, (Scores{100, 200, 400, 400}));
  EXPECT_EQ(t.names, (Names{"Opal", "Zinc", "", "Tin"}));
  EXPECT_EQ(high_scores::insertScore(t.scores, t.names, 401), 3);
  EXPECT_EQ(t.scores, (Scores{200, 400, 400, 401}));
  EXPECT_EQ(t.names, (Names{"Zinc", "", "Tin", ""}));
}

TEST(HighScores, TheBestPossibleScoreTopsTheTable) {
  Table t;
  EXPECT_EQ(high_scores::qualifyingRow(t.scores, 65535), 3);
  EXPECT_EQ(high_scores::qualifyingRow(t.scores, 201), 2);
  EXPECT_EQ(high_scores::qualifyingRow(t.scores, 200), 1);
  // A table of equal entries: a better score goes to the top, an equal one nowhere.
  Scores flat{7, 7, 7, 7};
  EXPECT_EQ(high_scores::qualifyingRow(flat, 8), 3);
  EXPECT_EQ(high_scores::qualifyingRow(flat, 7), -1);
}

TEST(HighScores, ResetKeepsTheNamesWithTheScoresZeroToThree) {
  Table t;
  t.names = {"a", "b", "c", "d"};
  high_scores::reset(t.scores, t.names);
  EXPECT_EQ(t.scores, (Scores{0, 1, 2, 3}));
  EXPECT_EQ(t.names, (Names{"Flint", "Opal", "Zinc", "Tin"}));
  EXPECT_EQ(high_scores::insertScore(t.scores, t.names, 1), 0);  // beats only the 0
}

}  // namespace

// Two tables that grew apart from the same start (two players' runs, or a player's fallback
// and the shared table) come together: the entries new to either are in, best four, an equal
// score below the entry already there; merging once more changes nothing.
TEST(HighScores, MergingKeepsTheNewEntriesOfBothTablesOnce) {
  struct Case {
    Table into;
    Table other;
    Table merged;
  };
  const Case cases[] = {
      // Each side added one: both are kept, the older two drop out.
      {{{100, 200, 400, 500}, {"Opal", "Zinc", "Tin", "Amy"}},
       {{100, 200, 400, 600}, {"Opal", "Zinc", "Tin", "Bob"}},
       {{200, 400, 500, 600}, {"Zinc", "Tin", "Amy", "Bob"}}},
      // The same score from two players: the one merged in goes below.
      {{{100, 200, 400, 500}, {"Opal", "Zinc", "Tin", "Amy"}},
       {{100, 200, 400, 500}, {"Opal", "Zinc", "Tin", "Bob"}},
       {{200, 400, 500, 500}, {"Zinc", "Tin", "Bob", "Amy"}}},
      // The same player twice with the same score is two entries; names compare as stored.
      {{{50, 100, 200, 400}, {"Flint", "Opal", "Zinc", "Tin"}},
       {{200, 400, 400, 400}, {"Zinc", "Tin ", "Kai", "Kai"}},
       {{200, 400, 400, 400}, {"Zinc", "Kai", "Kai", "Tin"}}},
      // Nothing new on the other side, or nothing good enough: nothing changes.
      {{{60, 100, 200, 400}, {"Ann", "Opal", "Zinc", "Tin"}},
       {{50, 100, 200, 400}, {"Flint", "Opal", "Zinc", "Tin"}},
       {{60, 100, 200, 400}, {"Ann", "Opal", "Zinc", "Tin"}}},
  };
  for (const Case& c : cases) {
    Table t = c.into;
    high_scores::mergeTable(t.scores, t.names, c.other.scores, c.other.names);
    EXPECT_EQ(t.scores, c.merged.scores);
    EXPECT_EQ(t.names, c.merged.names);
    high_scores::mergeTable(t.scores, t.names, c.other.scores, c.other.names);
    EXPECT_EQ(t.scores, c.merged.scores) << "merged twice";
    EXPECT_EQ(t.names, c.merged.names) << "merged twice";
  }
}
