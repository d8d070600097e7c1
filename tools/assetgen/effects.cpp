// Explosions: a water spout for a bomb going off (five frames side by side) and a ring of
// bubbles for a blast passing through (five frames stacked). Both are keyed from their
// corner, so every shape is solid with a dark rim that survives the hard transparent edge.
#include <cmath>

#include "families.h"

namespace {

void outlined(cairo_t* cr, Rgb fill, double rim = 1.6) {
  draw::colour(cr, colours::lineEdge);
  cairo_set_line_width(cr, rim * 2);
  cairo_stroke_preserve(cr);
  draw::colour(cr, fill);
  cairo_fill(cr);
}

void starPath(cairo_t* cr, double cx, double cy, int points, double outer, double inner,
              double turn) {
  for (int i = 0; i < 2 * points; ++i) {
    double a = turn + i * M_PI / points;
    double r = i % 2 == 0 ? outer : inner;
    cairo_line_to(cr, cx + r * std::sin(a), cy - r * std::cos(a));
  }
  cairo_close_path(cr);
}

// A burst of light: a flash star round a flame core.
void burst(cairo_t* cr, double cx, double cy, double size) {
  starPath(cr, cx, cy, 9, size, size * 0.55, 0.2);
  outlined(cr, colours::flame);
  starPath(cr, cx, cy, 9, size * 0.7, size * 0.38, 0.55);
  draw::colour(cr, colours::flash);
  cairo_fill(cr);
  cairo_arc(cr, cx, cy, size * 0.25, 0, 2 * M_PI);
  draw::colour(cr, hex(0xFFFFFF));
  cairo_fill(cr);
}

// A drop of spray flying outwards along angle a (radians, clockwise from up).
void droplet(cairo_t* cr, double x, double y, double r, double a) {
  double dx = std::sin(a), dy = -std::cos(a);
  cairo_move_to(cr, x - dx * r * 2.4, y - dy * r * 2.4);
  cairo_arc(cr, x, y, r, a - M_PI, a);
  cairo_close_path(cr);
  outlined(cr, colours::spray, 1.1);
}

void bubble(cairo_t* cr, double x, double y, double r) {
  cairo_arc(cr, x, y, r, 0, 2 * M_PI);
  outlined(cr, colours::sprayDeep, 1.1);
  cairo_arc(cr, x - r * 0.35, y - r * 0.35, r * 0.35, 0, 2 * M_PI);
  draw::colour(cr, colours::spray);
  cairo_fill(cr);
}

// Strokes the current path as foam: a dark edge, deep spray, and a bright core whose width is
// `coreShare` of the thickness.
void strokeFoam(cairo_t* cr, double thickness, double coreShare) {
  draw::colour(cr, colours::lineEdge);
  cairo_set_line_width(cr, thickness + 3);
  cairo_stroke_preserve(cr);
  draw::colour(cr, colours::sprayDeep);
  cairo_set_line_width(cr, thickness);
  cairo_stroke_preserve(cr);
  draw::colour(cr, colours::spray);
  cairo_set_line_width(cr, thickness * coreShare);
  cairo_stroke(cr);
}

// A ring of foam, drawn as a thick outlined circle.
void foamRing(cairo_t* cr, double cx, double cy, double r, double thickness) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
  strokeFoam(cr, thickness, 0.45);
}

void sprayRing(cairo_t* cr, double cx, double cy, double r, double size, int count, uint32_t seed) {
  draw::Random random(seed);
  for (int i = 0; i < count; ++i) {
    double a = (i + random.range(-0.3, 0.3)) * 2 * M_PI / count;
    double d = r * random.range(0.8, 1.15);
    droplet(cr, cx + d * std::sin(a), cy - d * std::cos(a), size * random.range(0.7, 1.2), a);
  }
}

// One jet of the splash, thrown from (x, y) along angle a (clockwise from up), round at its
// crest and narrowing to its foot.
void jet(cairo_t* cr, double x, double y, double a, double length, double width) {
  double dx = std::sin(a), dy = -std::cos(a);
  double px = -dy, py = dx;  // across the jet
  double tx = x + dx * length, ty = y + dy * length;
  cairo_move_to(cr, x - px * width * 0.35, y - py * width * 0.35);
  cairo_curve_to(cr, x + dx * length * 0.5 - px * width * 0.5,
                 y + dy * length * 0.5 - py * width * 0.5, tx - px * width, ty - py * width, tx,
                 ty);
  cairo_curve_to(cr, tx + px * width, ty + py * width, x + dx * length * 0.5 + px * width * 0.5,
                 y + dy * length * 0.5 + py * width * 0.5, x + px * width * 0.35,
                 y + py * width * 0.35);
  cairo_close_path(cr);
  outlined(cr, colours::spray, 1.3);
}

