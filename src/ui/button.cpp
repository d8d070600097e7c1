#include "ui/button.h"

#include "ui/screen.h"
#include "gfx/image_cache.h"

Button::Button(int32_t x, int32_t y, std::string_view imageName, uint16_t id)
    : Widget(Rect(x, y, x, y), id), image(getImage(imageName)) {
  if (image != nullptr && image->pixels != nullptr) {
    rect = Rect(x, y, x + image->width / 3, y + image->height);
  }
}

Button::~Button() {
  releaseImage(image);
}

void Button::hide() {
  hover = false;
  down = false;
  pressed = false;
  Widget::hide();
}

void Button::draw(Image& target, const Rect& clip) {
  if (visible && image != nullptr) {
    int32_t frame = 0;
    if (down || pressed) {
      frame = image->width * 2 / 3;
    } else if (hover) {
      frame = image->width / 3;
    }
    image->drawTo(target, frame, 0, rect.left, rect.top, static_cast<uint16_t>(rect.width()),
                  static_cast<uint16_t>(rect.height()), clip, alpha);
  }
  dirty = false;
}

bool Button::onNotify(uint16_t sender, uint32_t code, int32_t value) {
  if (code == NotifyClicked && sender != id && value == group && toggle && group != 0 && down) {
    down = false;
    markDirty();
  } else if (code == NotifySetDown && value == id) {
    down = true;
    markDirty();
  } else if (code == NotifySetUp && value == id) {
    down = false;
    markDirty();
  }
  return false;
}

bool Button::onLeftDown(int32_t x, int32_t y, int32_t) {
  if (!rect.contains(x, y) || !visible) return false;
  if (isSelectedInGroup()) return false;
  setCapture(this);
  pressed = true;
  if (!toggle) down = true;
  post(NotifyPressed, group);
  markDirty();
  return true;
}

bool Button::onLeftUp(int32_t x, int32_t y, int32_t) {
  bool hit = rect.contains(x, y);
  if (!pressed || !visible) return hit;
  if (getCapture() == this) setCapture(nullptr);
  pressed = false;
  if (!toggle) down = false;
  markDirty();
  if (hit) {
    if (toggle) {
      down = !down;
      post(NotifyToggled, down ? 1 : 0);
    }
    post(NotifyClicked, group);
  }
  return hit;
}

bool Button::click() {
  const int32_t x = (rect.left + rect.right) / 2;
  const int32_t y = (rect.top + rect.bottom) / 2;
  if (rect.isEmpty() || !onLeftDown(x, y, 0)) return false;
  onLeftUp(x, y, 0);
  return true;
}

bool Button::onMouseMove(int32_t x, int32_t y, int32_t) {
  bool inside = rect.contains(x, y);
  if (inside != hover && visible && !isSelectedInGroup()) {
    hover = inside;
    markDirty();
    if (hover) post(NotifyHover, 0);
  }
  return false;
}
