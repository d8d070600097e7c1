// The game screen's backdrop and the pictures that sit in its fixed places: the score panel,
// the allowance meter, and the program's icon (for its window, and at the desktop's sizes).
#include <cmath>
#include <string>
#include <vector>

#include "families.h"

namespace {

using art::board;

void sea(cairo_t* cr) {
  draw::verticalGradient(cr, 0, art::screenH, colours::seaTop, colours::seaBottom);
  cairo_paint(cr);
  // Daylight from the surface, above the controls.
  cairo_pattern_t* glow = cairo_pattern_create_radial(70, -40, 10, 70, -40, 330);
  cairo_pattern_add_color_stop_rgba(glow, 0, 0.75, 1, 0.95, 0.16);
  cairo_pattern_add_color_stop_rgba(glow, 1, 0.75, 1, 0.95, 0);
  cairo_set_source(cr, glow);
  cairo_paint(cr);
  cairo_pattern_destroy(glow);
}

// Long, slow swells drifting across the sea.
void swells(cairo_t* cr) {
  draw::Random random(7);
  for (int i = 0; i < 14; ++i) {
    double y = 60 + i * 31 + random.range(-8, 8);
    double phase = random.range(0, 2 * M_PI);
    double amplitude = random.range(3, 7);
    double length = random.range(120, 190);
    cairo_move_to(cr, 0, y);
    for (int x = 0; x <= art::screenW; x += 4) {
      cairo_line_to(cr, x, y + amplitude * std::sin(x / length * 2 * M_PI + phase));
    }
    draw::colour(cr, colours::wave, 0.07 + 0.03 * random.next());
    cairo_set_line_width(cr, random.range(1.0, 2.2));
    cairo_stroke(cr);
  }
}

void title(cairo_t* cr) {
  draw::font(cr, draw::Face::SansBold, 21);
  cairo_move_to(cr, 9, 32);
  cairo_text_path(cr, "Gyrotide");
  draw::colour(cr, hex(0x000000), 0.35);
  cairo_save(cr);
  cairo_translate(cr, 1, 1.5);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_move_to(cr, 9, 32);
  draw::colour(cr, colours::title);
  cairo_show_text(cr, "Gyrotide");
  // A small curl under the name: the tide turning.
  cairo_move_to(cr, 10, 39);
  cairo_curve_to(cr, 40, 44, 70, 34, 104, 40);
  draw::colour(cr, colours::seaLight, 0.9);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
}

// A light face with a rim, for the black numbers the game writes on it.
void lightPanel(cairo_t* cr, double x, double y, double w, double h, double r) {
  draw::roundedRect(cr, x + 0.5, y + 1.5, w, h, r);
  draw::colour(cr, hex(0x000000), 0.35);
  cairo_fill(cr);
  draw::roundedRect(cr, x, y, w, h, r);
  draw::colour(cr, colours::rimDark);
  cairo_fill(cr);
  draw::roundedRect(cr, x + 2, y + 2, w - 4, h - 4, r - 2);
  draw::verticalGradient(cr, y, y + h, colours::foam, colours::foamShade);
  cairo_fill(cr);
  draw::roundedRect(cr, x + 2.5, y + 2.5, w - 5, h - 5, r - 2.5);
  draw::colour(cr, hex(0x000000), 0.12);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
}

void caption(cairo_t* cr, const char* text, double cx, double baseline) {
  draw::font(cr, draw::Face::SansBold, 10);
  draw::centredText(cr, text, cx, baseline, colours::caption);
}

void looseEndsDial(cairo_t* cr) {
  const Box& b = art::looseEndsLabel;
  lightPanel(cr, b.x, b.y, b.w, b.h, 9);
  caption(cr, "loose ends", b.x + b.w / 2.0, b.bottom() + 11);
}

// Where the score and the meter appear in scoring play: faint hollows when they are hidden.
void hollows(cairo_t* cr) {
  const Box& s = art::scorePicture;
  draw::roundedRect(cr, s.x + 2.5, s.y + 0.5, s.w - 5, 44, 11);
  draw::colour(cr, colours::grooveDark, 0.15);
  cairo_fill_preserve(cr);
  draw::colour(cr, colours::seaLight, 0.18);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  const Box& m = art::meter;
  draw::roundedRect(cr, m.x + 1, m.y, m.w - 2, m.h, 4);
  draw::colour(cr, colours::grooveDark, 0.25);
  cairo_fill(cr);
}

void boardTray(cairo_t* cr) {
  // The rim, lit from above, round the board.
  draw::roundedRect(cr, board.x - 3, board.y - 3, board.w + 6, board.h + 6, 5);
  draw::verticalGradient(cr, board.y - 3, board.bottom() + 3, colours::rimLight, colours::rimDark);
  cairo_fill(cr);
  cairo_rectangle(cr, board.x, board.y, board.w, board.h);
  draw::verticalGradient(cr, board.y, board.bottom(), colours::floorTop, colours::floorBottom);
  cairo_fill(cr);
  // Each cell an empty socket, so a hole in the board still reads as part of the grid.
  for (int row = 0; row < 9; ++row) {
    for (int col = 0; col < 9; ++col) {
      double x = board.x + col * art::tileSize, y = board.y + row * art::tileSize;
      draw::roundedRect(cr, x + 3, y + 3, 44, 44, 6);
      draw::colour(cr, colours::socket, 0.9);
      cairo_fill(cr);
      draw::roundedRect(cr, x + 3.5, y + 3.5, 43, 43, 5.5);
      draw::diagonalGradient(cr, x, y, 50, 50, hex(0x000000), colours::seaLight);
      cairo_set_line_width(cr, 1);
      cairo_stroke(cr);
    }
  }
}

void controlCaptions(cairo_t* cr) { caption(cr, "difficulty", 40, 190); }

Canvas scorePanel(const Canvas& background) {
  const Box& s = art::scorePicture;
  Canvas panel = background.crop(s);
  cairo_t* cr = panel.cr();
  const Box& label = art::scoreLabel;
  lightPanel(cr, label.x - s.x - 3, label.y - s.y - 1, label.w + 6, label.h + 3, 11);
  caption(cr, "score", s.w / 2.0, s.h - 3);
  return panel;
}

// The meter's empty groove, with a tick every tenth of the way.
Canvas meterBack(const Canvas& background) {
  const Box& m = art::meter;
  Canvas back = background.crop(m);
  cairo_t* cr = back.cr();
  draw::roundedRect(cr, 0, 0, m.w, m.h, 5);
  draw::colour(cr, colours::rimDark);
  cairo_fill(cr);
  draw::roundedRect(cr, 1.5, 1.5, m.w - 3, m.h - 3, 3.5);
  draw::verticalGradient(cr, 0, m.h, colours::grooveDark, hex(0x0A2F38));
  cairo_fill(cr);
  for (int i = 1; i < 10; ++i) {
    double y = std::round(m.h * i / 10.0) + 0.5;
    cairo_move_to(cr, 2, y);
    cairo_line_to(cr, m.w - 2, y);
  }
  draw::colour(cr, colours::seaLight, 0.45);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  return back;
}

// The meter's fill: the tide, bright at the top and deep below, with a few bubbles.
Canvas meterFill(const Canvas& background) {
  const Box& m = art::meter;
  Canvas fill = background.crop(m);
  cairo_t* cr = fill.cr();
  draw::roundedRect(cr, 0, 0, m.w, m.h, 5);
  draw::colour(cr, colours::rimDark);
  cairo_fill(cr);
  draw::roundedRect(cr, 1.5, 1.5, m.w - 3, m.h - 3, 3.5);
  draw::verticalGradient(cr, 0, m.h, colours::tideTop, colours::tideBottom);
  cairo_fill(cr);
  cairo_rectangle(cr, 2.5, 3, 1.5, m.h - 6);
  draw::colour(cr, hex(0xFFFFFF), 0.35);
  cairo_fill(cr);
  draw::Random random(11);
  for (int i = 0; i < 16; ++i) {
    double y = random.range(8, m.h - 8);
    cairo_arc(cr, random.range(3.5, 6.5), y, random.range(0.8, 1.5), 0, 2 * M_PI);
    draw::colour(cr, hex(0xFFFFFF), 0.55);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
  }
  return fill;
}

// The icon: a small tile whose two curls make a swirl, drawn on a 32-pixel grid and scaled to
// size.
Canvas icon(int size) {
  Canvas picture(size, size);
  cairo_t* cr = picture.cr();
  cairo_scale(cr, size / 32.0, size / 32.0);
  draw::roundedRect(cr, 0.5, 0.5, 31, 31, 6);
  draw::colour(cr, colours::lineEdge);
  cairo_fill(cr);
  draw::roundedRect(cr, 1.5, 1.5, 29, 29, 5);
  draw::diagonalGradient(cr, 0, 0, 32, 32, colours::plainTop, colours::plainBottom);
  cairo_fill(cr);
  for (int pass = 0; pass < 2; ++pass) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 16, 0, M_PI / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 32, 32, 16, M_PI, 3 * M_PI / 2);
    draw::colour(cr, pass == 0 ? colours::lineEdge : colours::lineFill);
    cairo_set_line_width(cr, pass == 0 ? 8 : 4.5);
    cairo_stroke(cr);
  }
  return picture;
}

}  // namespace

void drawSea(cairo_t* cr) {
  sea(cr);
  swells(cr);
}

Canvas drawBackground() {
  Canvas background(art::screenW, art::screenH);
  cairo_t* cr = background.cr();
  sea(cr);
  swells(cr);
  title(cr);
  looseEndsDial(cr);
  hollows(cr);
  controlCaptions(cr);
  boardTray(cr);
  return background;
}

void makeScreen(Output& out, const Canvas& background) {
  out.rgb("background.png", background);
  out.rgb("scorebg.png", scorePanel(background));
  out.rgb("meterbg.png", meterBack(background));
  out.rgb("meterfg.png", meterFill(background));
  Canvas picture = icon(32);
  out.keyed("icon.png", picture);
}

void makeDesktopIcons(Output& out, const std::vector<int>& sizes) {
  for (int size : sizes) {
    std::string name = std::to_string(size) + "x" + std::to_string(size);
    out.rgba("hicolor/" + name + "/apps/gyrotide.png", icon(size));
  }
}
