#pragma once

// The settings store: named 32-bit numbers and strings under a key path, in two scopes (the
// player's own and one shared by every player of the machine). Reads never fail loudly: a value
// that is missing, damaged or unreadable is simply absent, and the caller uses its default.
//
// The file store keeps each key as one small text file a person can read, replaced atomically on
// every write; the headless backend keeps a memory store instead (or a file store in a test's
// temporary folder).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class StoreScope : uint8_t {
  User,     // this player only
  Machine,  // every player of this machine (the shared high-score table)
  // This player's own copy of machine-wide values, kept while those cannot be written.
  Fallback,
};

// A stored value keeps its type: a 32-bit number, or a text of any bytes (zero bytes included).
struct StoreValue {
  enum class Type : uint8_t { Number, Text };

  Type type = Type::Number;
  uint32_t number = 0;
  std::string text;

  static StoreValue ofNumber(uint32_t value) { return {Type::Number, value, {}}; }
  static StoreValue ofText(std::string value) { return {Type::Text, 0, std::move(value)}; }
  bool operator==(const StoreValue&) const = default;
};

// The values of one key, by name.
using StoreValues = std::map<std::string, StoreValue, std::less<>>;
// Given the values a key holds now, the values to set in it.
using StoreChange = std::function<StoreValues(const StoreValues& current)>;

class Store {
 public:
  virtual ~Store() = default;

  // Every value of `key` that can be read; empty when the key is absent or unreadable.
  virtual StoreValues read(StoreScope scope, std::string_view key) = 0;
  // Changes `key` in one step: `change` gets the values the key holds now, read afresh (for
  // the machine-wide scope under its lock, so no other player's write comes in between), and
  // returns the values to set. Afterwards the key holds all of them (with its other values
  // kept) or, on failure, exactly what it held before. A key that exists but cannot be read is
  // never replaced: that is a failure too. False on failure.
  virtual bool update(StoreScope scope, std::string_view key, const StoreChange& change) = 0;
  // Removes the key with all its values; true when it is gone (or never was there).
  virtual bool remove(StoreScope scope, std::string_view key) = 0;

  // Sets `values` under `key` in one step, as update does.
  bool write(StoreScope scope, std::string_view key, const StoreValues& values) {
    return update(scope, key, [&values](const StoreValues&) { return values; });
  }
};

// The number called `name`, or nothing when it is absent or holds a text.
std::optional<uint32_t> findNumber(const StoreValues& values, std::string_view name);
// The text called `name`, or nothing when it is absent or holds a number.
const std::string* findText(const StoreValues& values, std::string_view name);

// The text file of one key. Its form, line by line:
//   gyrotide store 1
//   <name> number <decimal>
//   <name> text "<bytes>"          (\\, \" and \xHH stand for bytes outside printable ASCII)
//   end
// Names are 1 to 64 of A-Z a-z 0-9 _ . - and appear once each, in byte order.
inline constexpr size_t kStoreFileMaxBytes = 64 * 1024;
inline constexpr size_t kStoreMaxValues = 256;
inline constexpr size_t kStoreMaxNameLength = 64;

bool isStoreName(std::string_view name);
// The file's bytes; nothing when a name is not a store name or the file would exceed its limits.
std::optional<std::string> formatStoreFile(const StoreValues& values);
// The values of a whole, well-formed file; nothing for any damage, truncation or excess.
std::optional<StoreValues> parseStoreFile(std::string_view bytes);
// What a damaged file still holds: every well-formed value line of a file with the right first
// line, up to its `end`. A line that is damaged, or names a value again or out of order, is
// left out; so are a cut-off last line and whatever follows `end`.
StoreValues salvageStoreFile(std::string_view bytes);

// The folders a file store uses.
struct StoreFolders {
  std::filesystem::path user;     // per-user values
  std::filesystem::path machine;  // machine-wide values
  // Where the machine-wide values of this player go while the machine folder cannot be written.
  std::filesystem::path userData;
};

// The folders from the environment: GYROTIDE_USER_STORE, else $XDG_CONFIG_HOME/gyrotide, else
// ~/.config/gyrotide; GYROTIDE_MACHINE_STORE, else /var/games/gyrotide; $XDG_DATA_HOME/gyrotide,
// else ~/.local/share/gyrotide. A folder that cannot be named (no home) stays empty.
StoreFolders storeFoldersFromEnvironment();

// True when `folder` is a folder this process may create files in, or could be created.
bool folderWritable(const std::filesystem::path& folder);

// How long a write of the machine-wide values waits for another player's write to finish.
inline constexpr std::chrono::milliseconds kMachineLockWait{2000};

// The store on files: each key is one file (its path's backslashes become dots) in its scope's
// folder (the fallback scope's is the user-data folder). A write takes an exclusive lock on the
// folder, removes temporary files an interrupted write left behind, reads the file again,
// writes a fresh temporary file, flushes it to disk, renames it over the old file and flushes
// the folder. The machine-wide lock is waited for at most `lockWait`: without it nothing is
// written there. A file that exists but cannot be read (permissions, not a regular file, too
// large) is never replaced, and the reason goes to standard error.
class FileStore : public Store {
 public:
  explicit FileStore(StoreFolders folders, std::chrono::milliseconds lockWait = kMachineLockWait)
      : folders_(std::move(folders)), lockWait_(lockWait) {}

  StoreValues read(StoreScope scope, std::string_view key) override;
  bool update(StoreScope scope, std::string_view key, const StoreChange& change) override;
  bool remove(StoreScope scope, std::string_view key) override;

  // The file that holds `key` in `folder`; empty when the key cannot name a file.
  static std::filesystem::path fileFor(const std::filesystem::path& folder, std::string_view key);
  // Prefix of the temporary files of a key's file: "<file name>.tmp-".
  static std::string temporaryPrefix(std::string_view key);

  const StoreFolders& folders() const { return folders_; }

 private:
  const std::filesystem::path& folderFor(StoreScope scope) const;

  StoreFolders folders_;
  std::chrono::milliseconds lockWait_;
};

}  // namespace platform
