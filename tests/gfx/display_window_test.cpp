#include "gfx/display_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/headless_fixture.h"

using platform::FullScreenResult;

class DisplayWindowTest : public HeadlessTest {};

TEST_F(DisplayWindowTest, StartsAsAWhiteWindowHoldingItself) {
  DisplayWindow display("Gyrotide", 640, 480);
  EXPECT_EQ(currentDisplayWindow, &display);
  EXPECT_EQ(backend.windowSlot(display.windowHandle()), &display);
  EXPECT_EQ(backend.caption(display.windowHandle()), "Gyrotide");
  EXPECT_EQ(display.depth, 24);
  display.present();
  ASSERT_EQ(backend.lastFrame.size(), 640u * 480 * 3);
  for (uint8_t byte : backend.lastFrame) ASSERT_EQ(byte, 255);
}

// As a window's texture is: pixels outside the changed area keep what was shown before, so a
// frame test sees what a player would if a change were left out of the area.
TEST_F(DisplayWindowTest, PresentingAChangedAreaRefreshesOnlyThatArea) {
  DisplayWindow display("Gyrotide", 640, 480);
  const Rect all(0, 0, 640, 480);
  display.present();
  display.fillRect(all, Colour{10, 20, 30}, all, 1.0);
  display.present(Rect(600, 470, 700, 500));  // reaches past the picture
  ASSERT_EQ(backend.lastFrame.size(), 640u * 480 * 3);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const uint8_t expected = x >= 600 && y >= 470 ? 30 : 255;  // blue comes first
      ASSERT_EQ(backend.lastFrame[(y * 640 + x) * 3], expected) << x << ", " << y;
    }
  }
}

TEST_F(DisplayWindowTest, DestructionEndsTheWindowAndTheLoop) {
  platform::WindowId window;
  {
    DisplayWindow display("Gyrotide", 640, 480);
    window = display.windowHandle();
  }
  EXPECT_EQ(currentDisplayWindow, nullptr);
  EXPECT_FALSE(backend.isWindow(window));
  platform::Message m;
  ASSERT_TRUE(backend.peekMessage(m));
  EXPECT_EQ(m.kind, platform::MessageKind::Quit);
}

TEST_F(DisplayWindowTest, EnteringTwiceAsksTheSystemOnce) {
  DisplayWindow display("Gyrotide", 640, 480);
  EXPECT_TRUE(display.enterFullScreen());
  EXPECT_TRUE(display.enterFullScreen());
  EXPECT_EQ(backend.fullScreenRequests, 1);
  EXPECT_TRUE(backend.fullScreen);
  EXPECT_TRUE(display.leaveFullScreen());
  EXPECT_FALSE(backend.fullScreen);
  EXPECT_FALSE(display.isFullScreen());
}

TEST_F(DisplayWindowTest, LeavingWhileWindowedOnlyRepaints) {
  DisplayWindow display("Gyrotide", 640, 480);
  int before = backend.presentCount;
  EXPECT_TRUE(display.leaveFullScreen());
  EXPECT_EQ(backend.presentCount, before + 1);
  EXPECT_EQ(backend.fullScreenRequests, 0);
}

TEST_F(DisplayWindowTest, RefusedSwitchStaysWindowedWithoutAMessage) {
  DisplayWindow display("Gyrotide", 640, 480);
  backend.fullScreenAnswer = FullScreenResult::Refused;
  EXPECT_FALSE(display.enterFullScreen());
  EXPECT_FALSE(display.isFullScreen());
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(DisplayWindowTest, MissingFacilityIsReported) {
  DisplayWindow display("Gyrotide", 640, 480);
  backend.fullScreenAnswer = FullScreenResult::Unavailable;
  EXPECT_FALSE(display.enterFullScreen());
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Can't initialize DirectDraw!");
  EXPECT_EQ(backend.boxes[0].caption, "Error");
}

// Draws a picture with every kind of drawing on it, presents it, checks a few pixels and keeps
// it as sample-picture.png in the build folder for a person to look at.
TEST_F(DisplayWindowTest, SamplePictureThroughTheBackend) {
  DisplayWindow display("Gyrotide", 640, 480);
  const Rect all(0, 0, 640, 480);
  for (int y = 0; y < 480; y += 8) {
    uint8_t shade = static_cast<uint8_t>(40 + y * 80 / 480);
    display.fillRect(Rect(0, y, 640, y + 8), Colour{shade, static_cast<uint8_t>(shade + 60), 150},
                     all, 1.0);
  }
  // A board of keyed 8-bit tiles: a ring on a transparent ground.
  std::vector<uint8_t> tile(52 * 50, 0);
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 50; ++x) {
      int dx = x - 25, dy = y - 25, d = dx * dx + dy * dy;
      tile[y * 52 + x] = d < 22 * 22 ? (d > 16 * 16 ? 2 : 1) : 0;
    }
  }
  Image sprite;
  ASSERT_TRUE(sprite.assign(50, 50, 8, tile, {0, 0, 0, 230, 220, 200, 60, 90, 200}, 3));
  sprite.colourKey = 0;
  for (int cell = 0; cell < 81; ++cell) {
    int x = 180 + (cell % 9) * 50, y = 10 + (cell / 9) * 50;
    sprite.drawTo(display, 0, 0, x, y, 50, 50, all, cell % 2 == 0 ? 1.0 : 0.5);
  }
  display.fillRect(Rect(20, 20, 160, 120), Colour{255, 255, 255}, all, 0.5);
  display.frameRect(Rect(20, 20, 160, 120), Colour{20, 30, 60}, all, 1.0);
  display.drawHLine(20, 160, 130, Colour{200, 40, 40}, all, 1.0);
  display.drawVLine(140, 460, 90, Colour{40, 40, 200}, Rect(0, 0, 640, 400), 1.0);
  display.present();

  ASSERT_EQ(backend.lastFrameWidth, 640);
  auto pixel = [&](int x, int y) {
    const uint8_t* p = &backend.lastFrame[(y * 640 + x) * 3];
    return std::vector<int>{p[2], p[1], p[0]};
  };
  EXPECT_EQ(pixel(180 + 25, 10 + 25), (std::vector<int>{200, 220, 230}));  // palette is B, G, R
  EXPECT_EQ(pixel(20, 20), (std::vector<int>{20, 30, 60}));
  EXPECT_EQ(pixel(90, 398), (std::vector<int>{40, 40, 200}));
  EXPECT_NE(pixel(90, 399), (std::vector<int>{40, 40, 200}));  // stops before the clip edge
  EXPECT_TRUE(backend.writeLastFrame(std::string(GYROTIDE_BINARY_DIR) + "/sample-picture.png"));
}
