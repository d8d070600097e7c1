#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/font.h"
#include "gfx/image.h"

class ResourceStream;

// Images and bitmap fonts shared by name. The first request for a name loads
// it (a loose file first, then the archive member); later requests, in any
// letter case, return the same object. Images stay until the cache goes;
// fonts go with their last release.
class ImageCache {
 public:
  static constexpr uint16_t kImageBuckets = 50;
  static constexpr uint16_t kFontBuckets = 10;
  // Images are kept until exit, so together their pixels may take at most this much memory:
  // far more than the game's own pictures need, far less than loose files could ask for.
  static constexpr size_t kDefaultImageBudget = size_t{256} << 20;

  // Past `imageBudget` bytes of pixels, a picture that is still to load counts as missing.
  explicit ImageCache(size_t imageBudget = kDefaultImageBudget);
  ~ImageCache();
  ImageCache(const ImageCache&) = delete;
  ImageCache& operator=(const ImageCache&) = delete;

  // Never null: an image that failed to load is cached empty all the same.
  Image* getImage(std::string_view name);
  // Images are kept until exit whatever their use, so this does nothing.
  void releaseImage(Image* image);
  // Never null: a font made from the glyph strip of that name.
  BitmapFont* getFont(std::string_view name);
  // Deletes the font at its last release; null or unknown fonts are ignored.
  void releaseFont(Font* font);

  // Loose files are looked up in this folder; empty (the default) is the
  // current directory, as the game has it.
  void setLooseFolder(std::filesystem::path folder) { looseFolder_ = std::move(folder); }
  // Requests not yet released; 0 when the name is not cached.
  uint16_t imageUseCount(std::string_view name) const;
  uint16_t fontUseCount(std::string_view name) const;
  // Deletes every image and then every font.
  void clear();

  // The sum of the upper-cased name bytes in 16 bits, modulo the bucket count.
  static uint16_t hashName(std::string_view name, uint16_t buckets);

 private:
  template <class T>
  struct Entry {
    uint16_t useCount = 0;
    std::unique_ptr<T> object;
    std::string key;  // the name in lower case
  };
  template <class T>
  using Table = std::vector<std::vector<Entry<T>>>;

  template <class T, class Make>
  T* get(Table<T>& table, std::string_view name, Make make);
  template <class T>
  static const Entry<T>* find(const Table<T>& table, std::string_view name);

  Image loadImage(std::string_view name);
  // Whether the image fits in what is left of the budget; an image that does not is emptied.
  bool takeFromBudget(Image& image);

  Table<Image> images_;
  Table<BitmapFont> fonts_;
  std::filesystem::path looseFolder_;
  size_t imageBudget_;
  size_t imageBytes_ = 0;  // pixels of the images held, as counted against the budget
};

// The one cache of the game, which also owns the archive: it opens it before
// main runs and closes it at exit, after every image and font is gone.
Image* getImage(std::string_view name);
void releaseImage(Image* image);
BitmapFont* getFont(std::string_view name);
void releaseFont(Font* font);
// Forgets every image and font of the game's cache, so the next requests load again from the
// archive then installed. Only for a process in which nothing holds one (tests that change
// archives between screens).
void clearImageCache();

// Decodes an image held in memory, told apart by its first bytes: "BM" for a
// BMP, the PNG signature for a PNG. False, with an empty image, otherwise.
bool decodeImage(const uint8_t* data, size_t size, Image& image);
// Reads the whole stream and decodes it.
bool decodeImage(ResourceStream& stream, Image& image);
