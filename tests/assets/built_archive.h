#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/image_cache.h"
#include "res/resource_archive.h"
#include "res/test_files.h"

// Tests over the archive the build packed beside the program, read through the game's own
// loader: the archive is installed as the game's while a test runs, and a cache of the
// test's own looks for loose files in an empty folder, so only archive members are found.
class BuiltArchiveTest : public ::testing::Test {
 protected:
  static ResourceArchive& archive() {
    static ResourceArchive built((std::string(GYROTIDE_BINARY_DIR) + "/gyrotide.zap").c_str());
    return built;
  }

  BuiltArchiveTest() : scope_(archive()) { cache_.setLooseFolder(empty_.path()); }

  // Never null; an empty image when the member is missing or does not decode.
  Image* image(const std::string& name) { return cache_.getImage(name); }
  BitmapFont* font(const std::string& name) { return cache_.getFont(name); }

 private:
  ScopedResourceArchive scope_;
  TempDir empty_;
  ImageCache cache_;
};
