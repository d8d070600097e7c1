// The tutorial: a tip picture for each subject (a heading and a sentence or two, dark on the
// white box the game draws round it), the arrows that point from the box's corner at the
// subject, and the Next button. All keyed from their corners.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "families.h"
#include "screens/tutorial.h"

namespace {

const Rgb kWhite = hex(0xFFFFFF);
constexpr int kTipWidth = 212;
constexpr double kBodyLine = 16;

struct TipText {
  char character;
  const char* heading;
  const char* body;
};

constexpr TipText kTexts[13] = {
    {'1', "Turn a tile", "Left click turns it clockwise, right click turns it back."},
    {'3', "A fixed tile", "It never turns or moves: make the other tiles fit round it."},
    {'a', "A loose end",
     "One line end here meets no end on the other side. Turn a tile to join them."},
    {'c', "Into the gaps",
     "A line end may point into an empty cell or off the board. That is never loose."},
    {'2', "Loose ends",
     "Counts the line ends still unmatched. Bring it to zero to solve the puzzle."},
    {'4', "The allowance",
     "Every move spends some of it. What is left when you solve the puzzle is your bonus."},
    {'5', "A sliding tile", "Drag it onto another sliding tile and the two swap places."},
    {'6', "A linked tile", "Turn it and every linked tile on the board turns the same way."},
    {'7', "A bomb", "When its countdown runs out, it jostles the tiles in its row or column."},
    {'8', "Hints", "Red marks show every loose end. In scored play each move then costs double."},
    {'b', "Options", "Sound, music, full screen, scoring, bombs, hints and these tips."},
    {'9', "The manual", "Everything about the game, opened in your web browser."},
    {'d', "Lock a tile",
     "Sure a tile is right? Middle click it, or Shift+click, and it stays put until you unlock "
     "it."},
};

// The heading in bold with a sand rule under it, then the body wrapped to the picture.
Canvas tipPicture(const TipText& t) {
  std::vector<std::string> lines;
  {
    Canvas probe(1, 1);
    draw::font(probe.cr(), draw::Face::Sans, 13);
    // As many lines as the full width needs, but evened out: the narrowest width that needs
    // no more lines, so no word is left alone on the last one.
    lines = draw::wrap(probe.cr(), t.body, kTipWidth - 2);
    for (double w = kTipWidth - 3; w > kTipWidth / 2; --w) {
      std::vector<std::string> narrower = draw::wrap(probe.cr(), t.body, w);
      if (narrower.size() > lines.size()) break;
      lines = std::move(narrower);
    }
  }
  const int h = static_cast<int>(std::ceil(38 + kBodyLine * (lines.size() - 1) + 6));
  Canvas picture(kTipWidth, h);
  cairo_t* cr = picture.cr();
  draw::colour(cr, kWhite);
  cairo_paint(cr);
  draw::font(cr, draw::Face::SansBold, 15);
  draw::colour(cr, colours::ink);
  cairo_move_to(cr, 1, 14);
  cairo_show_text(cr, t.heading);
  cairo_new_path(cr);
  cairo_rectangle(cr, 1, 19, draw::textWidth(cr, t.heading), 2);
  draw::colour(cr, colours::downTop);
  cairo_fill(cr);
  draw::font(cr, draw::Face::Sans, 13);
  draw::colour(cr, hex(0x1E3B44));
  double baseline = 38;
  for (const std::string& line : lines) {
    cairo_move_to(cr, 1, baseline);
    cairo_show_text(cr, line.c_str());
    baseline += kBodyLine;
  }
  cairo_new_path(cr);
  return picture;
}

// An arrow with its point at the top-left corner, reaching down and right towards the box.
void arrowPath(cairo_t* cr) {
  cairo_move_to(cr, 1.5, 1.5);
  cairo_line_to(cr, 27, 6);
  cairo_line_to(cr, 19, 13);
  cairo_line_to(cr, 47, 41);
  cairo_line_to(cr, 41, 47);
  cairo_line_to(cr, 13, 19);
  cairo_line_to(cr, 6, 27);
  cairo_close_path(cr);
}

// The arrow turned so that its point lies at (px, py) of the picture.
Canvas arrow(bool pointRight, bool pointDown) {
  const int size = layout::kArrowSize;
  Canvas picture(size, size);
  cairo_t* cr = picture.cr();
  cairo_translate(cr, pointRight ? layout::kArrowTipRight + 1 : 0,
                  pointDown ? layout::kArrowTipBottom + 1 : 0);
  cairo_scale(cr, pointRight ? -1 : 1, pointDown ? -1 : 1);
  arrowPath(cr);
  draw::colour(cr, colours::buttonEdge);
  cairo_set_line_width(cr, 2.5);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  draw::diagonalGradient(cr, 0, 0, 45, 45, hex(0xFFB08F), colours::coral);
  cairo_fill(cr);
  return picture;
}

void nextButton(Output& out) {
  const int w = layout::kOkayWidth, h = layout::kOkayHeight;
  Canvas strip(3 * w, h);
  Canvas shape(3 * w, h);
  draw::colour(strip.cr(), kWhite);
  cairo_paint(strip.cr());
  for (int state = 0; state < 3; ++state) {
    const Box f{state * w + 4, 5, w - 8, 28};
    buttonFace(strip.cr(), f, state, "next");
    buttonShape(shape.cr(), f);
  }
  out.keyed(layout::kTipNextPicture, strip, &shape, 1);
}

}  // namespace

void makeTutor(Output& out) {
  for (const TipText& t : kTexts) out.keyed(tips::pictureName(t.character), tipPicture(t));
  for (bool right : {false, true}) {
    for (bool down : {false, true}) {
      std::string name = "arrowul.png";
      if (down) name[5] = 'l';
      if (right) name[6] = 'r';
      out.keyed(name, arrow(right, down));
    }
  }
  nextButton(out);
}
