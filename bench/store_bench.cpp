// What a save on the way out costs: the whole settings written through the file store (each
// file to a temporary, flushed to disk, renamed over the old one, the folder flushed), against
// the same bytes written in place without any of that, and the load at start.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "platform/store.h"
#include "store/settings.h"

namespace {

struct TempFolders {
  std::filesystem::path root;
  TempFolders() {
    root = std::filesystem::temp_directory_path() / "gyrotide_store_bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
  }
  ~TempFolders() { std::filesystem::remove_all(root); }
  platform::StoreFolders folders() const {
    return {root / "user", root / "machine", root / "data"};
  }
};

Settings aGameInProgress() {
  Settings settings;
  settings.game = SavedGame{12, 3, 4321, 40, 60, 17, std::string(kBoardCodeLength, 'B')};
  return settings;
}

void BM_save_settings(benchmark::State& state) {
  TempFolders temp;
  platform::FileStore store(temp.folders());
  const Settings settings = aGameInProgress();
  for (auto _ : state) benchmark::DoNotOptimize(saveSettings(store, settings));
}

// The baseline: the two files' bytes as the store wrote them, written over in place.
void BM_write_same_bytes_in_place(benchmark::State& state) {
  TempFolders temp;
  {
    platform::FileStore store(temp.folders());
    saveSettings(store, aGameInProgress());
  }
  std::vector<std::pair<std::filesystem::path, std::string>> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(temp.root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files.emplace_back(entry.path(), std::string(std::istreambuf_iterator<char>(in), {}));
  }
  for (auto _ : state) {
    for (const auto& [path, bytes] : files) {
      std::ofstream out(path, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
  }
}

void BM_load_settings(benchmark::State& state) {
  TempFolders temp;
  platform::FileStore store(temp.folders());
  saveSettings(store, aGameInProgress());
  for (auto _ : state) {
    Settings settings;
    benchmark::DoNotOptimize(loadSettings(store, settings));
  }
}

}  // namespace

BENCHMARK(BM_save_settings)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_write_same_bytes_in_place)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_load_settings)->Unit(benchmark::kMicrosecond);
