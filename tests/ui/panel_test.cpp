#include "ui/panel.h"

#include <gtest/gtest.h>

#include "gfx/image.h"
#include "support/headless_fixture.h"
#include "ui/dialog.h"

using Log = std::vector<std::string>;

TEST(Panel, RectangleGrowsWithItsChildren) {
  Log log;
  Panel panel;
  EXPECT_EQ(panel.rect, Rect(0, 0, 0, 0));
  panel.addChild(new ProbeWidget(Rect(10, 10, 20, 20), 1, &log));
  EXPECT_EQ(panel.rect, Rect(10, 10, 20, 20));
  panel.addChild(new ProbeWidget(Rect(30, 5, 40, 15), 2, &log));
  EXPECT_EQ(panel.rect, Rect(10, 5, 40, 20));
  panel.addChild(nullptr);
  EXPECT_EQ(panel.children.size(), 2u);
  EXPECT_EQ(panel.findChild(2), panel.children[1]);
  EXPECT_EQ(panel.findChild(7), nullptr);
}

TEST(Panel, OffersInputTopFirstUntilConsumed) {
  Log log;
  Panel panel;
  panel.addChild(new ProbeWidget(Rect(0, 0, 50, 50), 1, &log));
  panel.addChild(new ProbeWidget(Rect(0, 0, 50, 50), 2, &log));
  panel.addChildAtBottom(new ProbeWidget(Rect(0, 0, 50, 50), 3, &log));
  EXPECT_TRUE(panel.onLeftDown(5, 5, 0));
  EXPECT_EQ(log, Log{"2: leftdown 5,5"});

  log.clear();
  static_cast<ProbeWidget*>(panel.children[2])->consumes = false;
  static_cast<ProbeWidget*>(panel.children[1])->consumes = false;
  EXPECT_TRUE(panel.onChar(65));
  EXPECT_EQ(log, (Log{"2: char 65", "1: char 65", "3: char 65"}));

  // Hit testing belongs to the children: a point far away is still offered to everyone.
  log.clear();
  static_cast<ProbeWidget*>(panel.children[0])->consumes = false;
  EXPECT_FALSE(panel.onMouseMove(600, 400, 0));
  EXPECT_EQ(log.size(), 3u);
}

TEST(Panel, RemovalWaitsForTheNextUpdateAndRedrawsTheArea) {
  Log log;
  Panel panel;
  auto* a = new ProbeWidget(Rect(10, 10, 20, 20), 1, &log);
  bool deleted = false;
  a->deleted = &deleted;
  panel.addChild(a);
  Image target(640, 480, 24);
  panel.draw(target, Rect(0, 0, 640, 480));
  ASSERT_FALSE(panel.isDirty());

  panel.removeChild(a);
  panel.removeChild(a);  // twice: still deleted once
  EXPECT_TRUE(panel.onLeftDown(12, 12, 0));
  EXPECT_EQ(log, Log{"1: leftdown 12,12"});
  EXPECT_FALSE(deleted);

  panel.update(0);
  EXPECT_TRUE(deleted);
  EXPECT_TRUE(panel.children.empty());
  EXPECT_TRUE(panel.isDirty());
  EXPECT_EQ(panel.dirtyRect, Rect(10, 10, 20, 20));
}

TEST(Panel, DirtyRectangleIsTheUnionOfChangedChildren) {
  Log log;
  Panel panel;
  auto* a = new ProbeWidget(Rect(10, 10, 20, 20), 1, &log);
  auto* b = new ProbeWidget(Rect(100, 100, 120, 130), 2, &log);
  auto* c = new ProbeWidget(Rect(300, 300, 310, 310), 3, &log);
  panel.addChild(a);
  panel.addChild(b);
  panel.addChild(c);
  Image target(640, 480, 24);
  panel.draw(target, Rect(0, 0, 640, 480));
  EXPECT_FALSE(panel.isDirty());
  EXPECT_EQ(panel.dirtyRect, Rect());

  a->markDirty();
  b->markDirty();
  EXPECT_TRUE(panel.isDirty());
  EXPECT_EQ(panel.dirtyRect, Rect(10, 10, 120, 130));

  // While the panel is already dirty a newly changed child waits one more round.
  c->markDirty();
  EXPECT_TRUE(panel.isDirty());
  EXPECT_EQ(panel.dirtyRect, Rect(10, 10, 120, 130));

  Rect clip = panel.dirtyRect;
  panel.draw(target, clip);
  EXPECT_EQ(a->draws, 2);
  EXPECT_EQ(b->draws, 2);
  EXPECT_EQ(c->draws, 1);  // outside the clip
  EXPECT_TRUE(panel.isDirty());
  EXPECT_EQ(panel.dirtyRect, Rect(300, 300, 310, 310));
}

TEST(Panel, ChildThatOnlyTouchesTheClipIsNotDrawn) {
  Log log;
  Panel panel;
  auto* touching = new ProbeWidget(Rect(50, 0, 60, 10), 1, &log);
  auto* inside = new ProbeWidget(Rect(40, 0, 51, 10), 2, &log);
  panel.addChild(touching);
  panel.addChild(inside);
  Image target(640, 480, 24);
  panel.draw(target, Rect(0, 0, 50, 10));
  EXPECT_EQ(touching->draws, 0);
  EXPECT_EQ(inside->draws, 1);
}

