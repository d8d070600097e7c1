#include "platform/store.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace platform {

std::optional<uint32_t> findNumber(const StoreValues& values, std::string_view name) {
  auto found = values.find(name);
  if (found == values.end() || found->second.type != StoreValue::Type::Number) return {};
  return found->second.number;
}

const std::string* findText(const StoreValues& values, std::string_view name) {
  auto found = values.find(name);
  if (found == values.end() || found->second.type != StoreValue::Type::Text) return nullptr;
  return &found->second.text;
}

// ---- The text form of one key ----

namespace {

constexpr std::string_view kHeader = "gyrotide store 1\n";
constexpr std::string_view kEnd = "end\n";
constexpr std::string_view kNumberTag = " number ";
constexpr std::string_view kTextTag = " text \"";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == '-';
}

// Printable ASCII other than the quote and the backslash stands for itself.
bool isPlainByte(unsigned char c) { return c >= 32 && c <= 126 && c != '"' && c != '\\'; }

void appendEscaped(std::string& out, std::string_view text) {
  for (unsigned char c : text) {
    if (isPlainByte(c)) {
      out.push_back(static_cast<char>(c));
    } else if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else {
      out += "\\x";
      out.push_back(kHexDigits[c >> 4]);
      out.push_back(kHexDigits[c & 15]);
    }
  }
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Reads the file one piece at a time; every step either consumes what it expects or fails.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : rest_(bytes) {}

  bool atEnd() const { return rest_.empty(); }
  bool take(std::string_view expected) {
    if (!rest_.starts_with(expected)) return false;
    rest_.remove_prefix(expected.size());
    return true;
  }
  bool name(std::string& out) {
    size_t length = 0;
    while (length < rest_.size() && isNameCharacter(rest_[length])) ++length;
    if (length == 0 || length > kStoreMaxNameLength) return false;
    out.assign(rest_.substr(0, length));
    rest_.remove_prefix(length);
    return true;
  }
  // Decimal, no sign and no leading zero, at most 4294967295.
  bool number(uint32_t& out) {
    size_t length = 0;
    uint64_t value = 0;
    while (length < rest_.size() && rest_[length] >= '0' && rest_[length] <= '9') {
      value = value * 10 + static_cast<uint64_t>(rest_[length] - '0');
      if (++length > 10 || value > UINT32_MAX) return false;
    }
    if (length == 0 || (length > 1 && rest_[0] == '0')) return false;
    out = static_cast<uint32_t>(value);
    rest_.remove_prefix(length);
    return true;
  }
  // The bytes up to the closing quote, which is consumed.
  bool quoted(std::string& out) {
    out.clear();
    while (!rest_.empty()) {
      unsigned char c = static_cast<unsigned char>(rest_[0]);
      if (c == '"') {
        rest_.remove_prefix(1);
        return true;
      }
      if (isPlainByte(c)) {
        out.push_back(static_cast<char>(c));
        rest_.remove_prefix(1);
      } else if (!escape(out)) {
        return false;
      }
    }
    return false;
  }

 private:
  bool escape(std::string& out) {
    if (rest_.size() < 2 || rest_[0] != '\\') return false;
    if (rest_[1] == '"' || rest_[1] == '\\') {
      out.push_back(rest_[1]);
      rest_.remove_prefix(2);
      return true;
    }
    if (rest_[1] != 'x' || rest_.size() < 4) return false;
    int high = hexValue(rest_[2]);
    int low = hexValue(rest_[3]);
    if (high < 0 || low < 0) return false;
    out.push_back(static_cast<char>(high * 16 + low));
    rest_.remove_prefix(4);
    return true;
  }

  std::string_view rest_;
};

bool readValue(Reader& reader, StoreValue& value) {
  if (reader.take(kNumberTag)) {
    value = StoreValue::ofNumber(0);
    return reader.number(value.number) && reader.take("\n");
  }
  if (reader.take(kTextTag)) {
    value = StoreValue::ofText({});
    return reader.quoted(value.text) && reader.take("\n");
  }
  return false;
}

}  // namespace

