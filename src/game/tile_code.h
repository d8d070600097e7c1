#pragma once

#include <array>
#include <cstdint>
#include <string>

// A tile as plain data: the one-byte code that puzzles and saved games store, the line-end
// bits, and the tables that name its picture. No widget, no drawing, no random draws: the
// rules, the board code, the tile widget, the asset generator and the tests all read a tile
// through this file.

// Line-end bits. Two neighbours meet when the facing bits are both set.
namespace line {
inline constexpr uint8_t Up = 1;
inline constexpr uint8_t Right = 2;
inline constexpr uint8_t Down = 4;
inline constexpr uint8_t Left = 8;
inline constexpr uint8_t All = 0x0F;
}  // namespace line

// How the player may move a tile: bits 4 to 6 of the tile code.
enum class TileKind : uint8_t {
  Plain = 0x00,    // clicks turn it
  Empty = 0x10,    // a hole: not drawn, no lines, no input
  Fixed = 0x20,    // never moves; a click only reports itself
  Sliding = 0x30,  // dragged onto another sliding tile to swap; a plain click turns it
  Linked = 0x40,   // every linked tile turns with it
  Bomb = 0x50,     // turns like a plain tile; its fuse blasts its row or column
};

// The kinds that have pictures, in the order the art and the review sheets list them.
inline constexpr std::array<TileKind, 5> kDrawnKinds = {
    TileKind::Plain, TileKind::Fixed, TileKind::Sliding, TileKind::Linked, TileKind::Bomb};

// The six drawn shapes: none, one end, corner, straight, three ends, four ends. Every other
// set of lines is one of these turned.
inline constexpr std::array<uint8_t, 6> kShapes = {0, 1, 3, 5, 7, 15};

// Lines turned a quarter clockwise: up to right, right to down, down to left, left to up.
constexpr uint8_t rotatedClockwise(uint8_t bits) {
  uint8_t c = static_cast<uint8_t>((bits & line::All) << 1);
  if (c & 0x10) c = static_cast<uint8_t>((c & line::All) | line::Up);
  return c;
}

constexpr uint8_t rotatedCounterClockwise(uint8_t bits) {
  uint8_t c = bits & line::All;
  if (c & line::Up) c |= 0x10;
  return static_cast<uint8_t>(c >> 1);
}

// Which drawn shape the lines are, and how many quarter turns clockwise from it.
constexpr uint8_t canonicalShape(uint8_t bits) {
  constexpr std::array<uint8_t, 16> kShape = {0, 1, 1, 3, 1, 5, 3, 7, 1, 3, 5, 7, 3, 7, 7, 15};
  return kShape[bits & line::All];
}

constexpr uint8_t orientation(uint8_t bits) {
  constexpr std::array<uint8_t, 16> kTurns = {0, 0, 1, 0, 2, 0, 1, 0, 3, 3, 1, 3, 2, 2, 1, 0};
  return kTurns[bits & line::All];
}

// The letter that starts a kind's picture names. The empty kind borrows the plain pictures
// (they are loaded, never drawn).
constexpr char kindLetter(TileKind kind) {
  switch (kind) {
    case TileKind::Fixed:
      return 'l';
    case TileKind::Sliding:
      return 'm';
    case TileKind::Linked:
      return 'k';
    case TileKind::Bomb:
      return 'b';
    default:
      return 'n';
  }
}

// "n05.png" for a straight plain tile: kind letter, canonical shape in two digits, ".png".
std::string tilePictureName(TileKind kind, uint8_t bits);

// The one-byte tile code: bit 7 pinned (the puzzle gives the lines; dealing keeps them),
// bits 4 to 6 the kind, bits 0 to 3 the lines.
struct TileCode {
  static constexpr uint8_t kPinnedBit = 0x80;
  static constexpr uint8_t kKindBits = 0x70;

  uint8_t byte = 0;

  constexpr TileCode() = default;
  constexpr explicit TileCode(uint8_t code) : byte(code) {}
  constexpr TileCode(TileKind kind, uint8_t lines, bool pinned = false)
      : byte(static_cast<uint8_t>(static_cast<uint8_t>(kind) | (lines & line::All) |
                                  (pinned ? kPinnedBit : 0))) {}

  // 0x60 and 0x70 name no kind; such a tile plays as a plain one rather than as nothing.
  constexpr TileKind kind() const {
    const auto k = static_cast<TileKind>(byte & kKindBits);
    return k > TileKind::Bomb ? TileKind::Plain : k;
  }
  constexpr uint8_t lines() const { return byte & line::All; }
  constexpr bool pinned() const { return (byte & kPinnedBit) != 0; }
  constexpr bool isEmpty() const { return kind() == TileKind::Empty; }
  // Whether the player's clicks turn it (plain, sliding, linked and bomb tiles).
  constexpr bool turns() const { return kind() != TileKind::Fixed && !isEmpty(); }

  constexpr TileCode withLines(uint8_t lines) const {
    return TileCode(static_cast<uint8_t>((byte & ~line::All) | (lines & line::All)));
  }
  constexpr TileCode withKind(TileKind k) const {
    return TileCode(static_cast<uint8_t>((byte & ~kKindBits) | static_cast<uint8_t>(k)));
  }
  constexpr uint8_t shape() const { return canonicalShape(lines()); }
  constexpr uint8_t turnsFromShape() const { return orientation(lines()); }
  std::string pictureName() const { return tilePictureName(kind(), lines()); }

  constexpr bool operator==(const TileCode&) const = default;
};
