#include "res/resource_archive.h"

#include <algorithm>

#include "platform/regular_file.h"

ResourceArchive* resourceArchive = nullptr;

namespace {

ResourceArchive* defaultArchive = nullptr;  // the one openResourceArchive() made

char foldByte(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool readLittleEndian(std::istream& in, int bytes, uint32_t& value) {
  unsigned char raw[4];
  in.read(reinterpret_cast<char*>(raw), bytes);
  if (in.gcount() != bytes) return false;
  value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | raw[i];
  return true;
}

// Collects one zero-terminated name, folded, in a buffer of the name capacity. False when the
// file ends first or the buffer fills without a zero byte.
bool readName(std::istream& in, std::string& name) {
  char buffer[kArchiveNameCapacity];
  for (size_t i = 0; i < kArchiveNameCapacity; ++i) {
    int c = in.get();
    if (c == std::char_traits<char>::eof()) return false;
    if (c == 0) {
      name.assign(buffer, i);
      return true;
    }
    buffer[i] = foldByte(static_cast<char>(c));
  }
  return false;
}

uint32_t streamLength(std::istream& in) {
  in.clear();
  in.seekg(0, std::ios::end);
  std::streamoff length = in.tellg();
  if (length < 0) return 0;
  return length > 0xFFFFFFFF ? 0xFFFFFFFF : static_cast<uint32_t>(length);
}

}  // namespace

std::string foldArchiveName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = foldByte(c);
  return folded;
}

ResourceArchive::ResourceArchive(const char* path)
    : ResourceArchive(platform::openRegularFile(path)) {}

ResourceArchive::ResourceArchive(std::unique_ptr<std::istream> stream)
    : stream_(std::move(stream)) {
  open_ = stream_ && !stream_->fail();
  if (open_) readIndex();
}

// Stops at the first damage and keeps what came before it, so a broken archive still serves
// its intact members. Offsets must stay within the file and never decrease, which keeps
// every member's size (next offset minus own offset) sane.
void ResourceArchive::readIndex() {
  fileSize_ = streamLength(*stream_);
  stream_->clear();
  stream_->seekg(0, std::ios::beg);
  uint32_t count = 0;
  if (!readLittleEndian(*stream_, 2, count)) return;
  // Each entry takes at least 5 bytes, so a damaged count cannot make us reserve much.
  index_.reserve(std::min<uint32_t>(count, fileSize_ / 5));
  uint32_t previous = 0;
  for (uint32_t i = 0; i < count; ++i) {
    ArchiveEntry entry;
    if (!readLittleEndian(*stream_, 4, entry.offset) || !readName(*stream_, entry.name)) return;
    if (entry.offset > fileSize_ || entry.offset < previous) return;
    previous = entry.offset;
    index_.push_back(std::move(entry));
  }
  indexComplete_ = true;
}

ResourceStream ResourceArchive::openEntry(size_t i) {
  if (i >= index_.size()) return ResourceStream(stream_.get(), fileSize_, fileSize_);
  uint32_t end = i + 1 < index_.size() ? index_[i + 1].offset : fileSize_;
  return ResourceStream(stream_.get(), index_[i].offset, end);
}

ResourceStream ResourceArchive::openMember(std::string_view name) {
  size_t i = 0;
  while (i < index_.size() && index_[i].name != name) ++i;
  return openEntry(i);
}

ResourceArchive* openResourceArchive() {
  if (!resourceArchive) {
    defaultArchive = new ResourceArchive(kResourceArchiveFile);
    resourceArchive = defaultArchive;
  }
  return resourceArchive;
}

void closeResourceArchive() {
  // An archive a test installed over the default keeps the default alive: the test's scope
  // puts it back when it ends.
  if (resourceArchive != defaultArchive) return;
  resourceArchive = nullptr;
  delete defaultArchive;
  defaultArchive = nullptr;
}
