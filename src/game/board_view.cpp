#include "game/board_view.h"

#include "gfx/image.h"
#include "gfx/image_cache.h"
#include "ui/focus_frame.h"
#include "ui/screen.h"

namespace {
constexpr Colour kMark{230, 10, 10};
}  // namespace

BoardView::BoardView(std::span<Tile* const, board::kCells> tiles, const LockSet* locks)
    : Widget(board::kRect, 0), tiles_(tiles), locks_(locks) {
  if (locks_ == nullptr) return;
  lockPicture_ = getImage(lock_mark::kPicture);
  if (lockPicture_ != nullptr && lockPicture_->pixels != nullptr) lockPicture_->setKeyFromCorner();
}

BoardView::~BoardView() { releaseImage(lockPicture_); }

bool BoardView::update(uint32_t) { return false; }

void BoardView::setShowMarks(bool on) {
  showMarks = on;
  markDirty();
}

Rect BoardView::cursorFrame(int32_t cell) {
  Rect r = board::cellRect(cell);
  r.inflate(1, 1);
  return r;
}

void BoardView::setCursor(int32_t cell) {
  if (cell == cursorCell) return;
  // Only the cells it leaves and takes are drawn again.
  for (int32_t c : {cursorCell, cell}) {
    if (c >= 0 && c < board::kCells && currentScreen != nullptr) {
      currentScreen->invalidate(cursorFrame(c));
    }
  }
  cursorCell = cell;
}

void BoardView::drawCursor(Image& target, const Rect& clip) const {
  if (visible && cursorCell >= 0 && cursorCell < board::kCells) {
    drawFocusFrame(target, cursorFrame(cursorCell), clip);
  }
}

BoardCodes BoardView::codes() const {
  BoardCodes codes;
  for (size_t cell = 0; cell < codes.size(); ++cell) {
    // A missing tile counts as a hole.
    codes[cell] = tiles_[cell] != nullptr ? tiles_[cell]->code() : TileCode(TileKind::Empty, 0);
  }
  return codes;
}

void BoardView::draw(Image& target, const Rect& clip) {
  if (visible) {
    drawLockMarks(target, clip);
    if (showMarks) drawLooseEnds(target, clip);
  }
  // Over the marks: the cursor must read on a loose edge too.
  drawCursor(target, clip);
  dirty = false;
}

// At full strength whatever the tile's opacity, so a lock still reads on a fading board.
void BoardView::drawLockMarks(Image& target, const Rect& clip) const {
  if (locks_ == nullptr || lockPicture_ == nullptr || lockPicture_->pixels == nullptr) return;
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    const Tile* tile = tiles_[static_cast<size_t>(cell)];
    if (!(*locks_)[static_cast<size_t>(cell)] || tile == nullptr || tile->isEmpty()) continue;
    if (tile->alpha < 0.001) continue;
    const Rect r = board::cellRect(cell);
    lockPicture_->drawTo(target, 0, 0, r.left + lock_mark::kInset, r.top + lock_mark::kInset,
                         lockPicture_->width, lockPicture_->height, clip, 1.0);
  }
}

void BoardView::drawLooseEnds(Image& target, const Rect& clip) const {
  const LooseEdges loose = looseEdges(codes());
  for (int32_t cell = 0; cell < board::kCells; ++cell) {
    // Cell rectangles, not the tiles' own: a dragged tile's lines still belong to its cell.
    const Rect r = board::cellRect(cell);
    if (loose.right[static_cast<size_t>(cell)]) {
      target.fillRect(Rect(r.right - 1, r.top, r.right + 1, r.bottom), kMark, clip, alpha);
    }
    if (loose.down[static_cast<size_t>(cell)]) {
      target.fillRect(Rect(r.left, r.bottom - 1, r.right, r.bottom + 1), kMark, clip, alpha);
    }
  }
}
