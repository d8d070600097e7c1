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
  enum class Align : uint8_t { Left, Centre, Right };
  Align align = Align::Left;

 private:
  void layout();
};
