#include "platform/headless/memory_store.h"

namespace platform {

StoreValues MemoryStore::read(StoreScope scope, std::string_view key) {
  auto found = keys.find({scope, std::string(key)});
  return found == keys.end() ? StoreValues{} : found->second;
}

bool MemoryStore::update(StoreScope scope, std::string_view key, const StoreChange& change) {
  const bool writable[] = {userWritable, machineWritable, fallbackWritable};
  if (!writable[static_cast<size_t>(scope)]) return false;
  // The same limits as the file store, so a test never passes here what a file would refuse.
  StoreValues merged = read(scope, key);
  for (auto& [name, value] : change(merged)) merged.insert_or_assign(name, std::move(value));
  if (!formatStoreFile(merged)) return false;
  keys[{scope, std::string(key)}] = std::move(merged);
  ++writes;
  return true;
}

bool MemoryStore::remove(StoreScope scope, std::string_view key) {
  keys.erase({scope, std::string(key)});
  return true;
}

}  // namespace platform
