// Tile strips: for each kind and shape, 12 frames of 50 by 50 in one row. Frame 3k shows the
// shape turned k quarter turns clockwise; frames 3k+1 and 3k+2 turn it a further 30 and 60
// degrees, so a quarter turn plays smoothly. The plate and its kind markings stay still and
// only the lines turn, which keeps every line end inside the tile at any angle.
#include <array>
#include <cmath>
#include <string>

#include "families.h"
#include "game/tile_code.h"

namespace {

constexpr double kSize = art::tileSize;
constexpr double kHalf = kSize / 2;
constexpr double kLineOuter = 12;  // line width with its dark edge
constexpr double kLineInner = 8;   // the light core
constexpr double kMineLineOuter = 14;
constexpr double kMineLineInner = 10;
// The mine's dark rim: slim, so the stubs run long, yet round a window that holds the countdown.
constexpr double kMineRim = 14;

using Kind = TileKind;

struct KindLook {
  Kind kind;
  Rgb top;
  Rgb bottom;
};

constexpr std::array<KindLook, 5> kKinds{{
    {Kind::Plain, colours::plainTop, colours::plainBottom},
    {Kind::Fixed, colours::fixedTop, colours::fixedBottom},
    {Kind::Sliding, colours::slideTop, colours::slideBottom},
    {Kind::Linked, colours::linkTop, colours::linkBottom},
    {Kind::Bomb, colours::bombTop, colours::bombBottom},
}};

// Corners of the plate, each with the unit vector pointing from it into the tile.
struct Corner {
  double x, y, ux, uy;
};
constexpr double kDiag = 0.70710678118654752;
constexpr std::array<Corner, 4> kCorners{{
    {1, 1, kDiag, kDiag},
    {kSize - 1, 1, -kDiag, kDiag},
    {kSize - 1, kSize - 1, -kDiag, -kDiag},
    {1, kSize - 1, kDiag, -kDiag},
}};

// Light from the top left: a light rim on the upper-left half, a dark one on the other.
void bevel(cairo_t* cr, double inset, double radius, double width, double light, double dark) {
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, kSize, kSize);
  cairo_pattern_add_color_stop_rgba(p, 0.0, 1, 1, 1, light);
  cairo_pattern_add_color_stop_rgba(p, 0.45, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(p, 0.55, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(p, 1.0, 0, 0, 0, dark);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
  draw::roundedRect(cr, inset + width / 2, inset + width / 2, kSize - 2 * inset - width,
                    kSize - 2 * inset - width, radius);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void plate(cairo_t* cr, const KindLook& look) {
  draw::colour(cr, colours::grout);
  cairo_paint(cr);
  draw::diagonalGradient(cr, 0, 0, kSize, kSize, look.top, look.bottom);
  draw::roundedRect(cr, 1, 1, kSize - 2, kSize - 2, 6);
  cairo_fill_preserve(cr);
  // A soft sheen from the top left, like light on wet glass.
  cairo_pattern_t* sheen = cairo_pattern_create_radial(12, 10, 1, 12, 10, 30);
  cairo_pattern_add_color_stop_rgba(sheen, 0, 1, 1, 1, 0.16);
  cairo_pattern_add_color_stop_rgba(sheen, 1, 1, 1, 1, 0);
  cairo_set_source(cr, sheen);
  cairo_fill(cr);
  cairo_pattern_destroy(sheen);
}

// A bolt head with a screwdriver slot: fixed tiles are bolted down.
void bolt(cairo_t* cr, double x, double y) {
  cairo_pattern_t* p = cairo_pattern_create_radial(x - 1.2, y - 1.2, 0.5, x, y, 4);
  cairo_pattern_add_color_stop_rgb(p, 0, colours::steelLight.r, colours::steelLight.g,
                                   colours::steelLight.b);
  cairo_pattern_add_color_stop_rgb(p, 1, colours::steelDark.r, colours::steelDark.g,
                                   colours::steelDark.b);
  cairo_arc(cr, x, y, 3.6, 0, 2 * M_PI);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  draw::colour(cr, colours::lineEdge, 0.9);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_move_to(cr, x - 2.2, y + 2.2);
  cairo_line_to(cr, x + 2.2, y - 2.2);
  cairo_set_line_width(cr, 1.2);
  cairo_stroke(cr);
}

void fixedMarks(cairo_t* cr) {
  // A groove inside the rim makes the plate look heavy and set into the board.
  draw::colour(cr, colours::lineEdge, 0.45);
  draw::roundedRect(cr, 4.5, 4.5, kSize - 9, kSize - 9, 4);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  draw::colour(cr, colours::steelLight, 0.18);
  draw::roundedRect(cr, 5.5, 5.5, kSize - 11, kSize - 11, 3.5);
  cairo_stroke(cr);
  for (const Corner& c : kCorners) bolt(cr, c.x + c.ux * 9, c.y + c.uy * 9);
}

// Three grip ridges across each corner, like the finger grooves of a sliding lid.
void slidingMarks(cairo_t* cr) {
  for (const Corner& c : kCorners) {
    double vx = -c.uy, vy = c.ux;  // across the diagonal
    for (int i = 0; i < 3; ++i) {
      double t = 7 + 3.6 * i;
      double half = 2.2 + 1.6 * i;
      double x = c.x + c.ux * t, y = c.y + c.uy * t;
      for (int pass = 0; pass < 2; ++pass) {
        double o = pass == 0 ? 0.0 : 1.1;  // dark groove, then its lit lower edge
        cairo_move_to(cr, x - vx * half + o, y - vy * half + o);
        cairo_line_to(cr, x + vx * half + o, y + vy * half + o);
        if (pass == 0) {
          draw::colour(cr, hex(0x6E4A22), 0.85);
        } else {
          draw::colour(cr, hex(0xFFF1D0), 0.75);
        }
        cairo_set_line_width(cr, 1.3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_stroke(cr);
      }
    }
  }
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

// One oval link of a chain lying along the diagonal, from angle a0 to a1 of its rim.
void chainLink(cairo_t* cr, double x, double y, double angle, double a0, double a1) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, angle);
  cairo_scale(cr, 1.0, 0.58);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 4.2, a0, a1);
  cairo_restore(cr);
  cairo_set_line_width(cr, 3.0);
  draw::colour(cr, colours::lineEdge);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 1.5);
  draw::colour(cr, colours::steelLight);
  cairo_stroke(cr);
}

// Two interlocked links in each corner: linked tiles are chained to one another.
void linkedMarks(cairo_t* cr) {
  for (const Corner& c : kCorners) {
    double angle = std::atan2(c.uy, c.ux);
    double x0 = c.x + c.ux * 6.5, y0 = c.y + c.uy * 6.5;
    double x1 = c.x + c.ux * 12.5, y1 = c.y + c.uy * 12.5;
    chainLink(cr, x0, y0, angle, 0, 2 * M_PI);
    chainLink(cr, x1, y1, angle, 0, 2 * M_PI);
    // The first link passes over the second on one side, so they read as interlocked.
    chainLink(cr, x0, y0, angle, -0.9, 0.2);
  }
}

// The path of a shape's lines around the tile's centre, before turning.
void linePath(cairo_t* cr, int shape, bool spokesOnly) {
  const double reach = kHalf + 1;  // past the edge, so the end fills the border pixel
  auto spoke = [&](double dx, double dy) {
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, dx * reach, dy * reach);
  };
  switch (shape) {
    case 1:
      spoke(0, -1);
      break;
    case 3:
      if (spokesOnly) {
        spoke(0, -1);
        spoke(1, 0);
      } else {
        // A quarter circle round the top-right corner meets both edges at their middles.
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, kHalf, -kHalf, kHalf, M_PI + 0.04, M_PI / 2 - 0.04);
      }
      break;
    case 5:
      cairo_move_to(cr, 0, -reach);
      cairo_line_to(cr, 0, reach);
      break;
    case 7:
      cairo_move_to(cr, 0, -reach);
      cairo_line_to(cr, 0, reach);
      spoke(1, 0);
      break;
    case 15:
      cairo_move_to(cr, 0, -reach);
      cairo_line_to(cr, 0, reach);
      cairo_move_to(cr, -reach, 0);
      cairo_line_to(cr, reach, 0);
      break;
    default:
      break;
  }
}

