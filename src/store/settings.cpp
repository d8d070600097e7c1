#include "store/settings.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "store/text_codec.h"

namespace {

using platform::StoreScope;
using platform::StoreValue;
using platform::StoreValues;

// Value names under the settings key.
constexpr std::string_view kMusic = "Music";
constexpr std::string_view kSound = "Sound";
constexpr std::string_view kDifficulty = "Difficulty";
constexpr std::string_view kOptions = "Options";
constexpr std::string_view kTutorial = "Tutorial";
constexpr std::string_view kState = "State";
constexpr std::string_view kLeftTurnsBack = "LeftTurnsBack";
constexpr std::string_view kLocks = "Locks";

// "Options" bits; every other bit is written 0 and ignored on reading.
constexpr uint32_t kOptionFullScreen = 0x1;
constexpr uint32_t kOptionScoring = 0x10;
constexpr uint32_t kOptionBombs = 0x100;
constexpr uint32_t kOptionHints = 0x1000;
constexpr uint32_t kDefaultOptions = 0xFFFFFFFF;  // every option on
// "Tutorial": bit 31 is the tutorial switch, bits 0 to 30 the tips seen.
constexpr uint32_t kTutorialOn = 0x80000000;
constexpr uint32_t kDefaultTutorial = kTutorialOn;  // on, no tip seen
constexpr double kDefaultLevel = 0.5;

// Offsets in the game text.
constexpr size_t kGameNumbersAt = 4;  // six four-letter words
constexpr size_t kBoardAt = 28;
// Offsets in the high-score text.
constexpr size_t kScoresAt = 4;
constexpr size_t kNamesAt = 20;
constexpr size_t kEndMarkAt = 52;
// Offsets in the lock text.
constexpr size_t kLockGameAt = 4;
constexpr size_t kLockBitsAt = 8;
constexpr size_t kLockWords = 6;

using TextBuffer = std::array<char, kSettingsTextCapacity>;

// The stored text in the buffer, zero-terminated; false when it does not fit with its zero byte.
// A zero byte inside the text ends it there.
bool fillBuffer(std::string_view stored, TextBuffer& buffer) {
  if (stored.size() >= buffer.size()) return false;
  std::memcpy(buffer.data(), stored.data(), stored.size());
  buffer[stored.size()] = '\0';
  return true;
}

// A text that is whole: it fits, passes its checksum and is at least `length` long (exactly, when
// `exact`); then unscrambled in the buffer.
bool readText(std::string_view stored, size_t length, bool exact, TextBuffer& buffer) {
  if (!fillBuffer(stored, buffer) || !verifyChecksum(buffer.data())) return false;
  size_t actual = std::strlen(buffer.data());
  if (actual < length || (exact && actual != length)) return false;
  unscrambleText(buffer.data() + 4);
  return true;
}

std::string sealText(TextBuffer& buffer) {
  scrambleText(buffer.data() + 4);
  stampChecksum(buffer.data());
  return std::string(buffer.data());
}

// Only characters 32 to 125 come back unchanged from the scramble.
bool scramblable(char c) { return static_cast<unsigned char>(c) >= 32 && c <= 125; }

bool boardWritable(std::string_view board) {
  return board.size() == kBoardCodeLength && std::all_of(board.begin(), board.end(), scramblable);
}

double levelFrom(const StoreValues& values, std::string_view name) {
  std::optional<uint32_t> stored = platform::findNumber(values, name);
  return stored ? levelFromStored(*stored) : kDefaultLevel;
}

void installDefaultHighScores(Settings& settings) {
  settings.hsScores = kDefaultHighScores;
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    settings.hsNames[i] = std::string(kDefaultHighScoreNames[i]);
  }
}

}  // namespace

std::string encodeGameText(const SavedGame& game) {
  if (!boardWritable(game.board)) return {};
  TextBuffer buffer{};
  const uint16_t numbers[] = {game.puzzleIndex, game.level,        game.score,
                              game.allowance,   game.allowanceMax, game.moves};
  for (size_t i = 0; i < 6; ++i) encodeWord(buffer.data() + kGameNumbersAt + 4 * i, numbers[i]);
  std::memcpy(buffer.data() + kBoardAt, game.board.data(), kBoardCodeLength);
  buffer[kGameTextLength] = '\0';
  return sealText(buffer);
}

