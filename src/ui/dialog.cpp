#include "ui/dialog.h"

#include <algorithm>

#include "ui/button.h"
#include "ui/focus_frame.h"
#include "ui/screen.h"
#include "ui/slider.h"

namespace {

bool focusable(Widget* w) {
  if (!w->visible || w->rect.isEmpty()) return false;
  return dynamic_cast<Button*>(w) != nullptr || dynamic_cast<Slider*>(w) != nullptr;
}

void invalidateFrame(const Widget* w) {
  if (w != nullptr && currentScreen != nullptr) {
    currentScreen->invalidate(focusFrameAround(w->rect));
  }
}

}  // namespace

void Dialog::draw(Image& target, const Rect& clip) {
  Panel::draw(target, clip);
  if (Widget* focused = keyFocus(); focused != nullptr && visible) {
    drawFocusFrame(target, focusFrameAround(focused->rect), clip);
  }
}

bool Dialog::onNotify(uint16_t sender, uint32_t code, int32_t value) {
  return swallow([&](Widget* w) { return w->onNotify(sender, code, value); });
}

bool Dialog::onLeftDown(int32_t x, int32_t y, int32_t flags) {
  clearKeyFocus();
  if (visible && !Panel::onLeftDown(x, y, flags)) post(NotifyBackgroundClick, 0);
  return visible;
}

bool Dialog::onLeftUp(int32_t x, int32_t y, int32_t flags) {
  return swallow([&](Widget* w) { return w->onLeftUp(x, y, flags); });
}

bool Dialog::onRightDown(int32_t x, int32_t y, int32_t flags) {
  clearKeyFocus();
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

// ---- The keyboard focus.

std::vector<Widget*> Dialog::focusOrder() const {
  std::vector<Widget*> order;
  std::copy_if(children.begin(), children.end(), std::back_inserter(order), focusable);
  std::stable_sort(order.begin(), order.end(),
                   [](Widget* a, Widget* b) { return a->rect.top < b->rect.top; });
  for (auto row = order.begin(); row != order.end();) {
    const int32_t bottom = (*row)->rect.bottom;
    auto end = std::find_if(row, order.end(), [&](Widget* w) { return w->rect.top >= bottom; });
    std::stable_sort(row, end, [](Widget* a, Widget* b) { return a->rect.left < b->rect.left; });
    row = end;
  }
  return order;
}

Widget* Dialog::keyFocus() const {
  // A control that has gone, or can no longer be reached, has no focus.
  return keyFocus_ != nullptr &&
                 std::find(children.begin(), children.end(), keyFocus_) != children.end() &&
                 focusable(keyFocus_)
             ? keyFocus_
             : nullptr;
}

void Dialog::setKeyFocus(Widget* w) {
  invalidateFrame(keyFocus());
  keyFocus_ = w;
  invalidateFrame(w);
}

void Dialog::moveKeyFocus(bool backwards) {
  const std::vector<Widget*> order = focusOrder();
  if (order.empty()) return;
  const auto at = std::find(order.begin(), order.end(), keyFocus());
  const auto n = static_cast<ptrdiff_t>(order.size());
  ptrdiff_t next = backwards ? n - 1 : 0;
  if (at != order.end()) next = ((at - order.begin()) + (backwards ? n - 1 : 1)) % n;
  setKeyFocus(order[static_cast<size_t>(next)]);
}

void Dialog::clearKeyFocus() {
  if (keyFocus_ != nullptr) setKeyFocus(nullptr);
}

bool Dialog::pressKeyFocus() {
  auto* button = dynamic_cast<Button*>(keyFocus());
  if (button == nullptr) return false;
  button->click();  // a selected radio button takes the key as it takes the click: unmoved
  return true;
}

bool Dialog::stepKeyFocus(int32_t delta) {
  auto* slider = dynamic_cast<Slider*>(keyFocus());
  if (slider == nullptr) return false;
  const int64_t to = std::clamp<int64_t>(int64_t{slider->value} + delta, slider->min, slider->max);
  slider->setValue(static_cast<uint32_t>(to));
  return true;
}
