#include "ui/meter.h"

#include <algorithm>

#include "core/game_clock.h"
#include "gfx/image_cache.h"

namespace {
Image* optionalImage(std::string_view name) {
  return name.empty() ? nullptr : getImage(name);
}
}  // namespace

Meter::Meter(const Rect& rect, uint32_t min, uint32_t max, std::string_view backImageName,
             std::string_view fillImageName, uint16_t id, bool vertical)
    : Widget(rect, id),
      min(min),
      max(max),
      value(max / 2),
      extent(vertical ? 0 : rect.width()),
      vertical(vertical),
      target(value),
      backImage(optionalImage(backImageName)),
      fillImage(optionalImage(fillImageName)) {}

Meter::~Meter() {
  releaseImage(backImage);
  releaseImage(fillImage);
}

// A position outside the range (a glide step that came late, a value above a lowered maximum)
// shows as the nearer end, and a range of one value as empty, so the extent never leaves the
// meter and never comes from a division by zero.
double Meter::extentFor(double position) const {
  const double span = static_cast<double>(max) - min;
  const double f = span > 0 ? std::clamp((position - min) / span, 0.0, 1.0) : 0.0;
  return vertical ? (1.0 - f) * rect.height() : f * rect.width();
}

void Meter::setValue(uint32_t v) {
  v = std::clamp(v, min, std::max(min, max));
  if (v == value) return;
  value = target = v;
  extent = static_cast<int32_t>(extentFor(value));
  markDirty();
}

void Meter::setMax(uint32_t v) {
  if (v == max) return;
  if (v < min) {
    max = min;
    min = v;
  } else {
    max = v;
  }
  extent = static_cast<int32_t>(extentFor(value));
  markDirty();
}

void Meter::animateTo(uint32_t v) {
  if (target == value) startTime = GameClock::now();
  target = v;
}

bool Meter::update(uint32_t now) {
  if (target == value) return false;
  // Whole units since the glide began, from the value it began at.
  int64_t units = (now - startTime) / 100;
  int64_t position;
  if (target < value) {
    position = static_cast<int64_t>(value) - units;
    if (position <= target) value = target;
  } else {
    position = static_cast<int64_t>(value) + units;
    if (position >= target) value = target;
  }
  // Redrawn only when the fill moves: between whole units the look stays as it is.
  const auto moved = static_cast<int32_t>(extentFor(static_cast<double>(position)) + 0.5);
  if (moved != extent || value == target) markDirty();
  extent = moved;
  return false;
}

uint32_t Meter::nextChange(uint32_t now) {
  if (target == value) return kNoChange;
  return 100 - (now - startTime) % 100;
}

void Meter::draw(Image& canvas, const Rect& clip) {
  if (visible) {
    auto w = static_cast<uint16_t>(rect.width());
    auto h = static_cast<uint16_t>(rect.height());
    if (backImage != nullptr)
      backImage->drawTo(canvas, 0, 0, rect.left, rect.top, w, h, clip, alpha);
    if (fillImage != nullptr) {
      Rect filled = rect;
      if (vertical) {
        filled.top = rect.top + extent;
      } else {
        filled.right = rect.left + extent;
      }
      filled.intersect(clip);
      fillImage->drawTo(canvas, 0, 0, rect.left, rect.top, w, h, filled, alpha);
    }
  }
  dirty = false;
}
