#include "gfx/animated_image.h"

#include "gfx/image_cache.h"

AnimatedImage::AnimatedImage(std::string_view name, uint16_t frameCount, uint16_t columnCount,
                             uint16_t framesPerSecond, uint32_t now)
    : AnimatedImage(getImage(name), frameCount, columnCount, framesPerSecond, now) {}

AnimatedImage::AnimatedImage(Image* strip, uint16_t frameCount, uint16_t columnCount,
                             uint16_t framesPerSecond, uint32_t now)
    : image(strip),
      target(frameCount),
      frames(frameCount),
      columns(columnCount),
      frameTime(framesPerSecond ? static_cast<uint16_t>(1000 / framesPerSecond) : 0),
      lastTime(now) {
  const int32_t rows = columns ? frames / columns : 0;
  if (!image || rows == 0) return;
  width = static_cast<uint16_t>(image->width / columns);
  height = static_cast<uint16_t>(image->height / rows);
  depth = image->depth;
}

AnimatedImage::~AnimatedImage() {
  releaseImage(image);
}

void AnimatedImage::startAt(int32_t frame, int32_t newTarget, uint32_t now) {
  int32_t offset = frames ? frame % frames : 0;
  if (offset < 0) offset += frames;
  frameOffset = static_cast<uint16_t>(offset);
  target = newTarget;
  current = 0;
  lastTime = now;
  loop = false;
}

void AnimatedImage::extendTarget(int32_t delta, uint32_t now) {
  if (shownFrame() == shownTarget()) lastTime = now;
  target = static_cast<int32_t>(int64_t{target} + delta);
  loop = false;
}

uint32_t AnimatedImage::untilNextFrame(uint32_t now) const {
  if ((!loop && current == target) || frameTime == 0) return UINT32_MAX;
  const uint32_t elapsed = now - lastTime;
  return elapsed >= frameTime ? 0 : frameTime - elapsed;
}

bool AnimatedImage::advance(uint32_t now) {
  if (!loop && current == target) return false;
  if (frameTime == 0) return false;
  const uint32_t steps = (now - lastTime) / frameTime;  // wraps with the clock
  if (steps == 0) return false;
  lastTime += steps * frameTime;  // the remainder counts towards the next frame
  int64_t count = current;
  if (target >= 0) {
    count += steps;
    count = (!loop && count > target) ? target : count % (int64_t{target} + 1);
  } else {
    count -= steps;
    // % keeps the dividend's sign, so the counter stays between target and 0.
    count = (!loop && count < target) ? target : count % (1 - int64_t{target});
  }
  current = static_cast<int32_t>(count);
  return true;
}

int32_t AnimatedImage::frameFor(int32_t counter) const {
  if (frames == 0) return 0;
  // The added multiple of the frame count keeps backward counters in range.
  int64_t frame = (int64_t{frameOffset} + counter + int64_t{frames} * 1000) % frames;
  if (frame < 0) frame += frames;
  return static_cast<int32_t>(frame);
}

void AnimatedImage::useCornerKey() {
  if (image) image->setKeyFromCorner();
}

void AnimatedImage::drawTo(Image& targetImage, int32_t, int32_t, int32_t tx, int32_t ty, uint16_t w,
                           uint16_t h, const Rect& clip, double opacity) const {
  if (!image || columns == 0) return;
  const int32_t frame = shownFrame();
  image->drawTo(targetImage, (frame % columns) * width, (frame / columns) * height, tx, ty, w, h,
                clip, opacity);
}
