#pragma once

// Every key the game knows, in one table: the game screen looks its keys up here, the
// instructions picture lists them from here, and the tests hold the manual and the man page to
// it. A key does what the mouse action it stands for does, with the same charges and sounds.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/keys.h"

namespace keys {

enum class Action : uint8_t {
  // The board cursor. The first arrow only shows it.
  CursorLeft,
  CursorRight,
  CursorUp,
  CursorDown,
  Turn,      // the tile under the cursor, as the left button
  TurnBack,  // as the right button
  Carry,     // picks a sliding tile up, or puts the carried one down
  Lock,      // the tile under the cursor locks or unlocks
  UnlockAll,
  Undo,
  Redo,
  // Anywhere in the game.
  Back,  // puts a carried tile back, or closes a tip, the instructions or the options
  NewGame,
  Hints,
  FullScreen,
  Manual,
  Quit,
  // In a pop-up.
  NextControl,
  PreviousControl,
  Press,
  SliderDown,
  SliderUp,
};

struct Binding {
  Action action;
  uint32_t key;
  uint32_t modifiers;  // exactly these of Shift, Ctrl and Alt are held
};

namespace k = platform::key;
inline constexpr std::array kBindings = {
    Binding{Action::CursorLeft, k::kLeft, 0},
    Binding{Action::CursorRight, k::kRight, 0},
    Binding{Action::CursorUp, k::kUp, 0},
    Binding{Action::CursorDown, k::kDown, 0},
    Binding{Action::Turn, k::kSpace, 0},
    Binding{Action::Turn, k::kReturn, 0},
    Binding{Action::TurnBack, k::kSpace, k::kShift},
    Binding{Action::TurnBack, k::kReturn, k::kShift},
    Binding{Action::Carry, k::letter('s'), 0},
    Binding{Action::Lock, k::letter('l'), 0},
    Binding{Action::UnlockAll, k::letter('u'), 0},
    Binding{Action::Undo, k::letter('z'), k::kCtrl},
    Binding{Action::Redo, k::letter('y'), k::kCtrl},
    Binding{Action::Redo, k::letter('z'), k::kCtrl | k::kShift},
    Binding{Action::Back, k::kEscape, 0},
    Binding{Action::NewGame, k::letter('n'), k::kCtrl},
    Binding{Action::Hints, k::letter('h'), 0},
    Binding{Action::FullScreen, k::kF11, 0},
    Binding{Action::Manual, k::kF1, 0},
    Binding{Action::Quit, k::letter('q'), k::kCtrl},
    Binding{Action::NextControl, k::kTab, 0},
    Binding{Action::PreviousControl, k::kTab, k::kShift},
    Binding{Action::Press, k::kSpace, 0},
    Binding{Action::Press, k::kReturn, 0},
    Binding{Action::SliderDown, k::kLeft, 0},
    Binding{Action::SliderUp, k::kRight, 0},
};

// The actions a key and its modifiers stand for: on the board, in a pop-up and anywhere, so
// one key may name an action of each. The held-key repeat flag does not count.
struct Found {
  std::array<Action, 3> actions{};
  size_t count = 0;
  bool has(Action a) const {
    for (size_t i = 0; i < count; ++i) {
      if (actions[i] == a) return true;
    }
    return false;
  }
};
constexpr Found find(uint32_t key, uint32_t modifiers) {
  Found found;
  for (const Binding& b : kBindings) {
    if (b.key == key && b.modifiers == (modifiers & k::kModifiers) && found.count < 3) {
      found.actions[found.count++] = b.action;
    }
  }
  return found;
}

// The key as the player reads it on the keyboard: "Space", "F11", "Z".
inline std::string keyName(uint32_t key) {
  switch (key) {
    case k::kBackspace:
      return "Backspace";
    case k::kTab:
      return "Tab";
    case k::kReturn:
      return "Enter";
    case k::kEscape:
      return "Esc";
    case k::kSpace:
      return "Space";
    case k::kLeft:
      return "Left";
    case k::kRight:
      return "Right";
    case k::kUp:
      return "Up";
    case k::kDown:
      return "Down";
    default:
      break;
  }
  std::string name(1, 'F');
  if (key >= k::kF1 && key <= k::kF12) return name.append(std::to_string(key - k::kF1 + 1));
  if (key >= 'a' && key <= 'z') return std::string(1, static_cast<char>(key - 'a' + 'A'));
  return std::string(1, static_cast<char>(key));
}

// A key with its modifiers, each part set by `part` (plain text, or marked up for a page) and
// joined by '+': "Ctrl+Shift+Z".
template <typename Part>
std::string chordName(const Binding& b, Part part) {
  std::string name;
  if ((b.modifiers & k::kCtrl) != 0) name += part("Ctrl") + "+";
  if ((b.modifiers & k::kAlt) != 0) name += part("Alt") + "+";
  if ((b.modifiers & k::kShift) != 0) name += part("Shift") + "+";
  return name + part(keyName(b.key));
}
inline std::string chordName(const Binding& b) {
  return chordName(b, [](const std::string& s) { return s; });
}

// What the player is told, one line for one or more actions. The instructions, the manual and
// the man page show these lines, each with the keys of its actions from the table.
enum class Group : uint8_t { Board, Game, Popup };
struct HelpLine {
  std::array<Action, 4> actions;
  size_t count;
  const char* text;
  Group group = Group::Board;
};
inline constexpr std::array kHelpLines = {
    HelpLine{{Action::CursorLeft, Action::CursorRight, Action::CursorUp, Action::CursorDown},
             4,
             "show the board cursor, then move it"},
    HelpLine{{Action::Turn}, 1, "turn the tile under it clockwise"},
    HelpLine{{Action::TurnBack}, 1, "turn it counter-clockwise"},
    HelpLine{{Action::Carry}, 1, "pick up a sliding tile, put it down"},
    HelpLine{{Action::Lock}, 1, "lock or unlock the tile"},
    HelpLine{{Action::UnlockAll}, 1, "unlock every tile"},
    HelpLine{{Action::Undo}, 1, "undo a move"},
    HelpLine{{Action::Redo}, 1, "redo it"},
    HelpLine{{Action::Back}, 1, "put the tile back; close a tip or pop-up", Group::Game},
    HelpLine{{Action::NewGame}, 1, "new puzzle, or new game", Group::Game},
    HelpLine{{Action::Hints}, 1, "hints on or off", Group::Game},
    HelpLine{{Action::FullScreen}, 1, "full screen or window", Group::Game},
    HelpLine{{Action::Manual}, 1, "the manual", Group::Game},
    HelpLine{{Action::Quit}, 1, "save and quit", Group::Game},
    HelpLine{
        {Action::NextControl, Action::PreviousControl}, 2, "move through a pop-up", Group::Popup},
    HelpLine{{Action::Press}, 1, "press the control shown", Group::Popup},
    HelpLine{{Action::SliderDown, Action::SliderUp}, 2, "move a level slider", Group::Popup},
};

// The keys of a help line, " / " between them: "Space / Enter".
template <typename Part>
std::string keysOf(const HelpLine& line, Part part) {
  std::string keys;
  for (size_t i = 0; i < line.count; ++i) {
    for (const Binding& b : kBindings) {
      if (b.action != line.actions[i]) continue;
      if (!keys.empty()) keys += " / ";
      keys += chordName(b, part);
    }
  }
  return keys;
}
inline std::string keysOf(const HelpLine& line) {
  return keysOf(line, [](const std::string& s) { return s; });
}

}  // namespace keys
