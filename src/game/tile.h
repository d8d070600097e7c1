#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/board.h"
#include "game/rules.h"
#include "game/tile_code.h"
#include "ui/widget.h"

class AnimatedImage;
class Font;
class Image;

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

// The two buttons that turn a tile. Which way each turns is the tile's to say (`turnsClockwise`):
// the player may have them exchanged.
enum class TurnButton : uint8_t { Left, Right };

// One square of the board as a widget: up to four line ends, a kind, and a picture strip that
// turns with it. The one-byte tile code is how puzzles and saved games store it.
class Tile : public Widget {
 public:
  // The fuse every game bomb gets: 30 to about 63 seconds.
  static constexpr uint32_t kFuseRange = rules::kFuseRange;
  // Picture strips: four orientations of one shape, three frames per quarter turn.
  static constexpr uint16_t kFrames = 12;
  static constexpr uint16_t kFramesPerSecond = 18;
  static constexpr int32_t kFramesPerTurn = 3;

  // Starts as a plain tile without lines; the board then makes it Empty with fromByte(0x10).
  // The font draws the bomb countdown; it is shared, not owned, and may be null.
  Tile(const Font* font, const Rect& cellRect, uint16_t id);
  ~Tile() override;

  uint8_t toByte() const;
  TileCode code() const { return TileCode(toByte()); }
  // Takes kind, lines and pin from a tile code; a new bomb gets a fresh fuse.
  void fromByte(uint8_t code);
  // Takes kind, lines and pin from a tile code the rules have already settled: no random
  // draw, and a bomb keeps whatever fuse it has (setFuse gives it the one the rules drew).
  void setContent(TileCode code);
  void setConnections(uint8_t bits);
  // Loads the strip for the current kind and lines and shows it at rest.
  void rebuildSprite();
  // Animated turns queue up behind a turn the same way and reverse one the other way.
  void rotateClockwise(bool animated);
  void rotateCounterClockwise(bool animated);
  // Makes the tile a bomb. A range of 0 leaves no fuse running.
  void armFuse(uint32_t range);
  // Makes the tile a bomb that goes off delayMs from now (0: no fuse running).
  void setFuse(uint32_t delayMs);
  // One whole turn round to where it stands now: the solved board's flourish.
  void spinFullTurn();
  void makePlain();
  // Exchanges kind, lines and pin; widgets, ids, places and fuse times stay.
  void swapContents(Tile& other);

  // What a click of the button does where the tile stands, without a drag: a fixed tile reports
  // the click, every other tile turns the way the button turns. False for a hole.
  bool click(TurnButton button);
  // The player's quarter turn, animated, reported as a click's would be (a linked tile's
  // report turns the rest of its group).
  void turnByPlayer(bool clockwise);
  // The one place that decides which way a button turns: the left button clockwise and the
  // right one counter-clockwise, or the other way round when the player asked for it.
  bool turnsClockwise(TurnButton button) const {
    return (button == TurnButton::Left) != leftTurnsBack;
  }

  // Ends a drag of this tile early: puts it back in its cell and lets go of the mouse.
  void returnToDragOrigin();
  // The tile being dragged, or null. Only one drag exists at a time.
  static Tile* dragged();
  // False when the strip could not be loaded: the tile then shows only its outline.
  bool hasPicture() const;
  // A bomb whose fuse has not yet run out.
  bool fuseBurning() const;
  bool isEmpty() const { return kind == TileKind::Empty; }

  bool update(uint32_t now) override;
  uint32_t nextChange(uint32_t now) override;
  void draw(Image& target, const Rect& clip) override;
  Rect opaqueRect() const override;
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
  // The player's option: the left button turns counter-clockwise, the right one clockwise.
  bool leftTurnsBack = false;
  // The way the player's latest turn of this tile went, for taking it back.
  bool lastTurnClockwise = true;

 private:
  // A drag belongs to the button that started it.
  struct Drag {
    Tile* tile = nullptr;
    int32_t offsetX = 0;  // where the pointer grabbed the tile
    int32_t offsetY = 0;
    Rect origin;                           // the cell it came from
    TurnButton button = TurnButton::Left;  // the button that holds it
  };
  static Drag drag_;

  bool press(int32_t x, int32_t y, TurnButton button);
  bool release(int32_t x, int32_t y, TurnButton button);
  void startDrag(int32_t x, int32_t y, TurnButton button);
  void moveTo(const Rect& r);
  void rotate(bool clockwise, bool animated);
  void burnFuse(uint32_t now);
  void spreadBlast(uint32_t now);
  void reachStep(int32_t step);
  void drawCountdown(Image& target, const Rect& clip) const;
};
