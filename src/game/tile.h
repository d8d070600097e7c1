#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ui/widget.h"

class AnimatedImage;
class Font;
class Image;

// The board: 9 by 9 cells of 50 pixels, numbered row by row. The tile in cell i has id 1000 + i
// and never changes cells; moves exchange tile contents instead.
namespace board {
inline constexpr int32_t kColumns = 9;
inline constexpr int32_t kRows = 9;
inline constexpr int32_t kCells = kColumns * kRows;
inline constexpr int32_t kCellSize = 50;
inline constexpr Rect kRect(180, 10, 180 + kColumns * kCellSize, 10 + kRows * kCellSize);
inline constexpr uint16_t kFirstTileId = 1000;

constexpr Rect cellRect(int32_t cell) {
  const int32_t left = kRect.left + kCellSize * (cell % kColumns);
  const int32_t top = kRect.top + kCellSize * (cell / kColumns);
  return Rect(left, top, left + kCellSize, top + kCellSize);
}
// The cell under (x, y), or -1 off the board.
constexpr int32_t cellAt(int32_t x, int32_t y) {
  if (!kRect.contains(x, y)) return -1;
  return (y - kRect.top) / kCellSize * kColumns + (x - kRect.left) / kCellSize;
}
// The cell of a board tile's id, or -1 for any other id (sample tiles, decoration).
constexpr int32_t cellOfId(uint16_t id) {
  const int32_t cell = int32_t{id} - kFirstTileId;
  return cell >= 0 && cell < kCells ? cell : -1;
}
}  // namespace board

// How the player may move a tile: bits 4 to 6 of the tile code.
enum class TileKind : uint8_t {
  Plain = 0x00,    // clicks turn it
  Empty = 0x10,    // a hole: not drawn, no lines, no input
  Fixed = 0x20,    // never moves; a click only reports itself
  Sliding = 0x30,  // dragged onto another sliding tile to swap; a plain click turns it
  Linked = 0x40,   // every linked tile turns with it
  Bomb = 0x50,     // turns like a plain tile; its fuse blasts its row or column
};

// What tiles report to the screen. Private to the board: the toolkit's codes are far above.
enum : uint32_t {
  TileRotated = 1,          // value: the tile's id
  TileLinkedCounter = 2,    // a linked tile turned counter-clockwise; value: its id
  TileLinkedClockwise = 3,  // a linked tile turned clockwise; value: its id
  TileFixedClicked = 4,     // value: 0
  TileBlastHit = 5,         // value: id of the tile in the cell the blast reached
  TileDragStarted = 6,      // value: the tile's id (Tile::dragged() is the tile itself)
  TileDropped = 7,          // value: (x << 16) | y, the release point
  TileAtRest = 8,           // a turning animation stopped; value: the tile's id
  TileFuseOut = 9,          // a bomb went off; value: its own id
};

// One square of the board as a widget: up to four line ends, a kind, and a picture strip that
// turns with it. The one-byte tile code is how puzzles and saved games store it.
class Tile : public Widget {
 public:
  // Line-end bits. Two tiles meet when facing bits are both set.
  static constexpr uint8_t Up = 1;
  static constexpr uint8_t Right = 2;
  static constexpr uint8_t Down = 4;
  static constexpr uint8_t Left = 8;
  static constexpr uint8_t kPinnedBit = 0x80;
  static constexpr uint8_t kKindBits = 0x70;
  static constexpr uint8_t kConnectionBits = 0x0F;
  // The fuse every game bomb gets: 30 to about 63 seconds.
  static constexpr uint32_t kFuseRange = 60000;
  // Picture strips: four orientations of one shape, three frames per quarter turn.
  static constexpr uint16_t kFrames = 12;
  static constexpr uint16_t kFramesPerSecond = 18;
  static constexpr int32_t kFramesPerTurn = 3;

  // Starts as a plain tile without lines; the board then makes it Empty with fromByte(0x10).
  // The font draws the bomb countdown; it is shared, not owned, and may be null.
  Tile(const Font* font, const Rect& cellRect, uint16_t id);
  ~Tile() override;

  uint8_t toByte() const;
  // Takes kind, lines and pin from a tile code; a new bomb gets a fresh fuse.
  void fromByte(uint8_t code);
  void setConnections(uint8_t bits);
  // Loads the strip for the current kind and lines and shows it at rest.
  void rebuildSprite();
  // Animated turns queue up behind a turn the same way and reverse one the other way.
  void rotateClockwise(bool animated);
  void rotateCounterClockwise(bool animated);
  // Makes the tile a bomb. A range of 0 leaves no fuse running.
  void armFuse(uint32_t range);
  void makePlain();
  // Exchanges kind, lines and pin; widgets, ids, places and fuse times stay.
  void swapContents(Tile& other);

  // Ends a drag of this tile early: puts it back in its cell and lets go of the mouse.
  void returnToDragOrigin();
  // The tile being dragged, or null. Only one drag exists at a time.
  static Tile* dragged();
  // False when the strip could not be loaded: the tile then shows only its outline.
  bool hasPicture() const;
  // A bomb whose fuse has not yet run out.
  bool fuseBurning() const;
  bool isEmpty() const { return kind == TileKind::Empty; }

  static uint8_t rotatedClockwise(uint8_t bits);
  static uint8_t rotatedCounterClockwise(uint8_t bits);
  // Which of the six drawn shapes (0, 1, 3, 5, 7, 15) the lines are, and how many quarter
  // turns clockwise from it.
  static uint8_t canonicalShape(uint8_t bits);
  static uint8_t orientation(uint8_t bits);
  // "n05.png" for a straight plain tile: kind letter, canonical shape, ".png".
  static std::string pictureName(TileKind kind, uint8_t bits);

  bool update(uint32_t now) override;
  void draw(Image& target, const Rect& clip) override;
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override;
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onLeftUp(int32_t x, int32_t y, int32_t flags) override;
  bool onRightDown(int32_t x, int32_t y, int32_t flags) override;
  bool onRightUp(int32_t x, int32_t y, int32_t flags) override;
  bool onMouseMove(int32_t x, int32_t y, int32_t flags) override;

  uint8_t connections = 0;
  TileKind kind = TileKind::Plain;
  bool pinned = false;
  bool exploding = false;     // a bomb whose blast is spreading
  bool alongColumn = false;   // the blast runs up and down (true) or left and right
  uint32_t lastTick = 0;      // game time of the bomb's previous update
  uint32_t fuseDeadline = 0;  // game time the bomb goes off; while exploding, when it did
  const Font* font = nullptr;
  std::unique_ptr<AnimatedImage> sprite;

 private:
  struct Drag {
    Tile* tile = nullptr;
    int32_t offsetX = 0;  // where the pointer grabbed the tile
    int32_t offsetY = 0;
    Rect origin;             // the cell it came from
    bool leftButton = true;  // the button that holds it
  };
  static Drag drag_;

  bool press(int32_t x, int32_t y, bool clockwise);
  bool release(int32_t x, int32_t y, bool clockwise);
  void startDrag(int32_t x, int32_t y, bool leftButton);
  void moveTo(const Rect& r);
  void rotate(bool clockwise, bool animated);
  void burnFuse(uint32_t now);
  void spreadBlast(uint32_t now);
  void reachStep(int32_t step);
  void drawCountdown(Image& target, const Rect& clip) const;
};
