#include "core/game_clock.h"
#include "app/run_loop.h"
#include "ui/screen.h"
#include "gfx/display_window.h"

using platform::Message;
using platform::MessageKind;

namespace {

// Mouse positions arrive packed: x in the low 16 bits, y in the high 16 bits, unsigned.
int32_t positionX(const Message& m) { return static_cast<int32_t>(m.position & 0xFFFFu); }
int32_t positionY(const Message& m) { return static_cast<int32_t>(m.position >> 16); }
// The modifiers held at a button message, as the widgets receive them.
int32_t buttonFlags(const Message& m) { return static_cast<int32_t>(m.param); }

void activate(platform::WindowId window, bool active) {
  if (active) {
    GameClock::resume();
    currentScreen->show();
  } else {
    GameClock::pause();
    currentScreen->hide();
  }
  DisplayWindow* display = currentScreen->displayWindow.get();
  if (display != nullptr && platform::backend().windowSlot(window) == display) {
    currentScreen->draw(*display, Rect(0, 0, display->width, display->height));
    platform::backend().invalidateWindow(window);
  }
}

// Returns true when the message is fully handled and gets no default processing.
bool toScreen(platform::WindowId window, const Message& m) {
  platform::Backend& pf = platform::backend();
  Screen& screen = *currentScreen;
  switch (m.kind) {
    case MessageKind::LeftDown:
      pf.setCapture(window);
      screen.onLeftDown(positionX(m), positionY(m), buttonFlags(m));
      break;
    case MessageKind::LeftUp:
      pf.releaseCapture();
      screen.onLeftUp(positionX(m), positionY(m), buttonFlags(m));
      break;
    case MessageKind::RightDown:
      pf.setCapture(window);
      screen.onRightDown(positionX(m), positionY(m), buttonFlags(m));
      break;
    case MessageKind::RightUp:
      pf.releaseCapture();
      screen.onRightUp(positionX(m), positionY(m), buttonFlags(m));
      break;
    case MessageKind::MiddleDown:
      screen.onMiddleDown(positionX(m), positionY(m), buttonFlags(m));
      break;
    case MessageKind::MouseMove:
      screen.onMouseMove(positionX(m), positionY(m), 0);
      break;
    case MessageKind::Char:
      screen.onChar(m.param);
      break;
    case MessageKind::KeyDown:
      screen.onKeyDown(m.param, m.modifiers);
      break;
    case MessageKind::Close:
      if (screen.onClose()) pf.destroyWindow(window);
      return true;
    case MessageKind::ActivateApp:
      activate(window, m.param == 1);
      break;
    default:
      break;
  }
  return false;
}

}  // namespace

intptr_t windowProc(platform::WindowId window, const Message& m) {
  platform::Backend& pf = platform::backend();
  if (currentScreen != nullptr && toScreen(window, m)) return 0;
  switch (m.kind) {
    case MessageKind::Create:
      pf.setWindowSlot(window, m.client);
      break;
    case MessageKind::Destroy:
      pf.postQuitMessage(0);
      break;
    case MessageKind::Paint:
      if (platform::WindowClient* client = pf.windowSlot(window)) client->present();
      break;
    case MessageKind::Close:
      // With no screen to ask, closing simply closes.
      pf.destroyWindow(window);
      break;
    default:
      break;
  }
  return 0;
}
