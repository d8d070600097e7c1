#pragma once

// Everything that survives from one run to the next, with its default, and the two operations
// that move it to and from the settings store. This is the one place that names each stored
// value: under the key "Software\Zapfinch\Gyrotide", per user "Music", "Sound", "Difficulty",
// "Options", "Tutorial" and "State" (the game text), machine-wide "State" (the high-score text).
// Beyond those, per user: "LeftTurnsBack" (the buttons exchanged) and "Locks" (the tiles locked on
// the board of "State").

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/store.h"

inline constexpr std::string_view kSettingsKey = "Software\\Zapfinch\\Gyrotide";

// The board code is a 166-character text of the letters 'A' to 'Y'; the game text carries it.
inline constexpr size_t kBoardCodeLength = 166;
// The game text: checksum, six numbers, board code.
inline constexpr size_t kGameTextLength = 28 + kBoardCodeLength;
// The high-score text: checksum, four scores, four names of eight characters, "x".
inline constexpr size_t kHighScoreTextLength = 53;
inline constexpr size_t kHighScoreNameLength = 8;
// A stored text is read into a buffer of this size with its zero byte; a longer one is refused.
inline constexpr size_t kSettingsTextCapacity = 300;

// The lock text: its checksum, the checksum of the game text it belongs to, and one bit per
// board cell in six four-letter words (cells 0 to 15 in the first, bit 0 first).
inline constexpr size_t kLockCells = 81;
inline constexpr size_t kLockTextLength = 8 + 6 * 4;
using StoredLocks = std::bitset<kLockCells>;

inline constexpr size_t kHighScoreCount = 4;
// The table of a first run, and of a reset: ascending, entry 0 the lowest.
inline constexpr std::array<uint16_t, kHighScoreCount> kDefaultHighScores = {50, 100, 200, 400};
inline constexpr std::array<std::string_view, kHighScoreCount> kDefaultHighScoreNames = {
    "Flint", "Opal", "Zinc", "Tin"};

// The game in progress.
struct SavedGame {
  uint16_t puzzleIndex = 0;
  uint16_t level = 0;
  uint16_t score = 0;
  uint16_t allowance = 0;
  uint16_t allowanceMax = 0;
  uint16_t moves = 0;
  std::string board;  // the board code, kBoardCodeLength characters; empty: no game
  bool operator==(const SavedGame&) const = default;
};

struct Settings {
  double musicLevel = 0.5;  // 0..1
  double effectsLevel = 0.5;
  uint8_t difficulty = 0;  // 0..3
  bool fullScreen = true;
  bool scoring = true;
  bool bombs = true;
  bool hints = true;
  bool tutorial = true;
  uint32_t tipsSeen = 0;       // one bit per tutorial tip shown, bits 0 to 30
  bool leftTurnsBack = false;  // the left button turns counter-clockwise, the right clockwise
  SavedGame game;
  StoredLocks locks;  // read only with the game they were locked on; none otherwise
  std::array<uint16_t, kHighScoreCount> hsScores = kDefaultHighScores;
  std::array<std::string, kHighScoreCount> hsNames = {
      std::string(kDefaultHighScoreNames[0]), std::string(kDefaultHighScoreNames[1]),
      std::string(kDefaultHighScoreNames[2]), std::string(kDefaultHighScoreNames[3])};
  bool operator==(const Settings&) const = default;
};

// Reads every value into `settings`; a value that is absent or unreadable gets its default.
// The game in progress is read into settings.game only when its text is whole and valid: then
// the result is true. Otherwise settings.game is left as it was. The caller still has to
// check the board code, and must drop the whole game when that fails.
bool loadSettings(platform::Store& store, Settings& settings);
// Writes every value. The per-user values are written even when the machine-wide table cannot
// be (the file store then keeps the table in the player's own data folder). True when both
// were written and the board, if any, could be.
bool saveSettings(platform::Store& store, const Settings& settings);

// The stored form of each text, and its reading. Reading fails for a text that is too long for
// the buffer, fails its checksum or is shorter than its layout; it then changes nothing.
// A game without a board (none begun yet) is encoded as an empty text, which reads as no game;
// so is a board code of the wrong length or with characters outside 32..125, which cannot be
// written (saveSettings then reports failure).
std::string encodeGameText(const SavedGame& game);
bool decodeGameText(std::string_view stored, SavedGame& game);
std::string encodeHighScoreText(const std::array<uint16_t, kHighScoreCount>& scores,
                                const std::array<std::string, kHighScoreCount>& names);
bool decodeHighScoreText(std::string_view stored, std::array<uint16_t, kHighScoreCount>& scores,
                         std::array<std::string, kHighScoreCount>& names);

// The lock text for the board of `gameText` (the stored game text), and its reading: no locks
// unless the text is whole, sound and belongs to that very game text.
std::string encodeLockText(std::string_view gameText, const StoredLocks& locks);
bool decodeLockText(std::string_view stored, std::string_view gameText, StoredLocks& locks);

// A loudness as stored: hundredths, truncated toward zero, so 0.57 is stored as 56.
uint32_t storedLevel(double level);
// The loudness of a stored number, at most 1.0: the nearest to stored / 100 that is stored as
// the same number again, so that saving what was loaded never changes it.
double levelFromStored(uint32_t stored);

// Names hold only the characters 32 to 125, the range the saved text can carry: others are
// refused when typed or pasted, and dropped when a name is saved.
bool isNameCharacter(uint32_t code);
// The name as the table keeps it: characters outside 32..125 dropped, then cut to 8.
std::string highScoreName(std::string_view name);

// The score is stored in 16 bits: adding stops at 65535 instead of wrapping round.
uint16_t addToScore(uint16_t score, uint32_t points);
