#include "game/blast.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/game_clock.h"
#include "gfx/animated_image.h"

namespace {
// Explosions alive now; there are only ever a few.
std::vector<Blast*>& liveBlasts() {
  static std::vector<Blast*> live;
  return live;
}
int32_t nextHandle = 1;
}  // namespace

Blast::Blast(int32_t x, int32_t y, std::string_view imageName, uint16_t frameCount,
             uint16_t columns, uint16_t framesPerSecond, uint16_t blastId)
    : Widget(Rect(), blastId),
      animation(std::make_unique<AnimatedImage>(imageName, frameCount, columns, framesPerSecond,
                                                GameClock::now())),
      handle_(nextHandle++) {
  if (nextHandle <= 0) nextHandle = 1;  // handles stay positive across the wrap
  rect = Rect(x, y, x + animation->width, y + animation->height);
  liveBlasts().push_back(this);
}

Blast::~Blast() {
  auto& live = liveBlasts();
  live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

Blast* Blast::withHandle(int32_t handle) {
  for (Blast* blast : liveBlasts()) {
    if (blast->handle_ == handle) return blast;
  }
  return nullptr;
}

bool Blast::update(uint32_t now) {
  // Scaled in 64 bits and wrapped like the clock itself; a nonsense factor stops the clock.
  const double t = now * speed;
  const uint32_t scaled = t > 0 && t < 1e19 ? static_cast<uint32_t>(static_cast<uint64_t>(t)) : 0;
  if (animation->advance(scaled)) markDirty();
  // Reported once: the screen removes the blast, and a second removal would be one too many.
  if (!reported_ && !animation->isLooping() &&
      animation->shownFrame() == animation->shownTarget()) {
    reported_ = true;
    post(NotifyBlastDone, handle_);
  }
  return false;
}

// The animation runs on scaled time: its next frame, in the game clock's milliseconds.
uint32_t Blast::nextChange(uint32_t now) {
  const double t = now * speed;
  if (!(t > 0 && t < 1e19)) return kNoChange;
  const uint32_t scaled =
      animation->untilNextFrame(static_cast<uint32_t>(static_cast<uint64_t>(t)));
  if (scaled == UINT32_MAX) return kNoChange;
  return static_cast<uint32_t>(std::min(std::ceil(scaled / speed), double{kNoChange - 1}));
}

void Blast::draw(Image& target, const Rect& clip) {
  if (visible) {
    animation->drawTo(target, 0, 0, rect.left, rect.top, animation->width, animation->height, clip,
                      alpha);
  }
  dirty = false;
}
