#include "store/score_table.h"

#include <vector>

#include "store/settings.h"

namespace high_scores {

static_assert(kRows == kHighScoreCount);

int qualifyingRow(const Scores& scores, uint16_t score) {
  if (score <= scores[0]) return -1;
  // The highest entry the score beats, looking from the top down.
  int row = static_cast<int>(kRows) - 1;
  while (row > 0 && score <= scores[row]) --row;
  return row;
}

int insertScore(Scores& scores, Names& names, uint16_t score) {
  const int row = qualifyingRow(scores, score);
  for (int i = 0; i < row; ++i) {
    scores[i] = scores[i + 1];
    names[i] = std::move(names[i + 1]);
  }
  if (row >= 0) {
    scores[row] = score;
    names[row].clear();
  }
  return row;
}

namespace {

// A name as the stored table gives it back.
std::string storedName(const std::string& name) {
  std::string kept = highScoreName(name);
  kept.erase(kept.find_last_not_of(' ') + 1);
  return kept;
}

}  // namespace

void mergeTable(Scores& scores, Names& names, const Scores& otherScores, const Names& otherNames) {
  // Each entry of the table stands for one equal entry of the other, once.
  std::array<bool, kRows> matched{};
  std::vector<size_t> missing;
  for (size_t i = kRows; i-- > 0;) {
    bool found = false;
    for (size_t j = 0; j < kRows && !found; ++j) {
      found = !matched[j] && scores[j] == otherScores[i] &&
              storedName(names[j]) == storedName(otherNames[i]);
      if (found) matched[j] = true;
    }
    if (!found) missing.push_back(i);
  }
  for (size_t i : missing) {
    const int row = insertScore(scores, names, otherScores[i]);
    if (row >= 0) names[row] = otherNames[i];
  }
}

}  // namespace high_scores
