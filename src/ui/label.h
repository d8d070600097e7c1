#pragma once

#include <string>

#include "gfx/colour.h"
#include "ui/widget.h"

class Font;

// One line of text in a rectangle: left, centred or right aligned, centred vertically.
class Label : public Widget {
 public:
  Label(const Rect& rect, Font* font, Colour colour, const char* text, uint16_t id);

  void draw(Image& target, const Rect& clip) override;

  void setText(const std::string& s);
  void alignCentre();
  void alignRight();

  Font* font = nullptr;
  Colour colour;
  std::string text;
  uint16_t measuredWidth = 0;
  uint16_t xOffset = 0;
  int32_t yOffset = 0;
  int32_t align = 0;  // 0 left, 1 centred, 2 right

 private:
  void layout();
};
