// The settings store's file readers over arbitrary bytes. The strict reader reads a file whole
// or not at all; the salvaging one keeps what it can and agrees with the strict one on a whole
// file. What either reads is within the limits, writes out again, and reads back the same.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/store.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

void requireWritable(const platform::StoreValues& values) {
  require(values.size() <= platform::kStoreMaxValues);
  for (const auto& [name, value] : values) require(platform::isStoreName(name));
  std::optional<std::string> written = platform::formatStoreFile(values);
  require(written.has_value());
  require(platform::parseStoreFile(*written) == values);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const platform::StoreValues salvaged = platform::salvageStoreFile(bytes);
  if (size <= platform::kStoreFileMaxBytes) requireWritable(salvaged);
  std::optional<platform::StoreValues> values = platform::parseStoreFile(bytes);
  if (!values) return 0;
  require(salvaged == *values);
  require(size <= platform::kStoreFileMaxBytes);
  require(values->size() <= platform::kStoreMaxValues);
  for (const auto& [name, value] : *values) require(platform::isStoreName(name));

  // Written out, the values take no more room than they were read from (escapes only ever
  // shrink to their canonical form), and read back unchanged.
  std::optional<std::string> written = platform::formatStoreFile(*values);
  require(written.has_value());
  require(written->size() <= size);
  require(platform::parseStoreFile(*written) == values);
  return 0;
}
