#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/store.h"
#include "res/test_files.h"
#include "store/settings.h"

// A fresh folder, removed with everything in it. In memory (/dev/shm) when asked and possible:
// flushing to a real disk makes a thousand saves take far too long, and what a killed process
// leaves behind is the same either way.
class StoreTempDir {
 public:
  explicit StoreTempDir(bool inMemory) {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    if (inMemory && access("/dev/shm", W_OK | X_OK) == 0) base = "/dev/shm";
    std::string pattern = (base / "gyrotide-store-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~StoreTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  StoreTempDir(const StoreTempDir&) = delete;
  StoreTempDir& operator=(const StoreTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// A file store whose three folders lie in a fresh temporary folder (not made yet: the store
// makes them as it writes).
struct TempStoreFolders {
  explicit TempStoreFolders(bool inMemory = false) : dir(inMemory) {
    folders.user = dir / "config" / "gyrotide";
    folders.machine = dir / "games" / "gyrotide";
    folders.userData = dir / "data" / "gyrotide";
  }

  // A machine folder no one can write to, even root: its parent is a regular file.
  void blockMachineFolder() {
    writeFile(dir / "not-a-folder", "");
    folders.machine = dir / "not-a-folder" / "gyrotide";
  }

  StoreTempDir dir;
  platform::StoreFolders folders;
};

// How many temporary files of `key` lie in `folder`.
inline int temporaryFiles(const std::filesystem::path& folder, std::string_view key) {
  std::string prefix = platform::FileStore::temporaryPrefix(key);
  int count = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (entry.path().filename().string().starts_with(prefix)) ++count;
  }
  return count;
}

// A state of the settings that differs from its neighbours' in every field.
inline Settings numberedState(int k) {
  Settings s;
  s.musicLevel = k % 2 ? 0.25 : 0.75;
  s.effectsLevel = k % 2 ? 1.0 : 0.0;
  s.difficulty = static_cast<uint8_t>(k % 4);
  s.fullScreen = k % 2;
  s.scoring = !s.fullScreen;
  s.tipsSeen = static_cast<uint32_t>(k);
  s.game.puzzleIndex = static_cast<uint16_t>(k);
  s.game.score = static_cast<uint16_t>(k * 7);
  s.game.moves = static_cast<uint16_t>(k * 3);
  s.game.board = std::string(kBoardCodeLength, static_cast<char>('A' + k % 25));
  s.game.board[k % kBoardCodeLength] = 'Z';
  s.hsScores = {static_cast<uint16_t>(k), 100, 200, static_cast<uint16_t>(60000 + k % 1000)};
  s.hsNames = {std::string("P").append(std::to_string(k % 10000000)), "Opal", "Zinc", "Tin"};
  return s;
}

inline bool sameTable(const Settings& a, const Settings& b) {
  return a.hsScores == b.hsScores && a.hsNames == b.hsNames;
}
