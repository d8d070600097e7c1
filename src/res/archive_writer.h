#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The name and data size of one member, in the order its data will follow the index.
struct ArchiveMemberLayout {
  std::string name;
  uint64_t size = 0;
};

// Builds the index for members whose data follow it back to back in the given order: the
// count, then per member its absolute offset and its name with a zero byte. Names are written
// exactly as given (no folding, no path checks), so tests can build odd archives. Returns
// false with a reason when the format cannot hold the layout: more than 65535 members, a name
// of 300 bytes or more or with a zero byte inside, or a file beyond 32-bit offsets.
bool buildArchiveIndex(const std::vector<ArchiveMemberLayout>& members, std::string& index,
                       std::string& error);

// A whole archive in memory, names as given; empty when the format cannot hold it.
std::string buildArchive(const std::vector<std::pair<std::string, std::string>>& members);
