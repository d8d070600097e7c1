#include "res/resource_stream.h"

#include <gtest/gtest.h>

#include "res/archive_writer.h"
#include "res/test_files.h"

namespace {

TEST(ResourceStream, OpenFileReadsTheWholeFileAndCanReopen) {
  TempDir dir;
  writeFile(dir / "one", "first file");
  writeFile(dir / "two", "2nd");
  ResourceStream stream;
  stream.openFile((dir / "one").c_str());
  EXPECT_EQ(stream.size(), 10u);
  EXPECT_EQ(readAll(stream), "first file");
  stream.openFile((dir / "two").c_str());
  EXPECT_EQ(stream.position(), 0u);
  EXPECT_EQ(readAll(stream), "2nd");
  stream.close();
  EXPECT_EQ(stream.size(), 0u);
  EXPECT_EQ(readAll(stream), "");
}

// The music player treats a missing file as open (start differs from end), so the failed
// length query must come through as 0xFFFFFFFF, while reads still deliver nothing.
TEST(ResourceStream, MissingFileHasEndAtMaximumAndReadsNothing) {
  TempDir dir;
  ResourceStream stream;
  stream.openFile((dir / "music.zap").c_str());
  EXPECT_EQ(stream.size(), 0xFFFFFFFFu);
  char buffer[16] = "untouched";
  EXPECT_EQ(stream.read(buffer, sizeof buffer), 0u);
  EXPECT_EQ(stream.readLine(buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(stream.position(), 0u);

  writeFile(dir / "empty", "");
  stream.openFile((dir / "empty").c_str());
  EXPECT_EQ(stream.size(), 0u);
}

TEST(ResourceStream, AttachViewsAStreamItDoesNotOwn) {
  std::istringstream text("attached bytes");
  {
    ResourceStream stream;
    stream.attach(text);
    EXPECT_EQ(stream.size(), 14u);
    EXPECT_EQ(readAll(stream), "attached bytes");
  }
  text.clear();
  text.seekg(0);
  EXPECT_EQ(text.get(), 'a');  // still usable after the view is gone
}

TEST(ResourceStream, MovingKeepsTheOwnedStream) {
  TempDir dir;
  writeFile(dir / "f", "moved");
  ResourceStream from;
  from.openFile((dir / "f").c_str());
  ResourceStream to = std::move(from);
  EXPECT_EQ(from.size(), 0u);
  EXPECT_EQ(readAll(from), "");
  EXPECT_EQ(readAll(to), "moved");
}

}  // namespace