bool isStoreName(std::string_view name) {
  if (name.empty() || name.size() > kStoreMaxNameLength) return false;
  for (char c : name) {
    if (!isNameCharacter(c)) return false;
  }
  return true;
}

std::optional<std::string> formatStoreFile(const StoreValues& values) {
  if (values.size() > kStoreMaxValues) return {};
  std::string out(kHeader);
  for (const auto& [name, value] : values) {
    if (!isStoreName(name)) return {};
    out += name;
    if (value.type == StoreValue::Type::Number) {
      out += kNumberTag;
      out += std::to_string(value.number);
    } else {
      out += kTextTag;
      appendEscaped(out, value.text);
      out.push_back('"');
    }
    out.push_back('\n');
    if (out.size() > kStoreFileMaxBytes) return {};
  }
  out += kEnd;
  if (out.size() > kStoreFileMaxBytes) return {};
  return out;
}

std::optional<StoreValues> parseStoreFile(std::string_view bytes) {
  if (bytes.size() > kStoreFileMaxBytes) return {};
  Reader reader(bytes);
  if (!reader.take(kHeader)) return {};
  StoreValues values;
  std::string previous;
  while (!reader.take(kEnd)) {
    std::string name;
    StoreValue value;
    if (!reader.name(name) || !readValue(reader, value)) return {};
    // Names strictly ascending: no name twice, and one canonical order for every set of values.
    if (!values.empty() && name <= previous) return {};
    if (values.size() == kStoreMaxValues) return {};
    previous = name;
    values.emplace(std::move(name), std::move(value));
  }
  if (!reader.atEnd()) return {};
  return values;
}

StoreValues salvageStoreFile(std::string_view bytes) {
  StoreValues values;
  if (bytes.size() > kStoreFileMaxBytes || !bytes.starts_with(kHeader)) return values;
  bytes.remove_prefix(kHeader.size());
  std::string previous;
  // Only whole lines count: a last line without its line end may have lost part of its value.
  for (size_t end = bytes.find('\n'); end != std::string_view::npos; end = bytes.find('\n')) {
    const std::string_view line = bytes.substr(0, end + 1);
    bytes.remove_prefix(end + 1);
    if (line == kEnd) break;
    Reader reader(line);
    std::string name;
    StoreValue value;
    if (!reader.name(name) || !readValue(reader, value) || !reader.atEnd()) continue;
    if ((!values.empty() && name <= previous) || values.size() == kStoreMaxValues) continue;
    previous = name;
    values.emplace(std::move(name), std::move(value));
  }
  return values;
}

// ---- Folders ----

namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::filesystem::path homeFolder() {
  std::string home = environment("HOME");
  if (!home.empty()) return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return entry->pw_dir;
  }
  return {};
}

// An XDG base folder: the variable when it holds an absolute path (relative ones are to be
// ignored), else the given folder under home.
std::filesystem::path xdgFolder(const char* variable, const char* underHome) {
  std::filesystem::path set = environment(variable);
  if (set.is_absolute()) return set;
  std::filesystem::path home = homeFolder();
  return home.empty() ? std::filesystem::path() : home / underHome;
}

std::filesystem::path gyrotideFolder(const std::filesystem::path& base) {
  return base.empty() ? base : base / "gyrotide";
}

}  // namespace

StoreFolders storeFoldersFromEnvironment() {
  StoreFolders folders;
  std::filesystem::path user = environment("GYROTIDE_USER_STORE");
  folders.user = !user.empty() ? user : gyrotideFolder(xdgFolder("XDG_CONFIG_HOME", ".config"));
  std::filesystem::path machine = environment("GYROTIDE_MACHINE_STORE");
  folders.machine = !machine.empty() ? machine : std::filesystem::path("/var/games/gyrotide");
  folders.userData = gyrotideFolder(xdgFolder("XDG_DATA_HOME", ".local/share"));
  return folders;
}

