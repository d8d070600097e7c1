#include "ui/dialog.h"

bool Dialog::onNotify(uint16_t sender, uint32_t code, int32_t value) {
  return swallow([&](Widget* w) { return w->onNotify(sender, code, value); });
}

bool Dialog::onLeftDown(int32_t x, int32_t y, int32_t flags) {
  if (visible && !Panel::onLeftDown(x, y, flags)) post(NotifyBackgroundClick, 0);
  return visible;
}

bool Dialog::onLeftUp(int32_t x, int32_t y, int32_t flags) {
  return swallow([&](Widget* w) { return w->onLeftUp(x, y, flags); });
}

bool Dialog::onRightDown(int32_t x, int32_t y, int32_t flags) {
  return swallow([&](Widget* w) { return w->onRightDown(x, y, flags); });
}

bool Dialog::onRightUp(int32_t x, int32_t y, int32_t flags) {
  return swallow([&](Widget* w) { return w->onRightUp(x, y, flags); });
}

bool Dialog::onMouseMove(int32_t x, int32_t y, int32_t flags) {
  return swallow([&](Widget* w) { return w->onMouseMove(x, y, flags); });
}

bool Dialog::onChar(uint32_t code) {
  return swallow([&](Widget* w) { return w->onChar(code); });
}
