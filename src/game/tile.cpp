#include "game/tile.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/game_clock.h"
#include "core/random.h"
#include "ui/screen.h"
#include "gfx/animated_image.h"
#include "gfx/font.h"

Tile::Drag Tile::drag_;

namespace {

constexpr Colour kOutline{0, 0, 0};
constexpr Colour kCountdown{77, 77, 77};
constexpr uint32_t kBlastStepMs = 300;

// Game times wrap after 49 days; differences stay right across the wrap.
bool before(uint32_t a, uint32_t b) {
  return static_cast<int32_t>(a - b) < 0;
}

// Whole seconds from t to the deadline; 0 once it has passed.
uint32_t secondsLeft(uint32_t deadline, uint32_t t) {
  return before(t, deadline) ? (deadline - t) / 1000 : 0;
}

int32_t packPoint(int32_t x, int32_t y) {
  return static_cast<int32_t>((static_cast<uint32_t>(x) << 16) |
                              (static_cast<uint32_t>(y) & 0xFFFF));
}

void invalidateOnScreen(Rect r) {
  r.inflate(1, 1);
  if (currentScreen != nullptr) currentScreen->invalidate(r);
}

}  // namespace

Tile::Tile(const Font* tileFont, const Rect& cellRect, uint16_t tileId)
    : Widget(cellRect, tileId), font(tileFont) {
  setConnections(0);
}

Tile::~Tile() {
  if (drag_.tile == this) drag_.tile = nullptr;
}

uint8_t Tile::toByte() const {
  return TileCode(kind, connections, pinned).byte;
}

void Tile::fromByte(uint8_t code) {
  const TileCode tile(code);
  pinned = tile.pinned();
  kind = tile.kind();
  exploding = false;  // whatever blast the old content had ends with it
  setConnections(tile.lines());
  if (kind == TileKind::Bomb) armFuse(kFuseRange);
}

void Tile::setContent(TileCode code) {
  pinned = code.pinned();
  if (code.kind() != kind) exploding = false;  // a blast belongs to the bomb it came from
  kind = code.kind();
  setConnections(code.lines());
}

void Tile::setConnections(uint8_t bits) {
  connections = bits & line::All;
  rebuildSprite();
}

void Tile::rebuildSprite() {
  const uint32_t now = GameClock::now();
  sprite = std::make_unique<AnimatedImage>(tilePictureName(kind, connections), kFrames, kFrames,
                                           kFramesPerSecond, now);
  sprite->startAt(kFramesPerTurn * orientation(connections), 0, now);
  markDirty();
}

void Tile::rotateClockwise(bool animated) {
  rotate(true, animated);
}

void Tile::rotateCounterClockwise(bool animated) {
  rotate(false, animated);
}

void Tile::rotate(bool clockwise, bool animated) {
  if (kind == TileKind::Fixed || kind == TileKind::Empty) return;
  const uint8_t previous = connections;
  // The picture only turns: the strip stays the same whatever the orientation.
  connections = clockwise ? rotatedClockwise(previous) : rotatedCounterClockwise(previous);
  const int32_t step = clockwise ? kFramesPerTurn : -kFramesPerTurn;
  const uint32_t now = GameClock::now();
  if (!animated) {
    sprite->startAt(sprite->shownTarget() + step, 0, now);
    markDirty();
    return;
  }
  const int32_t target = sprite->targetCount();
  if (clockwise ? target >= 0 : target <= 0) {
    sprite->extendTarget(step, now);  // queued behind the turn under way
  } else {
    // Reversing: run from the picture of the lines before this turn, so the turn always ends
    // on the picture of the lines it leaves.
    sprite->startAt(kFramesPerTurn * orientation(previous), step, now);
  }
}

void Tile::armFuse(uint32_t range) {
  setFuse(range != 0
              ? rules::kFuseMinimum + static_cast<uint32_t>(gameRandom() % (uint64_t{range} + 1))
              : 0);
}

void Tile::setFuse(uint32_t delayMs) {
  // A bomb arming afresh keeps its picture: rebuilding it would cut short a turn under way, and
  // the board would never hear that the turn came to rest.
  if (kind != TileKind::Bomb) {
    kind = TileKind::Bomb;
    rebuildSprite();
  }
  exploding = false;
  const uint32_t now = GameClock::now();
  lastTick = now;
  fuseDeadline = now + delayMs;
}

void Tile::spinFullTurn() {
  if (!sprite) return;
  const int32_t frame = kFramesPerTurn * orientation(connections);
  sprite->startAt(frame, kFrames, GameClock::now());
  markDirty();
}

void Tile::makePlain() {
  kind = TileKind::Plain;
  rebuildSprite();
}

void Tile::swapContents(Tile& other) {
  std::swap(pinned, other.pinned);
  std::swap(kind, other.kind);
  std::swap(connections, other.connections);
  rebuildSprite();
  other.rebuildSprite();
}

