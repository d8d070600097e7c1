// The archive tool, run as the build uses it.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "res/archive_writer.h"
#include "res/test_files.h"

namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out.append("'\\''");
    } else {
      out.push_back(c);
    }
  }
  out.push_back('\'');
  return out;
}

struct ZapRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

class Zap : public ::testing::Test {
 protected:
  ZapRun zap(const std::vector<std::string>& args) {
    std::string command = quoted(GYROTIDE_ZAP);
    for (const std::string& arg : args) command.append(" ").append(quoted(arg));
    fs::path out = logs_ / "out";
    fs::path err = logs_ / "err";
    command.append(" >").append(quoted(out.string())).append(" 2>").append(quoted(err.string()));
    int status = std::system(command.c_str());
    ZapRun run;
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    run.out = readFile(out);
    run.err = readFile(err);
    return run;
  }
  // What lies in dir, names only, so a leftover temporary file shows up too.
  static std::vector<std::string> contents(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(dir)) names.push_back(item.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir_;
  TempDir logs_;
};

TEST_F(Zap, PackListExtractRoundTrip) {
  fs::create_directory(dir_ / "in");
  writeFile(dir_ / "in" / "Alpha.TXT", "alpha\n");
  writeFile(dir_ / "in" / "empty.bin", "");
  writeFile(dir_ / "in" / "b.png", std::string("\x89PNG\0\xff", 6));
  ZapRun pack = zap({"pack", (dir_ / "a.zap").string(), (dir_ / "in" / "Alpha.TXT").string(),
                     (dir_ / "in" / "empty.bin").string(), (dir_ / "in" / "b.png").string()});
  ASSERT_EQ(pack.exitCode, 0) << pack.err;

  ResourceArchive archive((dir_ / "a.zap").c_str());
  ASSERT_EQ(archive.entries().size(), 3u);
  EXPECT_EQ(archive.entries()[0].name, "alpha.txt");
  EXPECT_EQ(archive.entries()[2].name, "b.png");
  EXPECT_LT(archive.entries()[0].offset, archive.entries()[2].offset);  // data in index order

  ZapRun list = zap({"list", (dir_ / "a.zap").string()});
  EXPECT_EQ(list.exitCode, 0);
  EXPECT_EQ(list.out, "         6  alpha.txt\n         0  empty.bin\n         6  b.png\n");

  ZapRun extract = zap({"extract", (dir_ / "a.zap").string(), (dir_ / "out").string()});
  ASSERT_EQ(extract.exitCode, 0) << extract.err;
  EXPECT_EQ(contents(dir_ / "out"), (std::vector<std::string>{"alpha.txt", "b.png", "empty.bin"}));
  EXPECT_EQ(readFile(dir_ / "out" / "alpha.txt"), "alpha\n");
  EXPECT_EQ(readFile(dir_ / "out" / "b.png"), readFile(dir_ / "in" / "b.png"));
}

TEST_F(Zap, EmptyPackIsAnArchiveWithoutMembers) {
  ASSERT_EQ(zap({"pack", (dir_ / "e.zap").string()}).exitCode, 0);
  EXPECT_EQ(readFile(dir_ / "e.zap"), std::string(2, '\0'));
}

// A refused pack leaves neither a new archive nor a temporary file, and an old archive intact.
TEST_F(Zap, RefusedPackWritesNothing) {
  fs::create_directories(dir_ / "x");
  fs::create_directories(dir_ / "y");
  writeFile(dir_ / "x" / "A.png", "1");
  writeFile(dir_ / "y" / "a.PNG", "2");
  writeFile(dir_ / "old.zap", "old");
  std::string out = (dir_ / "new.zap").string();
  std::vector<std::vector<std::string>> refused = {
      {"pack", out, (dir_ / "x" / "A.png").string(), (dir_ / "y" / "a.PNG").string()},
      {"pack", out, (dir_ / "missing.png").string()},
      {"pack", out, (dir_ / "x").string()},
      {"pack", (dir_ / "old.zap").string(), (dir_ / "missing.png").string()},
  };
  for (const auto& args : refused) {
    ZapRun run = zap(args);
    EXPECT_NE(run.exitCode, 0) << args[2];
    EXPECT_NE(run.err.find("zap: "), std::string::npos);
  }
  EXPECT_EQ(contents(dir_.path()), (std::vector<std::string>{"old.zap", "x", "y"}));
  EXPECT_EQ(readFile(dir_ / "old.zap"), "old");
}

TEST_F(Zap, ExtractRefusesNamesThatLeaveTheFolder) {
  for (std::string name : {"../evil", "a/b", "..", ".", ""}) {
    writeFile(dir_ / "bad.zap", buildArchive({{"fine.txt", "ok"}, {name, "evil"}}));
    ZapRun run = zap({"extract", (dir_ / "bad.zap").string(), (dir_ / "out").string()});
    EXPECT_NE(run.exitCode, 0) << name;
    EXPECT_FALSE(fs::exists(dir_ / "out" / "fine.txt")) << name;
  }
  EXPECT_EQ(contents(dir_.path()), (std::vector<std::string>{"bad.zap"}));
}

TEST_F(Zap, ExtractKeepsTheFirstOfDuplicateNames) {
  writeFile(dir_ / "dup.zap", buildArchive({{"a", "first"}, {"A", "second"}}));
  ZapRun run = zap({"extract", (dir_ / "dup.zap").string(), (dir_ / "out").string()});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(readFile(dir_ / "out" / "a"), "first");
}

TEST_F(Zap, BadArchivesAndArgumentsFailCleanly) {
  writeFile(dir_ / "cut.zap", std::string("\x05\x00\x08\x00\x00\x00m\x00z", 9));
  ZapRun damaged = zap({"list", (dir_ / "cut.zap").string()});
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_EQ(damaged.out, "         1  m\n");  // what was readable is still listed
  EXPECT_EQ(zap({"extract", (dir_ / "cut.zap").string(), (dir_ / "o").string()}).exitCode, 1);
  EXPECT_EQ(zap({"list", (dir_ / "none.zap").string()}).exitCode, 1);
  EXPECT_EQ(zap({}).exitCode, 2);
  EXPECT_EQ(zap({"frob"}).exitCode, 2);
  EXPECT_EQ(zap({"list"}).exitCode, 2);
  EXPECT_NE(zap({"pack"}).err.find("usage"), std::string::npos);
}

}  // namespace
