#pragma once

#include <cstdint>
#include <span>

#include "game/tile.h"
#include "ui/widget.h"

// Lies over the board and, while marks are on, draws a red bar across every edge where exactly
// one of the two tiles has a line end: the hints of the game.
class BoardView : public Widget {
 public:
  // The tiles in cell order; they belong to the screen and outlive the view. Null cells count
  // as empty.
  explicit BoardView(std::span<Tile* const, board::kCells> tiles);

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

  std::span<Tile* const, board::kCells> tiles_;
};
