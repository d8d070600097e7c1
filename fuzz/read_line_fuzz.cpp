// readLine over arbitrary bytes with changing capacities. The first byte says how many of the
// following bytes are capacities (cycled from call to call); the rest is the text, packed as
// an archive member followed by a sentinel member that must never leak into a line. Each
// buffer is allocated at exactly its capacity so the address sanitizer sees any overrun.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "res/archive_writer.h"
#include "res/resource_archive.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// Mostly small capacities, where the splitting logic lives, and now and then the game's 300.
uint32_t capacityOf(uint8_t byte) { return byte >= 250 ? 300 : byte % 12; }

// What the line reader must deliver in total: every byte except line feeds and bytes below 32.
std::string printableBytes(const std::string& text) {
  std::string kept;
  for (unsigned char c : text) {
    if (c >= 32) kept.push_back(static_cast<char>(c));
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  size_t capacityCount = std::min<size_t>(1 + data[0] % 4, size - 1);
  std::vector<uint32_t> capacities;
  for (size_t i = 0; i < capacityCount; ++i) capacities.push_back(capacityOf(data[1 + i]));
  if (capacities.empty()) capacities.push_back(300);
  std::string text(reinterpret_cast<const char*>(data) + 1 + capacityCount,
                   size - 1 - capacityCount);

  std::string bytes = buildArchive({{"text", text}, {"next", "SENTINEL\n"}});
  ResourceArchive archive(std::make_unique<std::istringstream>(bytes, std::ios::binary));
  ResourceStream member = archive.openMember("text");
  require(member.size() == text.size());

  std::string delivered;
  size_t idleCalls = 0;
  for (size_t call = 0; member.position() < member.size(); ++call) {
    uint32_t capacity = capacities[call % capacities.size()];
    auto buffer = std::make_unique<char[]>(capacity);
    uint32_t before = member.position();
    uint32_t count = member.readLine(buffer.get(), capacity);
    if (capacity == 0) {
      require(count == 0);
    } else {
      require(count < capacity && buffer[count] == '\0');
      delivered.append(buffer.get(), count);
    }
    require(member.position() - before <= (capacity > 0 ? capacity - 1 : 0));
    // Capacities of 0 and 1 read nothing; a whole cycle of them would never finish.
    idleCalls = member.position() == before ? idleCalls + 1 : 0;
    if (idleCalls > capacities.size()) break;
  }
  if (std::any_of(capacities.begin(), capacities.end(), [](uint32_t c) { return c > 1; })) {
    require(delivered == printableBytes(text));
    // At the end of the member, the next member's bytes never come through.
    char tail[8];
    require(member.readLine(tail, sizeof tail) == 0 && tail[0] == '\0');
  }
  return 0;
}
