#include "gfx/image_cache.h"

#include <png.h>

#include <algorithm>
#include <istream>
#include <utility>

#include "gfx/bmp_decoder.h"
#include "gfx/png_decoder.h"
#include "platform/regular_file.h"
#include "res/resource_archive.h"
#include "res/resource_stream.h"

namespace {

// Larger files are no picture of this game; they are not read into memory.
constexpr uint32_t kMaxEncodedBytes = 64u << 20;

char upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return lower(x) == lower(y); });
}

std::string lowerCase(std::string_view name) {
  std::string key(name);
  std::transform(key.begin(), key.end(), key.begin(), lower);
  return key;
}

}  // namespace

uint16_t ImageCache::hashName(std::string_view name, uint16_t buckets) {
  uint16_t sum = 0;
  for (char c : name) sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(upper(c)));
  return static_cast<uint16_t>(sum % buckets);
}

ImageCache::ImageCache(size_t imageBudget)
    : images_(kImageBuckets), fonts_(kFontBuckets), imageBudget_(imageBudget) {}

ImageCache::~ImageCache() {
  clear();
}

void ImageCache::clear() {
  for (auto& bucket : images_) bucket.clear();
  for (auto& bucket : fonts_) bucket.clear();
  imageBytes_ = 0;
}

template <class T, class Make>
T* ImageCache::get(Table<T>& table, std::string_view name, Make make) {
  auto& bucket = table[hashName(name, static_cast<uint16_t>(table.size()))];
  auto found = std::find_if(bucket.begin(), bucket.end(),
                            [name](const Entry<T>& e) { return sameName(e.key, name); });
  if (found == bucket.end()) {
    // Made before the entry is added: making a font asks this cache for its strip.
    std::unique_ptr<T> object = make();
    bucket.push_back(Entry<T>{0, std::move(object), lowerCase(name)});
    found = bucket.end() - 1;
  }
  // Saturates rather than wraps, so a font is never deleted under its users.
  if (found->useCount < UINT16_MAX) ++found->useCount;
  return found->object.get();
}

template <class T>
const ImageCache::Entry<T>* ImageCache::find(const Table<T>& table, std::string_view name) {
  const auto& bucket = table[hashName(name, static_cast<uint16_t>(table.size()))];
  for (const Entry<T>& entry : bucket) {
    if (sameName(entry.key, name)) return &entry;
  }
  return nullptr;
}

Image* ImageCache::getImage(std::string_view name) {
  return get(images_, name, [&] { return std::make_unique<Image>(loadImage(name)); });
}

void ImageCache::releaseImage(Image*) {}

BitmapFont* ImageCache::getFont(std::string_view name) {
  return get(fonts_, name, [&] { return std::make_unique<BitmapFont>(getImage(name)); });
}

void ImageCache::releaseFont(Font* font) {
  if (!font) return;
  auto& bucket = fonts_[hashName(font->name(), kFontBuckets)];
  auto found = std::find_if(bucket.begin(), bucket.end(),
                            [font](const Entry<BitmapFont>& e) { return e.object.get() == font; });
  if (found == bucket.end()) return;
  if (found->useCount == UINT16_MAX) return;  // saturated: kept for good
  if (--found->useCount == 0) bucket.erase(found);
}

uint16_t ImageCache::imageUseCount(std::string_view name) const {
  const Entry<Image>* entry = find(images_, name);
  return entry ? entry->useCount : 0;
}

uint16_t ImageCache::fontUseCount(std::string_view name) const {
  const Entry<BitmapFont>* entry = find(fonts_, name);
  return entry ? entry->useCount : 0;
}

bool ImageCache::takeFromBudget(Image& image) {
  const size_t bytes = image.byteSize();
  if (bytes > imageBudget_ - imageBytes_) {
    image = Image();
    return false;
  }
  imageBytes_ += bytes;
  return true;
}

// A loose file of that name wins if it decodes and fits in the budget; otherwise the archive
// member is used, decoded or not. The image keeps the name as asked for.
Image ImageCache::loadImage(std::string_view name) {
  Image image;
  const std::string path(name);
  bool decoded = false;
  if (std::unique_ptr<std::istream> file = platform::openRegularFile(
          looseFolder_.empty() ? std::filesystem::path(path) : looseFolder_ / path)) {
    ResourceStream stream;
    stream.attach(*file);
    decoded = decodeImage(stream, image) && takeFromBudget(image);
  }
  if (!decoded && resourceArchive) {
    ResourceStream member = resourceArchive->openMember(path);
    if (decodeImage(member, image)) takeFromBudget(image);
  }
  image.name = path;
  return image;
}

bool decodeImage(const uint8_t* data, size_t size, Image& image) {
  if (data && size >= 2 && data[0] == 'B' && data[1] == 'M') return decodeBmp(data, size, image);
  if (data && size >= 4 && png_sig_cmp(data, 0, 4) == 0) return decodePng(data, size, image);
  image = Image();
  return false;
}

bool decodeImage(ResourceStream& stream, Image& image) {
  image = Image();
  const uint32_t size = stream.size();
  if (size > kMaxEncodedBytes) return false;
  std::vector<uint8_t> bytes(size);
  stream.setPosition(0);
  bytes.resize(stream.read(bytes.data(), size));
  return decodeImage(bytes.data(), bytes.size(), image);
}

namespace {

// The game's one cache. It exists before main runs, with the archive open,
// and at exit deletes every image and font before it closes the archive.
struct ProcessImageCache {
  ImageCache cache;
  ProcessImageCache() { openResourceArchive(); }
  ~ProcessImageCache() {
    cache.clear();
    closeResourceArchive();
  }
};

ProcessImageCache processCache;

}  // namespace

Image* getImage(std::string_view name) {
  return processCache.cache.getImage(name);
}
void releaseImage(Image* image) {
  processCache.cache.releaseImage(image);
}
BitmapFont* getFont(std::string_view name) {
  return processCache.cache.getFont(name);
}
void releaseFont(Font* font) {
  processCache.cache.releaseFont(font);
}
void clearImageCache() {
  processCache.cache.clear();
}
