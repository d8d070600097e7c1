#pragma once

#include "gfx/colour.h"
#include "ui/widget.h"

// A filled rectangle, optionally with a black one-pixel border; translucent through its alpha.
class Box : public Widget {
 public:
  Box(const Rect& rect, Colour colour, bool bordered)
      : Widget(rect, 0), bordered(bordered), colour(colour) {}

  void draw(Image& target, const Rect& clip) override;

  bool bordered;
  Colour colour;
};
