#pragma once

#include <string_view>

#include "ui/widget.h"

// A gauge: a fill image over a back image, the fill showing the value's share of the range.
// Growing rightwards, or upwards when vertical. It can glide to a new value at one unit per
// 100 milliseconds.
class Meter : public Widget {
 public:
  Meter(const Rect& rect, uint32_t min, uint32_t max, std::string_view backImageName,
        std::string_view fillImageName, uint16_t id, bool vertical);
  ~Meter() override;

  bool update(uint32_t now) override;
  // While gliding, the next whole unit.
  uint32_t nextChange(uint32_t now) override;
  void draw(Image& target, const Rect& clip) override;

  void setValue(uint32_t v);
  void animateTo(uint32_t v);
  void setMax(uint32_t v);

  uint32_t min;
  uint32_t max;
  uint32_t value;
  int32_t extent;
  bool vertical;
  uint32_t target;
  uint32_t startTime = 0;
  Image* backImage = nullptr;
  Image* fillImage = nullptr;

 private:
  // Pixels filled (horizontal) or hidden at the top (vertical) for a position in the range.
  double extentFor(double position) const;
};
