// The picture generator, run as the build runs it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "res/test_files.h"

namespace {

namespace fs = std::filesystem;

int runAssetgen(const fs::path& folder, const fs::path& manifest) {
  std::string command = std::string("'") + GYROTIDE_ASSETGEN + "' '" + folder.string() + "' '" +
                        manifest.string() + "'";
  return std::system(command.c_str());
}

std::vector<std::string> manifestNames(const fs::path& manifest) {
  std::vector<std::string> names;
  std::istringstream lines(readFile(manifest));
  for (std::string line; std::getline(lines, line);) names.push_back(line);
  return names;
}

// Two runs into fresh folders write the same files, byte for byte, and list exactly what they
// wrote; the archive the build packed holds those same files.
TEST(Assetgen, WritesTheSameBytesOnEveryRun) {
  TempDir first, second;
  ASSERT_EQ(runAssetgen(first / "out", first / "list"), 0);
  ASSERT_EQ(runAssetgen(second / "out", second / "list"), 0);
  EXPECT_EQ(readFile(first / "list"), readFile(second / "list"));
  std::vector<std::string> names = manifestNames(first / "list");
  ASSERT_FALSE(names.empty());
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));

  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(first / "out")) {
    ++files;
    std::string name = entry.path().filename();
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name << " unlisted";
  }
  EXPECT_EQ(files, names.size());

  ResourceArchive built((std::string(GYROTIDE_BINARY_DIR) + "/gyrotide.zap").c_str());
  for (const std::string& name : names) {
    std::string bytes = readFile(first / "out" / name);
    EXPECT_EQ(bytes, readFile(second / "out" / name)) << name << " differs between runs";
    ResourceStream member = built.openMember(name);
    EXPECT_EQ(readAll(member), bytes) << name << " in the archive is not what assetgen writes";
  }
}

TEST(Assetgen, RefusesAMissingArgument) {
  std::string command = std::string("'") + GYROTIDE_ASSETGEN + "' 2>/dev/null";
  int status = std::system(command.c_str());
  EXPECT_NE(status, 0);
}

}  // namespace