void disc(cairo_t* cr, double r, Rgb fill) {
  cairo_arc(cr, 0, 0, r + 2, 0, 2 * M_PI);
  draw::colour(cr, colours::lineEdge);
  cairo_fill(cr);
  cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
  draw::colour(cr, fill);
  cairo_fill(cr);
}

// The lines, turned by angle (radians, clockwise) about the centre, with a soft shadow that
// stays below and to the right whatever the angle.
void lines(cairo_t* cr, Kind kind, int shape, double angle) {
  bool spokes = kind == Kind::Bomb;
  // A mine's lines are short stubs between its body and the edge; drawn bolder, they still
  // read at a glance.
  double outer = spokes ? kMineLineOuter : kLineOuter;
  double inner = spokes ? kMineLineInner : kLineInner;
  cairo_save(cr);
  cairo_translate(cr, kHalf + 1.2, kHalf + 1.8);
  cairo_rotate(cr, angle);
  linePath(cr, shape, spokes);
  draw::colour(cr, hex(0x000000), 0.28);
  cairo_set_line_width(cr, outer);
  cairo_stroke(cr);
  cairo_restore(cr);

  cairo_save(cr);
  cairo_translate(cr, kHalf, kHalf);
  cairo_rotate(cr, angle);
  linePath(cr, shape, spokes);
  draw::colour(cr, colours::lineEdge);
  cairo_set_line_width(cr, outer);
  cairo_stroke_preserve(cr);
  draw::colour(cr, colours::lineFill);
  cairo_set_line_width(cr, inner);
  cairo_stroke(cr);
  if (kind != Kind::Bomb) {
    if (shape == 1) {
      disc(cr, 6.5, colours::lineFill);
      cairo_arc(cr, 0, 0, 2.6, 0, 2 * M_PI);
      draw::colour(cr, colours::lineEdge);
      cairo_fill(cr);
    } else if (shape == 7 || shape == 15) {
      disc(cr, 6.5, colours::lineFill);
    }
  }
  cairo_restore(cr);
}

