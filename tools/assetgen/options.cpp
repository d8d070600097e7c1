// The options pop-up: a card of foam over the sea that carries the words of every control
// (the game draws only the controls, the table and the version line), the OK and reset
// buttons, the check box and the level slider's track and thumb. Every picture is cut from
// the card at its control's place, so it sits there seamlessly.
#include <cmath>
#include <string>
#include <utility>

#include "families.h"

namespace {

namespace lay = ::layout;

// The card: everything the game writes in grey on it lies inside.
constexpr double kCardRight = 462;
constexpr double kCardTop = 44;
const Rgb kCard = colours::foam;
const Rgb kLabel = colours::ink;

constexpr int kBoxSize = 24;  // one frame of the check box
constexpr int kOkWidth = 84, kOkHeight = 34;
constexpr int kResetWidth = 116, kResetHeight = 26;
constexpr int kThumbSize = 20;  // as long as the slider is high

// The table's inset, round the four rows the game fills.
Box tableBox() {
  const Rect& name = lay::kScoreNameCell;
  const Rect& score = lay::kScoreValueCell;
  const int top = score.top - 2;
  const int bottom = name.top + 4 * lay::kScoreRowStep + 2;
  return {name.left - 10, top, score.right + 10 - (name.left - 10), bottom - top};
}

void card(cairo_t* cr) {
  // A soft shadow, the rim, then the face; the card runs off the left and bottom edges.
  draw::roundedRect(cr, -20, kCardTop + 3, kCardRight + 23, 500, 16);
  draw::colour(cr, hex(0x000000), 0.3);
  cairo_fill(cr);
  draw::roundedRect(cr, -20, kCardTop, kCardRight + 20, 500, 16);
  draw::colour(cr, colours::rimLight);
  cairo_fill(cr);
  draw::roundedRect(cr, -20, kCardTop + 2, kCardRight + 18, 500, 14);
  draw::colour(cr, kCard);
  cairo_fill(cr);
}

void title(cairo_t* cr) {
  draw::font(cr, draw::Face::SansBold, 21);
  cairo_move_to(cr, 9, 32);
  cairo_text_path(cr, "Options");
  cairo_save(cr);
  cairo_translate(cr, 1, 1.5);
  draw::colour(cr, hex(0x000000), 0.35);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, 9, 32);
  draw::colour(cr, colours::title);
  cairo_show_text(cr, "Options");
  cairo_new_path(cr);
  cairo_move_to(cr, 10, 39);
  cairo_curve_to(cr, 35, 44, 60, 34, 90, 40);
  draw::colour(cr, colours::seaLight, 0.9);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
}

void labelFont(cairo_t* cr) { draw::font(cr, draw::Face::SansBold, 13); }

// A label whose text ends at x or starts at x, vertically centred on cy.
void labelEndingAt(cairo_t* cr, const std::string& text, double x, double cy) {
  labelFont(cr);
  draw::colour(cr, kLabel);
  cairo_move_to(cr, std::round(x - draw::textWidth(cr, text)), draw::baselineFor(cr, cy));
  cairo_show_text(cr, text.c_str());
  cairo_new_path(cr);
}

void labelStartingAt(cairo_t* cr, const std::string& text, double x, double cy) {
  labelFont(cr);
  draw::colour(cr, kLabel);
  cairo_move_to(cr, std::round(x), draw::baselineFor(cr, cy));
  cairo_show_text(cr, text.c_str());
  cairo_new_path(cr);
}

double middle(const lay::Placed& box) { return box.y + kBoxSize / 2.0; }

// The exchanged buttons, under hints.
void buttonsLabel(cairo_t* cr, double gap) {
  const lay::Placed& box = lay::kLeftTurnsBackBox;
  labelStartingAt(cr, "left button turns back", box.x + kBoxSize + gap, middle(box));
}

// The left column of boxes has its words on the left, the right column on the right.
void boxLabels(cairo_t* cr) {
  const double gap = 7;
  labelEndingAt(cr, "scoring", lay::kScoringBox.x - gap, middle(lay::kScoringBox));
  labelEndingAt(cr, "full screen", lay::kFullScreenBox.x - gap, middle(lay::kFullScreenBox));
  labelStartingAt(cr, "tutorial", lay::kTutorialBox.x + kBoxSize + gap, middle(lay::kTutorialBox));
  labelStartingAt(cr, "bombs", lay::kBombsBox.x + kBoxSize + gap, middle(lay::kBombsBox));
  const double hintsX = lay::kHintsBox.x + kBoxSize + gap;
  labelStartingAt(cr, "hints", hintsX, middle(lay::kHintsBox));
  labelFont(cr);
  const double noteX = hintsX + draw::textWidth(cr, "hints") + 6;
  draw::font(cr, draw::Face::Sans, 11);
  draw::colour(cr, colours::rimDark);
  cairo_move_to(cr, noteX, draw::baselineFor(cr, middle(lay::kHintsBox)));
  cairo_show_text(cr, "(loose ends marked)");
  cairo_new_path(cr);
  buttonsLabel(cr, gap);
}

