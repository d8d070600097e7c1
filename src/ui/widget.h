#pragma once

#include <cstdint>

#include "core/rect.h"

class Image;

// What `nextChange` answers when nothing will change by itself, only through input.
inline constexpr uint32_t kNoChange = UINT32_MAX;

// Notification codes of the toolkit. Tiles use their own small codes 1 to 9.
enum : uint32_t {
  NotifyClicked = 0xF0000001,
  NotifyPressed = 0xF0000002,
  NotifySetDown = 0xF0000003,
  NotifySetUp = 0xF0000004,
  NotifyHover = 0xF0000006,
  NotifyToggled = 0xF0000008,
  NotifyValueChanged = 0xF0000010,
  NotifyBlastDone = 0xF0000030,
  NotifyEnter = 0xF0000040,
  NotifyBackgroundClick = 0xF0000080,
};

// Everything drawn on the picture. Rectangles are in picture coordinates; a widget has no
// pointer to its parent and reports through `post`, which reaches the current screen.
class Widget {
 public:
  Widget(const Rect& rect, uint16_t id) : rect(rect), id(id) {}
  Widget(const Widget&) = delete;
  Widget& operator=(const Widget&) = delete;
  // Clears the screen's focus and capture when they point here, so a deleted widget never
  // receives input.
  virtual ~Widget();

  virtual bool update(uint32_t now);
  // Milliseconds from `now` (the game clock, just after an update) until the widget's look may
  // change by itself: an animation's next frame, a countdown's next digit. 0 when it is due at
  // once, kNoChange when only input can change it. The base changes only through input.
  virtual uint32_t nextChange(uint32_t /*now*/) { return kNoChange; }
  virtual void show();
  // Also gives up the screen's capture when this widget holds it.
  virtual void hide();
  virtual bool isDirty() { return dirty; }
  virtual const Rect* getRect() { return &rect; }
  // Overrides draw first and end by clearing `dirty` (calling this base does).
  virtual void draw(Image& target, const Rect& clip);
  // The part of its rectangle that a draw fills with opaque pixels of its own, whatever lies
  // beneath, so a panel need not draw what comes before it there. Empty when unsure.
  virtual Rect opaqueRect() const { return Rect(); }
  virtual bool onNotify(uint16_t sender, uint32_t code, int32_t value);
  virtual bool onLeftDown(int32_t x, int32_t y, int32_t flags);
  virtual bool onLeftUp(int32_t x, int32_t y, int32_t flags);
  virtual bool onRightDown(int32_t x, int32_t y, int32_t flags);
  virtual bool onRightUp(int32_t x, int32_t y, int32_t flags);
  virtual bool onMouseMove(int32_t x, int32_t y, int32_t flags);
  virtual bool onChar(uint32_t code);
  // A key went down: `key` and `modifiers` as platform/keys.h names them. True: taken.
  virtual bool onKeyDown(uint32_t key, uint32_t modifiers);
  // Reports (id, code, value) to the current screen; nothing without one.
  virtual void post(uint32_t code, int32_t value);

  void markDirty() { dirty = true; }
  void setAlpha(double a) {
    alpha = a;
    markDirty();
  }
  uint16_t getId() const { return id; }

  bool visible = true;
  double alpha = 1.0;
  Rect rect;
  bool dirty = true;
  uint16_t id = 0;
};
