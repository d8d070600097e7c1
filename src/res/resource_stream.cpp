#include "res/resource_stream.h"

#include <algorithm>
#include <fstream>
#include <new>

#include "platform/regular_file.h"

ResourceStream::ResourceStream(ResourceStream&& other) noexcept
    : start_(other.start_),
      end_(other.end_),
      position_(other.position_),
      owned_(std::move(other.owned_)),
      stream_(other.stream_) {
  other.stream_ = nullptr;
  other.start_ = other.end_ = other.position_ = 0;
}

ResourceStream& ResourceStream::operator=(ResourceStream&& other) noexcept {
  if (this != &other) {
    start_ = other.start_;
    end_ = other.end_;
    position_ = other.position_;
    owned_ = std::move(other.owned_);
    stream_ = other.stream_;
    other.stream_ = nullptr;
    other.start_ = other.end_ = other.position_ = 0;
  }
  return *this;
}

// start 0, position 0, end = the stream's length. A failed stream reports -1 for its length,
// which becomes 0xFFFFFFFF; the music player relies on that to treat a missing file as open.
void ResourceStream::viewWholeStream() {
  start_ = 0;
  position_ = 0;
  stream_->clear();
  stream_->seekg(0, std::ios::end);
  std::streamoff length = stream_->tellg();
  end_ = length > 0xFFFFFFFF ? 0xFFFFFFFF : static_cast<uint32_t>(length);
}

void ResourceStream::attach(std::istream& stream) {
  owned_.reset();
  stream_ = &stream;
  viewWholeStream();
}

void ResourceStream::openFile(const char* path) {
  owned_.reset();
  stream_ = nullptr;
  owned_ = platform::openRegularFile(path);
  // What cannot be opened reads as a stream that failed to open: a missing file as always.
  if (!owned_) owned_.reset(new (std::nothrow) std::ifstream());
  if (!owned_) {
    start_ = end_ = position_ = 0;
    return;
  }
  stream_ = owned_.get();
  viewWholeStream();
}

// A previous short read leaves eof and fail set, which would make every later seek fail.
bool ResourceStream::seekToPosition() {
  stream_->clear();
  stream_->seekg(static_cast<std::streamoff>(start_) + position_, std::ios::beg);
  return !stream_->fail();
}

uint32_t ResourceStream::read(void* buffer, uint32_t count) {
  if (!stream_ || position_ >= size()) return 0;
  count = std::min(count, size() - position_);
  if (!seekToPosition()) return 0;
  stream_->read(static_cast<char*>(buffer), count);
  auto delivered = static_cast<uint32_t>(stream_->gcount());
  position_ += delivered;
  return delivered;
}

// Reads the most the line could take straight into buffer, then keeps the bytes up to the
// first line feed, squeezing out control bytes in place; the position advances past the
// line feed only, so the next call starts on the next line.
uint32_t ResourceStream::readLine(char* buffer, uint32_t capacity) {
  if (capacity == 0) return 0;
  uint32_t remaining = position_ < size() ? size() - position_ : 0;
  uint32_t wanted = std::min(capacity - 1, remaining);
  uint32_t delivered = 0;
  if (wanted > 0 && stream_ && seekToPosition()) {
    stream_->read(buffer, wanted);
    delivered = static_cast<uint32_t>(stream_->gcount());
  }
  uint32_t taken = 0;
  uint32_t stored = 0;
  while (taken < delivered) {
    auto c = static_cast<unsigned char>(buffer[taken++]);
    if (c == '\n') break;
    if (c >= 32) buffer[stored++] = static_cast<char>(c);
  }
  position_ += taken;
  buffer[stored] = '\0';
  return stored;
}

void ResourceStream::close() {
  owned_.reset();
  stream_ = nullptr;
  start_ = end_ = 0;
}
