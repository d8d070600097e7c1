#include "ui/panel.h"

#include <algorithm>
#include <utility>

#include "core/uncovered.h"

Panel::~Panel() {
  for (Widget* child : children) delete child;
}

void Panel::grow(Widget* w) {
  if (rect.isEmpty()) {
    rect = w->rect;
  } else {
    rect.unite(w->rect);
  }
  invalidate(w->rect);
}

void Panel::addChild(Widget* w) {
  if (w == nullptr) return;
  grow(w);
  children.push_back(w);
}

void Panel::addChildAtBottom(Widget* w) {
  if (w == nullptr) return;
  grow(w);
  children.insert(children.begin(), w);
}

Widget* Panel::findChild(uint16_t childId) const {
  for (Widget* child : children) {
    if (child->id == childId) return child;
  }
  return nullptr;
}

void Panel::invalidate(const Rect& r) {
  if (dirtyRect.isEmpty()) {
    dirtyRect = r;
  } else {
    dirtyRect.unite(r);
  }
  markDirty();
}

bool Panel::update(uint32_t now) {
  // Taken out first: a destructor that removes further widgets schedules them for next time.
  std::vector<Widget*> pending;
  pending.swap(removals);
  for (Widget* w : pending) {
    auto found = std::find(children.begin(), children.end(), w);
    if (found == children.end()) continue;  // removed twice, or never ours
    invalidate(w->rect);
    children.erase(std::remove(children.begin(), children.end(), w), children.end());
    delete w;
  }
  for (size_t i = children.size(); i-- > 0;) {
    if (i < children.size()) children[i]->update(now);
  }
  return false;
}

uint32_t Panel::nextChange(uint32_t now) {
  // A child marked during the frame's second update is merged and drawn at the next frame.
  if (dirty || !removals.empty()) return 0;
  uint32_t soonest = kNoChange;
  for (Widget* child : children) {
    if (child->dirty && !child->getRect()->isEmpty()) return 0;
    soonest = std::min(soonest, child->nextChange(now));
  }
  return soonest;
}

bool Panel::isDirty() {
  if (dirty) return true;
  dirtyRect = Rect();
  for (Widget* child : children) {
    if (!child->isDirty()) continue;
    // A child that covers nothing (a dialog standing by without a size) is never drawn, so
    // drawing would never clear its flag: left set, it would have every frame presented again.
    if (child->getRect()->isEmpty()) {
      child->dirty = false;
    } else {
      invalidate(*child->getRect());
    }
  }
  return dirty;
}

// A child is drawn only where no later child covers it with opaque pixels: the background
// under a board of tiles is never copied just to be drawn over. Children that cover their own
// rectangle are drawn whole; they are small (tiles), and finding what covers each would cost
// more than drawing it.
void Panel::draw(Image& target, const Rect& clip) {
  std::vector<std::pair<size_t, Rect>> covers;  // in drawing order
  for (size_t i = 0; i < children.size(); ++i) {
    if (!children[i]->getRect()->intersects(clip)) continue;
    Rect covered = children[i]->opaqueRect();
    covered.intersect(clip);
    if (!covered.isEmpty()) covers.emplace_back(i, covered);
  }
  auto next = covers.begin();  // the first cover not drawn before child i
  std::vector<Rect> over;
  for (size_t i = 0; i < children.size(); ++i) {
    Widget* child = children[i];
    while (next != covers.end() && next->first < i) ++next;
    if (!child->getRect()->intersects(clip)) continue;
    const bool covering = next != covers.end() && next->first == i;
    Rect area = *child->getRect();
    area.intersect(clip);
    over.clear();
    for (auto c = next; !covering && c != covers.end(); ++c) {
      if (c->second.intersects(area)) over.push_back(c->second);
    }
    if (over.empty()) {
      child->draw(target, clip);
      continue;
    }
    const std::vector<Rect> parts = uncoveredParts(clip, over);
    for (const Rect& part : parts) child->draw(target, part);
    if (parts.empty()) child->draw(target, Rect());  // hidden: only its flags are cleared
  }
  dirtyRect = Rect();
  dirty = false;
}

bool Panel::onNotify(uint16_t sender, uint32_t code, int32_t value) {
  return route([&](Widget* w) { return w->onNotify(sender, code, value); });
}
bool Panel::onLeftDown(int32_t x, int32_t y, int32_t flags) {
  return route([&](Widget* w) { return w->onLeftDown(x, y, flags); });
}
bool Panel::onLeftUp(int32_t x, int32_t y, int32_t flags) {
  return route([&](Widget* w) { return w->onLeftUp(x, y, flags); });
}
bool Panel::onRightDown(int32_t x, int32_t y, int32_t flags) {
  return route([&](Widget* w) { return w->onRightDown(x, y, flags); });
}
bool Panel::onRightUp(int32_t x, int32_t y, int32_t flags) {
  return route([&](Widget* w) { return w->onRightUp(x, y, flags); });
}
bool Panel::onMouseMove(int32_t x, int32_t y, int32_t flags) {
  return route([&](Widget* w) { return w->onMouseMove(x, y, flags); });
}
bool Panel::onChar(uint32_t code) {
  return route([&](Widget* w) { return w->onChar(code); });
}
bool Panel::onKeyDown(uint32_t key, uint32_t modifiers) {
  return route([&](Widget* w) { return w->onKeyDown(key, modifiers); });
}
