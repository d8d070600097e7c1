#pragma once

// The headless backend's settings store: both scopes in memory. A test can make either scope
// refuse writes, as a folder without write permission would.

#include <map>
#include <string>
#include <utility>

#include "platform/store.h"

namespace platform {

class MemoryStore : public Store {
 public:
  StoreValues read(StoreScope scope, std::string_view key) override;
  bool write(StoreScope scope, std::string_view key, const StoreValues& values) override;

  // Everything stored, by scope and key; tests may read and change it directly.
  std::map<std::pair<StoreScope, std::string>, StoreValues> keys;
  bool userWritable = true;
  bool machineWritable = true;
  int writes = 0;  // successful writes
};

}  // namespace platform
