#include <gtest/gtest.h>

#include <memory>

#include "gfx/font.h"
#include "gfx/image.h"
#include "res/archive_writer.h"
#include "res/resource_archive.h"
#include "res/test_files.h"
#include "support/headless_fixture.h"
#include "support/test_images.h"
#include "ui/box.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/meter.h"
#include "ui/picture.h"
#include "ui/slider.h"

using Log = std::vector<std::string>;

namespace {

constexpr uint32_t kNormal = 0xC00000, kHover = 0x00C000, kDown = 0x0000C0;

std::string controlArchive() {
  return buildArchive({
      {"ctl-button.bmp",
       bmp24(60, 20, [](int x, int) { return x < 20   ? kNormal
                                             : x < 40 ? kHover
                                                      : kDown; })},
      {"ctl-picture.bmp", solidBmp(7, 5, 0x123456)},
      {"ctl-back.bmp", solidBmp(10, 100, 0x404040)},
      {"ctl-fill.bmp", solidBmp(10, 100, 0xF0F000)},
      {"ctl-track.bmp", solidBmp(180, 20, 0x808080)},
      {"ctl-thumb.bmp", solidBmp(12, 20, 0xFFFFFF)},
  });
}

// Every character is 10 pixels wide and 10 high.
class FixedFont : public Font {
 public:
  std::string name() const override { return "fixed"; }
  uint16_t drawText(Image&, const Rect& clip, int32_t x, int32_t y, const char* text, Colour,
                    uint16_t, double) const override {
    lastClip = clip;
    lastX = x;
    lastY = y;
    return textWidth(text);
  }
  uint16_t drawChar(Image&, const Rect&, int32_t, int32_t, char, Colour, double) const override {
    return 10;
  }
  uint16_t height() const override { return 10; }
  uint16_t firstCharWidth() const override { return 10; }
  uint16_t textWidth(const char* text, uint16_t = kWholeText) const override {
    return static_cast<uint16_t>(10 * std::string(text).size());
  }
  uint16_t charWidth(char) const override { return 10; }
  mutable Rect lastClip;
  mutable int32_t lastX = 0, lastY = 0;
};

uint32_t pixelAt(const Image& image, int x, int y) {
  const uint8_t* p = image.pixelAddress(x, y);
  return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

// Hears every notification, as a game screen does after the tree has had it.
class RecordingScreen : public Screen {
 public:
  explicit RecordingScreen(Log* log) : Screen("", "t"), log(log) {}
  bool onNotify(uint16_t sender, uint32_t code, int32_t value) override {
    bool taken = Screen::onNotify(sender, code, value);
    log->push_back(std::to_string(sender) + " " + std::to_string(code) + " " +
                   std::to_string(value));
    return taken;
  }
  Log* log;
};

}  // namespace

class ControlsTest : public HeadlessTest {
 protected:
  // Drives the screen the way the window procedure does, so capture routing applies.
  void click(int x, int y) {
    screen.onLeftDown(x, y, 0);
    screen.onLeftUp(x, y, 0);
  }
  Button* addButton(int x, int y, uint16_t id) {
    auto* b = new Button(x, y, "ctl-button.bmp", id);
    screen.addChild(b);
    return b;
  }

