// Glyph strips: row 0 marks where each glyph starts (0 there, 255 elsewhere); the rows below
// hold ink coverage, 0 for full ink and 255 for none. Glyph 0 is the substitute for
// characters the font lacks, then one glyph per character code. The glyphs are drawn from the
// DejaVu fonts, which come under the Bitstream Vera licence (their DejaVu changes are in the
// public domain): LICENSE and the package's copyright file say so for the strips built here.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "families.h"

namespace {

struct StripStyle {
  const char* file;
  draw::Face face;
  double pixelSize;
  int lineHeight;
  int baseline;       // within the line
  int spacing;        // what the game adds after each glyph, taken off the glyph's advance
  std::string chars;  // in character-code order, after the substitute glyph
  bool sameWidths;    // every glyph one width, so numbers do not jiggle as they change
};

struct Cell {
  int width = 0;
  double originX = 0;  // where the glyph's origin sits inside its cell
};

std::string printableAscii() {
  std::string s;
  for (char c = 32; c <= 126; ++c) s.push_back(c);
  return s;
}

// Each cell holds the glyph's whole ink and its advance, less the spacing the game adds.
Cell measure(cairo_t* cr, char c, int spacing) {
  char text[2] = {c, 0};
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  double left = std::min(0.0, std::floor(e.x_bearing));
  double right = std::max(e.x_advance - spacing, std::ceil(e.x_bearing + e.width));
  if (e.width == 0) right = e.x_advance - spacing;  // the space
  return {static_cast<int>(right - left), -left};
}

// The substitute glyph: an open box the height of a capital.
void drawSubstitute(cairo_t* cr, double x, double top, const StripStyle& style, int width) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, "H", &e);
  double stroke = std::max(1.0, std::round(style.pixelSize / 12));
  double inset = stroke / 2;
  cairo_rectangle(cr, x + 1 + inset, top + style.baseline + e.y_bearing + inset, width - 2 - stroke,
                  -e.y_bearing - stroke);
  cairo_set_line_width(cr, stroke);
  cairo_stroke(cr);
}

std::vector<Cell> layoutCells(cairo_t* cr, const StripStyle& style) {
  std::vector<Cell> cells;
  cells.push_back({static_cast<int>(std::round(style.pixelSize * 0.55)), 0});
  for (char c : style.chars) cells.push_back(measure(cr, c, style.spacing));
  if (style.sameWidths) {
    int widest = 0;
    for (const Cell& cell : cells) widest = std::max(widest, cell.width);
    for (Cell& cell : cells) {
      cell.originX += (widest - cell.width) / 2.0;
      cell.width = widest;
    }
  }
  return cells;
}

// Renders one glyph in a cell-sized scratch picture at a sub-pixel shift; returns a sharpness
// score (the sum of squared coverage), or -1 when ink would leave the cell.
double sharpness(const StripStyle& style, char c, const Cell& cell, double shift) {
  Canvas trial(cell.width + 4, style.lineHeight);
  cairo_t* cr = trial.cr();
  draw::font(cr, style.face, style.pixelSize);
  cairo_set_source_rgb(cr, 0, 0, 0);
  char text[2] = {c, 0};
  cairo_move_to(cr, 2 + std::round(cell.originX) + shift, style.baseline);
  cairo_show_text(cr, text);
  double score = 0;
  for (int y = 0; y < trial.height(); ++y) {
    for (int x = 0; x < trial.width(); ++x) {
      double a = trial.at(x, y).a / 255.0;
      if (a > 0 && (x < 2 || x >= 2 + cell.width)) return -1;
      score += a * a;
    }
  }
  return score;
}

// Small text blurs when a stem straddles two pixel columns. Each glyph has a cell of its own,
// so each may sit at whichever quarter-pixel shift draws it sharpest.
double crispestShift(const StripStyle& style, char c, const Cell& cell) {
  double best = 0;
  double bestScore = sharpness(style, c, cell, 0);
  for (double shift : {-0.25, 0.25, -0.5, 0.5}) {
    double score = sharpness(style, c, cell, shift);
    if (score > bestScore * 1.02) best = shift, bestScore = score;
  }
  return best;
}

void makeStrip(Output& out, const StripStyle& style) {
  Canvas scratch(1, 1);
  draw::font(scratch.cr(), style.face, style.pixelSize);
  std::vector<Cell> cells = layoutCells(scratch.cr(), style);
  int width = 0;
  for (const Cell& cell : cells) width += cell.width;
  int height = style.lineHeight + 1;

  Canvas ink(width, height);
  cairo_t* cr = ink.cr();
  draw::font(cr, style.face, style.pixelSize);
  cairo_set_source_rgb(cr, 0, 0, 0);
  std::vector<int> starts;
  int x = 0;
  for (size_t i = 0; i < cells.size(); ++i) {
    starts.push_back(x);
    cairo_save(cr);
    cairo_rectangle(cr, x, 1, cells[i].width, style.lineHeight);
    cairo_clip(cr);
    if (i == 0) {
      drawSubstitute(cr, x, 1, style, cells[i].width);
    } else {
      char text[2] = {style.chars[i - 1], 0};
      double shift = crispestShift(style, style.chars[i - 1], cells[i]);
      cairo_move_to(cr, x + std::round(cells[i].originX) + shift, 1 + style.baseline);
      cairo_show_text(cr, text);
    }
    cairo_restore(cr);
    x += cells[i].width;
  }

  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, 255);
  for (int start : starts) pixels[start] = 0;
  for (int y = 1; y < height; ++y) {
    for (int px = 0; px < width; ++px) {
      pixels[static_cast<size_t>(y) * width + px] = static_cast<uint8_t>(255 - ink.at(px, y).a);
    }
  }
  out.grey(style.file, width, height, pixels);
}

// The number font: the largest bold size whose three digits still fit the loose-ends counter.
double numberFontSize(int spacing) {
  Canvas scratch(1, 1);
  for (double size = 32; size > 12; size -= 1) {
    draw::font(scratch.cr(), draw::Face::SansBold, size);
    StripStyle probe{"", draw::Face::SansBold, size, 0, 0, spacing, "0123456789", true};
    std::vector<Cell> cells = layoutCells(scratch.cr(), probe);
    if (3 * cells[1].width + 2 * spacing <= art::looseEndsLabel.w - 4) return size;
  }
  return 12;
}

}  // namespace

void makeFonts(Output& out) {
  const std::string ascii = printableAscii();
  // The large font: 29 rows a line, its digits centred in the line so the bomb countdown sits
  // in the middle of a tile.
  makeStrip(out, {"tovy29.png", draw::Face::SansBold, 22, 29, 22, 1, ascii, false});
  makeStrip(out, {"tovy13.png", draw::Face::Sans, 11, 13, 10, 0, ascii, false});
  double size = numberFontSize(1);
  int line = static_cast<int>(std::round(size * 0.729)) + 4;  // digit height and a margin
  makeStrip(out,
            {"tovynum.png", draw::Face::SansBold, size, line, line - 2, 1, "0123456789", true});
}