bool folderWritable(const std::filesystem::path& folder) {
  if (folder.empty()) return false;
  std::filesystem::path at = folder;
  // Walk up to the nearest thing that exists: a folder still to be made needs a writable parent.
  for (int depth = 0; depth < 256; ++depth) {
    struct stat info;
    if (stat(at.c_str(), &info) == 0) {
      // The effective ids decide, so a program installed set-group-id for the games folder works.
      return S_ISDIR(info.st_mode) && faccessat(AT_FDCWD, at.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
    }
    if (errno != ENOENT) return false;
    std::filesystem::path parent = at.parent_path();
    if (parent.empty()) parent = ".";
    if (parent == at) return false;
    at = parent;
  }
  return false;
}

// ---- The file store ----

namespace {

// A file descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded (a late write error shows here).
  bool reset() {
    bool ok = true;
    if (fd_ >= 0) ok = close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

// A file's bytes, or why there are none: it is not there, or it is there but cannot be read.
struct FileBytes {
  enum class State : uint8_t { Absent, Read, Unreadable };
  State state = State::Absent;
  std::string bytes;
  std::string reason;  // for Unreadable
};

FileBytes unreadable(std::string reason) {
  return {FileBytes::State::Unreadable, {}, std::move(reason)};
}

// The bytes of a regular file of at most kStoreFileMaxBytes.
FileBytes readSmallFile(const std::filesystem::path& path) {
  // Non-blocking, so a pipe put where the file should be cannot hang the game.
  Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!file.valid()) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    return unreadable(std::strerror(errno));
  }
  struct stat info;
  if (fstat(file.get(), &info) != 0) return unreadable(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return unreadable("not a regular file");
  if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > kStoreFileMaxBytes) {
    return unreadable("larger than a store file may be");
  }
  // One byte more than allowed, so a file that grew since fstat is still caught.
  std::string bytes(kStoreFileMaxBytes + 1, '\0');
  size_t used = 0;
  while (used < bytes.size()) {
    ssize_t got = ::read(file.get(), bytes.data() + used, bytes.size() - used);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return unreadable(std::strerror(errno));
    if (got == 0) break;
    used += static_cast<size_t>(got);
  }
  if (used > kStoreFileMaxBytes) return unreadable("larger than a store file may be");
  bytes.resize(used);
  return {FileBytes::State::Read, std::move(bytes), {}};
}

void reportUnreadable(const std::filesystem::path& path, const std::string& reason) {
  std::fprintf(stderr, "gyrotide: cannot read %s (%s); it is left as it is\n", path.c_str(),
               reason.c_str());
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t put = ::write(fd, bytes.data(), bytes.size());
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(put));
  }
  return true;
}

// Makes the folder and any missing parents.
bool makeFolders(const std::filesystem::path& folder, mode_t mode) {
  struct stat info;
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  std::filesystem::path parent = folder.parent_path();
  if (!parent.empty() && parent != folder && !makeFolders(parent, mode)) return false;
  return mkdir(folder.c_str(), mode) == 0 || errno == EEXIST;
}

// Waits at most `wait` for the exclusive lock; false when another process keeps it longer.
bool lockExclusive(int fd, std::chrono::milliseconds wait) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + wait;
  while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (Clock::now() >= deadline) return false;
    const timespec pause = {0, 10'000'000};
    nanosleep(&pause, nullptr);
  }
  return true;
}

// Removes the temporary files of earlier writes that never reached their rename. Only called
// under the folder's lock, so no other writer's temporary file is in flight.
void removeLeftovers(int folderFd, const std::string& prefix) {
  int listFd = dup(folderFd);
  if (listFd < 0) return;
  DIR* listing = fdopendir(listFd);
  if (listing == nullptr) {
    close(listFd);
    return;
  }
  std::vector<std::string> doomed;
  while (const dirent* entry = readdir(listing)) {
    if (std::string_view(entry->d_name).starts_with(prefix)) doomed.emplace_back(entry->d_name);
  }
  closedir(listing);
  for (const std::string& name : doomed) unlinkat(folderFd, name.c_str(), 0);
}

