#include "platform/headless/memory_store.h"

namespace platform {

StoreValues MemoryStore::read(StoreScope scope, std::string_view key) {
  auto found = keys.find({scope, std::string(key)});
  return found == keys.end() ? StoreValues{} : found->second;
}

bool MemoryStore::write(StoreScope scope, std::string_view key, const StoreValues& values) {
  if (!(scope == StoreScope::User ? userWritable : machineWritable)) return false;
  // The same limits as the file store, so a test never passes here what a file would refuse.
  StoreValues merged = read(scope, key);
  for (const auto& [name, value] : values) merged.insert_or_assign(name, value);
  if (!formatStoreFile(merged)) return false;
  keys[{scope, std::string(key)}] = std::move(merged);
  ++writes;
  return true;
}

}  // namespace platform
