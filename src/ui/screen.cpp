#include "ui/screen.h"

#include "audio/sound_system.h"
#include "core/game_clock.h"
#include "gfx/display_window.h"

Screen* currentScreen = nullptr;
bool running = false;

namespace {
constexpr uint16_t kPictureWidth = 640;
constexpr uint16_t kPictureHeight = 480;

// Whether w is root or lies anywhere inside it.
bool holds(Widget* root, const Widget* w) {
  if (root == w) return true;
  auto* panel = dynamic_cast<Panel*>(root);
  if (panel == nullptr) return false;
  for (Widget* child : panel->children) {
    if (holds(child, w)) return true;
  }
  return false;
}
}  // namespace

Screen::Screen(const std::string& /*commandLine*/, const std::string& caption) {
  currentScreen = this;
  displayWindow = std::make_unique<DisplayWindow>(caption, kPictureWidth, kPictureHeight);
  soundSystem = std::make_unique<SoundSystem>(2, 22050);
  // The first frame shows the whole picture, even before anything is on it.
  invalidate(Rect(0, 0, kPictureWidth, kPictureHeight));
}

Screen::~Screen() {
  // The sound system first: it ends the music thread before the window goes.
  soundSystem.reset();
  displayWindow.reset();
  // The children are deleted by the panel after this; none of them may reach a screen that is
  // already half gone.
  if (currentScreen == this) currentScreen = nullptr;
}

bool Screen::update(uint32_t now) {
  Panel::update(now);
  if (isDirty()) {
    Rect clip = dirtyRect;  // drawing resets dirtyRect
    draw(*displayWindow, clip);
    // A change wholly off the picture changes nothing that shows.
    if (!clip.isEmpty()) displayWindow->present(clip);
  }
  Panel::update(now);
  return false;
}

bool Screen::isDirty() {
  Panel::isDirty();
  dirtyRect.intersect(Rect(0, 0, displayWindow->width, displayWindow->height));
  return dirty;
}

bool Screen::onNotify(uint16_t sender, uint32_t code, int32_t value) {
  return toCaptureOrTree([&](Widget* w) { return w->onNotify(sender, code, value); });
}

bool Screen::onLeftDown(int32_t x, int32_t y, int32_t flags) {
  return toCaptureOrTree([&](Widget* w) { return w->onLeftDown(x, y, flags); });
}

bool Screen::onLeftUp(int32_t x, int32_t y, int32_t flags) {
  return toCaptureOrTree([&](Widget* w) { return w->onLeftUp(x, y, flags); });
}

bool Screen::onRightDown(int32_t x, int32_t y, int32_t flags) {
  return toCaptureOrTree([&](Widget* w) { return w->onRightDown(x, y, flags); });
}

bool Screen::onRightUp(int32_t x, int32_t y, int32_t flags) {
  return toCaptureOrTree([&](Widget* w) { return w->onRightUp(x, y, flags); });
}

bool Screen::onMouseMove(int32_t x, int32_t y, int32_t flags) {
  return toCaptureOrTree([&](Widget* w) { return w->onMouseMove(x, y, flags); });
}

bool Screen::onChar(uint32_t code) {
  if (focusWidget != nullptr) return focusWidget->onChar(code);
  return route([&](Widget* w) { return w->onChar(code); });
}

bool Screen::onKeyDown(uint32_t key, uint32_t modifiers) {
  if (focusWidget != nullptr && focusWidget->onKeyDown(key, modifiers)) return true;
  return popup != nullptr && popup->onKeyDown(key, modifiers);
}

Widget* Screen::setCapture(Widget* w) {
  Widget* previous = captureWidget;
  captureWidget = w;
  return previous;
}

Widget* Screen::setFocus(Widget* w) {
  Widget* previous = focusWidget;
  focusWidget = w;
  return previous;
}

void Screen::openPopup(Widget* w) {
  if (popup != nullptr) closePopup();
  popup = w;
  if (w != nullptr) addChild(w);
  popupOpenedAt = GameClock::now();
}

Widget* Screen::closePopup() {
  Widget* closed = popup;
  if (closed != nullptr) {
    removeChild(closed);
    invalidate(closed->rect);
    popup = nullptr;
    // The pop-up goes only at the next frame: until then, keys typed in the same breath would
    // still reach its field (a second Enter confirming again).
    if (focusWidget != nullptr && holds(closed, focusWidget)) focusWidget = nullptr;
  }
  return closed;
}

Widget* setCapture(Widget* w) {
  return currentScreen != nullptr ? currentScreen->setCapture(w) : nullptr;
}

Widget* getCapture() { return currentScreen != nullptr ? currentScreen->getCapture() : nullptr; }

Widget* setFocus(Widget* w) {
  return currentScreen != nullptr ? currentScreen->setFocus(w) : nullptr;
}
