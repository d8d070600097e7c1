#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "res/resource_archive.h"

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "gyrotide-test-XXXXXX").string();
    if (mkdtemp(pattern.data())) path_ = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::unique_ptr<ResourceArchive> memoryArchive(const std::string& bytes) {
  return std::make_unique<ResourceArchive>(std::make_unique<std::istringstream>(bytes));
}

inline std::string readAll(ResourceStream& stream) {
  std::string out;
  char chunk[7];  // small and odd, so reads cross the member in several pieces
  while (uint32_t n = stream.read(chunk, sizeof chunk)) out.append(chunk, n);
  return out;
}

// A named pipe that nobody writes to: an ordinary open of it waits for a writer for ever. Code
// that opens it all the same is let go after a few seconds (a writer comes and goes) and the
// pipe remembers that, so such a test fails instead of hanging.
class StuckPipe {
 public:
  explicit StuckPipe(std::filesystem::path path) : path_(std::move(path)) {
    made_ = mkfifo(path_.c_str(), 0600) == 0;
    guard_ = std::thread([this] { watch(); });
  }
  ~StuckPipe() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    woken_.notify_all();
    guard_.join();
  }
  StuckPipe(const StuckPipe&) = delete;
  StuckPipe& operator=(const StuckPipe&) = delete;

  bool made() const { return made_; }
  // Whether someone was found waiting to read it.
  bool blockedSomeone() {
    std::lock_guard lock(mutex_);
    return released_;
  }

 private:
  void watch() {
    std::unique_lock lock(mutex_);
    if (woken_.wait_for(lock, std::chrono::seconds(3), [this] { return stop_; })) return;
    while (!stop_) {
      // Opening the writing end without blocking succeeds only while a reader waits.
      const int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        released_ = true;
        close(fd);
      }
      woken_.wait_for(lock, std::chrono::milliseconds(20), [this] { return stop_; });
    }
  }

  std::filesystem::path path_;
  bool made_ = false;
  std::mutex mutex_;
  std::condition_variable woken_;
  bool stop_ = false;
  bool released_ = false;
  std::thread guard_;
};
