#pragma once

#include <string_view>

#include "ui/widget.h"

// An image button: a push button, a check box (toggle) or a radio button (toggle in a group).
// Its image holds three frames side by side: normal, hover, down.
class Button : public Widget {
 public:
  Button(int32_t x, int32_t y, std::string_view imageName, uint16_t id);
  ~Button() override;

  void hide() override;
  void draw(Image& target, const Rect& clip) override;
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override;
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onLeftUp(int32_t x, int32_t y, int32_t flags) override;
  bool onMouseMove(int32_t x, int32_t y, int32_t flags) override;

  // Pressed and let go over its middle, as a mouse click would: the same reports, so the same
  // sounds and effects. False when a click would not take (hidden, or a selected radio button).
  bool click();

  void setGroup(int32_t n) { group = n; }
  void setToggle(bool b) {
    toggle = b;
    markDirty();
  }
  void setDown(bool b) {
    down = b;
    markDirty();
  }

  int32_t group = 0;
  bool toggle = false;
  bool pressed = false;
  bool down = false;
  bool hover = false;
  Image* image = nullptr;

 private:
  // A selected radio button takes no clicks and shows no hover.
  bool isSelectedInGroup() const { return group != 0 && down; }
};
