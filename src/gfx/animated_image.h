#pragma once

#include <cstdint>
#include <string_view>

#include "gfx/image.h"

// One frame at a time of a sprite strip (frames laid out in rows of
// `columns`), chosen by a counter that time moves towards a target. The
// strip is borrowed: its owner keeps it alive for as long as this is used.
class AnimatedImage : public Graphic {
 public:
  Image* image = nullptr;
  bool loop = true;          // the counter wraps; otherwise it stops at target
  uint16_t frameOffset = 0;  // added to the counter to choose the frame shown
  int32_t target = 0;        // where a non-looping run stops; its sign is the direction
  int32_t current = 0;       // the frame counter
  uint16_t frames = 0;       // frames in the strip
  uint16_t columns = 0;      // frames per row of the strip
  uint16_t frameTime = 0;    // milliseconds per frame
  uint32_t lastTime = 0;     // game time up to which frames have been counted

  // The strip of that resource name from the image cache.
  AnimatedImage(std::string_view name, uint16_t frameCount, uint16_t columns,
                uint16_t framesPerSecond, uint32_t now);
  AnimatedImage(Image* strip, uint16_t frameCount, uint16_t columns, uint16_t framesPerSecond,
                uint32_t now);
  // Hands the strip back to the image cache.
  ~AnimatedImage() override;

  // Runs from shown frame `frame` towards `target`, without looping. `now` is
  // the game clock's time.
  void startAt(int32_t frame, int32_t target, uint32_t now);
  // Moves the target; an animation at rest does not count its idle time.
  void extendTarget(int32_t delta, uint32_t now);
  // Counts the whole frames elapsed by `now`; true when the frame shown may
  // have changed.
  bool advance(uint32_t now);
  // Milliseconds from `now` until advance would count the next frame: 0 when one is already
  // due, UINT32_MAX for an animation that has come to rest.
  uint32_t untilNextFrame(uint32_t now) const;

  int32_t shownFrame() const { return frameFor(current); }
  int32_t shownTarget() const { return frameFor(target); }
  bool isLooping() const { return loop; }
  int32_t currentCount() const { return current; }
  int32_t targetCount() const { return target; }
  uint16_t frameCount() const { return frames; }

  void useCornerKey();

  // Draws the shown frame; sx and sy are ignored.
  void drawTo(Image& target, int32_t sx, int32_t sy, int32_t tx, int32_t ty, uint16_t w, uint16_t h,
              const Rect& clip, double opacity) const override;

 private:
  int32_t frameFor(int32_t counter) const;
};
