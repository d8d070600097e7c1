#include "app/entry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <new>

#include "res/resource_archive.h"
#include "support/headless_fixture.h"

using platform::MessageKind;

class EntryTest : public HeadlessTest {};

// An archive of no members: its count of two zero bytes.
bool writeEmptyArchive(const std::filesystem::path& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  std::fputc(0, f);
  std::fputc(0, f);
  return std::fclose(f) == 0;
}

TEST_F(EntryTest, PlainTextFailureIsShownAndEndsWithOne) {
  int result = entry("", [](const std::string&) -> int { throw "Out of tiles"; });
  EXPECT_EQ(result, 1);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Out of tiles");
  EXPECT_EQ(backend.boxes[0].caption, "Gyromania");
}

TEST_F(EntryTest, AnyOtherFailureIsUnrecoverable) {
  int result = entry("", [](const std::string&) -> int { throw std::bad_alloc(); });
  EXPECT_EQ(result, 1);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Sorry, an unrecoverable error has occurred.");
  EXPECT_EQ(backend.boxes[0].caption, "Gyromania");
}

TEST_F(EntryTest, NormalEndReturnsTheBodyResult) {
  EXPECT_EQ(entry("", [](const std::string&) { return 7; }), 7);
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(EntryTest, MissingArchiveIsReportedWithoutAWindow) {
  ResourceArchive missing("/nonexistent/gyrotide.zap");
  ScopedResourceArchive use(missing);
  EXPECT_EQ(entry(""), 0);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Gyromania can't find the resource file 'gyrotide.zap'!");
  EXPECT_EQ(backend.boxes[0].caption, "Gyromania");
  EXPECT_EQ(backend.windowsOpened, 0);
}

TEST_F(EntryTest, AFolderNamedLikeTheArchiveIsReportedAsMissing) {
  auto folder = std::filesystem::temp_directory_path() / "entry_test_folder" / "gyrotide.zap";
  std::filesystem::create_directories(folder);
  ResourceArchive archive(folder.c_str());
  ScopedResourceArchive use(archive);
  // Should a game start after all, its window is closed at once so the test still ends.
  backend.onWait = [&](uint32_t timeout) {
    backend.now += timeout;
    backend.send(MessageKind::Close);
  };
  EXPECT_EQ(entry(""), 0);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Gyromania can't find the resource file 'gyrotide.zap'!");
  EXPECT_EQ(backend.windowsOpened, 0);
  std::filesystem::remove_all(folder.parent_path());
}

// The game's last words for a lost display are heard only while its loop runs: afterwards,
// and after a failure out of the loop too, they would reach a screen that is gone.
TEST_F(EntryTest, TheDisplayLostHookGoesWithTheRunLoopOnEveryWayOut) {
  auto path = std::filesystem::temp_directory_path() / "entry_test_hook_gyrotide.zap";
  ASSERT_TRUE(writeEmptyArchive(path));
  ResourceArchive archive(path.c_str());
  ScopedResourceArchive use(archive);
  for (const bool failing : {false, true}) {
    SCOPED_TRACE(failing ? "a failure escapes the loop" : "the window closes");
    bool heardWhileRunning = false;
    backend.onWait = [&](uint32_t timeout) {
      backend.now += timeout;
      heardWhileRunning = backend.hearsDisplayLost();
      if (failing) throw std::bad_alloc();
      backend.send(MessageKind::Close);
    };
    EXPECT_EQ(entry(""), failing ? 1 : 0);
    EXPECT_TRUE(heardWhileRunning);
    EXPECT_FALSE(backend.hearsDisplayLost());
  }
  std::filesystem::remove(path);
}

TEST_F(EntryTest, WithTheArchiveTheGameRunsUntilItsWindowCloses) {
  auto path = std::filesystem::temp_directory_path() / "entry_test_gyrotide.zap";
  ASSERT_TRUE(writeEmptyArchive(path));
  ResourceArchive archive(path.c_str());
  ScopedResourceArchive use(archive);
  backend.onWait = [&](uint32_t timeout) {
    backend.now += timeout;
    if (backend.waits.size() == 3) backend.send(MessageKind::Close);
  };
  EXPECT_EQ(entry(""), 0);
  EXPECT_EQ(backend.windowsOpened, 1);
  EXPECT_EQ(backend.caption(backend.firstWindow()), "");  // gone
  EXPECT_TRUE(backend.boxes.empty());
  EXPECT_EQ(currentScreen, nullptr);
  ASSERT_EQ(backend.lastFrame.size(), 640u * 480 * 3);
  std::filesystem::remove(path);
}
