#include "screens/tutorial.h"

#include "gfx/image.h"
#include "gfx/image_cache.h"
#include "ui/box.h"
#include "ui/button.h"
#include "ui/dialog.h"
#include "ui/picture.h"

namespace tips {
namespace {

// Room round the picture: a margin on every side, and more above and below for the buttons.
constexpr int32_t kMargin = 10;
constexpr int32_t kExtraHeight = 23;
// How far the box keeps from its target, and the arrow's reach into the box.
constexpr int32_t kGap = 31;
constexpr int32_t kArrowInsetX = 23;
constexpr int32_t kArrowInsetY = 22;
// Boxes keep clear of the controls at the right and the bottom, and of the picture's edge.
constexpr int32_t kRightLimit = 550;
constexpr int32_t kBottomLimit = 400;
constexpr int32_t kEdge = 2;
// The buttons sit this far in from the box's bottom corners.
constexpr int32_t kButtonUp = 52;
constexpr int32_t kOkayIn = 91;
constexpr Colour kWhite{255, 255, 255};

Point centreOf(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool isEmpty(const BoardCodes& codes, int32_t cell) { return codes[cell].isEmpty(); }
bool has(const BoardCodes& codes, int32_t cell, uint8_t side) {
  return (codes[cell].lines() & side) != 0;
}

bool matches(const BoardCodes& codes, int32_t cell, Subject subject) {
  const int32_t column = cell % board::kColumns;
  const int32_t row = cell / board::kColumns;
  switch (subject) {
    case Subject::Plain:
      return codes[cell].kind() == TileKind::Plain;
    case Subject::Fixed:
      return codes[cell].kind() == TileKind::Fixed;
    case Subject::Sliding:
      return codes[cell].kind() == TileKind::Sliding;
    case Subject::Linked:
      return codes[cell].kind() == TileKind::Linked;
    case Subject::Bomb:
      return codes[cell].kind() == TileKind::Bomb;
    case Subject::EmptyBesideTile:
      return isEmpty(codes, cell) && ((column > 0 && !isEmpty(codes, cell - 1)) ||
                                      (column < board::kColumns - 1 && !isEmpty(codes, cell + 1)));
    case Subject::RightMismatch:
      return column < board::kColumns - 1 && !isEmpty(codes, cell) && !isEmpty(codes, cell + 1) &&
             has(codes, cell, line::Right) != has(codes, cell + 1, line::Left);
    case Subject::BottomMismatch:
      return row < board::kRows - 1 && !isEmpty(codes, cell) &&
             !isEmpty(codes, cell + board::kColumns) &&
             has(codes, cell, line::Down) != has(codes, cell + board::kColumns, line::Up);
    case Subject::Always:
    case Subject::Scoring:
      return false;
  }
  return false;
}

// Where the arrow of a tip about a found cell points.
Point targetFor(Subject subject, int32_t cell) {
  const Rect r = board::cellRect(cell);
  switch (subject) {
    case Subject::RightMismatch:
      return {r.right - 2, (r.top + r.bottom) / 2};
    case Subject::BottomMismatch:
      return {(r.left + r.right) / 2, r.bottom - 2};
    default:
      return centreOf(r);
  }
}

Rect moved(const Rect& r, int32_t dx, int32_t dy) {
  return Rect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy);
}

}  // namespace

Point cellCentre(int32_t cell) { return centreOf(board::cellRect(cell)); }

std::string pictureName(char character) { return std::string("tutor") + character + ".png"; }

int32_t findCell(const BoardCodes& codes, Subject subject) {
  for (int32_t column = board::kColumns - 1; column >= 0; --column) {
    for (int32_t row = board::kRows - 1; row >= 0; --row) {
      const int32_t cell = column + board::kColumns * row;
      if (matches(codes, cell, subject)) return cell;
    }
  }
  return -1;
}

std::optional<Choice> chooseTip(const BoardCodes& codes, bool scoring, uint32_t seen) {
  for (const Tip& tip : kTips) {
    if ((seen & tip.seenBit) != 0) continue;
    if (tip.subject == Subject::Always || (tip.subject == Subject::Scoring && scoring)) {
      return Choice{&tip, tip.fixedTarget};
    }
    if (tip.subject == Subject::Scoring) continue;
    const int32_t cell = findCell(codes, tip.subject);
    if (cell >= 0) return Choice{&tip, targetFor(tip.subject, cell)};
  }
  return std::nullopt;
}

// The box starts with its corner on the target, then steps aside: right of it unless that
// would reach past the limit, below it unless that would; the arrow's name and place follow.
Placement placeTip(Point target, int32_t w, int32_t h) {
  Rect b(-kMargin, -kMargin - kExtraHeight, w + kMargin, h + kMargin + kExtraHeight);
  b = moved(b, target.x - b.left, target.y - b.top);
  const int32_t bw = b.width(), bh = b.height();
  std::string arrow = "arrowul.png";
  int32_t dx = -kGap, dy = -kGap;
  if (b.right > kRightLimit) {
    b = moved(b, -(bw + kGap), 0);
    dx = bw - kArrowInsetX;
    arrow[6] = 'r';
  } else {
    b = moved(b, kGap, 0);
  }
  if (b.bottom > kBottomLimit) {
    b = moved(b, 0, -(bh + kGap));
    dy = bh - kArrowInsetY;
    arrow[5] = 'l';
  } else {
    b = moved(b, 0, kGap);
  }
  if (b.top < kEdge) b = moved(b, 0, kEdge - b.top);
  if (b.left < kEdge) b = moved(b, kEdge - b.left, 0);
  Placement p;
  p.box = b;
  p.arrow = arrow;
  p.arrowAt = {b.left + dx, b.top + dy};
  p.pictureAt = {b.left + kMargin, b.top + kMargin};
  p.okayAt = {b.right - kOkayIn, b.bottom - kButtonUp};
  p.nextAt = {b.left + kMargin, b.bottom - kButtonUp};
  return p;
}

Dialog* buildTipDialog(char character, Point target) {
  const std::string name = pictureName(character);
  Image* picture = getImage(name);
  int32_t w = 0, h = 0;
  if (picture != nullptr && picture->pixels != nullptr) {
    picture->setKeyFromCorner();
    w = picture->width;
    h = picture->height;
  }
  const Placement p = placeTip(target, w, h);
  auto* dialog = new Dialog();
  dialog->addChild(new Box(p.box, kWhite, true));
  Image* arrow = getImage(p.arrow);
  if (arrow != nullptr && arrow->pixels != nullptr) arrow->setKeyFromCorner();
  dialog->addChild(new Picture(p.arrowAt.x, p.arrowAt.y, p.arrow, 0));
  dialog->addChild(new Picture(p.pictureAt.x, p.pictureAt.y, name, 0));
  dialog->addChild(new Button(p.okayAt.x, p.okayAt.y, layout::kOkayPicture, layout::kCloseId));
  dialog->addChild(new Button(p.nextAt.x, p.nextAt.y, layout::kTipNextPicture, layout::kTipNextId));
  return dialog;
}

}  // namespace tips
