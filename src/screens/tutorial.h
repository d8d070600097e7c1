#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/rect.h"
#include "game/board.h"
#include "screens/layout.h"

class Dialog;

// The tutorial's tips as plain data: which tip is due on a board, where its box and arrow go,
// and the pop-up built from that. The game screen keeps the seen bits and opens the pop-up.
namespace tips {

// What a tip is about: a tile found on the board, or a place on the screen.
enum class Subject : uint8_t {
  Plain,
  Fixed,
  RightMismatch,   // a loose end across a tile's right edge
  BottomMismatch,  // a loose end across a tile's bottom edge
  EmptyBesideTile,
  Always,
  Scoring,  // only while scoring is on
  Sliding,
  Linked,
  Bomb,
};

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  constexpr bool operator==(const Point&) const = default;
};

struct Tip {
  uint32_t seenBit;
  Subject subject;
  char character;     // the picture is "tutor<character>.png"
  Point fixedTarget;  // for the tips about a place on the screen
};

// In the order the check considers them. The two mismatch tips share one bit.
inline constexpr std::array<Tip, 13> kTips = {{
    {0x001, Subject::Plain, '1', {}},
    {0x002, Subject::Fixed, '3', {}},
    {0x200, Subject::RightMismatch, 'a', {}},
    {0x200, Subject::BottomMismatch, 'a', {}},
    {0x800, Subject::EmptyBesideTile, 'c', {}},
    {0x020, Subject::Always, '2', {layout::kTipLooseEndsX, layout::kTipLooseEndsY}},
    {0x040, Subject::Scoring, '4', {layout::kTipMeterX, layout::kTipMeterY}},
    {0x004, Subject::Sliding, '5', {}},
    {0x008, Subject::Linked, '6', {}},
    {0x010, Subject::Bomb, '7', {}},
    {0x080, Subject::Always, '8', {layout::kTipHintsX, layout::kTipHintsY}},
    {0x400, Subject::Always, 'b', {layout::kTipOptionsX, layout::kTipOptionsY}},
    {0x100, Subject::Always, '9', {layout::kTipManualX, layout::kTipManualY}},
}};

// One more tip, not among the thirteen the check walks: the lock, shown once the player has
// made a few moves on a puzzle, pointing at the tile just moved.
inline constexpr Tip kLockTip{0x1000, Subject::Always, 'd', {}};
inline constexpr uint16_t kLockTipAfterMoves = 3;

std::string pictureName(char character);
// The centre of a board cell, where a tip about a tile points.
Point cellCentre(int32_t cell);

// The first cell matching a tile subject, searching column by column from the right and each
// column from the bottom up; -1 when none matches (or the subject is no tile).
int32_t findCell(const BoardCodes& codes, Subject subject);

// The tip due now and the point its arrow shows; none when every tip whose subject is
// present has been seen.
struct Choice {
  const Tip* tip = nullptr;
  Point target;
};
std::optional<Choice> chooseTip(const BoardCodes& codes, bool scoring, uint32_t seen);

// Where a tip of w by h pixels goes for a target: the box beside the target, away from the
// right and bottom edges, and the arrow from the box's corner to the target.
struct Placement {
  Rect box;
  std::string arrow;
  Point arrowAt;
  Point pictureAt;
  Point okayAt;
  Point nextAt;
};
Placement placeTip(Point target, int32_t w, int32_t h);

// The pop-up for a tip: white box, arrow, picture, OK (layout::kCloseId) and Next
// (layout::kTipNextId). The tip picture and the arrow are keyed from their corners.
Dialog* buildTipDialog(char character, Point target);

}  // namespace tips
