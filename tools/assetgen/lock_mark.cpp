// The lock mark the board draws in a locked tile's corner: a small padlock, dark-edged, with a
// coral body and a pale shackle, so that its shape reads on every kind of tile and on a faded
// board. Keyed from its corner.
#include <cmath>

#include "families.h"
#include "game/board_view.h"

namespace {

constexpr double kW = lock_mark::kWidth;
constexpr double kH = lock_mark::kHeight;

// The shackle: an arch standing on the body.
void shackle(cairo_t* cr) {
  const double cx = kW / 2.0, r = 4.2;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - r, 9);
  cairo_line_to(cr, cx - r, 6);
  cairo_arc(cr, cx, 6, r, M_PI, 2 * M_PI);
  cairo_line_to(cr, cx + r, 9);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  draw::colour(cr, colours::buttonEdge);
  cairo_set_line_width(cr, 4.6);
  cairo_stroke_preserve(cr);
  draw::colour(cr, colours::steelLight);
  cairo_set_line_width(cr, 1.8);
  cairo_stroke(cr);
}

// The body with its keyhole.
void body(cairo_t* cr) {
  draw::roundedRect(cr, 0.8, 7.8, kW - 1.6, kH - 8.6, 2.2);
  draw::colour(cr, colours::buttonEdge);
  cairo_fill(cr);
  draw::roundedRect(cr, 2.2, 9.2, kW - 4.4, kH - 11.4, 1.2);
  draw::verticalGradient(cr, 9, kH - 2, hex(0xF59A7C), colours::coral);
  cairo_fill(cr);
  cairo_arc(cr, kW / 2.0, 11.9, 1.5, 0, 2 * M_PI);
  cairo_rectangle(cr, kW / 2.0 - 0.8, 12, 1.6, 2.8);
  draw::colour(cr, colours::buttonEdge);
  cairo_fill(cr);
}

}  // namespace

void makeLockMark(Output& out) {
  Canvas mark(lock_mark::kWidth, lock_mark::kHeight);
  cairo_t* cr = mark.cr();
  shackle(cr);
  body(cr);
  out.keyed(lock_mark::kPicture, mark);
}