Tile* Tile::dragged() {
  return drag_.tile;
}

bool Tile::hasPicture() const {
  return sprite && sprite->image && sprite->width > 0;
}

bool Tile::fuseBurning() const {
  return kind == TileKind::Bomb && before(lastTick, fuseDeadline);
}

// ---- Time: turning frames, the fuse and the blast.

bool Tile::update(uint32_t now) {
  if (sprite && sprite->advance(now)) {
    markDirty();
    if (!sprite->isLooping() && sprite->currentCount() == sprite->targetCount()) {
      post(TileAtRest, id);
    }
  }
  if (kind == TileKind::Bomb) {
    if (fuseBurning()) {
      burnFuse(now);
    } else if (exploding) {
      spreadBlast(now);
    }
    lastTick = now;
  }
  return false;
}

// The turning frames, and a bomb's next moment: the countdown's next digit (only the last ten
// seconds show), the bang, or the blast's next step.
uint32_t Tile::nextChange(uint32_t now) {
  uint32_t soonest = sprite ? sprite->untilNextFrame(now) : kNoChange;
  if (kind != TileKind::Bomb) return soonest;
  if (fuseBurning()) {
    const uint32_t left = before(now, fuseDeadline) ? fuseDeadline - now : 0;
    const uint32_t seconds = left / 1000;
    // The digit drops when fewer whole seconds are left; below eleven it shows.
    const uint32_t untilDigit = seconds > 11 ? left - 11 * 1000 + 1 : left % 1000 + 1;
    soonest = std::min(soonest, seconds == 0 ? 0 : untilDigit);
  } else if (exploding) {
    const uint32_t since = now - fuseDeadline;
    soonest = std::min(soonest, kBlastStepMs - since % kBlastStepMs);
  }
  return soonest;
}

void Tile::burnFuse(uint32_t now) {
  const uint32_t secondsBefore = secondsLeft(fuseDeadline, lastTick);
  const uint32_t seconds = secondsLeft(fuseDeadline, now);
  if (seconds < secondsBefore && seconds < 11) markDirty();  // the countdown digit changes
  // Less than a second left, or already past: a late update must not lose the bang.
  if (seconds != 0) return;
  markDirty();
  exploding = true;
  alongColumn = gameRandom() > 0x3FFF;
  fuseDeadline = now;  // from here on, the moment the blast started
  post(TileFuseOut, id);
}

void Tile::spreadBlast(uint32_t now) {
  const uint32_t stepNow = (now - fuseDeadline) / kBlastStepMs;
  // Step 0 is the bomb itself. Starting at 1 at the latest keeps a slow first update from
  // skipping the nearest cells.
  uint32_t step = std::max<uint32_t>(1, (lastTick - fuseDeadline) / kBlastStepMs);
  // Hits are posted one by one: the screen may change this tile while handling them.
  while (exploding && kind == TileKind::Bomb && step < stepNow) {
    reachStep(static_cast<int32_t>(step));
    ++step;
  }
  if (!exploding && kind == TileKind::Bomb) armFuse(kFuseRange);
}

void Tile::reachStep(int32_t step) {
  const int32_t cell = board::cellOfId(id);
  if (cell < 0) {
    // Not on the board (a sample tile): nothing to hit; the blast lasts as from a corner.
    if (step >= board::kColumns) exploding = false;
    return;
  }
  const int32_t place = alongColumn ? cell / board::kColumns : cell % board::kColumns;
  const int32_t stride = alongColumn ? board::kColumns : 1;
  const int32_t length = alongColumn ? board::kRows : board::kColumns;
  if (place - step >= 0) post(TileBlastHit, id - stride * step);
  if (place + step < length) post(TileBlastHit, id + stride * step);
  if (place - step < 0 && place + step >= length) exploding = false;
}

// ---- Input.

bool Tile::onLeftDown(int32_t x, int32_t y, int32_t) { return press(x, y, TurnButton::Left); }
bool Tile::onRightDown(int32_t x, int32_t y, int32_t) { return press(x, y, TurnButton::Right); }
bool Tile::onLeftUp(int32_t x, int32_t y, int32_t) { return release(x, y, TurnButton::Left); }
bool Tile::onRightUp(int32_t x, int32_t y, int32_t) { return release(x, y, TurnButton::Right); }

bool Tile::press(int32_t x, int32_t y, TurnButton button) {
  // The other button while dragging must not restart the drag from where the tile hangs now.
  if (drag_.tile == this && getCapture() == this) return true;
  if (!rect.contains(x, y) || kind == TileKind::Empty) return false;
  if (kind == TileKind::Sliding) {
    startDrag(x, y, button);
    return true;
  }
  return click(button);
}

