#include "ui/widget.h"

#include "ui/screen.h"

Widget::~Widget() {
  if (currentScreen == nullptr) return;
  if (currentScreen->focusWidget == this) currentScreen->focusWidget = nullptr;
  if (currentScreen->captureWidget == this) currentScreen->captureWidget = nullptr;
}

bool Widget::update(uint32_t) {
  return false;
}

void Widget::show() {
  visible = true;
  markDirty();
}

// A hidden widget takes no input, so a capture it kept would swallow every later click.
void Widget::hide() {
  visible = false;
  if (currentScreen != nullptr && currentScreen->captureWidget == this) {
    currentScreen->captureWidget = nullptr;
  }
  markDirty();
}

void Widget::draw(Image&, const Rect&) {
  dirty = false;
}

bool Widget::onNotify(uint16_t, uint32_t, int32_t) {
  return false;
}
bool Widget::onLeftDown(int32_t, int32_t, int32_t) {
  return false;
}
bool Widget::onLeftUp(int32_t, int32_t, int32_t) {
  return false;
}
bool Widget::onRightDown(int32_t, int32_t, int32_t) {
  return false;
}
bool Widget::onRightUp(int32_t, int32_t, int32_t) {
  return false;
}
bool Widget::onMouseMove(int32_t, int32_t, int32_t) {
  return false;
}
bool Widget::onChar(uint32_t) {
  return false;
}
bool Widget::onKeyDown(uint32_t, uint32_t) {
  return false;
}

void Widget::post(uint32_t code, int32_t value) {
  if (currentScreen != nullptr) currentScreen->onNotify(id, code, value);
}
