#pragma once

#include <array>
#include <string_view>

#include "screens/layout.h"

// Where the game screen draws each picture. Pictures drawn without a colour key carry the
// background behind them, so they are cut from the background at exactly these places.

struct Box {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
};

namespace art {

constexpr Box boxOf(const Rect& r) {
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline constexpr int screenW = ::layout::kScreenWidth;
inline constexpr int screenH = ::layout::kScreenHeight;

inline constexpr int tileSize = ::board::kCellSize;
inline constexpr int tileFrames = 12;
inline constexpr Box board = boxOf(::board::kRect);

inline constexpr Box looseEndsLabel = boxOf(::layout::kLooseEndsLabel);
inline constexpr Box scoreLabel = boxOf(::layout::kScoreLabel);
inline constexpr Box scorePicture{::layout::kScoreBackground.x, ::layout::kScoreBackground.y, 130,
                                  58};
inline constexpr Box meter = boxOf(::layout::kMeter);

// Explosions are placed at the hit tile's corner minus the game's offsets; a frame of the
// size given here is centred on the tile.
inline constexpr Box blastLarge{-::layout::kBlastLarge.offsetX, -::layout::kBlastLarge.offsetY,
                                114, 136};
inline constexpr Box blastSmall{-::layout::kBlastSmall.offsetX, -::layout::kBlastSmall.offsetY,
                                104, 114};
inline constexpr int blastFrames = ::layout::kBlastLarge.frames;

// One button: the control it draws (picture name and place come from the game), its label,
// the size of one frame, the visible button inside the frame (relative to the frame), and
// whether it is keyed from its corner (drawn over other pictures that change).
struct Button {
  ::layout::Placed control;
  std::string_view label;
  int w = 0;
  int h = 0;
  Box face;
  bool keyed = false;

  std::string_view file() const { return control.picture; }
  Box frame() const { return {control.x, control.y, w, h}; }
};

// The difficulty buttons step down the left column in a zig-zag; "medium" reaches up under
// "easy", so it is keyed to let "easy" show through above its face.
inline constexpr std::array<Button, 13> buttons{{
    {::layout::kEasy, "easy", 80, 22, {0, 0, 80, 22}},
    {::layout::kMedium, "medium", 88, 30, {0, 7, 88, 22}, true},
    {::layout::kHard, "hard", 80, 22, {0, 0, 80, 22}},
    {::layout::kCrazy, "crazy", 80, 22, {0, 0, 80, 22}},
    // New puzzle and new game take turns at one place: the same face, centred alike.
    {::layout::kNewPuzzle, "new puzzle", 130, 36, {2, 5, 126, 26}},
    {::layout::kNewGame, "new game", 126, 26, {0, 0, 126, 26}},
    {::layout::kInstructions, "instructions", 108, 26, {0, 0, 108, 26}},
    // Help and no help take turns too: one height, one centre.
    {::layout::kHelp, "hints", 70, 26, {0, 0, 70, 26}},
    {::layout::kNoHelp, "no hints", 98, 26, {0, 0, 98, 26}},
    {::layout::kOptions, "options", 70, 24, {0, 0, 70, 24}},
    {::layout::kQuit, "quit", 64, 24, {0, 0, 64, 24}},
    // Shown over the faded board once it is solved; keyed so the tiles show round its ends.
    {::layout::kNextPuzzle, "next puzzle", 184, 28, {0, 0, 184, 28}, true},
    {::layout::kWeb, "zapfinch", 80, 19, {0, 0, 80, 19}},
}};

}  // namespace art