bool decodeGameText(std::string_view stored, SavedGame& game) {
  TextBuffer buffer;
  if (!readText(stored, kGameTextLength, true, buffer)) return false;
  uint16_t* numbers[] = {&game.puzzleIndex, &game.level,        &game.score,
                         &game.allowance,   &game.allowanceMax, &game.moves};
  for (size_t i = 0; i < 6; ++i) *numbers[i] = decodeWord(buffer.data() + kGameNumbersAt + 4 * i);
  game.board.assign(buffer.data() + kBoardAt, kBoardCodeLength);
  return true;
}

std::string encodeHighScoreText(const std::array<uint16_t, kHighScoreCount>& scores,
                                const std::array<std::string, kHighScoreCount>& names) {
  TextBuffer buffer{};
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    encodeWord(buffer.data() + kScoresAt + 4 * i, scores[i]);
    std::string name = highScoreName(names[i]);
    name.resize(kHighScoreNameLength, ' ');
    std::memcpy(buffer.data() + kNamesAt + kHighScoreNameLength * i, name.data(),
                kHighScoreNameLength);
  }
  buffer[kEndMarkAt] = 'x';
  buffer[kHighScoreTextLength] = '\0';
  return sealText(buffer);
}

bool decodeHighScoreText(std::string_view stored, std::array<uint16_t, kHighScoreCount>& scores,
                         std::array<std::string, kHighScoreCount>& names) {
  // Longer texts are read as the layout says; what follows the layout is not looked at.
  TextBuffer buffer;
  if (!readText(stored, kHighScoreTextLength, false, buffer)) return false;
  for (size_t i = 0; i < kHighScoreCount; ++i) {
    scores[i] = decodeWord(buffer.data() + kScoresAt + 4 * i);
    std::string name(buffer.data() + kNamesAt + kHighScoreNameLength * i, kHighScoreNameLength);
    name.erase(name.find_last_not_of(' ') + 1);
    names[i] = std::move(name);
  }
  return true;
}

std::string encodeLockText(std::string_view gameText, const StoredLocks& locks) {
  if (gameText.size() < 4) return {};
  TextBuffer buffer{};
  std::memcpy(buffer.data() + kLockGameAt, gameText.data(), 4);
  for (size_t word = 0; word < kLockWords; ++word) {
    uint16_t bits = 0;
    for (size_t i = 0; i < 16 && 16 * word + i < kLockCells; ++i) {
      if (locks[16 * word + i]) bits = static_cast<uint16_t>(bits | (1u << i));
    }
    encodeWord(buffer.data() + kLockBitsAt + 4 * word, bits);
  }
  buffer[kLockTextLength] = '\0';
  stampChecksum(buffer.data());
  return std::string(buffer.data());
}

bool decodeLockText(std::string_view stored, std::string_view gameText, StoredLocks& locks) {
  TextBuffer buffer;
  if (stored.size() != kLockTextLength || gameText.size() < 4 || !fillBuffer(stored, buffer) ||
      !verifyChecksum(buffer.data()) ||
      std::memcmp(buffer.data() + kLockGameAt, gameText.data(), 4) != 0) {
    return false;
  }
  StoredLocks read;
  for (size_t word = 0; word < kLockWords; ++word) {
    const char* letters = buffer.data() + kLockBitsAt + 4 * word;
    const bool letter =
        std::all_of(letters, letters + 4, [](char c) { return c >= 'A' && c <= 'P'; });
    if (!letter) return false;
    const uint16_t bits = decodeWord(letters);
    for (size_t i = 0; i < 16; ++i) {
      if ((bits & (1u << i)) == 0) continue;
      if (16 * word + i >= kLockCells) return false;  // no such cell: not a text we wrote
      read[16 * word + i] = true;
    }
  }
  locks = read;
  return true;
}

