#include "ui/label.h"

#include <algorithm>

#include "gfx/font.h"

Label::Label(const Rect& rect, Font* font, Colour colour, const char* text, uint16_t id)
    : Widget(rect, id), font(font), colour(colour), text(text != nullptr ? text : "") {
  layout();
}

void Label::setText(const std::string& s) {
  text = s;
  layout();
}

void Label::alignCentre() {
  align = Align::Centre;
  layout();
}

void Label::alignRight() {
  align = Align::Right;
  layout();
}

void Label::layout() {
  measuredWidth = font != nullptr ? font->textWidth(text.c_str()) : 0;
  int32_t room = rect.width() - measuredWidth;
  int32_t offset = align == Align::Centre ? room / 2 : align == Align::Right ? room : 0;
  // Text wider than the rectangle starts at its left edge, so its beginning stays readable.
  xOffset = static_cast<uint16_t>(std::max(offset, 0));
  yOffset = (rect.height() - (font != nullptr ? font->height() : 0)) / 2;
  markDirty();
}

void Label::draw(Image& target, const Rect& clip) {
  if (visible && font != nullptr) {
    Rect area = rect;
    area.intersect(clip);
    font->drawText(target, area, rect.left + xOffset, rect.top + yOffset, text.c_str(), colour,
                   Font::kWholeText, 1.0);
  }
  dirty = false;
}
