#include "ui/box.h"

#include "gfx/image.h"

void Box::draw(Image& target, const Rect& clip) {
  if (visible) {
    Rect inside = rect;
    if (bordered) {
      target.frameRect(rect, Colour{0, 0, 0}, clip, alpha);
      inside.inflate(-1, -1);
    }
    inside.intersect(clip);
    if (!inside.isEmpty()) target.fillRect(inside, colour, clip, alpha);
  }
  dirty = false;
}
