#include "core/uncovered.h"

#include <algorithm>
#include <utility>

namespace {

// Each stretch of the band [top, bottom) that no cover spans: a part ending just above it
// with the same stretch grows down over it, any other stretch starts a part of its own.
void addBand(const Rect& area, std::span<const Rect> covers, int32_t top, int32_t bottom,
             std::vector<Rect>& parts) {
  std::vector<std::pair<int32_t, int32_t>> spans;
  for (const Rect& c : covers) {
    if (c.top <= top && c.bottom >= bottom) spans.emplace_back(c.left, c.right);
  }
  std::sort(spans.begin(), spans.end());
  auto add = [&](int32_t left, int32_t right) {
    for (Rect& part : parts) {
      if (part.left == left && part.right == right && part.bottom == top) {
        part.bottom = bottom;
        return;
      }
    }
    parts.emplace_back(left, top, right, bottom);
  };
  int32_t x = area.left;
  for (const auto& [left, right] : spans) {
    if (left > x) add(x, left);
    x = std::max(x, right);
  }
  if (x < area.right) add(x, area.right);
}

}  // namespace

std::vector<Rect> uncoveredParts(const Rect& area, std::span<const Rect> covers) {
  if (area.isEmpty()) return {};
  std::vector<Rect> clipped;
  std::vector<int32_t> edges{area.top, area.bottom};
  for (Rect c : covers) {
    c.intersect(area);
    if (c.isEmpty()) continue;
    clipped.push_back(c);
    edges.push_back(c.top);
    edges.push_back(c.bottom);
  }
  if (clipped.empty()) return {area};
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<Rect> parts;
  for (size_t i = 0; i + 1 < edges.size(); ++i)
    addBand(area, clipped, edges[i], edges[i + 1], parts);
  return parts;
}