bool Tile::click(TurnButton button) {
  if (kind == TileKind::Empty) return false;
  if (kind == TileKind::Fixed) {
    post(TileFixedClicked, 0);
  } else {
    turnByPlayer(turnsClockwise(button));
  }
  return true;
}

void Tile::turnByPlayer(bool clockwise) {
  if (kind == TileKind::Fixed || kind == TileKind::Empty) return;
  rotate(clockwise, true);
  lastTurnClockwise = clockwise;
  if (kind == TileKind::Linked) {
    post(clockwise ? TileLinkedClockwise : TileLinkedCounter, id);
  } else {
    post(TileRotated, id);
  }
}

void Tile::startDrag(int32_t x, int32_t y, TurnButton button) {
  // A drag whose tile lost the mouse some other way must not leave that tile hanging.
  if (drag_.tile != nullptr) drag_.tile->returnToDragOrigin();
  setCapture(this);
  drag_ = Drag{this, x - rect.left, y - rect.top, rect, button};
  post(TileDragStarted, id);
}

bool Tile::onMouseMove(int32_t x, int32_t y, int32_t) {
  if (kind != TileKind::Sliding || getCapture() != this || drag_.tile != this) return false;
  Rect moved = rect;
  moved.moveTo(x - drag_.offsetX, y - drag_.offsetY);
  moveTo(moved);
  return false;
}

bool Tile::release(int32_t x, int32_t y, TurnButton button) {
  if (getCapture() != this) return false;
  // Only the button that picked the tile up puts it down.
  if (drag_.tile == this && drag_.button != button) return true;
  setCapture(nullptr);
  if (drag_.tile != this) return true;
  const Rect origin = drag_.origin;
  drag_.tile = nullptr;
  // Every drag ends with a drop report, so the screen never keeps a tile marked as dragged,
  // and every dragged tile goes home, even when the release point missed the moved tile.
  post(TileDropped, packPoint(x, y));
  moveTo(origin);
  if (kind == TileKind::Sliding && origin.contains(x, y)) {
    turnByPlayer(turnsClockwise(button));  // dropped on its own cell: a click
  }
  return true;
}

void Tile::returnToDragOrigin() {
  if (drag_.tile != this) return;
  if (getCapture() == this) setCapture(nullptr);
  drag_.tile = nullptr;
  moveTo(drag_.origin);
}

// Where it was and where it goes: the screen draws a dragged tile once more over everything,
// which leaves it clean, so its own mark would not bring its new place to the window.
void Tile::moveTo(const Rect& r) {
  invalidateOnScreen(rect);
  rect = r;
  invalidateOnScreen(rect);
  markDirty();
}

bool Tile::onNotify(uint16_t sender, uint32_t code, int32_t) {
  // Sample tiles link only with each other, and board tiles only with the board: trying the
  // samples never turns the board for free.
  const bool sameSide = (sender >= board::kFirstSampleId) == (id >= board::kFirstSampleId);
  if (kind == TileKind::Linked && sender != id && sameSide) {
    if (code == TileLinkedClockwise) rotate(true, true);
    if (code == TileLinkedCounter) rotate(false, true);
  }
  return false;  // every tile must hear it
}

// ---- Drawing.

void Tile::draw(Image& target, const Rect& clip) {
  if (kind != TileKind::Empty && alpha >= 0.001) {
    if (visible && hasPicture()) {
      sprite->drawTo(target, 0, 0, rect.left, rect.top, sprite->width, sprite->height, clip, alpha);
      drawCountdown(target, clip);
    }
    // Also while hidden: a board in the background shows only its outlines.
    target.frameRect(rect, kOutline, clip, alpha);
  }
  dirty = false;
}

Rect Tile::opaqueRect() const {
  const bool covers = kind != TileKind::Empty && visible && hasPicture() &&
                      sprite->image->coversWhenDrawn(alpha);
  if (!covers) return Rect();
  Rect covered(rect.left, rect.top, rect.left + sprite->width, rect.top + sprite->height);
  covered.intersect(rect);
  return covered;
}

void Tile::drawCountdown(Image& target, const Rect& clip) const {
  if (kind != TileKind::Bomb || font == nullptr || alpha <= 0.99) return;
  const uint32_t now = GameClock::now();
  if (!before(now, fuseDeadline)) return;
  const uint32_t seconds = (fuseDeadline - now) / 1000;
  if (seconds < 1 || seconds > 10) return;
  const char text[3] = {seconds == 10 ? '1' : static_cast<char>('0' + seconds),
                        seconds == 10 ? '0' : '\0', '\0'};
  const int32_t x = rect.left + 1 + (rect.width() - font->textWidth(text)) / 2;
  const int32_t y = rect.top + 1 + (rect.height() - font->height()) / 2;
  font->drawText(target, clip, x, y, text, kCountdown, Font::kWholeText, 1.0);
}
