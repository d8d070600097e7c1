#pragma once
// Placeholder until the archive reader lands.
#include <fstream>
class ResourceArchive {
 public:
  explicit ResourceArchive(const char* path) : file_(path, std::ios::binary) {}
  bool isOpen() const { return file_.is_open(); }
 private:
  std::ifstream file_;
};
extern ResourceArchive* resourceArchive;
ResourceArchive* openResourceArchive();
class ScopedResourceArchive {
 public:
  explicit ScopedResourceArchive(ResourceArchive& archive) : previous_(resourceArchive) {
    resourceArchive = &archive;
  }
  ~ScopedResourceArchive() { resourceArchive = previous_; }
 private:
  ResourceArchive* previous_;
};
