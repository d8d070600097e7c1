// The archive tool: pack, list and extract resource archives. It reads archives through
// src/res, so the tool and the game can never disagree about the format.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "res/archive_writer.h"
#include "res/resource_archive.h"

namespace {

namespace fs = std::filesystem;

// Failures travel as this and are reported once, in main.
struct ZapError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

int usage() {
  std::fputs(
      "usage: zap pack OUT FILE...     pack the files, named by their lower-cased file names\n"
      "       zap list ARCHIVE         print each member's size and name\n"
      "       zap extract ARCHIVE DIR  write every member into DIR\n",
      stderr);
  return 2;
}

// Names come from outside; keep control bytes out of the terminal.
std::string printable(const std::string& name) {
  std::string out;
  for (unsigned char c : name) {
    if (c < 32 || c == 127) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

// A member name that can only ever name a file directly inside the target folder.
bool isSafeMemberName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// A temporary file beside its target that replaces the target only on commit(), so a failed
// run never leaves a partial output, and an existing symbolic link is replaced, not followed.
class TempFile {
 public:
  explicit TempFile(const fs::path& target) : target_(target) {
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string pattern = (folder / ".zap-XXXXXX").string();
    int fd = mkstemp(pattern.data());
    if (fd < 0) throw ZapError("cannot create a file in '" + folder.string() + "'");
    path_ = pattern;
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    ::close(fd);
    out_.open(path_, std::ios::binary | std::ios::trunc);
    if (!out_) throw ZapError("cannot write '" + path_.string() + "'");
  }
  ~TempFile() {
    if (!committed_) {
      out_.close();
      std::error_code ignored;
      fs::remove(path_, ignored);
    }
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  std::ofstream& out() { return out_; }

  void commit() {
    out_.close();
    if (out_.fail()) throw ZapError("cannot write '" + target_.string() + "'");
    std::error_code ec;
    fs::rename(path_, target_, ec);
    if (ec) throw ZapError("cannot create '" + target_.string() + "': " + ec.message());
    committed_ = true;
  }

 private:
  fs::path target_;
  fs::path path_;
  std::ofstream out_;
  bool committed_ = false;
};

struct PackInput {
  fs::path path;
  ArchiveMemberLayout layout;
};

PackInput describeInput(const fs::path& path, std::set<std::string>& names) {
  std::string name = foldArchiveName(path.filename().string());
  if (!isSafeMemberName(name)) throw ZapError("'" + path.string() + "' has no usable file name");
  if (!names.insert(name).second) {
    throw ZapError("'" + path.string() + "' would be a second member called '" + name + "'");
  }
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    throw ZapError("cannot read '" + path.string() + "': not a readable file");
  }
  uint64_t size = fs::file_size(path, ec);
  if (ec) throw ZapError("cannot read '" + path.string() + "': " + ec.message());
  return {path, {name, size}};
}

// Copies exactly size bytes; a file that shrank or grew since it was measured would shift
// every later member away from its recorded offset.
void copyInput(const PackInput& input, std::ostream& out) {
  std::ifstream in(input.path, std::ios::binary);
  if (!in) throw ZapError("cannot read '" + input.path.string() + "'");
  std::vector<char> chunk(1 << 16);
  uint64_t left = input.layout.size;
  while (left > 0) {
    auto want = static_cast<std::streamsize>(std::min<uint64_t>(left, chunk.size()));
    in.read(chunk.data(), want);
    if (in.gcount() != want) break;
    out.write(chunk.data(), want);
    left -= want;
  }
  if (left > 0 || in.peek() != std::char_traits<char>::eof()) {
    throw ZapError("'" + input.path.string() + "' changed while it was being packed");
  }
}

int pack(const fs::path& output, const std::vector<fs::path>& files) {
  if (files.size() > kArchiveMaxMembers) {
    throw ZapError(std::to_string(files.size()) + " files; an archive holds at most " +
                   std::to_string(kArchiveMaxMembers) + " members");
  }
  std::set<std::string> names;
  std::vector<PackInput> inputs;
  std::vector<ArchiveMemberLayout> layout;
  for (const fs::path& file : files) {
    inputs.push_back(describeInput(file, names));
    layout.push_back(inputs.back().layout);
  }
  std::string index;
  std::string error;
  if (!buildArchiveIndex(layout, index, error)) throw ZapError(error);
  TempFile temp(output);
  temp.out().write(index.data(), static_cast<std::streamsize>(index.size()));
  for (const PackInput& input : inputs) copyInput(input, temp.out());
  temp.commit();
  return 0;
}

int list(const char* path) {
  ResourceArchive archive(path);
  if (!archive.isOpen()) throw ZapError(std::string("cannot open '") + path + "'");
  for (size_t i = 0; i < archive.entries().size(); ++i) {
    std::printf("%10u  %s\n", archive.openEntry(i).size(),
                printable(archive.entries()[i].name).c_str());
  }
  if (!archive.indexComplete()) {
    throw ZapError(std::string("'") + path + "' has a damaged index after " +
                   std::to_string(archive.entries().size()) + " members");
  }
  return 0;
}

void extractMember(ResourceArchive& archive, size_t i, const fs::path& folder) {
  const std::string& name = archive.entries()[i].name;
  ResourceStream member = archive.openEntry(i);
  TempFile temp(folder / name);
  std::vector<char> chunk(1 << 16);
  uint64_t total = 0;
  while (uint32_t n = member.read(chunk.data(), static_cast<uint32_t>(chunk.size()))) {
    temp.out().write(chunk.data(), n);
    total += n;
  }
  if (total != member.size()) throw ZapError("member '" + printable(name) + "' is cut short");
  temp.commit();
}

// Every name is checked before anything is written, so a hostile archive writes nothing.
int extract(const char* path, const fs::path& folder) {
  ResourceArchive archive(path);
  if (!archive.isOpen()) throw ZapError(std::string("cannot open '") + path + "'");
  if (!archive.indexComplete()) throw ZapError(std::string("'") + path + "' has a damaged index");
  for (const ArchiveEntry& entry : archive.entries()) {
    if (!isSafeMemberName(entry.name)) {
      throw ZapError("refusing member name '" + printable(entry.name) + "'");
    }
  }
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw ZapError("cannot create '" + folder.string() + "': " + ec.message());
  std::set<std::string> written;
  for (size_t i = 0; i < archive.entries().size(); ++i) {
    const std::string& name = archive.entries()[i].name;
    if (written.insert(name).second) {
      extractMember(archive, i, folder);
    } else {
      // The game only ever finds the first member of a name.
      std::fprintf(stderr, "zap: skipping a second member called '%s'\n", printable(name).c_str());
    }
  }
  return 0;
}

int run(int argc, char** argv) {
  if (argc < 2) return usage();
  std::string command = argv[1];
  if (command == "pack" && argc >= 3) {
    return pack(argv[2], std::vector<fs::path>(argv + 3, argv + argc));
  }
  if (command == "list" && argc == 3) return list(argv[2]);
  if (command == "extract" && argc == 4) return extract(argv[2], argv[3]);
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "zap: %s\n", e.what());
  } catch (...) {
    std::fputs("zap: unexpected failure\n", stderr);
  }
  return 1;
}
