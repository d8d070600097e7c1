#include "ui/screen.h"

#include <gtest/gtest.h>

#include "audio/sound_system.h"
#include "gfx/display_window.h"
#include "support/headless_fixture.h"
#include "ui/dialog.h"

using Log = std::vector<std::string>;

class ScreenTest : public HeadlessTest {
 protected:
  Log log;
};

TEST_F(ScreenTest, ConstructionMakesTheWindowAndBecomesCurrent) {
  {
    Screen screen("ignored", "Caption");
    EXPECT_EQ(currentScreen, &screen);
    ASSERT_NE(screen.displayWindow, nullptr);
    EXPECT_EQ(screen.displayWindow->width, 640);
    EXPECT_EQ(screen.displayWindow->height, 480);
    ASSERT_NE(screen.soundSystem, nullptr);
    EXPECT_TRUE(screen.soundSystem->hasStreamingThread());
    // 2 channels, 22050 samples per second, 16 bits.
    EXPECT_EQ(backend.audioFormat.blockAlign, 4);
    EXPECT_EQ(backend.audioFormat.avgBytesPerSec, 88200u);
    EXPECT_EQ(backend.caption(backend.firstWindow()), "Caption");
    EXPECT_EQ(backend.windowSlot(backend.firstWindow()), screen.displayWindow.get());
  }
  EXPECT_EQ(currentScreen, nullptr);
  EXPECT_EQ(backend.firstWindow(), 0u);
  EXPECT_EQ(backend.audio, nullptr);  // the device closed with the sound system
}

TEST_F(ScreenTest, CaptureTakesEveryMouseEventAndNotificationEvenWhenItDeclines) {
  Screen screen("", "t");
  auto* a = new ProbeWidget(Rect(0, 0, 10, 10), 1, &log);
  auto* b = new ProbeWidget(Rect(20, 20, 30, 30), 2, &log, false);
  screen.addChild(a);
  screen.addChild(b);
  EXPECT_EQ(setCapture(b), nullptr);
  EXPECT_EQ(getCapture(), b);
  EXPECT_FALSE(screen.onLeftDown(600, 400, 0));
  EXPECT_FALSE(screen.onMouseMove(-5, 900, 0));
  EXPECT_FALSE(screen.onNotify(3, 4, 5));
  EXPECT_EQ(log, (Log{"2: leftdown 600,400", "2: move -5,900", "2: notify 3 4 5"}));

  // Characters are not mouse events: they still go to the tree.
  log.clear();
  EXPECT_TRUE(screen.onChar(97));
  EXPECT_EQ(log, (Log{"2: char 97", "1: char 97"}));
  EXPECT_EQ(setCapture(nullptr), b);
}

TEST_F(ScreenTest, FocusTakesEveryCharacter) {
  Screen screen("", "t");
  auto* a = new ProbeWidget(Rect(0, 0, 10, 10), 1, &log);
  auto* b = new ProbeWidget(Rect(0, 0, 10, 10), 2, &log);
  screen.addChild(a);
  screen.addChild(b);
  setFocus(a);
  EXPECT_TRUE(screen.onChar(8));
  EXPECT_TRUE(screen.onLeftDown(1, 1, 0));
  EXPECT_EQ(log, (Log{"1: char 8", "2: leftdown 1,1"}));
}

// A screen with keys of its own, hearing what the focus widget and the pop-up left.
class KeyedScreen : public Screen {
 public:
  explicit KeyedScreen(Log* log) : Screen("", "t"), log(log) {}
  bool onKeyDown(uint32_t key, uint32_t modifiers) override {
    if (Screen::onKeyDown(key, modifiers)) return true;
    log->push_back("screen: key " + std::to_string(key) + " " + std::to_string(modifiers));
    return true;
  }
  Log* log;
};

TEST_F(ScreenTest, KeysFromTheQueueGoToFocusThenPopupThenScreenAndNeverToOtherWidgets) {
  KeyedScreen screen(&log);
  auto* under = new ProbeWidget(Rect(0, 0, 10, 10), 1, &log);
  auto* focus = new ProbeWidget(Rect(0, 0, 10, 10), 2, &log, false);
  auto* popup = new ProbeWidget(Rect(0, 0, 10, 10), 3, &log, false);
  screen.addChild(under);
  screen.addChild(focus);
  screen.openPopup(popup);
  setFocus(focus);
  setCapture(under);  // the mouse's capture has no say over keys
  auto pump = [&] {
    platform::Message m;
    while (backend.peekMessage(m)) backend.dispatchMessage(m);
  };
  backend.sendKey(platform::key::kF11, platform::key::kShift | platform::key::kRepeat);
  pump();
  EXPECT_EQ(log, (Log{"2: key 282 257", "3: key 282 257", "screen: key 282 257"}));

  log.clear();
  popup->consumes = true;
  backend.sendKey('q', platform::key::kCtrl);
  pump();
  EXPECT_EQ(log, (Log{"2: key 113 2", "3: key 113 2"}));

  log.clear();
  focus->consumes = true;
  backend.sendKey(platform::key::kEscape);
  pump();
  EXPECT_EQ(log, (Log{"2: key 27 0"}));
  setCapture(nullptr);
}