bool loadSettings(platform::Store& store, Settings& settings) {
  StoreValues user = store.read(StoreScope::User, kSettingsKey);
  StoreValues machine = store.read(StoreScope::Machine, kSettingsKey);

  settings.musicLevel = levelFrom(user, kMusic);
  settings.effectsLevel = levelFrom(user, kSound);
  settings.difficulty =
      static_cast<uint8_t>(platform::findNumber(user, kDifficulty).value_or(0) % 4);
  uint32_t options = platform::findNumber(user, kOptions).value_or(kDefaultOptions);
  settings.fullScreen = (options & kOptionFullScreen) != 0;
  settings.scoring = (options & kOptionScoring) != 0;
  settings.bombs = (options & kOptionBombs) != 0;
  settings.hints = (options & kOptionHints) != 0;
  uint32_t tutorial = platform::findNumber(user, kTutorial).value_or(kDefaultTutorial);
  settings.tutorial = (tutorial & kTutorialOn) != 0;
  settings.tipsSeen = tutorial & ~kTutorialOn;
  settings.leftTurnsBack = platform::findNumber(user, kLeftTurnsBack).value_or(0) != 0;

  const std::string* table = platform::findText(machine, kState);
  if (table == nullptr || !decodeHighScoreText(*table, settings.hsScores, settings.hsNames)) {
    installDefaultHighScores(settings);
  }

  // Read into a copy, so a text that fails leaves the game exactly as it was.
  const std::string* gameText = platform::findText(user, kState);
  SavedGame game;
  if (gameText == nullptr || !decodeGameText(*gameText, game)) return false;
  settings.game = std::move(game);
  const std::string* lockText = platform::findText(user, kLocks);
  StoredLocks locks;
  if (lockText != nullptr && decodeLockText(*lockText, *gameText, locks)) settings.locks = locks;
  return true;
}

bool saveSettings(platform::Store& store, const Settings& settings) {
  uint32_t options = (settings.fullScreen ? kOptionFullScreen : 0) |
                     (settings.scoring ? kOptionScoring : 0) | (settings.bombs ? kOptionBombs : 0) |
                     (settings.hints ? kOptionHints : 0);
  uint32_t tutorial = (settings.tipsSeen & ~kTutorialOn) | (settings.tutorial ? kTutorialOn : 0);
  // No board (there is no game yet) is written as an empty text, which reads as no game; so is a
  // board that cannot be written, so that an older game never comes back in its place.
  std::string gameText = encodeGameText(settings.game);
  bool gameWritable = !gameText.empty() || settings.game.board.empty();
  StoreValues user = {
      {std::string(kMusic), StoreValue::ofNumber(storedLevel(settings.musicLevel))},
      {std::string(kSound), StoreValue::ofNumber(storedLevel(settings.effectsLevel))},
      {std::string(kDifficulty), StoreValue::ofNumber(settings.difficulty)},
      {std::string(kOptions), StoreValue::ofNumber(options)},
      {std::string(kTutorial), StoreValue::ofNumber(tutorial)},
      {std::string(kState), StoreValue::ofText(gameText)},
      {std::string(kLeftTurnsBack), StoreValue::ofNumber(settings.leftTurnsBack ? 1 : 0)},
      {std::string(kLocks), StoreValue::ofText(encodeLockText(gameText, settings.locks))},
  };
  StoreValues machine = {
      {std::string(kState),
       StoreValue::ofText(encodeHighScoreText(settings.hsScores, settings.hsNames))},
  };
  // Each scope on its own: a machine folder the player cannot write must not cost the options
  // and the game in progress.
  bool userSaved = store.write(StoreScope::User, kSettingsKey, user);
  bool machineSaved = store.write(StoreScope::Machine, kSettingsKey, machine);
  return userSaved && machineSaved && gameWritable;
}

uint32_t storedLevel(double level) {
  // Also keeps NaN and out-of-range levels from an undefined conversion.
  if (!(level > 0.0)) return 0;
  if (level >= 1.0) return 100;
  return static_cast<uint32_t>(level * 100.0);
}

double levelFromStored(uint32_t stored) {
  if (stored >= 100) return 1.0;
  double level = stored / 100.0;
  // 29, 57 and 58 hundredths come out a hair below; truncated again at the next save they would
  // lose a step. One step up in the last binary place keeps them where the player put them.
  if (storedLevel(level) < stored) level = std::nextafter(level, 1.0);
  return level;
}

bool isNameCharacter(uint32_t code) { return code >= 32 && code <= 125; }

std::string highScoreName(std::string_view name) {
  std::string kept;
  for (char c : name) {
    if (kept.size() == kHighScoreNameLength) break;
    if (isNameCharacter(static_cast<unsigned char>(c))) kept.push_back(c);
  }
  return kept;
}

uint16_t addToScore(uint16_t score, uint32_t points) {
  return static_cast<uint16_t>(std::min<uint64_t>(uint64_t{score} + points, 0xFFFF));
}
