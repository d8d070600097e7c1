#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "ui/widget.h"

class AnimatedImage;

// An explosion over the board: plays its frame strip (once, when its owner starts it with
// startAt) and then reports NotifyBlastDone, so the screen can remove it.
class Blast : public Widget {
 public:
  // The rectangle is the size of one frame with its top-left corner at (x, y).
  Blast(int32_t x, int32_t y, std::string_view imageName, uint16_t frameCount, uint16_t columns,
        uint16_t framesPerSecond, uint16_t id);
  ~Blast() override;

  bool update(uint32_t now) override;
  uint32_t nextChange(uint32_t now) override;
  void draw(Image& target, const Rect& clip) override;

  // A notification value carries 32 bits, not a pointer: NotifyBlastDone carries this number,
  // and withHandle turns it back into the blast while the blast exists.
  int32_t handle() const { return handle_; }
  static Blast* withHandle(int32_t handle);

  std::unique_ptr<AnimatedImage> animation;
  double speed = 1.0;  // scales the game time the animation runs on

 private:
  int32_t handle_;
  bool reported_ = false;
};
