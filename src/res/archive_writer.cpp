#include "res/archive_writer.h"

#include "res/resource_archive.h"

namespace {

void appendLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool checkName(const std::string& name, std::string& error) {
  if (name.size() >= kArchiveNameCapacity) {
    error = "member name '" + name.substr(0, 40) + "...' is " + std::to_string(name.size()) +
            " bytes long; names must be shorter than " + std::to_string(kArchiveNameCapacity);
    return false;
  }
  if (name.find('\0') != std::string::npos) {
    error = "member name contains a zero byte";
    return false;
  }
  return true;
}

}  // namespace

bool buildArchiveIndex(const std::vector<ArchiveMemberLayout>& members, std::string& index,
                       std::string& error) {
  if (members.size() > kArchiveMaxMembers) {
    error = std::to_string(members.size()) + " members; an archive holds at most " +
            std::to_string(kArchiveMaxMembers);
    return false;
  }
  uint64_t indexSize = 2;
  for (const ArchiveMemberLayout& m : members) {
    if (!checkName(m.name, error)) return false;
    indexSize += 4 + m.name.size() + 1;
  }
  // Every member ends where the next begins, and the last at the end of the file, so the
  // whole file must fit in 32 bits, not just the offsets.
  uint64_t offset = indexSize;
  index.clear();
  appendLittleEndian(index, static_cast<uint32_t>(members.size()), 2);
  for (const ArchiveMemberLayout& m : members) {
    if (offset > 0xFFFFFFFF) break;
    appendLittleEndian(index, static_cast<uint32_t>(offset), 4);
    index += m.name;
    index.push_back('\0');
    offset += m.size;
  }
  if (offset > 0xFFFFFFFF) {
    error = "the archive would be " + std::to_string(offset) + " bytes; offsets stop at 4 GiB";
    return false;
  }
  return true;
}

std::string buildArchive(const std::vector<std::pair<std::string, std::string>>& members) {
  std::vector<ArchiveMemberLayout> layout;
  for (const auto& [name, data] : members) layout.push_back({name, data.size()});
  std::string archive;
  std::string error;
  if (!buildArchiveIndex(layout, archive, error)) return {};
  for (const auto& member : members) archive += member.second;
  return archive;
}
