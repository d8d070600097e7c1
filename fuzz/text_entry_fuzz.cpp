// Keystrokes and clipboard texts from outside reaching the name field. Whatever arrives, the
// field holds only characters 32 to 125 (the range the saved table can carry) and never more
// than its limit, and drawing it stays inside its box.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gfx/image.h"
#include "platform/headless/headless_backend.h"
#include "ui/text_entry.h"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// Hands out the input's bytes in order, then zeros.
struct Input {
  const uint8_t* data;
  size_t size;
  size_t at = 0;
  bool more() const { return at < size; }
  uint8_t byte() { return at < size ? data[at++] : 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in{data, size};
  platform::HeadlessBackend backend;
  platform::setBackend(&backend);
  {
    const uint16_t limit = in.byte() % 12;
    TextEntry entry(Rect(10, 10, 60, 30), nullptr, Colour{77, 77, 77}, nullptr, 2022);
    entry.setMaxLength(limit);
    Image target(70, 40, 24);
    while (in.more()) {
      uint32_t code = in.byte();
      if (code == 22) {
        // A paste: the next byte says how long the clipboard text is (255: no text at all).
        const uint8_t length = in.byte();
        if (length == 255) {
          backend.clipboard.reset();
        } else {
          std::string text;
          for (uint8_t i = 0; i < length && in.more(); ++i) text.push_back(char(in.byte()));
          backend.clipboard = text;
        }
      } else if (code == 0xFF) {
        code = in.byte() | uint32_t{in.byte()} << 8 | uint32_t{in.byte()} << 16;  // any code
      }
      entry.onChar(code);
      require(entry.getText().size() <= limit);
      for (char ch : entry.getText()) require(ch >= 32 && ch <= 125);
    }
    entry.draw(target, Rect(0, 0, 70, 40));
  }
  platform::setBackend(nullptr);
  return 0;
}