// A crown of jets round the hit, the tallest in the middle.
void crown(cairo_t* cr, double cx, double base, double height, double width) {
  const double angles[] = {-0.85, 0.85, -0.42, 0.42, 0.0};
  const double scale[] = {0.55, 0.55, 0.8, 0.8, 1.0};
  for (int i = 0; i < 5; ++i) {
    jet(cr, cx + angles[i] * 8, base, angles[i], height * scale[i], width * scale[i]);
  }
}

// The water's surface thrown into a flat ring round the foot of the splash.
void surfaceRing(cairo_t* cr, double cx, double cy, double rx, double thickness) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, 1, 0.4);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, rx, 0, 2 * M_PI);
  cairo_restore(cr);
  strokeFoam(cr, thickness, 0.4);
}

void spoutFrame(cairo_t* cr, int frame, double cx, double cy) {
  switch (frame) {
    case 0:
      burst(cr, cx, cy, 18);
      break;
    case 1:
      sprayRing(cr, cx, cy, 38, 4, 12, 21);
      foamRing(cr, cx, cy, 24, 7);
      burst(cr, cx, cy, 26);
      break;
    case 2:
      sprayRing(cr, cx, cy - 14, 46, 3.6, 12, 22);
      surfaceRing(cr, cx, cy + 16, 38, 6);
      crown(cr, cx, cy + 16, 66, 10);
      burst(cr, cx, cy + 14, 11);
      break;
    case 3:
      sprayRing(cr, cx, cy - 10, 50, 3.2, 14, 23);
      surfaceRing(cr, cx, cy + 18, 48, 4);
      crown(cr, cx, cy + 18, 40, 7);
      break;
    default: {
      draw::Random random(24);
      for (int i = 0; i < 10; ++i) {
        bubble(cr, cx + random.range(-42, 42), cy + random.range(-55, 40), random.range(2.2, 4.5));
      }
      break;
    }
  }
}

void ringFrame(cairo_t* cr, int frame, double cx, double cy) {
  switch (frame) {
    case 0:
      burst(cr, cx, cy, 14);
      break;
    case 1:
      foamRing(cr, cx, cy, 22, 8);
      burst(cr, cx, cy, 16);
      break;
    case 2:
      foamRing(cr, cx, cy, 33, 6);
      sprayRing(cr, cx, cy, 42, 3.5, 10, 31);
      break;
    case 3: {
      foamRing(cr, cx, cy, 42, 3);
      draw::Random random(32);
      for (int i = 0; i < 12; ++i) {
        double a = i * M_PI / 6 + random.range(-0.2, 0.2);
        bubble(cr, cx + 36 * std::sin(a), cy - 36 * std::cos(a), random.range(2.5, 4.5));
      }
      break;
    }
    default: {
      draw::Random random(33);
      for (int i = 0; i < 10; ++i) {
        double a = i * 2 * M_PI / 10 + random.range(-0.3, 0.3);
        double d = random.range(30, 48);
        bubble(cr, cx + d * std::sin(a), cy - d * std::cos(a), random.range(2, 3.8));
      }
      break;
    }
  }
}

// Keeps a frame's spray out of its neighbours.
class FrameClip {
 public:
  FrameClip(cairo_t* cr, double x, double y, double w, double h) : cr_(cr) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
  }
  ~FrameClip() { cairo_restore(cr_); }
  FrameClip(const FrameClip&) = delete;
  FrameClip& operator=(const FrameClip&) = delete;

 private:
  cairo_t* cr_;
};

}  // namespace

void makeEffects(Output& out) {
  const Box& large = art::blastLarge;
  Canvas spouts(large.w * art::blastFrames, large.h);
  for (int f = 0; f < art::blastFrames; ++f) {
    // The hit tile's centre, from the offset at which the game places the picture.
    FrameClip clip(spouts.cr(), f * large.w, 0, large.w, large.h);
    spoutFrame(spouts.cr(), f, f * large.w - large.x + 25.0, -large.y + 25.0);
  }
  out.keyed("blast1.png", spouts);

  const Box& small = art::blastSmall;
  Canvas rings(small.w, small.h * art::blastFrames);
  for (int f = 0; f < art::blastFrames; ++f) {
    FrameClip clip(rings.cr(), 0, f * small.h, small.w, small.h);
    ringFrame(rings.cr(), f, -small.x + 25.0, f * small.h - small.y + 25.0);
  }
  out.keyed("blast2.png", rings);
}
