#include "game/board_view.h"

#include "gfx/image.h"

namespace {
constexpr Colour kMark{230, 10, 10};

// Exactly one of two facing line ends: a loose end between two tiles.
bool loose(bool mine, bool theirs) {
  return mine != theirs;
}
}  // namespace

BoardView::BoardView(std::span<Tile* const, board::kCells> tiles)
    : Widget(board::kRect, 0), tiles_(tiles) {}

bool BoardView::update(uint32_t) {
  return false;
}

void BoardView::setShowMarks(bool on) {
  showMarks = on;
  markDirty();
}

const Tile* BoardView::at(int32_t cell) const {
  const Tile* tile = tiles_[static_cast<size_t>(cell)];
  return tile != nullptr && !tile->isEmpty() ? tile : nullptr;
}

void BoardView::draw(Image& target, const Rect& clip) {
  if (showMarks && visible) {
    for (int32_t cell = 0; cell < board::kCells; ++cell) {
      const Tile* tile = at(cell);
      if (tile == nullptr) continue;
      // Cell rectangles, not the tiles' own: a dragged tile's lines still belong to its cell.
      const Rect r = board::cellRect(cell);
      const int32_t column = cell % board::kColumns;
      const int32_t row = cell / board::kColumns;
      const Tile* right = column + 1 < board::kColumns ? at(cell + 1) : nullptr;
      const Tile* below = row + 1 < board::kRows ? at(cell + board::kColumns) : nullptr;
      if (right && loose(tile->connections & Tile::Right, right->connections & Tile::Left)) {
        target.fillRect(Rect(r.right - 1, r.top, r.right + 1, r.bottom), kMark, clip, alpha);
      }
      if (below && loose(tile->connections & Tile::Down, below->connections & Tile::Up)) {
        target.fillRect(Rect(r.left, r.bottom - 1, r.right, r.bottom + 1), kMark, clip, alpha);
      }
    }
  }
  dirty = false;
}