std::string fileNameFor(std::string_view key) {
  std::string name;
  for (char c : key) {
    if (c == '\\') c = '.';
    if (!isNameCharacter(c)) return {};
    name.push_back(c);
  }
  // No hidden files, and never "." or "..".
  if (name.empty() || name[0] == '.') return {};
  return name;
}

// How a key's file is written.
struct Target {
  std::filesystem::path folder;
  mode_t folderMode = 0700;
  bool needsLock = false;  // without the folder's lock nothing is written
  std::chrono::milliseconds lockWait{0};
};

// Writes the key's whole file: the values there now, overlaid with what `change` makes of them.
bool replaceFile(const Target& to, std::string_view key, const StoreChange& change) {
  std::filesystem::path target = FileStore::fileFor(to.folder, key);
  if (target.empty() || !makeFolders(to.folder, to.folderMode)) return false;
  Descriptor folderFd(open(to.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folderFd.valid()) return false;
  // Without the lock another writer's temporary file may be in flight: leave leftovers then.
  if (lockExclusive(folderFd.get(), to.lockWait)) {
    removeLeftovers(folderFd.get(), FileStore::temporaryPrefix(key));
  } else if (to.needsLock) {
    return false;
  }

  FileBytes old = readSmallFile(target);
  if (old.state == FileBytes::State::Unreadable) {
    reportUnreadable(target, old.reason);
    return false;
  }
  StoreValues merged = salvageStoreFile(old.bytes);
  for (auto& [name, value] : change(merged)) merged.insert_or_assign(name, std::move(value));
  std::optional<std::string> bytes = formatStoreFile(merged);
  if (!bytes) return false;

  std::string temporary = (to.folder / (FileStore::temporaryPrefix(key) + "XXXXXX")).string();
  Descriptor file(mkostemp(temporary.data(), O_CLOEXEC));
  if (!file.valid()) return false;
  // Readable by every player, which the shared table needs; mkostemp makes it private.
  bool written =
      fchmod(file.get(), 0644) == 0 && writeAll(file.get(), *bytes) && fsync(file.get()) == 0;
  written = file.reset() && written;
  if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
    unlink(temporary.c_str());
    return false;
  }
  // The rename is the commit; flushing the folder makes it survive a power cut. Some file
  // systems cannot flush a folder, which does not undo the rename.
  fsync(folderFd.get());
  return true;
}

}  // namespace

std::filesystem::path FileStore::fileFor(const std::filesystem::path& folder,
                                         std::string_view key) {
  std::string name = fileNameFor(key);
  if (folder.empty() || name.empty()) return {};
  return folder / name;
}

std::string FileStore::temporaryPrefix(std::string_view key) { return fileNameFor(key) + ".tmp-"; }

const std::filesystem::path& FileStore::folderFor(StoreScope scope) const {
  switch (scope) {
    case StoreScope::User:
      return folders_.user;
    case StoreScope::Machine:
      return folders_.machine;
    case StoreScope::Fallback:
      break;
  }
  return folders_.userData;
}

StoreValues FileStore::read(StoreScope scope, std::string_view key) {
  std::filesystem::path file = fileFor(folderFor(scope), key);
  if (file.empty()) return {};
  FileBytes bytes = readSmallFile(file);
  if (bytes.state == FileBytes::State::Unreadable) reportUnreadable(file, bytes.reason);
  return salvageStoreFile(bytes.bytes);
}

bool FileStore::update(StoreScope scope, std::string_view key, const StoreChange& change) {
  // A player's own folders are private, as the XDG rules ask; a machine folder made here is
  // shared with its group. The umask may narrow either.
  if (scope != StoreScope::Machine) {
    return replaceFile({folderFor(scope), 0700, false, kMachineLockWait}, key, change);
  }
  // Waiting for the lock of a folder this player cannot write anyway would be time lost.
  if (!folderWritable(folders_.machine)) return false;
  return replaceFile({folders_.machine, 0775, true, lockWait_}, key, change);
}

bool FileStore::remove(StoreScope scope, std::string_view key) {
  std::filesystem::path file = fileFor(folderFor(scope), key);
  if (file.empty()) return false;
  return unlink(file.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}

}  // namespace platform
