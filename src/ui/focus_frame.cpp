#include "ui/focus_frame.h"

#include "gfx/image.h"

namespace {
constexpr Colour kDark{16, 20, 32};
constexpr Colour kLight{255, 244, 190};
}  // namespace

void drawFocusFrame(Image& target, const Rect& outer, const Rect& clip) {
  Rect ring = outer;
  for (int32_t i = 0; i < kFocusFrameWidth; ++i) {
    const bool edge = i == 0 || i == kFocusFrameWidth - 1;
    target.frameRect(ring, edge ? kDark : kLight, clip, 1.0);
    ring.inflate(-1, -1);
  }
}

Rect focusFrameAround(const Rect& control) {
  Rect outer = control;
  outer.inflate(kFocusFrameWidth, kFocusFrameWidth);
  return outer;
}
