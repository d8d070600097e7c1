#include "game/high_scores.h"

namespace high_scores {

void reset(Scores& scores, Names& names) {
  scores = kResetScores;
  for (size_t i = 0; i < kRows; ++i) names[i] = std::string(kDefaultHighScoreNames[i]);
}

}  // namespace high_scores
