#pragma once

#include <vector>

#include "ui/widget.h"

// A widget that owns an ordered list of children: the first is drawn first (bottom), the last
// is drawn last and offered input first (top). Removal is deferred to the next update, so a
// widget may remove itself (or a sibling) from inside an event handler.
class Panel : public Widget {
 public:
  Panel() : Widget(Rect(), 0) {}
  ~Panel() override;

  void addChild(Widget* w);
  void addChildAtBottom(Widget* w);
  void removeChild(Widget* w) { removals.push_back(w); }
  Widget* findChild(uint16_t childId) const;
  void invalidate(const Rect& r);

  bool update(uint32_t now) override;
  // The soonest of the children's; 0 while anything waits to be drawn.
  uint32_t nextChange(uint32_t now) override;
  bool isDirty() override;
  void draw(Image& target, const Rect& clip) override;
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override;
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onLeftUp(int32_t x, int32_t y, int32_t flags) override;
  bool onRightDown(int32_t x, int32_t y, int32_t flags) override;
  bool onRightUp(int32_t x, int32_t y, int32_t flags) override;
  bool onMouseMove(int32_t x, int32_t y, int32_t flags) override;
  bool onChar(uint32_t code) override;
  bool onKeyDown(uint32_t key, uint32_t modifiers) override;

  // Children are owned here and deleted with the panel or at the update after removeChild.
  // They stay raw pointers because the whole toolkit hands widgets around by pointer (the
  // capture and focus widgets, a notification's sender, the pop-up) and removal is deferred
  // so that a widget may ask for its own removal while it is being called.
  std::vector<Widget*> children;
  std::vector<Widget*> removals;
  Rect dirtyRect;

 protected:
  // Offers one call to the children, top first, until one consumes it.
  template <typename Call>
  bool route(Call call) {
    // Index walk: a handler may add children (a pop-up, an explosion) while we route.
    for (size_t i = children.size(); i-- > 0;) {
      if (i < children.size() && call(children[i])) return true;
    }
    return false;
  }

 private:
  void grow(Widget* w);
};
