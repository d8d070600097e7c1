#include "app/run_loop.h"

#include <gtest/gtest.h>

#include "gfx/display_window.h"
#include "support/headless_fixture.h"

using platform::MessageKind;
using Log = std::vector<std::string>;

namespace {

class RefusingScreen : public Screen {
 public:
  RefusingScreen() : Screen("", "t") {}
  bool onClose() override {
    ++closeRequests;
    return false;
  }
  int closeRequests = 0;
};

// Counts frames and clears the run flag on a left click.
class FrameCounter : public ProbeWidget {
 public:
  using ProbeWidget::ProbeWidget;
  bool update(uint32_t now) override {
    ++updates;
    lastNow = now;
    return false;
  }
  bool onLeftDown(int32_t x, int32_t y, int32_t flags) override {
    if (quitOnClick) running = false;
    return ProbeWidget::onLeftDown(x, y, flags);
  }
  bool onChar(uint32_t code) override {
    if (quitOnClick) running = false;
    return ProbeWidget::onChar(code);
  }
  uint32_t nextChange(uint32_t) override { return untilChange; }
  uint32_t untilChange = kNoChange;
  int updates = 0;
  uint32_t lastNow = 0;
  bool quitOnClick = false;
};

}  // namespace

class RunLoopTest : public HeadlessTest {
 protected:
  Log log;
};

TEST_F(RunLoopTest, QuitMessageEndsTheLoopWithZero) {
  Screen screen("", "t");
  backend.postQuitMessage(0);
  EXPECT_EQ(runLoop(screen), 0);
  EXPECT_FALSE(running);
}

TEST_F(RunLoopTest, ClearingTheRunFlagEndsTheLoop) {
  Screen screen("", "t");
  auto* probe = new FrameCounter(Rect(0, 0, 640, 480), 1, &log);
  probe->quitOnClick = true;
  screen.addChild(probe);
  backend.sendMouse(MessageKind::LeftDown, 10, 10);
  backend.sendMouse(MessageKind::LeftUp, 10, 10);  // never taken
  EXPECT_EQ(runLoop(screen), 0);
  EXPECT_EQ(log, Log{"1: leftdown 10,10"});
  // A message with a param of its own that ends the loop (a key that quits) gives no exit code.
  backend.send(MessageKind::Char, 'q');
  EXPECT_EQ(runLoop(screen), 0);
}

TEST_F(RunLoopTest, IdleLoopWaitsForTheNextFrameInsteadOfSpinning) {
  Screen screen("", "t");
  auto* probe = new FrameCounter(Rect(0, 0, 10, 10), 1, &log);
  probe->untilChange = 0;  // something moves on every frame
  screen.addChild(probe);
  backend.onWait = [&](uint32_t timeout) {
    backend.now += timeout;
    if (backend.waits.size() == 10) backend.postQuitMessage(0);
  };
  runLoop(screen);
  ASSERT_EQ(backend.waits.size(), 10u);
  for (uint32_t wait : backend.waits) EXPECT_EQ(wait, backend.frameIntervalMs());
  // One frame per refresh; each frame updates the children twice.
  EXPECT_EQ(probe->updates, 2 * 11);
  EXPECT_EQ(backend.presentCount, 1);
}

// The loop sleeps until the screen's next change: for as long as it names, for a message alone
// when nothing is due, and a message brings the next frame at the next refresh.
TEST_F(RunLoopTest, LoopSleepsUntilSomethingIsDue) {
  Screen screen("", "t");
  auto* probe = new FrameCounter(Rect(0, 0, 10, 10), 1, &log);
  screen.addChild(probe);
  probe->untilChange = 250;
  std::vector<int> updatesAtWait;
  backend.onWait = [&](uint32_t timeout) {
    updatesAtWait.push_back(probe->updates);
    if (timeout != platform::kWaitForever) backend.now += timeout;
    if (backend.waits.size() == 3) probe->untilChange = kNoChange;
    if (backend.waits.size() == 4) {
      backend.now += 5000;
      backend.sendMouse(MessageKind::MouseMove, 1, 1);
    }
    if (backend.waits.size() == 6) backend.postQuitMessage(0);
  };
  runLoop(screen);
  const uint32_t forever = platform::kWaitForever;
  EXPECT_EQ(backend.waits, (std::vector<uint32_t>{250, 250, 250, forever, forever, forever}));
  // A frame at each due moment, and one after the message; none while waiting for it.
  EXPECT_EQ(updatesAtWait, (std::vector<int>{2, 4, 6, 8, 10, 10}));
}

TEST_F(RunLoopTest, HiddenScreenRunsNoFrames) {
  Screen screen("", "t");
  auto* probe = new FrameCounter(Rect(0, 0, 10, 10), 1, &log);
  screen.addChild(probe);
  screen.hide();
  backend.onWait = [&](uint32_t) { backend.postQuitMessage(0); };
  runLoop(screen);
  EXPECT_EQ(probe->updates, 0);
  EXPECT_EQ(backend.waits, std::vector<uint32_t>{platform::kWaitForever});
}

