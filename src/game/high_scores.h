#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/score_table.h"
#include "store/settings.h"

// The table of the four best scores (store/score_table.h) and what the game adds to it.
namespace high_scores {

// The most characters a typed name may have: what the saved table holds.
inline constexpr uint16_t kNameLength = kHighScoreNameLength;

// The table the options' reset button leaves: the usual names with the scores 0 to 3, so
// nearly any score of a game makes its way in.
inline constexpr std::array<uint16_t, kRows> kResetScores = {0, 1, 2, 3};
void reset(Scores& scores, Names& names);

}  // namespace high_scores
