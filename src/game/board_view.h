#pragma once

#include <cstdint>
#include <span>

#include "game/locks.h"
#include "game/tile.h"
#include "ui/widget.h"

// The lock mark: a small padlock picture in a tile's top-left corner, clear of the line ends at
// the middle of each side and of a bomb's countdown in the centre. The asset generator draws
// it at this size.
namespace lock_mark {
inline constexpr const char* kPicture = "lock.png";
inline constexpr int32_t kWidth = 15;
inline constexpr int32_t kHeight = 17;
inline constexpr int32_t kInset = 2;  // from the cell's left and top edges
}  // namespace lock_mark

// Lies over the board: marks every locked tile with a padlock and, while marks are on, draws a
// red bar across every edge where exactly one of the two tiles has a line end: the hints of
// the game.
class BoardView : public Widget {
 public:
  // The tiles in cell order; they belong to the screen and outlive the view. Null cells count
  // as empty. The lock set, when given, belongs to the screen too.
  explicit BoardView(std::span<Tile* const, board::kCells> tiles, const LockSet* locks = nullptr);
  ~BoardView() override;

  bool update(uint32_t now) override;
  void draw(Image& target, const Rect& clip) override;
  void setShowMarks(bool on);
  // The keyboard cursor's cell, or -1 to show none.
  void setCursor(int32_t cell);
  // The cursor's frame alone, for drawing it again over a tile carried on top of everything.
  void drawCursor(Image& target, const Rect& clip) const;
  // The picture the cursor covers in a cell: a little beyond it on every side, so that it
  // reads on the grout between the tiles too.
  static Rect cursorFrame(int32_t cell);

  bool showMarks = false;
  int32_t cursorCell = -1;

 private:
  // The tiles' codes as they stand.
  BoardCodes codes() const;
  void drawLockMarks(Image& target, const Rect& clip) const;
  void drawLooseEnds(Image& target, const Rect& clip) const;

  std::span<Tile* const, board::kCells> tiles_;
  const LockSet* locks_ = nullptr;
  Image* lockPicture_ = nullptr;
};
