#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "layout.h"
#include "palette.h"

// A picture being drawn: a cairo ARGB surface and its drawing context.
class Canvas {
 public:
  Canvas(int width, int height);
  ~Canvas();
  Canvas(Canvas&& other) noexcept;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  Canvas& operator=(Canvas&&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  cairo_t* cr() const { return cr_; }
  cairo_surface_t* surface() const { return surface_; }

  // Straight (not premultiplied) colour and alpha of one pixel, 0 to 255 each.
  struct Pixel {
    uint8_t r, g, b, a;
  };
  Pixel at(int x, int y) const;

  // A copy of the area box of this canvas.
  Canvas crop(const Box& box) const;
  // Draws other with its top-left corner at (x, y).
  void paint(const Canvas& other, double x, double y);

 private:
  int width_;
  int height_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

// Drawing helpers shared by every family of pictures.
namespace draw {

void colour(cairo_t* cr, Rgb c, double alpha = 1.0);
void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
// A top-to-bottom gradient from a to b between y0 and y1, set as the source.
void verticalGradient(cairo_t* cr, double y0, double y1, Rgb a, Rgb b);
// A gradient along the diagonal from the top-left (a) to the bottom-right (b) of a box.
void diagonalGradient(cairo_t* cr, double x, double y, double w, double h, Rgb a, Rgb b);

enum class Face { Sans, SansBold, Mono };

// Selects a DejaVu face at a pixel size with fixed rendering options (grey antialiasing, light
// hinting, whole-pixel metrics), so text looks the same whatever the machine's settings.
void font(cairo_t* cr, Face face, double pixelSize);
double textWidth(cairo_t* cr, const std::string& text);
// Text centred horizontally on cx with its baseline at y.
void centredText(cairo_t* cr, const std::string& text, double cx, double baseline, Rgb c,
                 double alpha = 1.0);
// The words of text in lines no wider than width in the current font (a word wider than
// width stands alone on its line).
std::vector<std::string> wrap(cairo_t* cr, const std::string& text, double width);
// The baseline that centres the current font's lower-case and capital letters on cy.
double baselineFor(cairo_t* cr, double cy);

// A small deterministic random sequence for scattered details (spray, ripples).
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  double next();  // 0 <= value < 1
  double range(double lo, double hi) { return lo + (hi - lo) * next(); }

 private:
  uint32_t state_;
};

}  // namespace draw