TEST_F(ScreenTest, DeletingTheCaptureOrFocusWidgetClearsIt) {
  Screen screen("", "t");
  auto* a = new ProbeWidget(Rect(0, 0, 10, 10), 1, &log);
  auto* b = new ProbeWidget(Rect(0, 0, 10, 10), 2, &log);
  screen.addChild(a);
  screen.addChild(b);
  setCapture(a);
  setFocus(b);
  screen.removeChild(a);
  screen.removeChild(b);
  screen.update(0);
  EXPECT_EQ(screen.captureWidget, nullptr);
  EXPECT_EQ(screen.focusWidget, nullptr);
  EXPECT_FALSE(screen.onChar(1));
  EXPECT_TRUE(log.empty());
}

TEST_F(ScreenTest, OpeningASecondPopupRemovesTheFirstAtTheNextFrame) {
  Screen screen("", "t");
  backend.now = 500;
  auto* first = new ProbeWidget(Rect(100, 100, 200, 200), 1, &log);
  bool firstDeleted = false;
  first->deleted = &firstDeleted;
  screen.openPopup(first);
  EXPECT_EQ(screen.popup, first);
  EXPECT_EQ(screen.popupOpenedAt, 500u);
  EXPECT_EQ(screen.children.back(), first);

  backend.now = 800;
  auto* second = new ProbeWidget(Rect(150, 150, 300, 250), 2, &log);
  screen.openPopup(second);
  EXPECT_EQ(screen.popup, second);
  EXPECT_EQ(screen.popupOpenedAt, 800u);
  EXPECT_FALSE(firstDeleted);
  screen.update(0);
  EXPECT_TRUE(firstDeleted);
  EXPECT_EQ(screen.children.size(), 1u);

  EXPECT_EQ(screen.closePopup(), second);
  EXPECT_EQ(screen.closePopup(), nullptr);
  screen.update(0);
  EXPECT_TRUE(screen.children.empty());
}

TEST_F(ScreenTest, FrameDrawsAndPresentsOnlyWhatChanged) {
  Screen screen("", "t");
  auto* a = new ProbeWidget(Rect(10, 10, 20, 20), 1, &log);
  auto* offPicture = new ProbeWidget(Rect(600, 400, 700, 520), 2, &log);
  screen.addChild(a);
  screen.addChild(offPicture);
  screen.update(0);
  EXPECT_EQ(backend.presentCount, 1);
  EXPECT_EQ(a->draws, 1);
  // The first frame draws the whole picture, and no more: the area is clipped to it.
  EXPECT_EQ(offPicture->lastClip, Rect(0, 0, 640, 480));
  const auto shown = [&] {
    const platform::PixelArea& c = backend.lastChanged;
    return Rect(c.x, c.y, c.x + c.width, c.y + c.height);
  };
  EXPECT_EQ(shown(), Rect(0, 0, 640, 480));

  screen.update(16);
  screen.update(32);
  EXPECT_EQ(backend.presentCount, 1);

  offPicture->markDirty();
  screen.update(48);
  EXPECT_EQ(backend.presentCount, 2);
  EXPECT_EQ(offPicture->lastClip, Rect(600, 400, 640, 480));
  EXPECT_EQ(a->draws, 1);
  // Only the redrawn part is handed on to the window.
  EXPECT_EQ(shown(), Rect(600, 400, 640, 480));
}

// A screen where nothing moves presents nothing: neither a widget without a size (a dialog
// standing by, hidden) nor one wholly off the picture keeps frames coming.
TEST_F(ScreenTest, NothingShowsAgainWhileNothingThatShowsChanges) {
  Screen screen("", "t");
  auto* standingBy = new Dialog();
  standingBy->hide();
  screen.addChild(standingBy);
  auto* offPicture = new ProbeWidget(Rect(700, 500, 720, 520), 1, &log);
  screen.addChild(offPicture);
  screen.update(0);
  const int first = backend.presentCount;
  for (uint32_t t = 16; t <= 160; t += 16) screen.update(t);
  EXPECT_EQ(backend.presentCount, first);
  standingBy->markDirty();
  offPicture->markDirty();
  screen.update(176);
  EXPECT_EQ(backend.presentCount, first);
}

TEST_F(ScreenTest, FirstFramePresentsAWhitePicture) {
  Screen screen("", "t");
  screen.update(0);
  ASSERT_EQ(backend.lastFrameWidth, 640);
  ASSERT_EQ(backend.lastFrameHeight, 480);
  for (uint8_t byte : backend.lastFrame) ASSERT_EQ(byte, 255);
}
