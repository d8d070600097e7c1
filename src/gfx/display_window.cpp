#include "gfx/display_window.h"

DisplayWindow* currentDisplayWindow = nullptr;

DisplayWindow::DisplayWindow(const std::string& caption, uint16_t width, uint16_t height)
    : Image(width, height, 24) {
  currentDisplayWindow = this;
  // The window procedure keeps this object in the window's slot when the window is created.
  window_ = platform::backend().createWindow(kWindowClassName, caption, width, height, this);
  fillRect(Rect(0, 0, width, height), Colour{255, 255, 255}, Rect(0, 0, width, height), 1.0);
}

DisplayWindow::~DisplayWindow() {
  platform::Backend& pf = platform::backend();
  if (fullScreen_) pf.leaveFullScreen(window_);
  pf.setWindowSlot(window_, nullptr);
  if (currentDisplayWindow == this) currentDisplayWindow = nullptr;
  pf.destroyWindow(window_);
}

bool DisplayWindow::enterFullScreen() {
  if (fullScreen_) return true;
  switch (platform::backend().enterFullScreen(window_)) {
    case platform::FullScreenResult::Entered:
      fullScreen_ = true;
      present();
      return true;
    case platform::FullScreenResult::Unavailable:
      platform::backend().messageBox("Can't initialize DirectDraw!", "Error");
      break;
    case platform::FullScreenResult::Refused:
      break;
  }
  leaveFullScreen();
  return false;
}

bool DisplayWindow::leaveFullScreen() {
  if (fullScreen_) {
    platform::backend().leaveFullScreen(window_);
    fullScreen_ = false;
  }
  present();  // the window shows the whole picture at once
  return true;
}

void DisplayWindow::present() {
  platform::backend().present(window_, pixels, pitch(), width, height);
}

void DisplayWindow::present(const Rect& changed) {
  const platform::PixelArea area{changed.left, changed.top, changed.width(), changed.height()};
  platform::backend().presentChanged(window_, pixels, pitch(), width, height, area);
}
