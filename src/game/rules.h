#pragma once

#include <array>
#include <cstdint>

#include "game/board.h"

// The rules of the game as functions over the 81 tile codes and a few numbers: no widget, no
// screen, no art. Random draws come from the game's one sequence (core/random.h), in exactly
// the order and number the game has always made them, so a seed replays a game. The game
// screen calls these, then brings its tiles, labels and meter up to date.
namespace rules {

// How often dealing and scrambling start again before giving up on a board that can never
// come out right (every tile empty, or nothing that a scramble could disturb).
inline constexpr int kMaxDeals = 200;
inline constexpr int kMaxScramblePasses = 200;

// A bomb's fuse: 30 seconds and a drawn part of up to kFuseRange milliseconds.
inline constexpr uint32_t kFuseMinimum = 30000;
inline constexpr uint32_t kFuseRange = 60000;
// One draw: the time until a newly armed bomb goes off.
uint32_t drawFuseDelay();

// Random lines for one tile: none for an empty tile, its own for a pinned one, otherwise a
// draw from 0 to 15.
TileCode withRandomLines(TileCode tile);

// Gives every unpinned tile random lines, then makes neighbours agree (pinned tiles win).
// Deals again while every tile is empty or has no or all four lines. False when the board
// could not be dealt within maxDeals (the codes are then those of the last try).
bool dealBoard(BoardCodes& codes, int maxDeals = kMaxDeals);

// What a scramble did besides changing the codes.
struct Scramble {
  uint16_t allowance = 0;  // already multiplied; at least 1
  uint16_t passes = 0;     // passes run
  bool disturbed = false;  // the board has a loose end; false when the bound was reached
  // Fuses armed by the scramble, by cell: the delay until the bomb goes off, 0 for none.
  std::array<uint32_t, board::kCells> fuseDelay{};
};

// Turns, swaps and the linked group's turn, pass after pass, until the board has a loose end
// (at most maxPasses passes). The allowance is that of the last pass.
Scramble scramble(BoardCodes& codes, uint16_t level, int maxPasses = kMaxScramblePasses);

// The allowance a pass earned, multiplied by 1.25 - 0.05 x level (at least 0.5), rounded, and
// at least 1.
uint16_t scaledAllowance(uint32_t earned, uint16_t level);

// What one charged move leaves of the allowance: n, doubled under hints, taken off while
// scoring, never below 0.
uint16_t chargedAllowance(uint16_t allowance, uint16_t n, bool hints, bool scoring);

// The solved board's opacity t ms after solving: from 1 down to 0.5 over the first second.
double solvedFade(uint32_t sinceSolved);

// One step of the bonus draining into the score, at most every 10 ms of game time.
struct Transfer {
  bool stepped = false;  // something moved; lastTransfer becomes now
  uint16_t score = 0;
  uint16_t allowance = 0;
  bool emptied = false;  // the allowance reached 0 in this step
};
Transfer bonusStep(uint16_t score, uint16_t allowance, uint16_t meterMax, uint32_t sinceLast);

// The score plus a bonus, stopping at 65535 rather than wrapping round to a small number.
uint16_t addScore(uint16_t score, uint32_t bonus);

// The next puzzle's index in a list of count: a draw that differs from current when the list
// has two or more; the one puzzle again in a list of one. Requires count > 0.
uint16_t drawPuzzleIndex(uint16_t count, uint16_t current);

// How many quarter turns a blast gives the tile it hits: a draw from 1 to 3, but a straight
// line turns once (the draw is made either way).
uint8_t drawBlastTurns(TileCode hit);

// Which explosion to show: the smaller one on half the draws.
bool drawSmallBlast();

}  // namespace rules
