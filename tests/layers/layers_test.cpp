// Dependencies run one way. Every #include of the game's own headers under src/ and tools/ is
// checked against the table in src/layers.txt, the same table the build links the folder
// libraries by.
// GCC 12 with the sanitizers warns wrongly inside the standard <regex> (a std::function
// member "may be used uninitialized"); the warning is about library code, not this test.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSource = GYROTIDE_SOURCE_DIR;

using Table = std::map<std::string, std::vector<std::string>>;

Table readTable(std::istream& in) {
  Table table;
  std::string row;
  while (std::getline(in, row)) {
    if (row.empty() || row[0] == '#') continue;
    const size_t colon = row.find(':');
    if (colon == std::string::npos) continue;
    std::vector<std::string>& uses = table[row.substr(0, colon)];
    std::istringstream words(row.substr(colon + 1));
    for (std::string word; words >> word;) uses.push_back(word);
  }
  return table;
}

// Everything a folder may use: what it names, and all that those may use.
std::set<std::string> reachable(const Table& table, const std::string& from) {
  std::set<std::string> seen;
  std::vector<std::string> todo{from};
  while (!todo.empty()) {
    const std::string folder = todo.back();
    todo.pop_back();
    const auto row = table.find(folder);
    if (row == table.end()) continue;
    for (const std::string& next : row->second) {
      if (seen.insert(next).second) todo.push_back(next);
    }
  }
  return seen;
}

// The table's folder an included or including path belongs to: the longest row that is a
// prefix of it ("platform/sdl" before "platform"), or "" for paths the table does not cover
// (standard and library headers, a tool's own files).
std::string folderOf(const Table& table, const std::string& path) {
  std::string best;
  for (const auto& [folder, uses] : table) {
    if (path.rfind(folder + "/", 0) == 0 && folder.size() > best.size()) best = folder;
  }
  return best;
}

// The layer of a file: by its folder under src/, "main" for src/main.cpp, "tools" for tools/.
std::string layerOfFile(const Table& table, const fs::path& relative) {
  const std::string path = relative.generic_string();
  if (path.rfind("tools/", 0) == 0) return "tools";
  if (path == "src/main.cpp") return "main";
  return folderOf(table, path.substr(4));
}

// Every problem as one line: "src/ui/button.cpp includes app/screen.h: ui may not depend on app".
std::vector<std::string> violations(const Table& table, const fs::path& root) {
  static const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  std::vector<std::string> found;
  for (const char* top : {"src", "tools"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
      const std::string ext = entry.path().extension().string();
      if (ext != ".cpp" && ext != ".h") continue;
      const fs::path relative = fs::relative(entry.path(), root);
      const std::string from = layerOfFile(table, relative);
      if (from.empty()) continue;
      const std::set<std::string> allowed = reachable(table, from);
      std::ifstream in(entry.path());
      std::smatch m;
      for (std::string text; std::getline(in, text);) {
        if (!std::regex_search(text, m, include)) continue;
        const std::string to = folderOf(table, m[1].str());
        if (to.empty() || to == from || allowed.count(to) != 0) continue;
        found.push_back(relative.generic_string() + " includes " + m[1].str() + ": " + from +
                        " may not depend on " + to);
      }
    }
  }
  return found;
}

Table projectTable() {
  std::ifstream in(kSource / "src/layers.txt");
  return readTable(in);
}

TEST(Layers, EveryIncludeRunsDownTheTable) {
  const Table table = projectTable();
  ASSERT_TRUE(table.count("platform") && table.count("app")) << "src/layers.txt not read";
  for (const std::string& problem : violations(table, kSource)) ADD_FAILURE() << problem;
}

TEST(Layers, EverySourceFolderHasARow) {
  const Table table = projectTable();
  for (const auto& entry : fs::directory_iterator(kSource / "src")) {
    if (entry.is_directory()) {
      EXPECT_TRUE(table.count(entry.path().filename().string()))
          << entry.path().filename() << " has no row in src/layers.txt";
    }
  }
}

// The checker itself, on a made-up tree: an upward and a sideways include are named, a
// downward one two layers deep and a library header pass.
TEST(Layers, NamesUpwardAndSidewaysIncludes) {
  const fs::path root = fs::temp_directory_path() / ("layers_test_" + std::to_string(::getpid()));
  fs::create_directories(root / "src/ui");
  fs::create_directories(root / "src/gfx");
  fs::create_directories(root / "tools/zap");
  std::ofstream(root / "src/ui/button.cpp")
      << "#include \"ui/button.h\"\n#include \"app/screen.h\"\n#include \"core/rect.h\"\n"
         "#include <vector>\n";
  std::ofstream(root / "src/gfx/image.h") << "  #  include \"audio/sound.h\"\n";
  std::ofstream(root / "tools/zap/zap.cpp") << "#include \"res/archive.h\"\n#include \"own.h\"\n";
  std::istringstream rows(
      "# comment\ncore:\nres: core\ngfx: res\naudio: res\nui: gfx audio\napp: ui\ntools: gfx\n");
  const Table table = readTable(rows);
  std::vector<std::string> found = violations(table, root);
  std::sort(found.begin(), found.end());
  fs::remove_all(root);
  EXPECT_EQ(found, (std::vector<std::string>{
                       "src/gfx/image.h includes audio/sound.h: gfx may not depend on audio",
                       "src/ui/button.cpp includes app/screen.h: ui may not depend on app",
                   }));
}

}  // namespace
