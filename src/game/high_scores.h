#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/settings.h"

// The table of the four best scores as plain data. Entry 0 is the lowest, entry 3 the best;
// a new score beats an entry only when it is greater, so it goes below an equal one.
namespace high_scores {

// The table as the settings keep it.
inline constexpr size_t kRows = kHighScoreCount;
// The most characters a typed name may have: what the saved table holds.
inline constexpr uint16_t kNameLength = kHighScoreNameLength;

using Scores = decltype(Settings::hsScores);
using Names = decltype(Settings::hsNames);

// The row the score would take, or -1 when it does not beat the lowest entry.
int qualifyingRow(const Scores& scores, uint16_t score);

// Puts the score into its row with an empty name; the entries below it move down one row and
// the old lowest entry drops out. Returns the row, or -1 (and changes nothing) when the score
// does not qualify.
int insertScore(Scores& scores, Names& names, uint16_t score);

// The table the options' reset button leaves: the usual names with the scores 0 to 3, so
// nearly any score of a game makes its way in.
inline constexpr std::array<uint16_t, kRows> kResetScores = {0, 1, 2, 3};
void reset(Scores& scores, Names& names);

}  // namespace high_scores
