#pragma once

#include <cstdint>
#include <istream>
#include <memory>

class ResourceArchive;

// A bounded reader over one archive member or one whole file on disk. It keeps only offsets
// into its stream and seeks before every read, so many member views can share the archive's
// single stream as long as they are used one at a time.
class ResourceStream {
 public:
  ResourceStream() = default;
  ~ResourceStream() = default;
  ResourceStream(ResourceStream&& other) noexcept;
  ResourceStream& operator=(ResourceStream&& other) noexcept;
  ResourceStream(const ResourceStream&) = delete;
  ResourceStream& operator=(const ResourceStream&) = delete;

  // A view of the whole of a stream the caller opened and keeps alive; not owned.
  void attach(std::istream& stream);
  // Opens path for binary reading and owns that stream. A path that does not open, or is
  // not a regular file, leaves
  // start 0 and end 0xFFFFFFFF (the failed length query), and reads deliver nothing.
  void openFile(const char* path);

  // Reads up to count bytes at the position; returns how many arrived and advances by that many.
  uint32_t read(void* buffer, uint32_t count);
  // Reads the next line into buffer (capacity bytes, terminator included) without its line
  // feed and without bytes below 32; returns the number of characters stored. A line longer
  // than capacity - 1 comes back in pieces. Capacity 0 stores nothing at all.
  uint32_t readLine(char* buffer, uint32_t capacity);

  // Unchecked: a read at or beyond the size returns 0.
  void setPosition(uint32_t position) { position_ = position; }
  uint32_t position() const { return position_; }
  uint32_t size() const { return end_ >= start_ ? end_ - start_ : 0; }

  void close();

 private:
  friend class ResourceArchive;
  // A member view of an archive's stream, not owned.
  ResourceStream(std::istream* stream, uint32_t start, uint32_t end)
      : start_(start), end_(end), stream_(stream) {}

  void viewWholeStream();
  bool seekToPosition();

  uint32_t start_ = 0;
  uint32_t end_ = 0;
  uint32_t position_ = 0;
  std::unique_ptr<std::istream> owned_;  // set only when the stream was opened by openFile
  std::istream* stream_ = nullptr;
};
