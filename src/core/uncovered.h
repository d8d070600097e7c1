#pragma once

#include <span>
#include <vector>

#include "core/rect.h"

// The parts of `area` that none of `covers` reaches, as rectangles that do not overlap, in
// bands from the top. Uncovered stretches of neighbouring bands that line up are one
// rectangle, so a board of tiles leaves its margins as a few long strips.
std::vector<Rect> uncoveredParts(const Rect& area, std::span<const Rect> covers);
