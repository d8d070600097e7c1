#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <streambuf>

namespace platform {

namespace {

// Reads and seeks the descriptor it owns. The stream reads the very file that was checked: a
// name opened again could meanwhile stand for something else.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd) {}
  ~DescriptorBuffer() override { close(fd_); }
  DescriptorBuffer(const DescriptorBuffer&) = delete;
  DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    const ssize_t got = readSome(buffer_, sizeof buffer_);
    if (got <= 0) return traits_type::eof();
    setg(buffer_, buffer_, buffer_ + got);
    return traits_type::to_int_type(*gptr());
  }

  // Large reads (whole pictures) go straight into the caller's memory, small ones through
  // the buffer.
  std::streamsize xsgetn(char* out, std::streamsize count) override {
    std::streamsize done = std::min<std::streamsize>(count, egptr() - gptr());
    std::memcpy(out, gptr(), static_cast<size_t>(done));
    gbump(static_cast<int>(done));
    if (count - done < static_cast<std::streamsize>(sizeof buffer_)) {
      return done + std::streambuf::xsgetn(out + done, count - done);
    }
    while (done < count) {
      const ssize_t got = readSome(out + done, static_cast<size_t>(count - done));
      if (got <= 0) break;
      done += got;
    }
    return done;
  }

  pos_type seekoff(off_type offset, std::ios_base::seekdir dir, std::ios_base::openmode) override {
    int whence = SEEK_SET;
    if (dir == std::ios_base::cur) {
      whence = SEEK_CUR;
      offset -= egptr() - gptr();  // the descriptor is ahead by what is still buffered
    } else if (dir == std::ios_base::end) {
      whence = SEEK_END;
    }
    const off_t at = lseek(fd_, static_cast<off_t>(offset), whence);
    setg(buffer_, buffer_, buffer_);
    return at < 0 ? pos_type(off_type(-1)) : pos_type(static_cast<off_type>(at));
  }

  pos_type seekpos(pos_type position, std::ios_base::openmode mode) override {
    return seekoff(off_type(position), std::ios_base::beg, mode);
  }

 private:
  ssize_t readSome(char* out, size_t count) {
    for (;;) {
      const ssize_t got = ::read(fd_, out, count);
      if (got >= 0 || errno != EINTR) return got;
    }
  }

  int fd_;
  char buffer_[8192];
};

// The stream owns its buffer.
class DescriptorStream : public std::istream {
 public:
  explicit DescriptorStream(int fd) : std::istream(nullptr), buffer_(fd) { rdbuf(&buffer_); }

 private:
  DescriptorBuffer buffer_;
};

}  // namespace

std::unique_ptr<std::istream> openRegularFile(const std::filesystem::path& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return nullptr;
  }
  // Reads of a regular file never wait for long; they get the ordinary blocking reads.
  const int flags = fcntl(fd, F_GETFL);
  if (flags >= 0) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::unique_ptr<std::istream> stream(new (std::nothrow) DescriptorStream(fd));
  if (!stream) close(fd);
  return stream;
}

}  // namespace platform
