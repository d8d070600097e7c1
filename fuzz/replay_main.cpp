// Runs a fuzz target over saved inputs without libFuzzer, so every build replays the seed
// corpus and any crash reproducers with the normal compiler. Arguments are files or folders
// (every regular file inside, in name order).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsOf(const fs::path& argument) {
  std::vector<fs::path> files;
  std::error_code ec;
  if (fs::is_directory(argument, ec)) {
    for (const auto& item : fs::directory_iterator(argument, ec)) {
      if (item.is_regular_file()) files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
  } else if (fs::is_regular_file(argument, ec)) {
    files.push_back(argument);
  }
  return files;
}

bool replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
  // A null pointer for an empty input, as libFuzzer may pass.
  LLVMFuzzerTestOneInput(bytes.empty() ? nullptr : bytes.data(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  size_t replayed = 0;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& file : inputsOf(argv[i])) {
      if (!replay(file)) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return 1;
      }
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  // No input at all means a mistyped or missing corpus, which must not pass silently.
  return replayed > 0 ? 0 : 1;
}
