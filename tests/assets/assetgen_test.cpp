// The picture generator, run as the build runs it.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "res/test_files.h"

namespace {

namespace fs = std::filesystem;

// Runs the generator with the output folder, the manifest and any further arguments.
int runAssetgen(const fs::path& folder, const fs::path& manifest,
                const std::vector<std::string>& more = {}) {
  std::vector<std::string> words = {GYROTIDE_ASSETGEN, folder.string(), manifest.string()};
  words.insert(words.end(), more.begin(), more.end());
  std::string command;
  for (const std::string& word : words) {
    command += "'";
    command += word;
    command += "' ";
  }
  command += "2>/dev/null";
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

// A desktop icon decoded to straight RGBA, four bytes a pixel; empty when it does not decode.
struct Icon {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
  uint8_t alpha(int x, int y) const { return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
};

Icon decodeIcon(const std::string& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Icon icon;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return icon;
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return icon;
  icon = {static_cast<int>(image.width), static_cast<int>(image.height), std::move(pixels)};
  return icon;
}

// The sizes the desktop's icon theme is given, each in its own folder.
const int kIconSizes[] = {16, 32, 48, 64, 128, 256};

fs::path iconPath(const fs::path& folder, int size) {
  std::string name = std::to_string(size) + "x" + std::to_string(size);
  return folder / "hicolor" / name / "apps" / "gyrotide.png";
}

// The desktop icons come out the same on every run, are what the build installs, and are true
// alpha pictures: rounded corners see through, the middle of the tile does not.
TEST(Assetgen, DrawsTheDesktopIconsAtEverySize) {
  TempDir first, second;
  for (const TempDir* dir : {&first, &second}) {
    ASSERT_EQ(runAssetgen(*dir / "out", *dir / "list",
                          {(*dir / "icons").string(), "16", "32", "48", "64", "128", "256"}),
              0);
  }
  // The icons stay out of the archive's folder and manifest.
  EXPECT_EQ(readFile(first / "list"), readFile(second / "list"));
  EXPECT_FALSE(fs::exists(first / "out" / "hicolor"));

  for (int size : kIconSizes) {
    SCOPED_TRACE(size);
    std::string bytes = readFile(iconPath(first / "icons", size));
    EXPECT_EQ(bytes, readFile(iconPath(second / "icons", size)));
    EXPECT_EQ(bytes, readFile(iconPath(fs::path(GYROTIDE_BINARY_DIR) / "icons", size)));
    Icon icon = decodeIcon(bytes);
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    EXPECT_EQ(icon.alpha(0, 0), 0);
    EXPECT_EQ(icon.alpha(size - 1, size - 1), 0);
    EXPECT_EQ(icon.alpha(size / 2, size / 2), 255);
    EXPECT_EQ(icon.alpha(size / 4, size / 2), 255);
  }
  size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(first / "icons")) {
    files += entry.is_regular_file();
  }
  EXPECT_EQ(files, std::size(kIconSizes));
}

TEST(Assetgen, RefusesIconSizesItCannotDraw) {
  TempDir dir;
  std::string icons = (dir / "icons").string();
  EXPECT_NE(runAssetgen(dir / "out", dir / "list", {icons}), 0);  // a folder without sizes
  EXPECT_NE(runAssetgen(dir / "out", dir / "list", {icons, "0"}), 0);
  EXPECT_NE(runAssetgen(dir / "out", dir / "list", {icons, "32px"}), 0);
  EXPECT_NE(runAssetgen(dir / "out", dir / "list", {icons, "16", "4096"}), 0);
  EXPECT_FALSE(fs::exists(dir / "icons"));
}

TEST(Assetgen, RefusesAMissingArgument) {
  std::string command = std::string("'") + GYROTIDE_ASSETGEN + "' 2>/dev/null";
  int status = std::system(command.c_str());
  EXPECT_NE(status, 0);
}

}  // namespace
