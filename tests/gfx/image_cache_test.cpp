#include "gfx/image_cache.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gfx/animated_image.h"
#include "res/archive_writer.h"
#include "res/resource_archive.h"
#include "res/test_files.h"

namespace {

// A 1 x 1 24-bit bitmap whose pixel has the given blue byte.
std::string bmp24(uint8_t blue) {
  std::string out(58, '\0');
  const uint8_t header[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  40,
                            0,   0,   0,  1, 0, 0, 0, 1, 0, 0, 0,  1, 0, 24, 0};
  out.replace(0, sizeof header, reinterpret_cast<const char*>(header), sizeof header);
  out[54] = static_cast<char>(blue);
  return out;
}

// A w x h 24-bit bitmap, every pixel blue with the given blue byte.
std::string bmp24Sized(uint32_t width, uint32_t height, uint8_t blue) {
  const uint32_t row = (width * 3 + 3) / 4 * 4;
  std::string out = bmp24(blue).substr(0, 54);
  auto put32 = [&out](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>(v >> (8 * i));
  };
  put32(2, 54 + row * height);
  put32(18, width);
  put32(22, height);
  for (uint32_t y = 0; y < height; ++y) {
    std::string line(row, '\0');
    for (uint32_t x = 0; x < width; ++x) line[x * 3] = static_cast<char>(blue);
    out += line;
  }
  return out;
}

int blueOf(const Image* image) {
  return image->pixels ? image->pixels[0] : -1;
}

class ImageCacheTest : public testing::Test {
 protected:
  void SetUp() override { cache.setLooseFolder(dir.path()); }

