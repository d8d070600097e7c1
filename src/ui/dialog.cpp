#include "ui/dialog.h"

bool Dialog::onNotify(uint16_t sender, uint32_t code, int32_t value) {
  if (visible) Panel::onNotify(sender, code, value);
  return visible;
}

bool Dialog::onLeftDown(int32_t x, int32_t y, int32_t flags) {
  if (visible && !Panel::onLeftDown(x, y, flags)) post(NotifyBackgroundClick, 0);
  return visible;
}

bool Dialog::onLeftUp(int32_t x, int32_t y, int32_t flags) {
  if (visible) Panel::onLeftUp(x, y, flags);
  return visible;
}

bool Dialog::onRightDown(int32_t x, int32_t y, int32_t flags) {
  if (visible) Panel::onRightDown(x, y, flags);
  return visible;
}

bool Dialog::onRightUp(int32_t x, int32_t y, int32_t flags) {
  if (visible) Panel::onRightUp(x, y, flags);
  return visible;
}

bool Dialog::onMouseMove(int32_t x, int32_t y, int32_t flags) {
  if (visible) Panel::onMouseMove(x, y, flags);
  return visible;
}

bool Dialog::onChar(uint32_t code) {
  if (visible) Panel::onChar(code);
  return visible;
}
