// The archive index reader and member views over arbitrary archive bytes. Beyond "no crash",
// it checks what the rest of the game relies on: offsets never decrease and stay in the file,
// names are folded and short enough, and every member reads back exactly its size.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "res/resource_archive.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void checkIndex(const ResourceArchive& archive) {
  uint32_t previous = 0;
  for (const ArchiveEntry& entry : archive.entries()) {
    require(entry.offset >= previous && entry.offset <= archive.fileSize());
    require(entry.name.size() < kArchiveNameCapacity);
    require(entry.name == foldArchiveName(entry.name));
    previous = entry.offset;
  }
}

// Reads the member in small uneven pieces, then rewinds and reads it line by line.
void checkMember(ResourceStream member) {
  char buffer[97];
  uint64_t total = 0;
  while (uint32_t n = member.read(buffer, 1 + total % 96)) total += n;
  require(total == member.size() && member.position() == member.size());
  member.setPosition(0);
  uint32_t lines = 0;
  while (member.position() < member.size() && lines++ <= member.size()) {
    uint32_t count = member.readLine(buffer, sizeof buffer);
    require(count < sizeof buffer && buffer[count] == '\0');
  }
  require(member.position() == member.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  ResourceArchive archive(std::make_unique<std::istringstream>(bytes, std::ios::binary));
  require(archive.isOpen());
  checkIndex(archive);
  uint64_t sizes = 0;
  for (size_t i = 0; i < archive.entries().size() && i < 64; ++i) {
    ResourceStream member = archive.openEntry(i);
    sizes += member.size();
    checkMember(std::move(member));
  }
  if (!archive.entries().empty()) {
    // Lookup by name finds the first entry of that name.
    const ArchiveEntry& first = archive.entries().front();
    require(archive.openMember(first.name).size() == archive.openEntry(0).size());
  }
  // No stored name can be this long, so the lookup must miss and give the empty view.
  require(archive.openMember(std::string(kArchiveNameCapacity, 'x')).size() == 0);
  require(sizes <= archive.fileSize());
  return 0;
}
