// Pictures shown on the pop-ups over the board: the title of the high-score pop-up and the OK
// button. Both are keyed from their corner, because the pop-up's panel is a translucent white
// over whatever the board shows. Their soft edges are drawn against the panel's usual colour
// (white at 70 % over the tiles), so they blend in wherever the panel lies.
#include <algorithm>
#include <cmath>
#include <string>

#include "families.h"

namespace {

const Rgb kPanel = mix(colours::plainBottom, hex(0xFFFFFF), ::layout::kPopupPanelAlpha);
const char* const kTitle = "New high score!";

// A five-armed starfish centred on (cx, cy), turned by `turn` radians.
void starfishPath(cairo_t* cr, double cx, double cy, double r, double turn) {
  for (int i = 0; i < 10; ++i) {
    double a = turn + i * M_PI / 5;
    double d = i % 2 == 0 ? r : r * 0.46;
    double x = cx + d * std::sin(a), y = cy - d * std::cos(a);
    if (i == 0) {
      cairo_move_to(cr, x, y);
    } else {
      // Soft arms: each edge bows a little outwards.
      double mid = turn + (i - 0.5) * M_PI / 5;
      double md = (i % 2 == 0 ? r * 0.62 : r * 0.62);
      cairo_curve_to(cr, cx + md * std::sin(mid), cy - md * std::cos(mid), cx + md * std::sin(mid),
                     cy - md * std::cos(mid), x, y);
    }
  }
  cairo_close_path(cr);
}

void starfish(cairo_t* cr, double cx, double cy, double r, double turn) {
  starfishPath(cr, cx, cy, r, turn);
  draw::colour(cr, colours::coralDark);
  cairo_set_line_width(cr, 2.4);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  draw::diagonalGradient(cr, cx - r, cy - r, 2 * r, 2 * r, hex(0xF59A7A), colours::coral);
  cairo_fill(cr);
  // A row of dots along each arm.
  for (int arm = 0; arm < 5; ++arm) {
    double a = turn + arm * 2 * M_PI / 5;
    for (double t : {0.3, 0.55}) {
      cairo_arc(cr, cx + r * t * std::sin(a), cy - r * t * std::cos(a), 0.9, 0, 2 * M_PI);
      draw::colour(cr, hex(0xFFE4D6), 0.9);
      cairo_fill(cr);
    }
  }
  cairo_arc(cr, cx, cy, 1.4, 0, 2 * M_PI);
  draw::colour(cr, hex(0xFFE4D6));
  cairo_fill(cr);
}

// The largest bold size up to 30 pixels whose title fits the width.
double titleSize(cairo_t* cr, double width) {
  double size = 30;
  for (; size > 12; size -= 0.5) {
    draw::font(cr, draw::Face::SansBold, size);
    if (draw::textWidth(cr, kTitle) <= width) break;
  }
  return size;
}

// The title: sand letters with a dark rim, lit from above, a tide curl beneath and a starfish
// at each end. `shape` receives everything that is not panel, for the key.
void title(cairo_t* cr, bool shape) {
  const double w = ::layout::kNewHighWidth, h = ::layout::kNewHighHeight;
  const double star = 15;
  const double textRoom = w - 4 * star - 14;
  draw::font(cr, draw::Face::SansBold, titleSize(cr, textRoom));
  const double baseline = 34;
  const double x = (w - draw::textWidth(cr, kTitle)) / 2;

  // The curl: the tide turning under the words, as under the game's name.
  cairo_move_to(cr, x + 4, h - 10);
  cairo_curve_to(cr, x + 60, h - 3, w / 2, h - 15, w - x - 4, h - 8);
  draw::colour(cr, shape ? hex(0x000000) : colours::seaLight);
  cairo_set_line_width(cr, shape ? 3.6 : 2.6);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);

  cairo_move_to(cr, x, baseline);
  cairo_text_path(cr, kTitle);
  draw::colour(cr, shape ? hex(0x000000) : colours::ink);
  cairo_set_line_width(cr, 3.2);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  if (shape) {
    cairo_fill(cr);
  } else {
    draw::verticalGradient(cr, baseline - 22, baseline + 2, hex(0xFFF1CC), hex(0xE3A94F));
    cairo_fill(cr);
    // A thin glint along the top of the letters.
    cairo_save(cr);
    cairo_move_to(cr, x, baseline);
    cairo_text_path(cr, kTitle);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, baseline - 23, w, 5);
    draw::colour(cr, hex(0xFFFFFF), 0.45);
    cairo_fill(cr);
    cairo_restore(cr);
  }

  const double left = star + 3, right = w - star - 3, cy = h / 2 - 4;
  if (shape) {
    starfishPath(cr, left, cy, star + 1.5, -0.25);
    starfishPath(cr, right, cy, star + 1.5, 0.3);
    draw::colour(cr, hex(0x000000));
    cairo_fill(cr);
  } else {
    starfish(cr, left, cy, star, -0.25);
    starfish(cr, right, cy, star, 0.3);
  }
}

void makeTitle(Output& out) {
  const int w = ::layout::kNewHighWidth, h = ::layout::kNewHighHeight;
  Canvas picture(w, h);
  draw::colour(picture.cr(), kPanel);
  cairo_paint(picture.cr());
  title(picture.cr(), false);
  Canvas shape(w, h);
  title(shape.cr(), true);
  out.keyed(::layout::kNewHighTitle, picture, &shape, 1);
}

// The OK button: a sea-glass face like the game's own buttons, three frames side by side.
void makeOkay(Output& out) {
  const int w = ::layout::kOkayWidth, h = ::layout::kOkayHeight;
  Canvas strip(3 * w, h);
  Canvas shape(3 * w, h);
  draw::colour(strip.cr(), kPanel);
  cairo_paint(strip.cr());
  for (int state = 0; state < 3; ++state) {
    const Box f{state * w + 4, 5, w - 8, 28};
    buttonFace(strip.cr(), f, state, "OK");
    buttonShape(shape.cr(), f);
  }
  out.keyed(::layout::kOkayPicture, strip, &shape, 1);
}

}  // namespace

void makePopups(Output& out) {
  makeTitle(out);
  makeOkay(out);
}
