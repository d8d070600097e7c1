#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audio/audio_test_support.h"
#include "res/archive_writer.h"
#include "res/resource_archive.h"
#include "res/test_files.h"
#include "support/headless_fixture.h"

// Each test runs in a fresh current folder (loose sound files and "music.zap" are looked for
// there), with an archive of its choice and the headless audio device.
class AudioTest : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    previousFolder_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  void TearDown() override {
    std::filesystem::current_path(previousFolder_);
    HeadlessTest::TearDown();
  }

  void useArchive(const std::vector<std::pair<std::string, std::string>>& members) {
    installed_.reset();
    archive_ = memoryArchive(buildArchive(members));
    installed_ = std::make_unique<ScopedResourceArchive>(*archive_);
  }

  platform::HeadlessAudioDevice& device() { return *backend.audio; }
  std::vector<int16_t> advance(uint32_t frames) { return device().advance(frames); }
  // Waits for the other thread's writes, with a timeout no healthy run comes near.
  void awaitRegions(uint64_t count) {
    ASSERT_TRUE(device().waitForRegions(count, std::chrono::seconds(20)))
        << "only " << device().regionsWritten() << " of " << count << " regions were written";
  }

  TempDir dir;

 private:
  std::filesystem::path previousFolder_;
  std::unique_ptr<ResourceArchive> archive_;
  std::unique_ptr<ScopedResourceArchive> installed_;
};

inline bool allZero(const std::vector<int16_t>& samples) {
  for (int16_t s : samples) {
    if (s != 0) return false;
  }
  return true;
}
