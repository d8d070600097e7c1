#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The table of the four best scores as plain data. Entry 0 is the lowest, entry 3 the best;
// a new score beats an entry only when it is greater, so it goes below an equal one.
namespace high_scores {

inline constexpr size_t kRows = 4;
using Scores = std::array<uint16_t, kRows>;
using Names = std::array<std::string, kRows>;

// The row the score would take, or -1 when it does not beat the lowest entry.
int qualifyingRow(const Scores& scores, uint16_t score);

// Puts the score into its row with an empty name; the entries below it move down one row and
// the old lowest entry drops out. Returns the row, or -1 (and changes nothing) when the score
// does not qualify.
int insertScore(Scores& scores, Names& names, uint16_t score);

// Adds to the table every entry of `other` it does not hold yet (an entry is its score and
// its name as stored), best first, each as a new score is inserted: so two tables that grew
// apart from one start come together with the new entries of both, and merging a table again
// changes nothing. An entry can only come back into a table it dropped out of when it beats
// the table's lowest entry again, which no insertion makes possible (only a reset does).
void mergeTable(Scores& scores, Names& names, const Scores& otherScores, const Names& otherNames);

}  // namespace high_scores
