#include "ui/picture.h"

#include "gfx/image_cache.h"

Picture::Picture(int32_t x, int32_t y, std::string_view imageName, uint16_t id)
    : Widget(Rect(), id), image(getImage(imageName)) {
  if (image != nullptr && image->pixels != nullptr) {
    rect = Rect(x, y, x + image->width, y + image->height);
  }
}

Picture::~Picture() {
  releaseImage(image);
}

void Picture::draw(Image& target, const Rect& clip) {
  if (visible && image != nullptr) {
    image->drawTo(target, 0, 0, rect.left, rect.top, static_cast<uint16_t>(rect.width()),
                  static_cast<uint16_t>(rect.height()), clip, 1.0);
  }
  dirty = false;
}
