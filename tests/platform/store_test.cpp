// The settings store's file form and the file store on temporary folders.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/store.h"
#include "platform/store_support.h"
#include "store/settings.h"

namespace {

using platform::FileStore;
using platform::StoreScope;
using platform::StoreValue;
using platform::StoreValues;
namespace fs = std::filesystem;

const std::string kKey = "Software\\Zapfinch\\Gyrotide";
const std::string kFileName = "Software.Zapfinch.Gyrotide";

StoreValues sampleValues() {
  return {{"Music", StoreValue::ofNumber(50)},
          {"State", StoreValue::ofText(std::string("a\"b\\c\0\xff\n~", 9))}};
}

const std::string kSampleFile =
    "gyrotide store 1\n"
    "Music number 50\n"
    "State text \"a\\\"b\\\\c\\x00\\xFF\\x0A~\"\n"
    "end\n";

TEST(StoreFile, WrittenForAPersonToRead) {
  EXPECT_EQ(platform::formatStoreFile(sampleValues()), kSampleFile);
  EXPECT_EQ(platform::parseStoreFile(kSampleFile), sampleValues());
  EXPECT_EQ(platform::formatStoreFile({}), "gyrotide store 1\nend\n");
  EXPECT_EQ(platform::parseStoreFile("gyrotide store 1\nend\n"), StoreValues{});
}

TEST(StoreFile, EveryByteOfATextAndEveryNumberKeepsItsValue) {
  std::string everyByte;
  for (int c = 0; c < 256; ++c) everyByte.push_back(static_cast<char>(c));
  StoreValues values = {
      {"A", StoreValue::ofText(everyByte)}, {"B", StoreValue::ofText("")},
      {"C", StoreValue::ofNumber(0)},       {"D", StoreValue::ofNumber(0xFFFFFFFF)},
      {"E", StoreValue::ofText("12")},      {"F", StoreValue::ofNumber(12)}};
  auto text = platform::formatStoreFile(values);
  ASSERT_TRUE(text);
  EXPECT_EQ(platform::parseStoreFile(*text), values);
  // Lower-case hexadecimal is read too.
  EXPECT_EQ(platform::parseStoreFile("gyrotide store 1\nA text \"\\xff\\x0a\"\nend\n"),
            (StoreValues{{"A", StoreValue::ofText("\xff\n")}}));
}

TEST(StoreFile, EveryShorterPieceOfAFileIsAbsent) {
  for (size_t length = 0; length < kSampleFile.size(); ++length) {
    EXPECT_FALSE(platform::parseStoreFile(kSampleFile.substr(0, length))) << length;
  }
}

TEST(StoreFile, DamageReadsAsAbsent) {
  const std::string head = "gyrotide store 1\n";
  const char* damaged[] = {
      "gyrotide store 2\nend\n",
      "gyrotide store 1\r\nend\r\n",
      "gyrotide store 1\nend\n\n",  // anything after the end
      "gyrotide store 1\nend\nMusic number 5\n",
      "gyrotide store 1\nMusic number 5\nMusic number 6\nend\n",  // a name twice
      "gyrotide store 1\nSound number 5\nMusic number 6\nend\n",  // out of order
      "gyrotide store 1\nMusic number 05\nend\n",
      "gyrotide store 1\nMusic number 4294967296\nend\n",
      "gyrotide store 1\nMusic number 99999999999999999999\nend\n",
      "gyrotide store 1\nMusic number -1\nend\n",
      "gyrotide store 1\nMusic number \nend\n",
      "gyrotide store 1\nMusic number 5 \nend\n",
      "gyrotide store 1\nMusic dword 5\nend\n",
      "gyrotide store 1\nMu sic number 5\nend\n",
      "gyrotide store 1\n number 5\nend\n",
      "gyrotide store 1\nState text \"abc\nend\n",
      "gyrotide store 1\nState text \"a\"b\"\nend\n",
      "gyrotide store 1\nState text \"\\q\"\nend\n",
      "gyrotide store 1\nState text \"\\x4\"\nend\n",
      "gyrotide store 1\nState text \"\\xG0\"\nend\n",
      "gyrotide store 1\nState text \"\t\"\nend\n",
      "gyrotide store 1\nState text \"\x80\"\nend\n",
  };
  for (const char* text : damaged) EXPECT_FALSE(platform::parseStoreFile(text)) << text;
  EXPECT_FALSE(platform::parseStoreFile(head + "State text \"a\"\nend\n" + std::string(1, '\0')));
  EXPECT_TRUE(platform::parseStoreFile(head + "State text \"a\"\nend\n"));
}

TEST(StoreFile, LimitsHoldBothWays) {
  std::string longName(platform::kStoreMaxNameLength, 'n');
  EXPECT_TRUE(platform::formatStoreFile({{longName, StoreValue::ofNumber(1)}}));
  EXPECT_FALSE(platform::formatStoreFile({{longName + "n", StoreValue::ofNumber(1)}}));
  EXPECT_FALSE(platform::parseStoreFile("gyrotide store 1\n" + longName + "n number 1\nend\n"));
  EXPECT_FALSE(platform::formatStoreFile({{"", StoreValue::ofNumber(1)}}));
  EXPECT_FALSE(platform::formatStoreFile({{"a b", StoreValue::ofNumber(1)}}));

  // A text that fits only unescaped: each zero byte takes four characters in the file.
  std::string big(platform::kStoreFileMaxBytes / 4, '\0');
  EXPECT_FALSE(platform::formatStoreFile({{"Big", StoreValue::ofText(big)}}));
  std::string oversized = "gyrotide store 1\nBig text \"" +
                          std::string(platform::kStoreFileMaxBytes, 'a') + "\"\nend\n";
  EXPECT_FALSE(platform::parseStoreFile(oversized));

  StoreValues many;
  for (size_t i = 0; i <= platform::kStoreMaxValues; ++i) {
    many[std::string("v").append(std::to_string(1000 + i))] = StoreValue::ofNumber(1);
  }
  EXPECT_FALSE(platform::formatStoreFile(many));
  many.erase(many.begin());
  auto text = platform::formatStoreFile(many);
  ASSERT_TRUE(text);
  EXPECT_EQ(platform::parseStoreFile(*text), many);
  std::string oneMore = text->substr(0, text->size() - 4) + "zz number 1\nend\n";
  EXPECT_FALSE(platform::parseStoreFile(oneMore));
}

class FileStoreTest : public ::testing::Test {
 protected:
  fs::path userFile() const { return temp.folders.user / kFileName; }
  fs::path machineFile() const { return temp.folders.machine / kFileName; }
  fs::path dataFile() const { return temp.folders.userData / kFileName; }

