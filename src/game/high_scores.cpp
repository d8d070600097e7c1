#include "game/high_scores.h"

namespace high_scores {

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

void reset(Scores& scores, Names& names) {
  scores = kResetScores;
  for (size_t i = 0; i < kRows; ++i) names[i] = std::string(kDefaultHighScoreNames[i]);
}

}  // namespace high_scores
