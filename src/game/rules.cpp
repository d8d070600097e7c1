#include "game/rules.h"

#include <algorithm>
#include <bitset>
#include <utility>

#include "core/random.h"

namespace rules {
namespace {

// The draws are the game's one 15-bit sequence: 0 to 32767.
constexpr uint32_t kRandomMax = 32767;

TileCode turnedClockwise(TileCode tile, uint32_t quarterTurns) {
  uint8_t lines = tile.lines();
  for (uint32_t i = 0; i < quarterTurns; ++i) lines = rotatedClockwise(lines);
  return tile.withLines(lines);
}

bool isStraight(uint8_t lines) {
  return lines == (line::Up | line::Down) || lines == (line::Left | line::Right);
}

// A board worth playing has a tile that turning can change.
bool hasTurnableLines(const BoardCodes& codes) {
  return std::any_of(codes.begin(), codes.end(), [](TileCode t) {
    return !t.isEmpty() && t.lines() != 0 && t.lines() != line::All;
  });
}

// Sets or clears one line end of a tile.
TileCode withLine(TileCode tile, uint8_t side, bool on) {
  return tile.withLines(on ? (tile.lines() | side) : (tile.lines() & ~side & line::All));
}

// Walks the cells row by row and makes every pair of neighbours agree. The neighbour gives
// way unless it is pinned; then this tile gives way unless it is pinned too.
void makeNeighboursAgree(BoardCodes& codes) {
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    TileCode& tile = codes[static_cast<size_t>(cell)];
    if (tile.isEmpty()) continue;
    struct Side {
      bool exists;
      int32_t neighbour;
      uint8_t mine;
      uint8_t theirs;
    };
    const Side sides[2] = {
        {cell % board::kColumns + 1 < board::kColumns, cell + 1, line::Right, line::Left},
        {cell / board::kColumns + 1 < board::kRows, cell + board::kColumns, line::Down, line::Up},
    };
    for (const Side& side : sides) {
      if (!side.exists) continue;
      TileCode& other = codes[static_cast<size_t>(side.neighbour)];
      if (other.isEmpty()) continue;
      if (!other.pinned()) {
        other = withLine(other, side.theirs, (tile.lines() & side.mine) != 0);
      } else if (!tile.pinned()) {
        tile = withLine(tile, side.mine, (other.lines() & side.theirs) != 0);
      }
    }
  }
}

// Turns every tile that turns on its own by a drawn number of quarter turns (one draw per
// cell, whatever it holds) and arms the bombs. Returns the allowance earned.
uint32_t turnTiles(BoardCodes& codes, Scramble& result) {
  uint32_t earned = 0;
  for (size_t cell = 0; cell < codes.size(); ++cell) {
    uint32_t turns = gameRandom() % 4;
    TileCode& tile = codes[cell];
    const TileKind kind = tile.kind();
    if (kind == TileKind::Fixed || kind == TileKind::Empty || kind == TileKind::Linked) continue;
    const uint8_t lines = tile.lines();
    if (isStraight(lines)) turns &= 1;  // two turns would leave a straight line as it was
    if (turns != 0 && lines != 0 && lines != line::All) tile = turnedClockwise(tile, turns);
    earned += 2;
    if (kind == TileKind::Bomb) {
      result.fuseDelay[cell] = drawFuseDelay();
      earned += 6;
    }
  }
  return earned;
}

// Swaps sliding tiles with other sliding tiles of a different shape, each at most once as a
// partner. Returns the allowance earned.
uint32_t swapSlidingTiles(BoardCodes& codes) {
  uint32_t earned = 0;
  std::bitset<board::kCells> swapped;
  const auto sliding = [&](size_t cell) { return codes[cell].kind() == TileKind::Sliding; };
  for (size_t p = 0; p < codes.size(); ++p) {
    if (!sliding(p) || swapped[p]) continue;
    if (gameRandom() == 0) continue;  // the one draw in 32768 that passes a tile over
    const size_t start = gameRandom() * board::kCells / kRandomMax;
    for (size_t j = 0; j < codes.size(); ++j) {
      const size_t q = (p + j + start) % codes.size();
      if (q == p || !sliding(q) || swapped[q] || codes[q].shape() == codes[p].shape()) continue;
      std::swap(codes[p], codes[q]);
      swapped[q] = true;
      break;
    }
    earned += 2;
  }
  return earned;
}

// Turns the whole linked group by one draw. Returns the allowance earned.
uint32_t turnLinkedGroup(BoardCodes& codes) {
  const uint32_t turns = gameRandom() % 4;
  bool any = false;
  for (TileCode& tile : codes) {
    if (tile.kind() != TileKind::Linked) continue;
    tile = turnedClockwise(tile, turns);
    any = true;
  }
  return any ? 4 : 0;
}

}  // namespace

