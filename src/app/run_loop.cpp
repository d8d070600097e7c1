#include "app/run_loop.h"

#include "core/game_clock.h"
#include "ui/screen.h"

using platform::Message;
using platform::MessageKind;

int runLoop(Screen& screen) {
  platform::Backend& pf = platform::backend();
  running = true;
  uint32_t result = 0;
  const uint32_t interval = pf.frameIntervalMs();
  uint32_t nextFrame = pf.ticks();
  while (running) {
    // Frames run at most once per display refresh; messages are handled as they come.
    uint32_t t = pf.ticks();
    if (screen.visible && static_cast<int32_t>(t - nextFrame) >= 0) {
      screen.update(GameClock::now());
      nextFrame = t + interval;
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
      }
      continue;
    }
    if (!running) break;
    // Nothing to do until the next frame is due or a message arrives. A hidden screen draws
    // nothing, so it only needs to hear about messages.
    uint32_t wait = 1000;
    if (screen.visible) {
      int32_t untilFrame = static_cast<int32_t>(nextFrame - pf.ticks());
      wait = untilFrame > 0 ? static_cast<uint32_t>(untilFrame) : 0;
    }
    if (wait > 0) pf.waitMessage(wait);
  }
  return static_cast<int>(result);
}
