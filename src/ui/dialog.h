#pragma once

#include "ui/panel.h"

// A panel that, while visible, swallows every event offered to it, whether or not a child
// wanted it; a click that no child takes is reported as a background click.
class Dialog : public Panel {
 public:
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override;
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onLeftUp(int32_t x, int32_t y, int32_t flags) override;
  bool onRightDown(int32_t x, int32_t y, int32_t flags) override;
  bool onRightUp(int32_t x, int32_t y, int32_t flags) override;
  bool onMouseMove(int32_t x, int32_t y, int32_t flags) override;
  bool onChar(uint32_t code) override;

 private:
  // A visible dialog offers the call to its children and takes it whatever they answer.
  template <typename Call>
  bool swallow(Call call) {
    if (visible) route(call);
    return visible;
  }
};
