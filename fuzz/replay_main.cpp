// Runs a fuzz target over saved inputs without libFuzzer, so every build replays the seed
// corpus and any crash reproducers with the normal compiler. Arguments are files or folders
// (every regular file inside, in name order).
#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// The target's libFuzzer memory limit in MB, if it has one; 0 for none.
#ifndef GYROTIDE_FUZZ_RSS_LIMIT_MB
#define GYROTIDE_FUZZ_RSS_LIMIT_MB 0
#endif

namespace {

namespace fs = std::filesystem;

// An input that takes the process above the memory limit is a finding here as it is for
// libFuzzer. The peak only grows, so the first input past the limit is the one named.
bool withinMemoryLimit(const fs::path& file) {
  constexpr long kLimitMb = GYROTIDE_FUZZ_RSS_LIMIT_MB;
  if (kLimitMb == 0) return true;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const long peakMb = usage.ru_maxrss / 1024;
  if (peakMb <= kLimitMb) return true;
  std::fprintf(stderr, "%s: the process reached %ld MB, above the limit of %ld MB\n", file.c_str(),
               peakMb, kLimitMb);
  return false;
}

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
      if (!withinMemoryLimit(file)) return 1;
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  // No input at all means a mistyped or missing corpus, which must not pass silently.
  return replayed > 0 ? 0 : 1;
}