  std::unique_ptr<ResourceArchive> archive = memoryArchive(controlArchive());
  ScopedResourceArchive use{*archive};
  Log log;
  RecordingScreen screen{&log};
  Image canvas{640, 480, 24};
};

TEST_F(ControlsTest, PushButtonReleasedOutsideOnlyReportsThePress) {
  Button* b = addButton(100, 100, 2000);
  EXPECT_EQ(b->rect, Rect(100, 100, 120, 120));
  screen.onLeftDown(105, 105, 0);
  EXPECT_EQ(screen.captureWidget, b);
  b->draw(canvas, Rect(0, 0, 640, 480));
  EXPECT_EQ(pixelAt(canvas, 110, 110), kDown);
  screen.onMouseMove(300, 300, 0);
  screen.onLeftUp(300, 300, 0);
  EXPECT_EQ(log, Log{"2000 4026531842 0"});
  EXPECT_EQ(screen.captureWidget, nullptr);
  b->draw(canvas, Rect(0, 0, 640, 480));
  EXPECT_EQ(pixelAt(canvas, 110, 110), kNormal);
}

TEST_F(ControlsTest, CheckBoxTogglesOnlyOnAReleaseInside) {
  Button* b = addButton(100, 100, 2001);
  b->setToggle(true);
  b->setGroup(0);
  click(110, 110);
  EXPECT_TRUE(b->down);
  EXPECT_EQ(log, (Log{"2001 4026531842 0", "2001 4026531848 1", "2001 4026531841 0"}));
  log.clear();
  screen.onLeftDown(110, 110, 0);
  screen.onLeftUp(500, 10, 0);
  EXPECT_TRUE(b->down);
  EXPECT_EQ(log, Log{"2001 4026531842 0"});
}

TEST_F(ControlsTest, RadioGroupKeepsExactlyOneDown) {
  Button* first = addButton(0, 200, 2000);
  Button* second = addButton(30, 200, 2001);
  Button* third = addButton(60, 200, 2002);
  for (Button* b : {first, second, third}) {
    b->setToggle(true);
    b->setGroup(1);
  }
  first->setDown(true);
  click(35, 205);
  EXPECT_FALSE(first->down);
  EXPECT_TRUE(second->down);
  EXPECT_FALSE(third->down);
  log.clear();
  click(35, 205);  // a selected member ignores clicks altogether
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(second->down);

  screen.onNotify(0, NotifySetDown, 2002);
  screen.onNotify(0, NotifySetUp, 2001);
  EXPECT_TRUE(third->down);
  EXPECT_FALSE(second->down);
}

TEST_F(ControlsTest, HoverIsReportedOnEntryAndHiddenButtonsIgnoreThePointer) {
  Button* b = addButton(100, 100, 2003);
  screen.onMouseMove(105, 105, 0);
  screen.onMouseMove(106, 106, 0);
  EXPECT_EQ(log, Log{"2003 4026531846 0"});
  b->draw(canvas, Rect(0, 0, 640, 480));
  EXPECT_EQ(pixelAt(canvas, 110, 110), kHover);

  b->setToggle(true);
  b->setDown(true);
  b->hide();
  EXPECT_FALSE(b->down);
  EXPECT_FALSE(b->hover);
  log.clear();
  click(110, 110);
  screen.onMouseMove(111, 111, 0);
  EXPECT_TRUE(log.empty());
  b->show();
  EXPECT_FALSE(b->down);
}

// Hiding a button in the middle of a press must not leave the whole screen listening to it.
TEST_F(ControlsTest, AButtonHiddenWhilePressedGivesUpTheCapture) {
  Button* hidden = addButton(100, 100, 2000);
  addButton(200, 100, 2001);
  screen.onLeftDown(105, 105, 0);
  ASSERT_EQ(screen.captureWidget, hidden);
  hidden->hide();
  EXPECT_EQ(screen.captureWidget, nullptr);
  screen.onLeftUp(105, 105, 0);
  log.clear();
  click(205, 105);
  EXPECT_EQ(log, (Log{"2001 4026531842 0", "2001 4026531841 0"}));

  // Hiding a widget that holds no capture leaves another's alone.
  screen.onLeftDown(205, 105, 0);
  Button* other = static_cast<Button*>(screen.findChild(2001));
  hidden->hide();
  EXPECT_EQ(screen.captureWidget, other);
}

TEST_F(ControlsTest, AHiddenSliderTakesNoClicksOrDrags) {
  auto* s =
      new Slider("ctl-track.bmp", "ctl-thumb.bmp", Rect(100, 50, 280, 70), 0, 100, 2050, false);
  screen.addChild(s);
  s->hide();
  EXPECT_FALSE(screen.onLeftDown(110, 60, 0));  // on the thumb
  EXPECT_EQ(screen.captureWidget, nullptr);
  EXPECT_FALSE(s->dragging);
  screen.onMouseMove(189, 60, 0);
  screen.onLeftUp(189, 60, 0);
  EXPECT_EQ(s->value, 0u);
  EXPECT_TRUE(log.empty());

  // Hidden in the middle of a drag: the drag ends there and later moves change nothing.
  s->show();
  ASSERT_TRUE(screen.onLeftDown(110, 60, 0));
  screen.onMouseMove(189, 60, 0);
  ASSERT_EQ(s->value, 50u);
  s->hide();
  EXPECT_EQ(screen.captureWidget, nullptr);
  EXPECT_FALSE(s->dragging);
  screen.onMouseMove(268, 60, 0);
  screen.onLeftUp(268, 60, 0);
  s->show();
  screen.onMouseMove(110, 60, 0);
  EXPECT_EQ(s->value, 50u);
  EXPECT_EQ(log, Log{"2050 4026531856 50"});
}

TEST_F(ControlsTest, MissingImagesLeaveControlsThatCannotBeHit) {
  Button b(10, 10, "no-such.bmp", 2004);
  EXPECT_TRUE(b.rect.isEmpty());
  EXPECT_FALSE(b.onLeftDown(10, 10, 0));
  Picture p(10, 10, "no-such.bmp", 0);
  EXPECT_EQ(p.rect, Rect());
  Picture q(3, 4, "ctl-picture.bmp", 0);
  EXPECT_EQ(q.rect, Rect(3, 4, 10, 9));
}

TEST_F(ControlsTest, SliderThumbRunsBetweenItsEnds) {
  auto* s =
      new Slider("ctl-track.bmp", "ctl-thumb.bmp", Rect(100, 50, 280, 70), 0, 100, 2050, false);
  screen.addChild(s);
  EXPECT_EQ(s->thumbLength, 20);  // across the axis: the thumb image's height
  s->setValue(100);
  EXPECT_EQ(s->thumbRect.right, 279);
  EXPECT_EQ(log, Log{"2050 4026531856 100"});
  s->setValue(0);
  EXPECT_EQ(s->thumbRect.left, 100);
  EXPECT_EQ(s->thumbRect.right, 120);

  // Dragging the thumb: lo = 110, hi = 268.
  log.clear();
  EXPECT_TRUE(screen.onLeftDown(110, 60, 0));
  screen.onMouseMove(189, 60, 0);
  EXPECT_EQ(s->value, 50u);
  screen.onMouseMove(500, 60, 0);
  screen.onLeftUp(500, 60, 0);
  EXPECT_EQ(s->value, 100u);
  EXPECT_FALSE(s->dragging);
  EXPECT_EQ(screen.captureWidget, nullptr);
  EXPECT_EQ(log, (Log{"2050 4026531856 50", "2050 4026531856 100"}));

  // A click on the track beside the thumb captures but neither moves nor is consumed.
  EXPECT_FALSE(s->onLeftDown(120, 60, 0));
  EXPECT_EQ(screen.captureWidget, s);
  EXPECT_EQ(s->value, 100u);
}

TEST_F(ControlsTest, MeterGlidesOneUnitPerTenthOfASecond) {
  auto* m = new Meter(Rect(167, 144, 177, 244), 0, 100, "ctl-back.bmp", "ctl-fill.bmp", 2012, true);
  screen.addChild(m);
  m->setValue(60);
  EXPECT_EQ(m->extent, 40);
  backend.now = 1000;
  m->animateTo(40);
  m->update(2000);
  EXPECT_EQ(m->extent, 50);
  EXPECT_EQ(m->value, 60u);
  m->update(3000);
  EXPECT_EQ(m->value, 40u);
  EXPECT_EQ(m->extent, 60);

  // The fill covers only the part below the hidden top.
  m->draw(canvas, Rect(0, 0, 640, 480));
  EXPECT_EQ(pixelAt(canvas, 170, 144 + 59), 0x404040u);
  EXPECT_EQ(pixelAt(canvas, 170, 144 + 60), 0xF0F000u);

  m->setMax(20);  // still above min: only the top end moves
  EXPECT_EQ(m->max, 20u);
}

// A range of one value shows an empty meter instead of dividing by zero.
TEST_F(ControlsTest, MeterWithMinimumEqualToMaximumShowsEmpty) {
  Meter vertical(Rect(0, 0, 10, 100), 0, 100, "", "", 2012, true);
  vertical.setMax(0);  // the value (50) now lies outside the range 0..0
  EXPECT_EQ(vertical.extent, 100);
  Meter horizontal(Rect(0, 0, 100, 10), 7, 7, "", "", 2012, false);
  horizontal.setValue(7);
  EXPECT_EQ(horizontal.extent, 0);
  horizontal.animateTo(9);
  horizontal.update(1000);
  EXPECT_EQ(horizontal.extent, 0);
}

// A glide step that comes long after its time stops at the end of the meter.
TEST_F(ControlsTest, MeterExtentStaysWithinTheMeterAfterALateUpdate) {
  Meter down(Rect(167, 144, 177, 244), 0, 100, "", "", 2012, true);
  down.setValue(60);
  backend.now = 1000;
  down.animateTo(40);
  down.update(101000);  // 1000 units late
  EXPECT_EQ(down.value, 40u);
  EXPECT_GE(down.extent, 0);
  EXPECT_LE(down.extent, 100);

  Meter up(Rect(0, 0, 200, 10), 0, 100, "", "", 2012, false);
  up.setValue(40);
  up.animateTo(60);
  up.update(101000);
  EXPECT_EQ(up.value, 60u);
  EXPECT_GE(up.extent, 0);
  EXPECT_LE(up.extent, 200);
}

TEST_F(ControlsTest, LabelAlignsItsText) {
  FixedFont font;
  Label label(Rect(10, 20, 110, 40), &font, Colour{0, 0, 0}, "abcd", 0);
  EXPECT_EQ(label.measuredWidth, 40);
  EXPECT_EQ(label.xOffset, 0);
  EXPECT_EQ(label.yOffset, 5);
  label.alignRight();
  EXPECT_EQ(label.xOffset, 60);
  label.alignCentre();
  EXPECT_EQ(label.xOffset, 30);
  label.draw(canvas, Rect(0, 0, 50, 480));
  EXPECT_EQ(font.lastX, 40);
  EXPECT_EQ(font.lastClip, Rect(10, 20, 50, 40));
  label.setText("abcdefghijklmno");  // wider than the label: starts at its left edge
  EXPECT_EQ(label.xOffset, 0);
  Label empty(Rect(0, 0, 10, 10), &font, Colour{}, nullptr, 0);
  EXPECT_EQ(empty.text, "");
}

TEST_F(ControlsTest, BoxDrawsBorderAndTranslucentFill) {
  Box box(Rect(10, 10, 20, 20), Colour{200, 100, 0}, 1);
  canvas.fillRect(Rect(0, 0, 640, 480), Colour{0, 0, 0}, Rect(0, 0, 640, 480), 1.0);
  box.setAlpha(0.5);
  box.draw(canvas, Rect(0, 0, 640, 480));
  EXPECT_EQ(pixelAt(canvas, 10, 10), 0u);
  EXPECT_EQ(pixelAt(canvas, 15, 15), 0x643200u);
  box.hide();
  canvas.fillRect(Rect(0, 0, 640, 480), Colour{0, 0, 0}, Rect(0, 0, 640, 480), 1.0);
  box.draw(canvas, Rect(0, 0, 640, 480));
  EXPECT_EQ(pixelAt(canvas, 15, 15), 0u);
}
