#pragma once

#include "core/rect.h"

class Image;

// The keyboard's mark: a frame four pixels thick, dark, light, light, dark from the outside in,
// so that it stands out on every picture, light or dark, and is told by its shape, not by a
// colour. `outer` is the outside edge of the frame.
inline constexpr int32_t kFocusFrameWidth = 4;
void drawFocusFrame(Image& target, const Rect& outer, const Rect& clip);
// The frame drawn just outside a control.
Rect focusFrameAround(const Rect& control);
