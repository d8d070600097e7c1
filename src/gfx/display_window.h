#pragma once

#include <string>

#include "gfx/image.h"
#include "platform/platform.h"

// The main window and the 640 by 480 picture that every screen draws into. Presenting shows
// the whole picture in the window; a frame that redrew only a part says which.
class DisplayWindow : public Image, public platform::WindowClient {
 public:
  DisplayWindow(const std::string& caption, uint16_t width, uint16_t height);
  ~DisplayWindow();
  DisplayWindow(const DisplayWindow&) = delete;
  DisplayWindow& operator=(const DisplayWindow&) = delete;

  // True when the game is (or already was) full screen. A system that cannot switch leaves the
  // window as it is; only one that has no full-screen facility at all says so.
  bool enterFullScreen();
  // Back to the window, at its former place and size; always true.
  bool leaveFullScreen();
  bool isFullScreen() const { return fullScreen_; }
  void present() override;
  // Presents the picture when only `changed` differs from what the window was last shown.
  void present(const Rect& changed);
  platform::WindowId windowHandle() const { return window_; }

 private:
  platform::WindowId window_ = 0;
  bool fullScreen_ = false;
};

// The one display window, while it exists.
extern DisplayWindow* currentDisplayWindow;

// The class every main window is made from.
inline constexpr const char* kWindowClassName = "ZapWindow";
