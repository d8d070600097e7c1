#pragma once

#include <vector>

#include "ui/panel.h"

// A panel that, while visible, swallows every event offered to it, whether or not a child
// wanted it; a click that no child takes is reported as a background click.
// It also keeps a keyboard focus over its buttons, check boxes and sliders, shown by a frame:
// the screen that knows the keys moves it and acts on it; a mouse click clears it.
class Dialog : public Panel {
 public:
  void draw(Image& target, const Rect& clip) override;
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override;
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onLeftUp(int32_t x, int32_t y, int32_t flags) override;
  bool onRightDown(int32_t x, int32_t y, int32_t flags) override;
  bool onRightUp(int32_t x, int32_t y, int32_t flags) override;
  bool onMouseMove(int32_t x, int32_t y, int32_t flags) override;
  bool onChar(uint32_t code) override;

  // The controls the focus visits, in reading order: row by row from the top (controls whose
  // heights overlap the row's first one share its row), each row from the left.
  std::vector<Widget*> focusOrder() const;
  // The focused control, or null.
  Widget* keyFocus() const;
  // To the next control (from none: the first), or back to the previous one (from none: the
  // last), round at the ends.
  void moveKeyFocus(bool backwards);
  void clearKeyFocus();
  // Clicks the focused button or check box; false when no button has the focus.
  bool pressKeyFocus();
  // Moves the focused slider by `delta` within its range; false when no slider has the focus.
  bool stepKeyFocus(int32_t delta);

 private:
  // A visible dialog offers the call to its children and takes it whatever they answer.
  template <typename Call>
  bool swallow(Call call) {
    if (visible) route(call);
    return visible;
  }
  void setKeyFocus(Widget* w);

  Widget* keyFocus_ = nullptr;
};
