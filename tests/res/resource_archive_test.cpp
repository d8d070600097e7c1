#include "res/resource_archive.h"

#include <gtest/gtest.h>

#include "res/archive_writer.h"
#include "res/test_files.h"

namespace {

std::string le(uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
  return out;
}

std::string entry(uint32_t offset, const std::string& name) { return le(offset, 4) + name + '\0'; }

std::string memberText(ResourceArchive& archive, const std::string& name) {
  ResourceStream member = archive.openMember(name);
  return readAll(member);
}

TEST(ResourceArchive, MemberSizesComeFromNeighbouringOffsets) {
  TempDir dir;
  writeFile(dir / "a.zap", buildArchive({{"one", "abc"}, {"none", ""}, {"last", "12345"}}));
  ResourceArchive archive((dir / "a.zap").c_str());
  ASSERT_TRUE(archive.isOpen());
  EXPECT_TRUE(archive.indexComplete());
  EXPECT_EQ(archive.openMember("one").size(), 3u);
  EXPECT_EQ(archive.openMember("none").size(), 0u);
  EXPECT_EQ(archive.openMember("last").size(), archive.fileSize() - archive.entries()[2].offset);
  EXPECT_EQ(memberText(archive, "one"), "abc");
  EXPECT_EQ(memberText(archive, "last"), "12345");
}

TEST(ResourceArchive, StoredNamesAreFoldedAndLookupIsCaseSensitive) {
  auto archive = memoryArchive(buildArchive({{"Background.PNG", "png"}, {"\xC3\x84-Z_9", "x"}}));
  EXPECT_EQ(archive->entries()[0].name, "background.png");
  EXPECT_EQ(archive->entries()[1].name, "\xC3\x84-z_9");  // only A-Z fold
  EXPECT_EQ(memberText(*archive, "background.png"), "png");
  ResourceStream capitalised = archive->openMember("Background.png");
  EXPECT_EQ(capitalised.size(), 0u);
  EXPECT_EQ(readAll(capitalised), "");
}

TEST(ResourceArchive, FirstOfDuplicateNamesReachesTheNextEntry) {
  auto archive = memoryArchive(buildArchive({{"a.ogg", "first"}, {"A.OGG", "second"}, {"b", "x"}}));
  EXPECT_EQ(memberText(*archive, "a.ogg"), "first");
}

TEST(ResourceArchive, EmptyOrMissingArchiveGivesEmptyViews) {
  auto empty = memoryArchive(le(0, 2));
  EXPECT_TRUE(empty->isOpen());
  EXPECT_TRUE(empty->indexComplete());
  EXPECT_TRUE(empty->entries().empty());
  EXPECT_EQ(empty->openMember("puzzles.ini").size(), 0u);

  TempDir dir;
  ResourceArchive missing((dir / "nothing.zap").c_str());
  EXPECT_FALSE(missing.isOpen());
  EXPECT_TRUE(missing.entries().empty());
  ResourceStream view = missing.openMember("puzzles.ini");
  EXPECT_EQ(view.size(), 0u);
  EXPECT_EQ(readAll(view), "");
}

// A folder opens as a stream on this system; it must still count as no archive at all.
TEST(ResourceArchive, AFolderOfThatNameIsNoArchive) {
  TempDir dir;
  std::filesystem::create_directory(dir / "gyrotide.zap");
  ResourceArchive folder((dir / "gyrotide.zap").c_str());
  EXPECT_FALSE(folder.isOpen());
  EXPECT_TRUE(folder.entries().empty());
  EXPECT_EQ(folder.openMember("puzzles.ini").size(), 0u);
}

TEST(ResourceArchive, ReadsStopAtTheMemberEndAndRewind) {
  auto archive = memoryArchive(buildArchive({{"m", "0123456789"}, {"next", "NEXT"}}));
  ResourceStream m = archive->openMember("m");
  char buffer[32];
  EXPECT_EQ(m.read(buffer, 4), 4u);
  EXPECT_EQ(m.read(buffer, 20), 6u);  // only what remains
  EXPECT_EQ(std::string(buffer, 6), "456789");
  EXPECT_EQ(m.position(), m.size());
  EXPECT_EQ(m.read(buffer, 1), 0u);
  m.setPosition(50);
  EXPECT_EQ(m.read(buffer, 1), 0u);
  m.setPosition(0);
  EXPECT_EQ(readAll(m), "0123456789");
}

TEST(ResourceArchive, ViewsShareOneStream) {
  auto archive = memoryArchive(buildArchive({{"a", "aaaaAAAA"}, {"b", "bbbbBBBB"}}));
  ResourceStream a = archive->openMember("a");
  ResourceStream b = archive->openMember("b");
  char buffer[4];
  ASSERT_EQ(a.read(buffer, 4), 4u);
  ASSERT_EQ(b.read(buffer, 4), 4u);
  ASSERT_EQ(a.read(buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "AAAA");
  ASSERT_EQ(b.read(buffer, 4), 4u);
  EXPECT_EQ(std::string(buffer, 4), "BBBB");
}

// Damage ends the index; the entries before it stay usable and the last kept member runs to
// the end of the file.
TEST(ResourceArchive, MalformedIndexKeepsEntriesBeforeTheDamage) {
  auto truncatedCount = memoryArchive("\x01");
  EXPECT_TRUE(truncatedCount->entries().empty());
  EXPECT_FALSE(truncatedCount->indexComplete());

  std::string twoOfFive = le(5, 2) + entry(14, "a") + entry(15, "b") + "XY";
  auto countBeyond = memoryArchive(twoOfFive);
  EXPECT_EQ(countBeyond->entries().size(), 2u);
  EXPECT_FALSE(countBeyond->indexComplete());
  EXPECT_EQ(memberText(*countBeyond, "a"), "X");
  EXPECT_EQ(memberText(*countBeyond, "b"), "Y");

  auto unterminated = memoryArchive(le(2, 2) + entry(9, "a") + le(9, 4) + std::string(400, 'N'));
  ASSERT_EQ(unterminated->entries().size(), 1u);
  EXPECT_EQ(unterminated->openMember("a").size(), unterminated->fileSize() - 9);

  auto decreasing = memoryArchive(le(3, 2) + entry(20, "a") + entry(10, "b") + entry(30, "c") +
                                  std::string(30, 'z'));
  ASSERT_EQ(decreasing->entries().size(), 1u);
  EXPECT_EQ(decreasing->openMember("a").size(), decreasing->fileSize() - 20);

  auto pastEnd = memoryArchive(le(2, 2) + entry(14, "a") + entry(4000, "b") + "zz");
  ASSERT_EQ(pastEnd->entries().size(), 1u);
  EXPECT_EQ(memberText(*pastEnd, "a"), "zz");
  EXPECT_EQ(pastEnd->openMember("b").size(), 0u);
}

TEST(ResourceArchive, NameLengthLimitIsThreeHundredWithTheZero) {
  std::string longest(299, 'n');
  auto fits = memoryArchive(buildArchive({{longest, "d"}}));
  EXPECT_TRUE(fits->indexComplete());
  EXPECT_EQ(memberText(*fits, longest), "d");

  auto tooLong = memoryArchive(le(1, 2) + entry(307, std::string(300, 'n')) + "d");
  EXPECT_TRUE(tooLong->entries().empty());
  EXPECT_FALSE(tooLong->indexComplete());
}

TEST(ArchiveWriter, RefusesWhatTheFormatCannotHold) {
  std::string index;
  std::string error;
  EXPECT_TRUE(buildArchiveIndex({{std::string(299, 'n'), 1}}, index, error));
  EXPECT_FALSE(buildArchiveIndex({{std::string(300, 'n'), 1}}, index, error));
  EXPECT_FALSE(buildArchiveIndex({{std::string("a\0b", 3), 1}}, index, error));
  std::vector<ArchiveMemberLayout> many(65536, ArchiveMemberLayout{"m", 0});
  EXPECT_FALSE(buildArchiveIndex(many, index, error));
  many.pop_back();
  EXPECT_TRUE(buildArchiveIndex(many, index, error));
  // The last member must end within 32 bits, not just start there.
  uint64_t fitsExactly = 0xFFFFFFFFull - (2 + 4 + 2);
  EXPECT_TRUE(buildArchiveIndex({{"m", fitsExactly}}, index, error));
  EXPECT_FALSE(buildArchiveIndex({{"m", fitsExactly + 1}}, index, error));
  EXPECT_FALSE(error.empty());
}

TEST(ResourceArchive, ProcessWideArchiveCanBeReplacedByATest) {
  auto mine = memoryArchive(buildArchive({{"puzzles.ini", "x"}}));
  ResourceArchive* before = openResourceArchive();  // the default, made here if not yet
  const size_t members = before->entries().size();
  {
    ScopedResourceArchive scope(*mine);
    EXPECT_EQ(openResourceArchive(), mine.get());  // an installed archive is kept
    closeResourceArchive();                        // and is not the default's to delete
    EXPECT_EQ(resourceArchive, mine.get());
  }
  EXPECT_EQ(resourceArchive, before);
  EXPECT_EQ(before->entries().size(), members);  // still alive for the tests that follow
}

}  // namespace
