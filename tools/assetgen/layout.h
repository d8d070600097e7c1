#pragma once

#include <array>
#include <string_view>

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

namespace layout {

inline constexpr int screenW = 640;
inline constexpr int screenH = 480;

inline constexpr int tileSize = 50;
inline constexpr int tileFrames = 12;
inline constexpr Box board{180, 10, 450, 450};

inline constexpr Box looseEndsLabel{116, 5, 52, 37};
inline constexpr Box scoreLabel{6, 57, 119, 40};
inline constexpr Box scorePicture{1, 56, 130, 58};
inline constexpr Box meter{167, 144, 10, 316};

// Explosions are placed at the hit tile's corner minus these offsets, so a frame of the
// returned size is centred on the tile.
inline constexpr Box blastLarge{-32, -43, 114, 136};
inline constexpr Box blastSmall{-27, -32, 104, 114};
inline constexpr int blastFrames = 5;

// One button: the picture's name, where the game puts it, the size of one frame, the
// label, and whether it is keyed from its corner (drawn over other pictures that change).
struct Button {
  std::string_view file;
  std::string_view label;
  Box frame;
  Box face;  // the visible button inside the frame, relative to the frame
  bool keyed = false;
};

// The difficulty buttons step down the left column in a zig-zag; "medium" reaches up under
// "easy", so it is keyed to let "easy" show through above its face.
inline constexpr std::array<Button, 13> buttons{{
    {"easy.png", "easy", {81, 175, 80, 22}, {0, 0, 80, 22}},
    {"medium.png", "medium", {31, 193, 88, 30}, {0, 7, 88, 22}, true},
    {"hard.png", "hard", {74, 230, 80, 22}, {0, 0, 80, 22}},
    {"crazy.png", "crazy", {21, 258, 80, 22}, {0, 0, 80, 22}},
    // New puzzle and new game take turns at one place: the same face, centred alike.
    {"newpuzzle.png", "new puzzle", {23, 304, 130, 36}, {2, 5, 126, 26}},
    {"newgame.png", "new game", {25, 309, 126, 26}, {0, 0, 126, 26}},
    {"instructions.png", "instructions", {44, 351, 108, 26}, {0, 0, 108, 26}},
    // Help and no help take turns too: one height, one centre.
    {"help.png", "hints", {59, 394, 70, 26}, {0, 0, 70, 26}},
    {"nohelp.png", "no hints", {45, 394, 98, 26}, {0, 0, 98, 26}},
    {"options.png", "options", {94, 429, 70, 24}, {0, 0, 70, 24}},
    {"quit.png", "quit", {23, 435, 64, 24}, {0, 0, 64, 24}},
    // Shown over the faded board once it is solved; keyed so the tiles show round its ends.
    {"nextpuzzle.png", "next puzzle", {313, 451, 184, 28}, {0, 0, 184, 28}, true},
    {"lilzap.png", "zapfinch", {550, 460, 80, 19}, {0, 0, 80, 19}},
}};

}  // namespace layout