TEST_F(RunLoopTest, WindowProcedureMapsMouseAndCharacters) {
  Screen screen("", "t");
  screen.addChild(new ProbeWidget(Rect(0, 0, 640, 480), 1, &log));
  backend.sendMouse(MessageKind::LeftDown, 10, 20);
  backend.sendMouse(MessageKind::MouseMove, 11, 21);
  backend.sendMouse(MessageKind::LeftUp, 12, 22);
  backend.sendMouse(MessageKind::RightDown, 13, 23);
  backend.sendMouse(MessageKind::RightUp, 14, 24);
  backend.sendMouse(MessageKind::MouseMove, -1, 5);  // left of the window while captured
  backend.send(MessageKind::Char, 22);
  backend.postQuitMessage(0);
  backend.onWait = [&](uint32_t) { FAIL() << "waited with messages queued"; };
  runLoop(screen);
  EXPECT_EQ(log, (Log{"1: leftdown 10,20", "1: move 11,21", "1: leftup 12,22", "1: rightdown 13,23",
                      "1: rightup 14,24", "1: move 65535,5", "1: char 22"}));
}

TEST_F(RunLoopTest, ButtonsCaptureAndReleaseTheMouse) {
  Screen screen("", "t");
  platform::WindowId window = backend.firstWindow();
  platform::Message m;
  m.window = window;
  m.kind = MessageKind::RightDown;
  windowProc(window, m);
  EXPECT_EQ(backend.captured, window);
  m.kind = MessageKind::RightUp;
  windowProc(window, m);
  EXPECT_EQ(backend.captured, 0u);
  m.kind = MessageKind::LeftDown;
  windowProc(window, m);
  EXPECT_EQ(backend.captured, window);
  m.kind = MessageKind::LeftUp;
  windowProc(window, m);
  EXPECT_EQ(backend.captured, 0u);
}

TEST_F(RunLoopTest, ClosingTheWindowEndsTheLoopThroughTheQuitMessage) {
  Screen screen("", "t");
  backend.send(MessageKind::Close);
  EXPECT_EQ(runLoop(screen), 0);
  EXPECT_EQ(backend.firstWindow(), 0u);
}

TEST_F(RunLoopTest, RefusedCloseKeepsWindowAndLoop) {
  RefusingScreen screen;
  backend.send(MessageKind::Close);
  backend.onWait = [&](uint32_t) { running = false; };
  runLoop(screen);
  EXPECT_EQ(screen.closeRequests, 1);
  EXPECT_NE(backend.firstWindow(), 0u);
}

TEST_F(RunLoopTest, DeactivationPausesHidesAndRepaintsTheWholePicture) {
  Screen screen("", "t");
  auto* probe = new ProbeWidget(Rect(5, 5, 50, 50), 1, &log);
  screen.addChild(probe);
  platform::WindowId window = backend.firstWindow();
  backend.now = 1000;
  platform::Message m;
  m.window = window;
  m.kind = MessageKind::ActivateApp;
  m.param = 0;
  windowProc(window, m);
  EXPECT_TRUE(GameClock::paused);
  EXPECT_FALSE(screen.visible);
  EXPECT_EQ(probe->lastClip, Rect(0, 0, 640, 480));

  // The invalidated window paints: the picture is presented without a frame.
  platform::Message paint;
  ASSERT_TRUE(backend.peekMessage(paint));
  EXPECT_EQ(paint.kind, MessageKind::Paint);
  backend.dispatchMessage(paint);
  EXPECT_EQ(backend.presentCount, 1);

  backend.now = 6000;
  m.param = 1;
  windowProc(window, m);
  EXPECT_FALSE(GameClock::paused);
  EXPECT_TRUE(screen.visible);
  EXPECT_EQ(GameClock::now(), 1000u);
}

TEST(WindowProcedure, WithoutAScreenOnlyTheWindowHandlingRuns) {
  platform::HeadlessBackend backend;
  platform::setBackend(&backend);
  registerWindowClass();
  ASSERT_EQ(currentScreen, nullptr);
  struct Marker : platform::WindowClient {
    void present() override {}
  } marker;
  platform::WindowId window = backend.createWindow("ZapWindow", "t", 640, 480, &marker);
  EXPECT_EQ(backend.windowSlot(window), &marker);
  backend.sendMouse(MessageKind::LeftDown, 1, 1);
  backend.send(MessageKind::Close);
  platform::Message m;
  while (backend.peekMessage(m) && m.kind != MessageKind::Quit) backend.dispatchMessage(m);
  EXPECT_EQ(m.kind, MessageKind::Quit);
  EXPECT_FALSE(backend.isWindow(window));
  platform::setBackend(nullptr);
}
