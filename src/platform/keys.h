#pragma once

// The keys a key-down message names, apart from any system's own numbering. A key that types
// a plain character is named by that character as typed without Shift (letters in lower case,
// Space 32, Tab 9, Return 13, Escape 27, Backspace 8); the others have codes above 255.
#include <cstdint>

namespace platform::key {

inline constexpr uint32_t kBackspace = 8;
inline constexpr uint32_t kTab = 9;
inline constexpr uint32_t kReturn = 13;  // the keypad's Enter too
inline constexpr uint32_t kEscape = 27;
inline constexpr uint32_t kSpace = 32;
inline constexpr uint32_t kLeft = 0x100;
inline constexpr uint32_t kRight = 0x101;
inline constexpr uint32_t kUp = 0x102;
inline constexpr uint32_t kDown = 0x103;
inline constexpr uint32_t kF1 = 0x110;  // F1 to F12 follow one by one
inline constexpr uint32_t kF11 = kF1 + 10;
inline constexpr uint32_t kF12 = kF1 + 11;

// A letter key by its letter, whatever case it is written in.
constexpr uint32_t letter(char c) {
  return static_cast<uint32_t>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// The modifier bits of a key-down message.
inline constexpr uint32_t kShift = 1;
inline constexpr uint32_t kCtrl = 2;
inline constexpr uint32_t kAlt = 4;
// Set on the messages a held key repeats; not a modifier the player chose.
inline constexpr uint32_t kRepeat = 0x100;
inline constexpr uint32_t kModifiers = kShift | kCtrl | kAlt;

}  // namespace platform::key
