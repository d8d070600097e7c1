// Composes controls in every state from the generated archive and keeps the picture as
// review/controls.png in the build folder for a person to look at.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "gfx/image_cache.h"
#include "res/resource_archive.h"
#include "support/headless_fixture.h"
#include "ui/box.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/meter.h"
#include "ui/picture.h"

class ControlsReviewTest : public HeadlessTest {};

TEST_F(ControlsReviewTest, EveryStateFromTheGeneratedArt) {
  std::string built = std::string(GYROTIDE_BINARY_DIR) + "/gyrotide.zap";
  if (!std::filesystem::exists(built)) GTEST_SKIP() << "no generated archive";
  ResourceArchive archive(built.c_str());
  ScopedResourceArchive use(archive);
  Screen screen("", "review");
  screen.addChildAtBottom(new Picture(0, 0, "background.png", 0));

  // One row a state: normal, hover, pressed, toggled down, hidden.
  const char* names[] = {"easy.png", "options.png", "quit.png", "help.png"};
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      auto* b = new Button(190 + column * 110, 30 + row * 40, names[column], 2000);
      screen.addChild(b);
      if (row == 1) b->hover = true;
      if (row == 2) b->pressed = true;
      if (row == 3) {
        b->setToggle(true);
        b->setDown(true);
      }
    }
  }
  auto* meter =
      new Meter(Rect(167, 144, 177, 460), 0, 100, "meterbg.png", "meterfg.png", 2012, true);
  meter->setValue(65);
  screen.addChild(meter);
  BitmapFont* digits = getFont("tovynum.png");
  digits->setFirstChar('0');
  auto* count = new Label(Rect(116, 5, 168, 42), digits, Colour{0, 0, 0}, "42", 0);
  count->alignCentre();
  screen.addChild(count);
  auto* veil = new Box(Rect(190, 200, 630, 300), Colour{255, 255, 255}, 1);
  veil->setAlpha(0.6);
  screen.addChild(veil);
  BitmapFont* small = getFont("tovy13.png");
  screen.addChild(new Label(Rect(200, 210, 620, 230), small, Colour{10, 40, 50},
                            "A translucent box with a border, and small text.", 0));

  screen.update(0);
  std::filesystem::create_directories(std::string(GYROTIDE_BINARY_DIR) + "/review");
  EXPECT_TRUE(backend.writeLastFrame(std::string(GYROTIDE_BINARY_DIR) + "/review/controls.png"));
  // The hover and down frames differ from the normal one.
  auto at = [&](int x, int y) { return &backend.lastFrame[(y * 640 + x) * 3]; };
  EXPECT_NE(std::memcmp(at(200, 40), at(200, 80), 3), 0);
  releaseFont(digits);
  releaseFont(small);
}
