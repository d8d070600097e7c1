#include <gtest/gtest.h>

#include "res/archive_writer.h"
#include "res/resource_stream.h"
#include "res/test_files.h"

namespace {

// Reads every line of text with the given capacity, as "count:text" items.
std::vector<std::string> lines(const std::string& text, uint32_t capacity = 300) {
  std::istringstream in(text);
  ResourceStream stream;
  stream.attach(in);
  std::vector<std::string> out;
  std::vector<char> buffer(capacity);
  for (int guard = 0; guard < 100; ++guard) {
    uint32_t count = stream.readLine(buffer.data(), capacity);
    out.push_back(std::to_string(count) + ":" + buffer.data());
    if (stream.position() >= stream.size()) break;
  }
  return out;
}

using Lines = std::vector<std::string>;

TEST(ReadLine, LineEndsAndControlBytes) {
  EXPECT_EQ(lines("abc\r\nde"), (Lines{"3:abc", "2:de"}));
  EXPECT_EQ(lines("\nabc\n"), (Lines{"0:", "3:abc"}));  // a leading empty line reads as 0
  EXPECT_EQ(lines("a\tb\x01\x7f"), (Lines{"3:ab\x7f"}));
  EXPECT_EQ(lines("\x80\xff\n"), (Lines{"2:\x80\xff"}));
}

TEST(ReadLine, LongLinesComeBackInPieces) {
  EXPECT_EQ(lines("abcdef\nxy", 5), (Lines{"4:abcd", "2:ef", "2:xy"}));
  // A line of exactly capacity - 1 leaves its line feed for the next call, which reads empty.
  EXPECT_EQ(lines("abcd\nef", 5), (Lines{"4:abcd", "0:", "2:ef"}));
}

TEST(ReadLine, EndOfMemberNeverLeaksTheNextMember) {
  auto archive = memoryArchive(buildArchive({{"one", "x\ny"}, {"two", "LEAK\n"}}));
  ResourceStream one = archive->openMember("one");
  char buffer[300];
  EXPECT_EQ(one.readLine(buffer, sizeof buffer), 1u);
  EXPECT_EQ(one.readLine(buffer, sizeof buffer), 1u);
  EXPECT_STREQ(buffer, "y");
  EXPECT_EQ(one.readLine(buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "");
  one.setPosition(40);  // past the end: still nothing
  EXPECT_EQ(one.readLine(buffer, sizeof buffer), 0u);
}

TEST(ReadLine, TinyCapacitiesNeverWritePastTheBuffer) {
  std::istringstream in("abcdef\n");
  ResourceStream stream;
  stream.attach(in);
  char buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  EXPECT_EQ(stream.readLine(buffer, 0), 0u);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(stream.readLine(buffer, 1), 0u);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(buffer[1], '#');
  EXPECT_EQ(stream.position(), 0u);
  EXPECT_EQ(stream.readLine(buffer, 3), 2u);
  EXPECT_STREQ(buffer, "ab");
  EXPECT_EQ(buffer[3], '#');
}

}  // namespace
