// loadSettings over an arbitrary stored game text and high-score text (and, when asked,
// arbitrary stored numbers). Input: a flags byte; with flag 4, five 4-byte numbers ("Music",
// "Sound", "Difficulty", "Options", "Tutorial"); a 2-byte length of the game text; the game
// text; with flag 8, a 1-byte length and the lock text; the rest is the high-score text. Flags 1
// and 2 stamp a valid checksum on the game and the high-score text, flag 16 binds the lock text
// to the game text and stamps it, so that the fuzzer reaches the layouts behind the checksum.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/headless/memory_store.h"
#include "store/settings.h"
#include "store/text_codec.h"

namespace {

using platform::StoreScope;
using platform::StoreValue;

void require(bool condition) {
  if (!condition) std::abort();
}

struct Input {
  const uint8_t* data;
  size_t size;

  uint32_t take(size_t bytes) {
    uint32_t value = 0;
    for (size_t i = 0; i < bytes && size > 0; ++i, ++data, --size) value = value << 8 | *data;
    return value;
  }
  std::string text(size_t length) {
    length = std::min(length, size);
    std::string out(reinterpret_cast<const char*>(data), length);
    data += length;
    size -= length;
    return out;
  }
};

// Stamps the checksum over a copy, zero byte included, as a writer that got it right would.
std::string stamped(const std::string& text) {
  if (text.size() < 4) return text;
  std::string copy = text;
  stampChecksum(copy.data());
  return copy;
}

// The lock text made to belong to the game text (its checksum letters at offset 4), stamped.
std::string bound(std::string lock, const std::string& game) {
  if (lock.size() < 8 || game.size() < 4) return lock;
  lock.replace(4, 4, game, 0, 4);
  return stamped(lock);
}

bool carried(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 32 || c > 125) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input{data, size};
  uint32_t flags = input.take(1);
  platform::MemoryStore store;
  std::string key(kSettingsKey);
  auto& user = store.keys[{StoreScope::User, key}];
  if (flags & 4) {
    for (const char* name : {"Music", "Sound", "Difficulty", "Options", "Tutorial"}) {
      user[name] = StoreValue::ofNumber(input.take(4));
    }
  }
  std::string gameText = input.text(input.take(2));
  if (flags & 1) gameText = stamped(gameText);
  if (flags & 8) {
    std::string lockText = input.text(input.take(1));
    user["Locks"] = StoreValue::ofText(flags & 16 ? bound(lockText, gameText) : lockText);
  }
  std::string tableText = input.text(input.size);
  user["State"] = StoreValue::ofText(gameText);
  store.keys[{StoreScope::Machine, key}]["State"] =
      StoreValue::ofText(flags & 2 ? stamped(tableText) : tableText);

  Settings settings;
  SavedGame before;
  before.score = 4242;
  settings.game = before;
  bool restored = loadSettings(store, settings);

  require(settings.musicLevel >= 0.0 && settings.musicLevel <= 1.0);
  require(settings.effectsLevel >= 0.0 && settings.effectsLevel <= 1.0);
  require(settings.difficulty < 4);
  require((settings.tipsSeen & 0x80000000) == 0);
  for (const std::string& name : settings.hsNames) {
    require(name.size() <= kHighScoreNameLength && carried(name));
    require(name.empty() || name.back() != ' ');
  }
  if (restored) {
    require(settings.game.board.size() == kBoardCodeLength && carried(settings.game.board));
  } else {
    require(settings.game == before);
    require(settings.locks.none());  // locks belong to a restored game only
  }

  // What was loaded saves and loads back unchanged.
  if (!restored) settings.game = SavedGame{};
  platform::MemoryStore again;
  require(saveSettings(again, settings));
  Settings reloaded;
  require(loadSettings(again, reloaded) == restored);
  require(reloaded == settings);
  return 0;
}
