#pragma once

#include <string_view>

#include "ui/widget.h"

// A whole image drawn at a fixed place.
class Picture : public Widget {
 public:
  Picture(int32_t x, int32_t y, std::string_view imageName, uint16_t id);
  ~Picture() override;

  void draw(Image& target, const Rect& clip) override;

  Image* image = nullptr;
};
