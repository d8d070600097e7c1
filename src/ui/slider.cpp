#include "ui/slider.h"

#include <algorithm>
#include <utility>

#include "ui/screen.h"
#include "gfx/image_cache.h"

namespace {
Image* optionalImage(std::string_view name) {
  return name.empty() ? nullptr : getImage(name);
}
}  // namespace

Slider::Slider(std::string_view trackImageName, std::string_view thumbImageName, const Rect& rect,
               uint32_t min, uint32_t max, uint16_t id, bool vertical)
    : Widget(rect, id),
      min(std::min(min, max)),
      max(std::max(min, max)),
      value(std::min(min, max)),
      vertical(vertical),
      thumbRect(rect),
      trackImage(optionalImage(trackImageName)),
      thumbImage(optionalImage(thumbImageName)) {
  if (thumbImage != nullptr && thumbImage->pixels != nullptr) {
    // The thumb image lies across the axis: its height is the length of a horizontal thumb.
    thumbLength = vertical ? thumbImage->width : thumbImage->height;
  }
  placeThumb(vertical ? rect.top : rect.left);
}

Slider::~Slider() {
  releaseImage(trackImage);
  releaseImage(thumbImage);
}

int32_t Slider::lo() const {
  return (vertical ? rect.top : rect.left) + thumbLength / 2;
}

int32_t Slider::hi() const {
  return (vertical ? rect.bottom : rect.right) - thumbLength / 2 - 1;
}

void Slider::placeThumb(int32_t start) {
  thumbStart() = start;
  thumbEnd() = start + thumbLength;
}

void Slider::setValue(uint32_t v) {
  v = std::clamp(v, min, max);
  double share = max == min ? 0.0 : static_cast<double>(v - min) / (max - min);
  auto centre = static_cast<int32_t>((hi() - lo()) * share + 0.5 + lo());
  int32_t start = centre - thumbLength / 2;
  if (start != thumbStart()) {
    placeThumb(start);
    markDirty();
  }
  if (v != value) {
    value = v;
    post(NotifyValueChanged, static_cast<int32_t>(v));
  }
}

void Slider::dragTo(int32_t x, int32_t y) {
  int32_t p = std::clamp(vertical ? y : x, lo(), std::max(lo(), hi()));
  double share = hi() == lo() ? 0.0 : static_cast<double>(p - lo()) / (hi() - lo());
  auto v = static_cast<uint32_t>((max - min) * share + 0.5 + min);
  if (v == value) return;
  placeThumb(p - thumbLength / 2);
  markDirty();
  value = v;
  post(NotifyValueChanged, static_cast<int32_t>(v));
}

void Slider::hide() {
  dragging = false;
  Widget::hide();
}

bool Slider::onLeftDown(int32_t x, int32_t y, int32_t) {
  if (visible && rect.contains(x, y)) {
    setCapture(this);
    if (thumbRect.contains(x, y)) {
      dragging = true;
      dragTo(x, y);
    }
  }
  return dragging;
}

bool Slider::onLeftUp(int32_t x, int32_t y, int32_t) {
  if (getCapture() == this) {
    setCapture(nullptr);
    if (dragging) {
      dragTo(x, y);
      dragging = false;
    }
  }
  return false;
}

bool Slider::onMouseMove(int32_t x, int32_t y, int32_t) {
  if (dragging && visible) dragTo(x, y);
  return false;
}

void Slider::draw(Image& target, const Rect& clip) {
  if (visible) {
    if (trackImage != nullptr) {
      trackImage->drawTo(target, 0, 0, rect.left, rect.top, static_cast<uint16_t>(rect.width()),
                         static_cast<uint16_t>(rect.height()), clip, alpha);
    }
    if (thumbImage != nullptr) {
      thumbImage->drawTo(target, 0, 0, thumbRect.left, thumbRect.top,
                         static_cast<uint16_t>(thumbRect.width()),
                         static_cast<uint16_t>(thumbRect.height()), clip, alpha);
    }
  }
  dirty = false;
}
