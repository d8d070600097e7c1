#pragma once

#include <string_view>

#include "ui/widget.h"

// A thumb dragged along a track, choosing a value from min to max.
class Slider : public Widget {
 public:
  Slider(std::string_view trackImageName, std::string_view thumbImageName, const Rect& rect,
         uint32_t min, uint32_t max, uint16_t id, bool vertical);
  ~Slider() override;

  // Ends a drag in progress: a hidden slider takes no input.
  void hide() override;
  void draw(Image& target, const Rect& clip) override;
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onLeftUp(int32_t x, int32_t y, int32_t flags) override;
  bool onMouseMove(int32_t x, int32_t y, int32_t flags) override;

  void setValue(uint32_t v);

  uint32_t min;
  uint32_t max;
  uint32_t value;
  bool vertical;
  bool dragging = false;
  Rect thumbRect;
  uint16_t thumbLength = 9;
  Image* trackImage = nullptr;
  Image* thumbImage = nullptr;

 private:
  // The range of the thumb's centre along the axis.
  int32_t lo() const;
  int32_t hi() const;
  int32_t& thumbStart() { return vertical ? thumbRect.top : thumbRect.left; }
  int32_t& thumbEnd() { return vertical ? thumbRect.bottom : thumbRect.right; }
  void placeThumb(int32_t start);
  void dragTo(int32_t x, int32_t y);
};