  TempStoreFolders temp;
};

TEST_F(FileStoreTest, KeysNameFilesInTheirScopesFolder) {
  EXPECT_EQ(FileStore::fileFor("/x", kKey), fs::path("/x/Software.Zapfinch.Gyrotide"));
  for (const char* bad : {"", ".hidden", "..", "a/b", "Ren\xC3\xA9", "a b"}) {
    EXPECT_TRUE(FileStore::fileFor("/x", bad).empty()) << bad;
  }
  EXPECT_TRUE(FileStore::fileFor("", kKey).empty());

  FileStore store(temp.folders);
  EXPECT_FALSE(store.write(StoreScope::User, "../escape", sampleValues()));
  EXPECT_FALSE(fs::exists(temp.folders.user.parent_path() / "escape"));
}

TEST_F(FileStoreTest, WritesAndReadsBackEachScope) {
  FileStore store(temp.folders);
  EXPECT_TRUE(store.read(StoreScope::User, kKey).empty());
  ASSERT_TRUE(store.write(StoreScope::User, kKey, sampleValues()));
  ASSERT_TRUE(store.write(StoreScope::Machine, kKey, {{"State", StoreValue::ofText("table")}}));

  EXPECT_EQ(readFile(userFile()), kSampleFile);
  EXPECT_EQ(readFile(machineFile()), "gyrotide store 1\nState text \"table\"\nend\n");
  EXPECT_FALSE(fs::exists(temp.folders.userData));

  FileStore again(temp.folders);
  EXPECT_EQ(again.read(StoreScope::User, kKey), sampleValues());
  EXPECT_EQ(again.read(StoreScope::Machine, kKey),
            (StoreValues{{"State", StoreValue::ofText("table")}}));
  EXPECT_EQ(temporaryFiles(temp.folders.user, kKey), 0);
  // Everyone reads the shared table; mkostemp alone would have left it private.
  struct stat info;
  ASSERT_EQ(stat(machineFile().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0644u);
}

TEST_F(FileStoreTest, AWriteKeepsTheKeysOtherValues) {
  FileStore store(temp.folders);
  ASSERT_TRUE(store.write(StoreScope::User, kKey, sampleValues()));
  ASSERT_TRUE(store.write(
      StoreScope::User, kKey,
      {{"Music", StoreValue::ofText("now a text")}, {"Sound", StoreValue::ofNumber(7)}}));
  StoreValues expected = sampleValues();
  expected["Music"] = StoreValue::ofText("now a text");
  expected["Sound"] = StoreValue::ofNumber(7);
  EXPECT_EQ(store.read(StoreScope::User, kKey), expected);
}

TEST_F(FileStoreTest, AnUnwritableValueWritesNothing) {
  FileStore store(temp.folders);
  ASSERT_TRUE(store.write(StoreScope::User, kKey, sampleValues()));
  EXPECT_FALSE(
      store.write(StoreScope::User, kKey,
                  {{"Music", StoreValue::ofNumber(1)}, {"bad name", StoreValue::ofNumber(2)}}));
  EXPECT_EQ(store.read(StoreScope::User, kKey), sampleValues());
  EXPECT_EQ(temporaryFiles(temp.folders.user, kKey), 0);
}

TEST_F(FileStoreTest, ADamagedFileKeepsWhatItCanAndIsMendedByTheNextWrite) {
  FileStore store(temp.folders);
  ASSERT_TRUE(store.write(StoreScope::User, kKey, sampleValues()));
  writeFile(userFile(), kSampleFile.substr(0, kSampleFile.size() - 8));  // cut in the last value
  const StoreValues music = {{"Music", StoreValue::ofNumber(50)}};
  EXPECT_EQ(store.read(StoreScope::User, kKey), music);

  ASSERT_TRUE(store.write(StoreScope::User, kKey, {{"Sound", StoreValue::ofNumber(3)}}));
  EXPECT_EQ(readFile(userFile()), "gyrotide store 1\nMusic number 50\nSound number 3\nend\n");
}

// One damaged line costs its own value and no other.
TEST_F(FileStoreTest, ADamagedLineLosesOnlyItsValue) {
  const std::string head = "gyrotide store 1\nDifficulty number 2\n";
  const std::string tail = "Sound number 7\nend\n";
  const StoreValues kept = {{"Difficulty", StoreValue::ofNumber(2)},
                            {"Sound", StoreValue::ofNumber(7)}};
  const char* damagedLines[] = {
      "Music number 50\r\n",      // a line end from another system
      "Music number 050\n",       // a leading zero
      "Music number 50 \n",       // a stray space
      "Music  number 50\n",       //
      "Difficulty number 3\n",    // the same name again
      "Anger number 1\n",         // out of order
      "Music text \"unclosed\n",  //
      "\n",                       // an empty line
  };
  FileStore store(temp.folders);
  fs::create_directories(temp.folders.user);
  for (const char* line : damagedLines) {
    writeFile(userFile(), head + line + tail);
    EXPECT_EQ(store.read(StoreScope::User, kKey), kept) << line;
  }
  writeFile(userFile(), head + tail + "Zebra number 1\nend\n\x01\x02");  // bytes after the end
  EXPECT_EQ(store.read(StoreScope::User, kKey), kept);
  writeFile(userFile(), "gyrotide store 2\nDifficulty number 2\nend\n");
  EXPECT_TRUE(store.read(StoreScope::User, kKey).empty()) << "another version's file";
}

// A damaged line of the settings file costs neither the game in progress nor the options.
TEST_F(FileStoreTest, ADamagedSettingLeavesTheGameAndTheOtherOptions) {
  Settings saved;
  saved.difficulty = 3;
  saved.musicLevel = 0.25;
  saved.game.board = std::string(kBoardCodeLength, 'D');
  saved.game.score = 4321;
  {
    FileStore store(temp.folders);
    ASSERT_TRUE(saveSettings(store, saved));
  }
  const std::string text = readFile(userFile());
  const std::string_view line = "Music number 25\n";
  const size_t music = text.find(line);
  ASSERT_NE(music, std::string::npos);
  writeFile(userFile(),
            text.substr(0, music) + "Music number 25\r\n" + text.substr(music + line.size()));
  FileStore store(temp.folders);
  Settings restored;
  ASSERT_TRUE(loadSettings(store, restored));
  EXPECT_EQ(restored.game, saved.game);
  EXPECT_EQ(restored.difficulty, 3);
  EXPECT_EQ(restored.musicLevel, 0.5) << "the damaged value has its default";
}

TEST_F(FileStoreTest, OversizedAndOddFilesReadAsAbsent) {
  FileStore store(temp.folders);
  fs::create_directories(temp.folders.user);
  // Well formed but one byte over the limit.
  std::string head = "gyrotide store 1\nA text \"";
  std::string tail = "\"\nend\n";
  writeFile(
      userFile(),
      head + std::string(platform::kStoreFileMaxBytes - head.size() - tail.size() + 1, 'a') + tail);
  EXPECT_TRUE(store.read(StoreScope::User, kKey).empty());
  writeFile(
      userFile(),
      head + std::string(platform::kStoreFileMaxBytes - head.size() - tail.size(), 'a') + tail);
  EXPECT_EQ(store.read(StoreScope::User, kKey).size(), 1u);

  // A folder where the file should be: absent, and a write cannot replace it.
  fs::remove(userFile());
  fs::create_directory(userFile());
  EXPECT_TRUE(store.read(StoreScope::User, kKey).empty());
  EXPECT_FALSE(store.write(StoreScope::User, kKey, sampleValues()));
  EXPECT_EQ(temporaryFiles(temp.folders.user, kKey), 0);

  // A pipe with no writer would block an ordinary open for ever.
  fs::remove(userFile());
  ASSERT_EQ(mkfifo(userFile().c_str(), 0600), 0);
  EXPECT_TRUE(store.read(StoreScope::User, kKey).empty());
  fs::remove(userFile());

  if (geteuid() != 0) {
    writeFile(userFile(), kSampleFile);
    fs::permissions(userFile(), fs::perms::none);
    EXPECT_TRUE(store.read(StoreScope::User, kKey).empty());
  }
}

TEST_F(FileStoreTest, LeftoversOfAnInterruptedWriteGoAtTheNextWrite) {
  FileStore store(temp.folders);
  ASSERT_TRUE(store.write(StoreScope::Machine, kKey, sampleValues()));
  std::string prefix = FileStore::temporaryPrefix(kKey);
  writeFile(temp.folders.machine / (prefix + "a1B2c3"), "gyrotide store 1\n");
  writeFile(temp.folders.machine / (prefix + "zzzzzz"), "");
  writeFile(temp.folders.machine / "Other.Key.tmp-a1B2c3", "");
  EXPECT_EQ(temporaryFiles(temp.folders.machine, kKey), 2);
  // Reading never touches them.
  EXPECT_EQ(store.read(StoreScope::Machine, kKey), sampleValues());
  EXPECT_EQ(temporaryFiles(temp.folders.machine, kKey), 2);

  ASSERT_TRUE(store.write(StoreScope::Machine, kKey, sampleValues()));
  EXPECT_EQ(temporaryFiles(temp.folders.machine, kKey), 0);
  EXPECT_TRUE(fs::exists(temp.folders.machine / "Other.Key.tmp-a1B2c3"));
}

TEST_F(FileStoreTest, FolderWritable) {
  EXPECT_FALSE(platform::folderWritable(""));
  EXPECT_TRUE(platform::folderWritable(temp.dir.path()));
  EXPECT_TRUE(platform::folderWritable(temp.dir / "a" / "b" / "c"));  // can be made
  writeFile(temp.dir / "file", "");
  EXPECT_FALSE(platform::folderWritable(temp.dir / "file"));
  EXPECT_FALSE(platform::folderWritable(temp.dir / "file" / "below"));
  if (geteuid() != 0) {
    fs::create_directory(temp.dir / "locked");
    fs::permissions(temp.dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(platform::folderWritable(temp.dir / "locked"));
    EXPECT_FALSE(platform::folderWritable(temp.dir / "locked" / "below"));
    fs::permissions(temp.dir / "locked", fs::perms::owner_all);
  }
}

TEST_F(FileStoreTest, AnUnwritableMachineFolderKeepsTheTableWithThePlayer) {
  temp.blockMachineFolder();
  FileStore store(temp.folders);
  StoreValues table = {{"State", StoreValue::ofText("own table")}};
  EXPECT_FALSE(store.write(StoreScope::Machine, kKey, table));
  ASSERT_TRUE(store.write(StoreScope::Fallback, kKey, table));
  EXPECT_EQ(readFile(dataFile()), "gyrotide store 1\nState text \"own table\"\nend\n");
  EXPECT_EQ(FileStore(temp.folders).read(StoreScope::Fallback, kKey), table);
  EXPECT_TRUE(store.remove(StoreScope::Fallback, kKey));
  EXPECT_FALSE(fs::exists(dataFile()));
  EXPECT_TRUE(store.remove(StoreScope::Fallback, kKey)) << "gone already";
  // The player's own values are where they always are.
  ASSERT_TRUE(store.write(StoreScope::User, kKey, sampleValues()));
  EXPECT_EQ(FileStore(temp.folders).read(StoreScope::User, kKey), sampleValues());
}

TEST_F(FileStoreTest, AWritableMachineFolderIsReadEvenBesideAnOwnTable) {
  FileStore store(temp.folders);
  ASSERT_TRUE(store.write(StoreScope::Machine, kKey, {{"State", StoreValue::ofText("shared")}}));
  fs::create_directories(temp.folders.userData);
  writeFile(dataFile(), "gyrotide store 1\nState text \"own\"\nend\n");
  EXPECT_EQ(store.read(StoreScope::Machine, kKey),
            (StoreValues{{"State", StoreValue::ofText("shared")}}));
}

// Runs `check` as a player without special rights: in this process, or when the tests run as
// root (who may write anywhere), in a child that has become the user "nobody". The result is
// the number of failed checks.
int asPlayer(const fs::path& shared, const std::function<int()>& check) {
  if (geteuid() != 0) return check();
  // The player must be able to make its own folders in the temporary folder.
  fs::permissions(shared, fs::perms::all);
  pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
    _exit(check());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

// The installed layout: a machine folder the player may read but not write, holding the table.
TEST_F(FileStoreTest, AReadOnlyMachineFolderIsReadUntilThePlayerHasOwnTable) {
  Settings shared;
  shared.hsScores = {5, 6, 7, 8};
  shared.hsNames = {"Sal", "Sam", "Sid", "Sue"};
  ASSERT_TRUE(FileStore(temp.folders)
                  .write(StoreScope::Machine, kKey,
                         {{"State", StoreValue::ofText(
                                        encodeHighScoreText(shared.hsScores, shared.hsNames))}}));
  if (geteuid() != 0)
    fs::permissions(temp.folders.machine, fs::perms::owner_read | fs::perms::owner_exec);

  int failed = asPlayer(temp.dir.path(), [&] {
    int failures = 0;
    FileStore store(temp.folders);
    Settings first;
    loadSettings(store, first);
    failures += first.hsNames != shared.hsNames;  // no own table yet: the shared one
    failures += platform::folderWritable(temp.folders.machine);

    Settings saved = first;
    saved.hsScores = {6, 7, 8, 9000};
    saved.hsNames = {"Sam", "Sid", "Sue", "Me"};
    saved.difficulty = 3;
    saved.game.board = std::string(kBoardCodeLength, 'K');
    failures += !saveSettings(store, saved);

    FileStore nextStart(temp.folders);
    Settings next;
    failures += !loadSettings(nextStart, next);
    failures += !(next == saved);
    return failures;
  });
  EXPECT_EQ(failed, 0);
  // The shared table is as it was; the player's own is beside the player's data.
  auto sharedFile = platform::parseStoreFile(readFile(machineFile()));
  ASSERT_TRUE(sharedFile);
  Settings stillShared;
  ASSERT_TRUE(decodeHighScoreText(*platform::findText(*sharedFile, "State"), stillShared.hsScores,
                                  stillShared.hsNames));
  EXPECT_EQ(stillShared.hsNames, shared.hsNames);
  EXPECT_TRUE(fs::exists(dataFile()));
  fs::permissions(temp.folders.machine, fs::perms::owner_all);
}

// A store file the player may not read is never replaced: the player's own values are left as
// they are, and the table goes to the player's fallback.
TEST_F(FileStoreTest, AFileThePlayerCannotReadIsNeverReplaced) {
  Settings before;
  before.difficulty = 2;
  before.hsScores = {5, 6, 7, 8};
  {
    FileStore store(temp.folders);
    ASSERT_TRUE(saveSettings(store, before));
  }
  const std::string userBytes = readFile(userFile());
  const std::string machineBytes = readFile(machineFile());
  // The folders are the player's to write in; the two files are not the player's to read.
  for (const fs::path& folder : {temp.folders.user, temp.folders.machine}) {
    fs::permissions(folder.parent_path(), fs::perms::all);
    fs::permissions(folder, fs::perms::all);
  }
  fs::permissions(userFile(), fs::perms::none);
  fs::permissions(machineFile(), fs::perms::none);

  int failed = asPlayer(temp.dir.path(), [&] {
    FileStore store(temp.folders);
    Settings loaded;
    loadSettings(store, loaded);
    int failures = loaded.difficulty != 0;  // unreadable: the defaults apply
    loaded.difficulty = 1;
    loaded.hsScores = {50, 100, 200, 900};
    failures += saveSettings(store, loaded, TableSave::Merge);  // the options are not saved
    Settings next;
    loadSettings(store, next);
    failures += next.hsScores != loaded.hsScores;  // the table is kept with the player
    return failures;
  });
  EXPECT_EQ(failed, 0);
  fs::permissions(userFile(), fs::perms::owner_read);
  fs::permissions(machineFile(), fs::perms::owner_read);
  EXPECT_EQ(readFile(userFile()), userBytes);
  EXPECT_EQ(readFile(machineFile()), machineBytes);
  EXPECT_TRUE(fs::exists(dataFile()));
}

// Another player's save that keeps the lock costs a moment's wait, not the table.
TEST_F(FileStoreTest, AMachineLockHeldTooLongSendsTheTableToTheFallback) {
  Settings first;
  {
    FileStore store(temp.folders);
    ASSERT_TRUE(saveSettings(store, first));
  }
  const std::string machineBytes = readFile(machineFile());
  const int held = open(temp.folders.machine.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  FileStore store(temp.folders, std::chrono::milliseconds(50));
  Settings saved;
  saved.hsScores = {100, 200, 400, 777};
  saved.hsNames = {"Opal", "Zinc", "Tin", "Kai"};
  EXPECT_TRUE(saveSettings(store, saved, TableSave::Merge));
  EXPECT_EQ(readFile(machineFile()), machineBytes);
  Settings loaded;
  loadSettings(store, loaded);
  EXPECT_EQ(loaded.hsNames, saved.hsNames);

  // Once the lock is free, the next save brings the table home and the fallback goes.
  close(held);
  EXPECT_TRUE(saveSettings(store, loaded, TableSave::Merge));
  EXPECT_FALSE(fs::exists(dataFile()));
  Settings shared;
  loadSettings(store, shared);
  EXPECT_EQ(shared.hsScores, saved.hsScores);
  EXPECT_EQ(shared.hsNames, saved.hsNames);
}

// The next start of a player who cannot write the machine folder finds options, game and table.
TEST_F(FileStoreTest, SettingsSurviveAnUnwritableMachineFolder) {
  temp.blockMachineFolder();
  Settings saved;
  saved.difficulty = 2;
  saved.hints = false;
  saved.game.board = std::string(kBoardCodeLength, 'C');
  saved.game.score = 777;
  saved.hsScores = {10, 20, 30, 40000};
  saved.hsNames = {"Ann", "Bo", "Cy", "Dee"};
  {
    FileStore store(temp.folders);
    EXPECT_TRUE(saveSettings(store, saved));
  }
  FileStore nextStart(temp.folders);
  Settings restored;
  EXPECT_TRUE(loadSettings(nextStart, restored));
  EXPECT_EQ(restored, saved);
  EXPECT_TRUE(fs::exists(dataFile()));
}

class EnvironmentTest : public ::testing::Test {
 protected:
  EnvironmentTest() {
    for (const char* name : kNames) {
      const char* value = getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
  }
  ~EnvironmentTest() override {
    for (const auto& [name, value] : saved_) {
      if (value)
        setenv(name, value->c_str(), 1);
      else
        unsetenv(name);
    }
  }

 private:
  static constexpr const char* kNames[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                           "GYROTIDE_USER_STORE", "GYROTIDE_MACHINE_STORE"};
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST_F(EnvironmentTest, FoldersFollowTheEnvironment) {
  setenv("HOME", "/home/pat", 1);
  platform::StoreFolders folders = platform::storeFoldersFromEnvironment();
  EXPECT_EQ(folders.user, fs::path("/home/pat/.config/gyrotide"));
  EXPECT_EQ(folders.machine, fs::path("/var/games/gyrotide"));
  EXPECT_EQ(folders.userData, fs::path("/home/pat/.local/share/gyrotide"));

  setenv("XDG_CONFIG_HOME", "/cfg", 1);
  setenv("XDG_DATA_HOME", "relative/data", 1);  // relative: to be ignored
  folders = platform::storeFoldersFromEnvironment();
  EXPECT_EQ(folders.user, fs::path("/cfg/gyrotide"));
  EXPECT_EQ(folders.userData, fs::path("/home/pat/.local/share/gyrotide"));

  setenv("XDG_DATA_HOME", "/data", 1);
  setenv("GYROTIDE_USER_STORE", "/tmp/u", 1);
  setenv("GYROTIDE_MACHINE_STORE", "/tmp/m", 1);
  folders = platform::storeFoldersFromEnvironment();
  EXPECT_EQ(folders.user, fs::path("/tmp/u"));
  EXPECT_EQ(folders.machine, fs::path("/tmp/m"));
  EXPECT_EQ(folders.userData, fs::path("/data/gyrotide"));
}

// A backend that keeps the base class's own store.
class BareBackend : public platform::Backend {
 public:
  uint32_t ticks() override { return 0; }
  void waitMessage(uint32_t) override {}
  void present(platform::WindowId, const uint8_t*, int, int, int) override {}
  platform::FullScreenResult enterFullScreen(platform::WindowId) override {
    return platform::FullScreenResult::Unavailable;
  }
  void leaveFullScreen(platform::WindowId) override {}
  void setCapture(platform::WindowId) override {}
  void releaseCapture() override {}
  std::unique_ptr<platform::AudioDevice> openAudio(const platform::PcmFormat&) override {
    return nullptr;
  }
  bool openUrl(const std::string&) override { return false; }

 protected:
  bool openWindow(Window&) override { return false; }
  void closeWindow(Window&) override {}
  void pumpEvents() override {}
  void showMessageBox(const std::string&, const std::string&) override {}
};

TEST_F(EnvironmentTest, BackendsKeepTheirStores) {
  TempStoreFolders temp;
  setenv("GYROTIDE_USER_STORE", temp.folders.user.c_str(), 1);
  setenv("GYROTIDE_MACHINE_STORE", temp.folders.machine.c_str(), 1);
  // The real backends use the file store in the folders the environment names.
  BareBackend bare;
  EXPECT_TRUE(bare.store().write(StoreScope::User, kKey, sampleValues()));
  EXPECT_EQ(readFile(temp.folders.user / kFileName), kSampleFile);
  EXPECT_EQ(&bare.store(), &bare.store());

  // The headless backend keeps its store in memory, unless a test gives it a folder.
  platform::HeadlessBackend headless;
  EXPECT_TRUE(headless.store().read(StoreScope::User, kKey).empty());
  EXPECT_TRUE(headless.store().write(StoreScope::User, kKey, {{"Music", StoreValue::ofNumber(9)}}));
  EXPECT_EQ(bare.store().read(StoreScope::User, kKey), sampleValues());
  headless.settingsStore = std::make_unique<FileStore>(temp.folders);
  EXPECT_EQ(headless.store().read(StoreScope::User, kKey), sampleValues());
}

}  // namespace