class DialogTest : public HeadlessTest {};

TEST_F(DialogTest, VisibleDialogSwallowsEverythingHiddenOnePassesNothing) {
  Log log;
  Screen screen("", "test");
  auto* below = new ProbeWidget(Rect(0, 0, 640, 480), 1, &log);
  auto* dialog = new Dialog;
  auto* control = new ProbeWidget(Rect(100, 100, 120, 120), 2, &log, false);
  dialog->addChild(control);
  screen.addChild(below);
  screen.addChild(dialog);

  EXPECT_TRUE(dialog->onRightUp(1, 1, 0));
  EXPECT_TRUE(dialog->onChar(13));
  EXPECT_EQ(log, (Log{"2: rightup 1,1", "2: char 13"}));

  // A notification from anywhere stops at the dialog: the widget below never hears it.
  log.clear();
  below->post(NotifyClicked, 5);
  EXPECT_EQ(log, Log{"2: notify 1 4026531841 5"});

  dialog->hide();
  log.clear();
  EXPECT_FALSE(dialog->onLeftDown(110, 110, 0));
  EXPECT_FALSE(dialog->onNotify(0, 1, 0));
  EXPECT_TRUE(log.empty());
}

TEST_F(DialogTest, ClickThatNoControlTakesIsABackgroundClick) {
  Log log;
  Screen screen("", "test");
  auto* listener = new ProbeWidget(Rect(0, 0, 1, 1), 9, &log, false);
  auto* dialog = new Dialog;
  dialog->id = 77;
  auto* control = new ProbeWidget(Rect(100, 100, 120, 120), 2, &log, false);
  dialog->addChild(control);
  screen.addChild(listener);
  screen.addChild(dialog);

  EXPECT_TRUE(dialog->onLeftDown(300, 300, 0));
  // The control is offered the click, declines it, and then hears the dialog's report.
  EXPECT_EQ(log, (Log{"2: leftdown 300,300", "2: notify 77 4026531968 0"}));

  log.clear();
  control->consumes = true;
  EXPECT_TRUE(dialog->onLeftDown(110, 110, 0));
  EXPECT_EQ(log, Log{"2: leftdown 110,110"});
}

namespace {

// Fills its rectangle, and counts the pixels it was asked to paint.
class Paint : public Widget {
 public:
  Paint(const Rect& r, Colour colour, double opacity, bool declaresOpaque)
      : Widget(r, 0), colour_(colour), declares_(declaresOpaque) {
    alpha = opacity;
  }
  void draw(Image& target, const Rect& clip) override {
    Rect area = rect;
    area.intersect(clip);
    if (!area.isEmpty()) painted += area.width() * area.height();
    target.fillRect(rect, colour_, clip, alpha);
    Widget::draw(target, clip);
  }
  Rect opaqueRect() const override { return declares_ ? rect : Rect(); }
  int painted = 0;

 private:
  Colour colour_;
  bool declares_;
};

}  // namespace

// The picture is the one drawing every child whole in order would give, but what a later
// opaque child covers is not painted first.
TEST(Panel, ChildrenCoveredByLaterOpaqueOnesAreNotPaintedThere) {
  Panel panel;
  auto* ground = new Paint(Rect(0, 0, 100, 80), Colour{90, 90, 90}, 1.0, false);
  auto* under = new Paint(Rect(0, 0, 20, 20), Colour{1, 2, 3}, 1.0, true);  // before the ground
  auto* hidden = new Paint(Rect(55, 10, 65, 20), Colour{9, 9, 9}, 1.0, false);
  auto* red = new Paint(Rect(10, 10, 40, 40), Colour{200, 0, 0}, 1.0, true);
  auto* glass = new Paint(Rect(30, 30, 60, 60), Colour{0, 0, 200}, 0.5, false);
  auto* green = new Paint(Rect(50, 5, 90, 30), Colour{0, 200, 0}, 1.0, true);
  for (Widget* w : {ground, hidden, red, glass, green}) panel.addChild(w);
  panel.addChildAtBottom(under);

  for (const Rect clip : {Rect(0, 0, 100, 80), Rect(20, 20, 70, 70)}) {
    Image drawn(100, 80, 24), expected(100, 80, 24);
    for (Widget* w : panel.children) w->draw(expected, clip);
    for (Widget* w : panel.children) static_cast<Paint*>(w)->painted = 0;
    hidden->markDirty();
    panel.draw(drawn, clip);
    ASSERT_EQ(std::vector<uint8_t>(drawn.pixels, drawn.pixels + drawn.byteSize()),
              std::vector<uint8_t>(expected.pixels, expected.pixels + expected.byteSize()));
    EXPECT_EQ(hidden->painted, 0);
    EXPECT_EQ(glass->painted, 900);  // inside both clips
    if (clip.left == 0) {
      EXPECT_FALSE(hidden->dirty);  // all under green: visited, with nothing to paint
      EXPECT_EQ(ground->painted, 8000 - 900 - 1000);  // red and green are apart
      EXPECT_EQ(under->painted, 400);                 // drawn first, it hides nothing
    } else {
      EXPECT_EQ(ground->painted, 2500 - 400 - 200);  // red's 20 x 20 and green's 20 x 10 inside
    }
  }
}
