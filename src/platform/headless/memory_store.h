#pragma once

// The headless backend's settings store: every scope in memory. A test can make any scope
// refuse writes, as a folder without write permission would.

#include <map>
#include <string>
#include <utility>

#include "platform/store.h"

namespace platform {

class MemoryStore : public Store {
 public:
  StoreValues read(StoreScope scope, std::string_view key) override;
  bool update(StoreScope scope, std::string_view key, const StoreChange& change) override;
  bool remove(StoreScope scope, std::string_view key) override;

  // Everything stored, by scope and key; tests may read and change it directly.
  std::map<std::pair<StoreScope, std::string>, StoreValues> keys;
  bool userWritable = true;
  bool machineWritable = true;
  bool fallbackWritable = true;
  int writes = 0;  // successful writes
};

}  // namespace platform
