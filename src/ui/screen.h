#pragma once

#include <memory>
#include <string>

#include "ui/panel.h"

class DisplayWindow;
class SoundSystem;

// The root of the widget tree: owns the display window and the sound system, receives every
// input event of the main window, routes it (to the capture or focus widget when one is set),
// and redraws and presents the dirty part of the picture once per frame.
class Screen : public Panel {
 public:
  Screen(const std::string& commandLine, const std::string& caption);
  ~Screen() override;

  // One frame: deferred removals and widget updates, then redraw and present what is dirty
  // (only that part of the picture reaches the window).
  bool update(uint32_t now) override;
  bool isDirty() override;
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override;
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override;
  bool onLeftUp(int32_t x, int32_t y, int32_t flags) override;
  bool onRightDown(int32_t x, int32_t y, int32_t flags) override;
  bool onRightUp(int32_t x, int32_t y, int32_t flags) override;
  bool onMouseMove(int32_t x, int32_t y, int32_t flags) override;
  // The middle button: no widget takes it; a screen that has a use for it says so.
  virtual bool onMiddleDown(int32_t, int32_t, int32_t) { return false; }
  bool onChar(uint32_t code) override;
  // Offered to the focus widget, then to the pop-up; a screen that knows keys of its own
  // overrides this and takes what neither took.
  bool onKeyDown(uint32_t key, uint32_t modifiers) override;
  // Asked when the window is to be closed; true lets it close.
  virtual bool onClose() { return true; }

  Widget* setCapture(Widget* w);
  Widget* getCapture() const { return captureWidget; }
  Widget* setFocus(Widget* w);
  // Shows w on top of everything as the one pop-up, closing any other first.
  void openPopup(Widget* w);
  // Removes the pop-up at the next frame and takes the keyboard focus from it at once; returns
  // it, or null when none was open.
  Widget* closePopup();

  std::unique_ptr<SoundSystem> soundSystem;
  std::unique_ptr<DisplayWindow> displayWindow;
  Widget* captureWidget = nullptr;
  Widget* focusWidget = nullptr;
  Widget* popup = nullptr;
  uint32_t popupOpenedAt = 0;

 private:
  // The capture widget alone gets the call, whatever it answers; otherwise the tree.
  template <typename Call>
  bool toCaptureOrTree(Call call) {
    return captureWidget != nullptr ? call(captureWidget) : route(call);
  }
};

// The one screen; every post and the window procedure go through it.
extern Screen* currentScreen;
// The run loop's flag; clearing it ends the program.
extern bool running;

// The current screen's capture and focus, for widgets that have no screen pointer.
Widget* setCapture(Widget* w);
Widget* getCapture();
Widget* setFocus(Widget* w);
