// Builds the game's puzzle file from the layout pictures in assets/puzzles: one source per
// difficulty, each layout encoded with the game's own board code. The output is the same, byte
// for byte, on every run. A layout that could never be dealt and scrambled to an end stops the
// build with a message naming it.
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "game/board_code.h"
#include "game/puzzle_file.h"
#include "layout_source.h"

namespace {

namespace fs = std::filesystem;

// Section headers, in difficulty order; the game reads only the letter after "[".
constexpr std::array<const char*, kDifficultyCount> kSectionWords = {"Easy", "Medium", "Difficult",
                                                                     "Crazy"};

bool readText(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes through a temporary file renamed over the target, so a failed run leaves no half file.
bool writeText(const fs::path& path, const std::string& text) {
  const fs::path temporary = path.string() + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!(out << text) || !out.flush()) return false;
  }
  std::error_code error;
  fs::rename(temporary, path, error);
  return !error;
}

// Every puzzle line of one section, checked. Faults go to errors.
std::string sectionText(uint8_t difficulty, const std::vector<LayoutSource>& layouts,
                        std::set<std::string>& names, std::vector<std::string>& errors) {
  std::string text = std::string("[") + kSectionWords[difficulty] + "]\n";
  for (const LayoutSource& layout : layouts) {
    if (!names.insert(layout.name).second) {
      errors.push_back(layout.where + ": the name '" + layout.name + "' is used twice");
    }
    if (!layoutCanBeScrambled(layout.tiles)) {
      errors.push_back(layout.where + ": layout '" + layout.name +
                       "' can never be dealt and scrambled: no turning tile with a neighbour "
                       "can come out with lines other than none or all four");
    }
    text += layout.name + "=" + encodeBoard(layout.tiles) + "\n";
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 + kDifficultyCount) {
    std::fputs("usage: puzzlegen OUTPUT-FOLDER MANIFEST EASY MEDIUM HARD CRAZY\n", stderr);
    return 2;
  }
  const fs::path folder = argv[1];
  std::vector<std::string> errors;
  std::set<std::string> names;
  // Comment lines are shorter than a puzzle line and do not start with "[", so the game skips
  // them; the file holds no empty line, which would end the game's reading.
  std::string file = "; The puzzle layouts, drawn in assets/puzzles and encoded by puzzlegen.\n";
  for (uint8_t difficulty = 0; difficulty < kDifficultyCount; ++difficulty) {
    const std::string source = argv[3 + difficulty];
    std::string text;
    if (!readText(source, text)) {
      errors.push_back(source + ": cannot read");
      continue;
    }
    const std::vector<LayoutSource> layouts = parseLayouts(text, source, errors);
    if (layouts.empty()) errors.push_back(source + ": holds no layout");
    file += sectionText(difficulty, layouts, names, errors);
  }
  for (const std::string& error : errors) std::fprintf(stderr, "puzzlegen: %s\n", error.c_str());
  if (!errors.empty()) return 1;

  std::error_code ignored;
  fs::create_directories(folder, ignored);
  const fs::path output = fs::absolute(folder / kPuzzleFileName);
  if (!writeText(output, file) || !writeText(argv[2], output.string() + "\n")) {
    std::fprintf(stderr, "puzzlegen: cannot write %s or %s\n", output.c_str(), argv[2]);
    return 1;
  }
  return 0;
}
