// Crash safety of the file store, as a program of its own (a small process forks far faster
// than the test binary). Round after round it starts saving a new state in a child process,
// kills the child with SIGKILL at a random moment of the save, and checks that each file of the
// store reads as exactly the old state or exactly the new one, and that temporary files do not
// pile up.
//   store_crash_test [rounds]     (1000 by default)
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "platform/store.h"
#include "platform/store_support.h"
#include "store/settings.h"

namespace {

using platform::FileStore;
using Clock = std::chrono::steady_clock;

// The user's part of the state: everything but the high-score table.
Settings userPart(Settings s) {
  s.hsScores = {};
  s.hsNames = {};
  return s;
}

// Forks a child that says when it is about to save, saves `state` and ends.
pid_t startSave(const platform::StoreFolders& folders, const Settings& state) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  pid_t child = fork();
  if (child == 0) {
    close(ready[0]);
    FileStore store(folders);
    char go = 1;
    if (write(ready[1], &go, 1) != 1) _exit(2);
    _exit(saveSettings(store, state) ? 0 : 1);
  }
  close(ready[1]);
  char go = 0;
  while (child > 0 && read(ready[0], &go, 1) < 0 && errno == EINTR) {
  }
  close(ready[0]);
  return child;
}

void waitFor(pid_t child) {
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

// How long one save takes in this process: the median of a few.
Clock::duration saveDuration(const platform::StoreFolders& folders, const Settings& state) {
  FileStore store(folders);
  std::vector<Clock::duration> times;
  for (int i = 0; i < 21; ++i) {
    Clock::time_point start = Clock::now();
    saveSettings(store, state);
    times.push_back(Clock::now() - start);
  }
  std::nth_element(times.begin(), times.begin() + 10, times.end());
  return times[10];
}

bool fail(int round, const char* what) {
  std::fprintf(stderr, "round %d: %s\n", round, what);
  return false;
}

bool run(int rounds) {
  TempStoreFolders temp(true);
  if (temp.dir.path().empty()) return fail(0, "no temporary folder");
  Settings current = numberedState(0);
  Clock::duration save = saveDuration(temp.folders, current);
  // Kills land anywhere in the save, and now and then just after it.
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int64_t> delay(0, save.count() * 5 / 4);

  int sawNewUser = 0;
  int sawNewTable = 0;
  for (int k = 1; k <= rounds; ++k) {
    Settings next = numberedState(k);
    pid_t child = startSave(temp.folders, next);
    if (child < 0) return fail(k, "cannot start a child");
    Clock::time_point killAt = Clock::now() + Clock::duration(delay(random));
    while (Clock::now() < killAt) {
    }
    kill(child, SIGKILL);
    waitFor(child);

    FileStore store(temp.folders);
    Settings read;
    if (!loadSettings(store, read)) return fail(k, "the saved game was lost");
    // The two scopes are two files; each is whole, old or new, on its own.
    bool userNew = userPart(read) == userPart(next);
    if (!userNew && userPart(read) != userPart(current)) return fail(k, "per-user values damaged");
    bool tableNew = sameTable(read, next);
    if (!tableNew && !sameTable(read, current)) return fail(k, "high-score table damaged");
    sawNewUser += userNew;
    sawNewTable += tableNew;
    current = read;
    // At most the killed save's own temporary file is left: each save clears the last one's.
    if (temporaryFiles(temp.folders.user, kSettingsKey) > 1 ||
        temporaryFiles(temp.folders.machine, kSettingsKey) > 1) {
      return fail(k, "temporary files pile up");
    }
  }
  FileStore store(temp.folders);
  if (!saveSettings(store, numberedState(0)) ||
      temporaryFiles(temp.folders.user, kSettingsKey) != 0 ||
      temporaryFiles(temp.folders.machine, kSettingsKey) != 0) {
    return fail(rounds, "a finished save left temporary files");
  }
  std::printf(
      "%d rounds (a save takes %lld us): new per-user values %d times, new table %d times\n",
      rounds,
      static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(save).count()),
      sawNewUser, sawNewTable);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::atoi(argv[1]) : 1000;
  if (rounds <= 0) {
    std::fprintf(stderr, "usage: store_crash_test [rounds]\n");
    return 2;
  }
  return run(rounds) ? 0 : 1;
}