  TempDir dir;
  std::unique_ptr<ResourceArchive> archive = memoryArchive(
      buildArchive({{"pic.bmp", bmp24(7)}, {"Other.BMP", bmp24(8)}, {"glyphs.bmp", bmp24(0)}}));
  ScopedResourceArchive use{*archive};
  ImageCache cache;
};

TEST_F(ImageCacheTest, OneObjectPerNameInAnyLetterCase) {
  Image* image = cache.getImage("pic.bmp");
  EXPECT_EQ(blueOf(image), 7);
  EXPECT_EQ(image->name, "pic.bmp");
  EXPECT_EQ(cache.getImage("PIC.bmp"), image);
  EXPECT_EQ(cache.imageUseCount("Pic.Bmp"), 2);
  cache.releaseImage(image);  // images stay whatever their use
  EXPECT_EQ(cache.getImage("pic.bmp"), image);
  EXPECT_EQ(blueOf(image), 7);
  EXPECT_EQ(cache.imageUseCount("nothing.png"), 0);
}

TEST_F(ImageCacheTest, NameIsPassedOnUnchangedSoOnlyLowerCaseFindsAMember) {
  Image* capitalised = cache.getImage("Other.BMP");
  EXPECT_EQ(capitalised->pixels, nullptr);
  EXPECT_EQ(capitalised->name, "Other.BMP");
  EXPECT_EQ(cache.getImage("other.bmp"), capitalised);  // the first request decided
}

TEST_F(ImageCacheTest, FailedLoadIsCachedEmptyForGood) {
  Image* missing = cache.getImage("missing.bmp");
  EXPECT_EQ(missing->width, 0);
  EXPECT_EQ(missing->depth, 0);
  EXPECT_EQ(missing->pixels, nullptr);
  EXPECT_EQ(missing->name, "missing.bmp");
  writeFile(dir / "missing.bmp", bmp24(1));
  EXPECT_EQ(cache.getImage("missing.bmp"), missing);
  EXPECT_EQ(missing->pixels, nullptr);
}

TEST_F(ImageCacheTest, LooseFileComesBeforeTheArchiveMember) {
  writeFile(dir / "pic.bmp", bmp24(50));
  EXPECT_EQ(blueOf(cache.getImage("pic.bmp")), 50);
}

TEST_F(ImageCacheTest, LooseFileThatDoesNotDecodeFallsBackToTheMember) {
  writeFile(dir / "pic.bmp", "not a picture");
  EXPECT_EQ(blueOf(cache.getImage("pic.bmp")), 7);
  writeFile(dir / "other.bmp", bmp24(9).substr(0, 57));  // a bitmap one byte short
  EXPECT_EQ(blueOf(cache.getImage("other.bmp")), 8);
  writeFile(dir / "glyphs.bmp", "\x89PNG\r\n\x1a\n broken");
  EXPECT_EQ(blueOf(cache.getImage("glyphs.bmp")), 0);
}

TEST_F(ImageCacheTest, AFolderNamedLikeAnImageIsNoLooseFile) {
  std::filesystem::create_directory(dir / "pic.bmp");
  EXPECT_EQ(blueOf(cache.getImage("pic.bmp")), 7);
}

// Rows of 24-bit pixels are padded to four bytes: a picture w wide and h high holds
// h * ((3w + 3) / 4 * 4) bytes, 4 for one pixel, 8 * 2 = 16 for 2 x 2 and 12 * 3 = 36 for 3 x 3.
TEST_F(ImageCacheTest, PicturesPastTheMemoryBudgetCountAsMissing) {
  ImageCache small(12);  // three one-pixel pictures
  small.setLooseFolder(dir.path());
  writeFile(dir / "huge.bmp", bmp24Sized(3, 3, 1));
  EXPECT_EQ(small.getImage("huge.bmp")->pixels, nullptr);  // nothing else to fall back to
  writeFile(dir / "pic.bmp", bmp24Sized(2, 2, 50));
  EXPECT_EQ(blueOf(small.getImage("pic.bmp")), 7) << "the archive's member, which fits";
  writeFile(dir / "a.bmp", bmp24(1));
  writeFile(dir / "b.bmp", bmp24(2));
  writeFile(dir / "c.bmp", bmp24(3));
  EXPECT_EQ(blueOf(small.getImage("a.bmp")), 1);
  EXPECT_EQ(blueOf(small.getImage("b.bmp")), 2);  // exactly full now
  const Image* over = small.getImage("c.bmp");
  EXPECT_EQ(over->pixels, nullptr);
  EXPECT_EQ(over->width, 0);
  EXPECT_EQ(over->name, "c.bmp");
  // Starting afresh gives the whole budget back.
  small.clear();
  EXPECT_EQ(blueOf(small.getImage("c.bmp")), 3);
}

TEST_F(ImageCacheTest, FontsAreSharedAndDeletedAtTheirLastRelease) {
  BitmapFont* font = cache.getFont("glyphs.bmp");
  EXPECT_EQ(&font->strip(), cache.getImage("glyphs.bmp"));
  EXPECT_EQ(font->name(), "glyphs.bmp");
  EXPECT_EQ(font->glyphCount(), 1u);  // the one pixel is a marker
  EXPECT_EQ(cache.getFont("GLYPHS.BMP"), font);
  EXPECT_EQ(cache.fontUseCount("glyphs.bmp"), 2);

  BitmapFont stranger(cache.getImage("glyphs.bmp"));  // same name, not in the cache
  cache.releaseFont(&stranger);
  cache.releaseFont(nullptr);
  EXPECT_EQ(cache.fontUseCount("glyphs.bmp"), 2);

  cache.releaseFont(font);
  EXPECT_EQ(cache.fontUseCount("glyphs.bmp"), 1);
  cache.releaseFont(font);
  EXPECT_EQ(cache.fontUseCount("glyphs.bmp"), 0);
  // The strip outlives the font.
  EXPECT_EQ(blueOf(cache.getImage("glyphs.bmp")), 0);
}

TEST(ImageCache, HashIsTheUpperCasedByteSumIn16Bits) {
  EXPECT_EQ(ImageCache::hashName("ab", 50), ('A' + 'B') % 50);
  EXPECT_EQ(ImageCache::hashName("AB", 50), ImageCache::hashName("ab", 50));
  EXPECT_EQ(ImageCache::hashName(std::string(800, 'z'), 50), (800 * 'Z') % 65536 % 50);
  EXPECT_EQ(ImageCache::hashName("", 10), 0);
}

TEST(ImageCache, ProcessCacheServesAnimatedImagesByName) {
  AnimatedImage sprite("no-such-sprite.png", 12, 12, 18, 0);
  EXPECT_EQ(sprite.image, getImage("NO-SUCH-SPRITE.PNG"));
  EXPECT_EQ(sprite.width, 0);
  EXPECT_EQ(sprite.frameTime, 55);
}

}  // namespace
