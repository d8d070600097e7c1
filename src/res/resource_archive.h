#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "res/resource_stream.h"

// One member of the archive index. Sizes are not stored: a member runs to the next entry's
// offset, or to the end of the file for the last entry.
struct ArchiveEntry {
  uint32_t offset = 0;
  std::string name;  // lower-cased as read
};

// The longest stored name, its terminating zero byte included.
inline constexpr size_t kArchiveNameCapacity = 300;
inline constexpr size_t kArchiveMaxMembers = 65535;

// Folds A-Z to a-z and leaves every other byte alone, as the index reader does.
std::string foldArchiveName(std::string_view name);

// The game's packed resources: a flat list of named members read through one shared stream
// that stays open for the life of the archive.
class ResourceArchive {
 public:
  // Opens path for binary reading and reads the index; a missing file (or anything but a
  // regular file of that name) shows only in isOpen().
  explicit ResourceArchive(const char* path);
  // Reads the index from a stream that is already open (fuzzing and tests use memory streams).
  explicit ResourceArchive(std::unique_ptr<std::istream> stream);
  ResourceArchive(const ResourceArchive&) = delete;
  ResourceArchive& operator=(const ResourceArchive&) = delete;

  bool isOpen() const { return open_; }
  // The first member called exactly name (names are stored lower case), or an empty view at
  // the end of the file when there is none.
  ResourceStream openMember(std::string_view name);
  // The member of index entry i; an empty view at the end of the file when i is out of range.
  ResourceStream openEntry(size_t i);

  const std::vector<ArchiveEntry>& entries() const { return index_; }
  uint32_t fileSize() const { return fileSize_; }
  // False when the index stopped at damage (too few entries, an unterminated name, an offset
  // past the end or below its predecessor); the entries before the damage are kept.
  bool indexComplete() const { return indexComplete_; }

 private:
  void readIndex();

  std::vector<ArchiveEntry> index_;
  std::unique_ptr<std::istream> stream_;
  uint32_t fileSize_ = 0;
  bool open_ = false;
  bool indexComplete_ = false;
};

// The process-wide archive. The image cache's static constructor opens it with
// openResourceArchive() and its destructor calls closeResourceArchive() at exit, after the
// cached images are gone.
extern ResourceArchive* resourceArchive;

inline constexpr const char* kResourceArchiveFile = "gyrotide.zap";

// Opens "gyrotide.zap" in the current directory unless an archive is already installed, so
// whichever start-up code runs first creates it; returns the installed archive.
ResourceArchive* openResourceArchive();
// Deletes the archive openResourceArchive() made, if it is still the installed one.
void closeResourceArchive();

// Installs an archive the caller owns for the lifetime of this object (tests use it), then
// puts the previous one back.
class ScopedResourceArchive {
 public:
  explicit ScopedResourceArchive(ResourceArchive& archive) : previous_(resourceArchive) {
    resourceArchive = &archive;
  }
  ~ScopedResourceArchive() { resourceArchive = previous_; }
  ScopedResourceArchive(const ScopedResourceArchive&) = delete;
  ScopedResourceArchive& operator=(const ScopedResourceArchive&) = delete;

 private:
  ResourceArchive* previous_;
};