// A sea mine: four horns, a round body the lines plug into, and a pale window in the middle,
// calm enough for the grey countdown digit drawn over it.
void mineHorns(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, kHalf, kHalf);
  for (int i = 0; i < 4; ++i) {
    double a = M_PI / 4 + i * M_PI / 2;
    double dx = std::cos(a), dy = std::sin(a);
    for (int pass = 0; pass < 2; ++pass) {
      draw::colour(cr, pass == 0 ? colours::lineEdge : colours::steelLight);
      cairo_move_to(cr, dx * 14, dy * 14);
      cairo_line_to(cr, dx * 20.5, dy * 20.5);
      cairo_set_line_width(cr, pass == 0 ? 6 : 3);
      cairo_stroke(cr);
      cairo_arc(cr, dx * 20.5, dy * 20.5, pass == 0 ? 3.4 : 2.0, 0, 2 * M_PI);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}

void mineBody(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, kHalf, kHalf);
  cairo_arc(cr, 0, 0, kMineRim, 0, 2 * M_PI);
  draw::colour(cr, colours::lineEdge);
  cairo_fill(cr);
  cairo_pattern_t* body = cairo_pattern_create_radial(-4.5, -4.5, 2, 0, 0, kMineRim - 1);
  cairo_pattern_add_color_stop_rgb(body, 0, 1.0, 0.62, 0.48);
  cairo_pattern_add_color_stop_rgb(body, 1, colours::coralDark.r, colours::coralDark.g,
                                   colours::coralDark.b);
  cairo_arc(cr, 0, 0, kMineRim - 1.3, 0, 2 * M_PI);
  cairo_set_source(cr, body);
  cairo_fill(cr);
  cairo_pattern_destroy(body);
  cairo_restore(cr);
}

void mineWindow(cairo_t* cr) {
  cairo_save(cr);
  cairo_translate(cr, kHalf, kHalf);
  cairo_arc(cr, 0, 0, 11.5, 0, 2 * M_PI);
  draw::colour(cr, colours::coralDark);
  cairo_fill(cr);
  cairo_arc(cr, 0, 0, 10.6, 0, 2 * M_PI);
  draw::verticalGradient(cr, -10.6, 10.6, hex(0xFFFBEF), hex(0xEFE3C6));
  cairo_fill(cr);
  cairo_restore(cr);
}

void kindMarks(cairo_t* cr, Kind kind) {
  switch (kind) {
    case Kind::Fixed:
      fixedMarks(cr);
      break;
    case Kind::Sliding:
      slidingMarks(cr);
      break;
    case Kind::Linked:
      linkedMarks(cr);
      break;
    default:
      break;
  }
}

void drawFrame(cairo_t* cr, const KindLook& look, int shape, int frame) {
  plate(cr, look);
  if (look.kind == Kind::Sliding) {
    bevel(cr, 1, 5, 3, 0.75, 0.45);  // raised: it can be lifted and dragged
  } else if (look.kind == Kind::Fixed) {
    bevel(cr, 1, 5, 2, 0.3, 0.55);
  } else {
    bevel(cr, 1, 5, 1.5, 0.35, 0.35);
  }
  kindMarks(cr, look.kind);
  if (look.kind == Kind::Bomb) mineHorns(cr);
  lines(cr, look.kind, shape, frame * M_PI / 6);
  if (look.kind == Kind::Bomb) {
    mineBody(cr);
    mineWindow(cr);
  }
}

}  // namespace

void makeTiles(Output& out) {
  for (const KindLook& look : kKinds) {
    for (int shape : kShapes) {
      Canvas strip(art::tileFrames * art::tileSize, art::tileSize);
      cairo_t* cr = strip.cr();
      for (int frame = 0; frame < art::tileFrames; ++frame) {
        cairo_save(cr);
        cairo_translate(cr, frame * kSize, 0);
        cairo_rectangle(cr, 0, 0, kSize, kSize);
        cairo_clip(cr);
        drawFrame(cr, look, shape, frame);
        cairo_restore(cr);
      }
      out.rgb(tilePictureName(look.kind, static_cast<uint8_t>(shape)), strip);
    }
  }
}

void drawTileFace(cairo_t* cr, TileKind kind, uint8_t lineBits) {
  for (const KindLook& look : kKinds) {
    if (look.kind != kind) continue;
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, kSize, kSize);
    cairo_clip(cr);
    drawFrame(cr, look, canonicalShape(lineBits), 3 * orientation(lineBits));
    cairo_restore(cr);
  }
}