// Words left of each slider.
void sliderLabels(cairo_t* cr) {
  for (auto [text, r] :
       {std::pair{"sound", lay::kSoundLevelSlider}, std::pair{"music", lay::kMusicLevelSlider}}) {
    labelEndingAt(cr, text, r.left - 6, (r.top + r.bottom) / 2.0);
  }
}

void scoreTable(cairo_t* cr) {
  const Box t = tableBox();
  draw::roundedRect(cr, t.x + 0.5, t.y + 0.5, t.w - 1, t.h - 1, 10);
  draw::colour(cr, hex(0xFFFFFF));
  cairo_fill_preserve(cr);
  draw::colour(cr, colours::foamShade);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // Faint rules between the rows, and a tint on every other row.
  for (int row = 0; row < 4; ++row) {
    const double y = lay::kScoreNameCell.top + row * lay::kScoreRowStep;
    if (row % 2 == 1) {
      cairo_rectangle(cr, t.x + 1, y, t.w - 2, lay::kScoreRowStep);
      draw::colour(cr, colours::foam);
      cairo_fill(cr);
    }
  }
  // The heading beside the table, over two lines.
  draw::font(cr, draw::Face::SansBold, 15);
  const double cx = t.x / 2.0 + 4;
  const double cy = t.y + t.h / 2.0;
  draw::centredText(cr, "high", cx, cy - 3, kLabel);
  draw::centredText(cr, "scores", cx, cy + 15, kLabel);
  // Best first: a small crown of sand by the top row.
  const double crownY = lay::kScoreNameCell.top + lay::kScoreRowStep / 2.0;
  const double x = t.x - 4;
  cairo_move_to(cr, x - 14, crownY + 6);
  cairo_line_to(cr, x - 14, crownY - 4);
  cairo_line_to(cr, x - 10, crownY + 1);
  cairo_line_to(cr, x - 7, crownY - 6);
  cairo_line_to(cr, x - 4, crownY + 1);
  cairo_line_to(cr, x, crownY - 4);
  cairo_line_to(cr, x, crownY + 6);
  cairo_close_path(cr);
  draw::colour(cr, colours::downTop);
  cairo_fill_preserve(cr);
  draw::colour(cr, colours::coralDark);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

// The sea beside the card: a few starfish resting on the floor.
void starfish(cairo_t* cr, double cx, double cy, double r, double turn, double alpha) {
  for (int i = 0; i < 10; ++i) {
    const double a = turn + i * M_PI / 5;
    const double d = i % 2 == 0 ? r : r * 0.45;
    const double x = cx + d * std::sin(a), y = cy - d * std::cos(a);
    if (i == 0) {
      cairo_move_to(cr, x, y);
    } else {
      cairo_line_to(cr, x, y);
    }
  }
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  draw::colour(cr, colours::coralDark, alpha);
  cairo_set_line_width(cr, 2);
  cairo_stroke_preserve(cr);
  draw::colour(cr, colours::coral, alpha);
  cairo_fill(cr);
}

void seaSide(cairo_t* cr) {
  starfish(cr, 560, 120, 22, 0.3, 0.9);
  starfish(cr, 505, 210, 12, -0.4, 0.7);
  starfish(cr, 600, 300, 15, 0.9, 0.8);
  draw::font(cr, draw::Face::Sans, 11);
  draw::centredText(cr, "levels and full screen", 550, 372, colours::caption);
  draw::centredText(cr, "change at once;", 550, 387, colours::caption);
  draw::centredText(cr, "the rest on OK", 550, 402, colours::caption);
}

Canvas optionsCard() {
  Canvas picture(art::screenW, art::screenH);
  cairo_t* cr = picture.cr();
  seaBackdrop(cr);
  title(cr);
  card(cr);
  boxLabels(cr);
  sliderLabels(cr);
  scoreTable(cr);
  seaSide(cr);
  return picture;
}

// A push button in the game's look, three frames cut from the card at its place.
void pushButton(Output& out, const Canvas& back, const lay::Placed& control, int w, int h,
                const std::string& label) {
  Canvas strip(3 * w, h);
  const Canvas behind = back.crop({control.x, control.y, w, h});
  for (int state = 0; state < 3; ++state) {
    strip.paint(behind, state * w, 0);
    buttonFace(strip.cr(), {state * w, 0, w, h}, state, label);
  }
  out.rgb(control.picture, strip);
}

// The check box: an empty well at rest, a lit rim under the pointer, a sand tick when down.
void checkBoxFrame(cairo_t* cr, double x, int state) {
  const double s = kBoxSize;
  draw::roundedRect(cr, x + 2.5, 3.5, s - 5, s - 5, 5);
  draw::colour(cr, hex(0x000000), 0.25);
  cairo_fill(cr);
  draw::roundedRect(cr, x + 2, 2, s - 5, s - 5, 5);
  draw::colour(cr, state == 1 ? colours::wave : colours::buttonEdge);
  cairo_fill(cr);
  draw::roundedRect(cr, x + 4, 4, s - 9, s - 9, 3.5);
  if (state == 2) {
    draw::verticalGradient(cr, 4, s - 5, colours::downBottom, colours::downTop);
  } else {
    draw::verticalGradient(cr, 4, s - 5, hex(0xFFFFFF),
                           state == 1 ? colours::hoverBottom : colours::foamShade);
  }
  cairo_fill(cr);
  if (state == 2) {
    cairo_move_to(cr, x + 6.5, 12);
    cairo_line_to(cr, x + 10.5, 16.5);
    cairo_line_to(cr, x + 18.5, 5.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    draw::colour(cr, colours::ink);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
  }
}

void makeCheckBox(Output& out, const Canvas& back) {
  Canvas strip(3 * kBoxSize, kBoxSize);
  const lay::Placed& at = lay::kScoringBox;
  const Canvas behind = back.crop({at.x, at.y, kBoxSize, kBoxSize});
  for (int state = 0; state < 3; ++state) {
    strip.paint(behind, state * kBoxSize, 0);
    checkBoxFrame(strip.cr(), state * kBoxSize, state);
  }
  out.rgb(lay::kCheckBoxPicture, strip);
}

// The groove the thumb runs in, the same all along so the thumb can carry a piece of it.
void groove(cairo_t* cr, double x0, double x1, double h) {
  const double cy = h / 2.0;
  draw::roundedRect(cr, x0, cy - 3.5, x1 - x0, 7, 3.5);
  draw::colour(cr, colours::rimDark);
  cairo_fill(cr);
  draw::roundedRect(cr, x0 + 1, cy - 2.5, x1 - x0 - 2, 5, 2.5);
  draw::verticalGradient(cr, cy - 2.5, cy + 2.5, colours::grooveDark, colours::seaLight);
  cairo_fill(cr);
}

void makeSlider(Output& out, const Canvas& back) {
  const Box t = art::boxOf(lay::kSoundLevelSlider);
  Canvas track = back.crop(t);
  groove(track.cr(), 3, t.w - 3, t.h);
  out.rgb(lay::kSliderTrack, track);

  // The thumb carries the groove behind it, then a round sea-glass knob.
  Canvas thumb = back.crop({t.x + t.w / 2, t.y, kThumbSize, kThumbSize});
  cairo_t* cr = thumb.cr();
  groove(cr, -10, kThumbSize + 10, kThumbSize);
  const double c = kThumbSize / 2.0;
  cairo_arc(cr, c + 0.5, c + 1, c - 1, 0, 2 * M_PI);
  draw::colour(cr, hex(0x000000), 0.3);
  cairo_fill(cr);
  cairo_arc(cr, c, c, c - 1, 0, 2 * M_PI);
  draw::colour(cr, colours::buttonEdge);
  cairo_fill(cr);
  cairo_arc(cr, c, c, c - 2.5, 0, 2 * M_PI);
  draw::verticalGradient(cr, 2, kThumbSize - 2, colours::downBottom, colours::downTop);
  cairo_fill(cr);
  cairo_arc(cr, c, c - 2.5, 3.5, 0, 2 * M_PI);
  draw::colour(cr, hex(0xFFFFFF), 0.45);
  cairo_fill(cr);
  out.rgb(lay::kSliderThumb, thumb);
}

}  // namespace

void makeOptions(Output& out) {
  const Canvas back = optionsCard();
  out.rgb(lay::kOptionsBackground.picture, back);
  pushButton(out, back, lay::kOptionsOk, kOkWidth, kOkHeight, "OK");
  pushButton(out, back, lay::kResetScores, kResetWidth, kResetHeight, "reset scores");
  makeCheckBox(out, back);
  makeSlider(out, back);
}
