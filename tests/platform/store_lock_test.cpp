// Two players saving the shared table at the same time. (Saves killed half way are tried by
// store_crash_main.cpp, a program of its own.)
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/store.h"
#include "platform/store_support.h"
#include "store/settings.h"

namespace {

using platform::FileStore;

TEST(StoreLock, TwoPlayersSavingTheSharedTableAtOnceLeaveOneWhole) {
  TempStoreFolders temp(true);
  Settings first = numberedState(1);
  Settings second = numberedState(2);
  Settings initial = numberedState(3);
  {
    FileStore store(temp.folders);
    ASSERT_TRUE(saveSettings(store, initial));
  }
  // Both children wait for the pipe to close, so that their saves overlap from the start.
  int start[2];
  ASSERT_EQ(pipe(start), 0);
  auto saver = [&](const Settings& state) {
    pid_t child = fork();
    if (child == 0) {
      close(start[1]);
      char byte;
      while (read(start[0], &byte, 1) < 0 && errno == EINTR) {
      }
      FileStore store(temp.folders);
      int failures = 0;
      for (int i = 0; i < 100; ++i) failures += !saveSettings(store, state);
      _exit(failures > 100 ? 100 : failures);
    }
    return child;
  };
  pid_t a = saver(first);
  pid_t b = saver(second);
  close(start[0]);
  close(start[1]);

  // While they run, every read finds one of the three tables, whole.
  auto tableIs = sameTable;
  int reads = 0;
  int running = 2;
  int statusA = -1;
  int statusB = -1;
  while (running > 0) {
    FileStore store(temp.folders);
    Settings read;
    read.hsNames[0] = "unset";
    loadSettings(store, read);
    ASSERT_TRUE(tableIs(read, initial) || tableIs(read, first) || tableIs(read, second));
    ++reads;
    if (statusA < 0 && waitpid(a, &statusA, WNOHANG) == a) --running;
    if (statusB < 0 && waitpid(b, &statusB, WNOHANG) == b) --running;
  }
  // Every save of both succeeded: neither removed the other's file in flight.
  EXPECT_TRUE(WIFEXITED(statusA) && WEXITSTATUS(statusA) == 0) << statusA;
  EXPECT_TRUE(WIFEXITED(statusB) && WEXITSTATUS(statusB) == 0) << statusB;

  FileStore store(temp.folders);
  Settings read;
  loadSettings(store, read);
  EXPECT_TRUE(tableIs(read, first) || tableIs(read, second));
  EXPECT_EQ(temporaryFiles(temp.folders.machine, kSettingsKey), 0);
  EXPECT_EQ(temporaryFiles(temp.folders.user, kSettingsKey), 0);
  EXPECT_GT(reads, 0);
}

}  // namespace