uint32_t drawFuseDelay() {
  return kFuseMinimum + gameRandom() % (kFuseRange + 1);
}

TileCode withRandomLines(TileCode tile) {
  if (tile.isEmpty()) return tile.withLines(0);
  if (tile.pinned()) return tile;
  const uint32_t draw = gameRandom();
  return tile.withLines(static_cast<uint8_t>(draw * 15.0 / kRandomMax + 0.5));
}

bool dealBoard(BoardCodes& codes, int maxDeals) {
  for (int deal = 0; deal < maxDeals; ++deal) {
    for (TileCode& tile : codes) tile = withRandomLines(tile);
    makeNeighboursAgree(codes);
    if (hasTurnableLines(codes)) return true;
  }
  return false;
}

Scramble scramble(BoardCodes& codes, uint16_t level, int maxPasses) {
  Scramble result;
  while (result.passes < maxPasses && !result.disturbed) {
    result.fuseDelay.fill(0);
    uint32_t earned = turnTiles(codes, result);
    earned += swapSlidingTiles(codes);
    earned += turnLinkedGroup(codes);
    result.allowance = scaledAllowance(earned, level);
    ++result.passes;
    result.disturbed = looseEdges(codes).count() > 0;
  }
  return result;
}

uint16_t scaledAllowance(uint32_t earned, uint16_t level) {
  const double multiplier = std::max(0.5, 1.25 - 0.05 * level);
  const auto scaled = static_cast<uint32_t>(earned * multiplier + 0.5);
  return static_cast<uint16_t>(std::clamp<uint32_t>(scaled, 1, 0xFFFF));
}

uint16_t chargedAllowance(uint16_t allowance, uint16_t n, bool hints, bool scoring) {
  const uint32_t charge = hints ? 2u * n : n;
  if (!scoring) return allowance;
  return charge >= allowance ? 0 : static_cast<uint16_t>(allowance - charge);
}

double solvedFade(uint32_t sinceSolved) {
  return std::max(0.5, 1.0 - sinceSolved / 2000.0);
}

Transfer bonusStep(uint16_t score, uint16_t allowance, uint16_t meterMax, uint32_t sinceLast) {
  Transfer step{false, score, allowance, false};
  uint32_t steps = sinceLast / 10;
  if (steps > 0) steps = static_cast<uint32_t>(uint64_t{steps} * meterMax / 100);
  if (steps == 0 || allowance == 0) return step;
  step.stepped = true;
  const uint32_t moved = std::min<uint32_t>(steps, allowance);
  step.score = addScore(score, moved);
  step.allowance = static_cast<uint16_t>(allowance - moved);
  step.emptied = step.allowance == 0;
  return step;
}

uint16_t addScore(uint16_t score, uint32_t bonus) {
  return static_cast<uint16_t>(std::min<uint32_t>(0xFFFF, uint32_t{score} + bonus));
}

uint16_t drawPuzzleIndex(uint16_t count, uint16_t current) {
  if (count <= 1) return 0;
  uint16_t k = current;
  while (k == current) k = static_cast<uint16_t>(gameRandom() % count);
  return k;
}

uint8_t drawBlastTurns(TileCode hit) {
  const auto turns = static_cast<uint8_t>(gameRandom() % 3 + 1);
  return isStraight(hit.lines()) ? 1 : turns;
}

bool drawSmallBlast() {
  return gameRandom() < 0x4000;
}

}  // namespace rules
