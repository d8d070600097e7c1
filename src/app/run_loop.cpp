#include "app/run_loop.h"

#include <algorithm>

#include "core/game_clock.h"
#include "ui/screen.h"

using platform::Message;
using platform::MessageKind;

namespace {

// When the next frame is wanted: never while nothing is due, otherwise at the moment the screen
// named, and never sooner than one display refresh after the last frame.
struct FrameSchedule {
  bool wanted = true;  // the first frame shows the picture
  uint32_t dueAt = 0;
  uint32_t earliest = 0;

  bool isDue(uint32_t t) const {
    return wanted && static_cast<int32_t>(t - dueAt) >= 0 &&
           static_cast<int32_t>(t - earliest) >= 0;
  }
  // Milliseconds to wait from t: kWaitForever when no frame is wanted.
  uint32_t wait(uint32_t t) const {
    if (!wanted) return platform::kWaitForever;
    const int32_t untilDue =
        std::max(static_cast<int32_t>(dueAt - t), static_cast<int32_t>(earliest - t));
    return untilDue > 0 ? static_cast<uint32_t>(untilDue) : 0;
  }
};

}  // namespace

int runLoop(Screen& screen) {
  platform::Backend& pf = platform::backend();
  running = true;
  uint32_t result = 0;
  const uint32_t interval = pf.frameIntervalMs();
  FrameSchedule frame;
  frame.dueAt = frame.earliest = pf.ticks();
  while (running) {
    uint32_t t = pf.ticks();
    if (screen.visible && frame.isDue(t)) {
      screen.update(GameClock::now());
      // Asked after the frame: how long until anything on the screen changes by itself.
      const uint32_t untilChange = screen.nextChange(GameClock::now());
      frame.wanted = untilChange != kNoChange;
      frame.dueAt = t + (frame.wanted ? untilChange : 0);
      frame.earliest = t + interval;
    }
    Message message;
    if (pf.peekMessage(message)) {
      // Only a quit message carries an exit code: the param of the message that ended the
      // loop otherwise (a key's code, a character) is no exit code.
      result = 0;
      if (message.kind == MessageKind::Quit) {
        running = false;
        result = message.param;
      } else {
        pf.dispatchMessage(message);
        // A message may change what the screen shows: a frame at the next refresh.
        frame.wanted = true;
        frame.dueAt = t;
      }
      continue;
    }
    if (!running) break;
    // Nothing to do until a frame is due or a message arrives. A hidden screen draws nothing,
    // so it only needs to hear about messages.
    const uint32_t wait = screen.visible ? frame.wait(pf.ticks()) : platform::kWaitForever;
    if (wait > 0) pf.waitMessage(wait);
  }
  return static_cast<int>(result);
}
