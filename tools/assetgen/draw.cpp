#include "draw.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cmath>
#include <stdexcept>

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {
  if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cairo cannot draw");
}

Canvas::~Canvas() {
  if (cr_ != nullptr) cairo_destroy(cr_);
  if (surface_ != nullptr) cairo_surface_destroy(surface_);
}

Canvas::Canvas(Canvas&& other) noexcept
    : width_(other.width_), height_(other.height_), surface_(other.surface_), cr_(other.cr_) {
  other.surface_ = nullptr;
  other.cr_ = nullptr;
}

Canvas::Pixel Canvas::at(int x, int y) const {
  cairo_surface_flush(surface_);
  const uint8_t* row = cairo_image_surface_get_data(surface_) +
                       static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(surface_);
  uint32_t v = reinterpret_cast<const uint32_t*>(row)[x];
  auto a = static_cast<uint8_t>(v >> 24);
  auto straight = [a](uint32_t c) {
    return static_cast<uint8_t>(a == 0 ? 0 : std::min<uint32_t>(255, (c * 255 + a / 2) / a));
  };
  return {straight((v >> 16) & 0xFF), straight((v >> 8) & 0xFF), straight(v & 0xFF), a};
}

Canvas Canvas::crop(const Box& box) const {
  Canvas out(box.w, box.h);
  cairo_set_source_surface(out.cr_, surface_, -box.x, -box.y);
  cairo_set_operator(out.cr_, CAIRO_OPERATOR_SOURCE);
  cairo_paint(out.cr_);
  cairo_set_operator(out.cr_, CAIRO_OPERATOR_OVER);
  return out;
}

void Canvas::paint(const Canvas& other, double x, double y) {
  cairo_save(cr_);
  cairo_set_source_surface(cr_, other.surface_, x, y);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

namespace draw {

void colour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
  cairo_new_sub_path(cr);
  cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
  cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
  cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
  cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
  cairo_close_path(cr);
}

namespace {

void setGradient(cairo_t* cr, cairo_pattern_t* p, Rgb a, Rgb b) {
  cairo_pattern_add_color_stop_rgb(p, 0, a.r, a.g, a.b);
  cairo_pattern_add_color_stop_rgb(p, 1, b.r, b.g, b.b);
  cairo_set_source(cr, p);
  cairo_pattern_destroy(p);
}

}  // namespace

void verticalGradient(cairo_t* cr, double y0, double y1, Rgb a, Rgb b) {
  setGradient(cr, cairo_pattern_create_linear(0, y0, 0, y1), a, b);
}

void diagonalGradient(cairo_t* cr, double x, double y, double w, double h, Rgb a, Rgb b) {
  setGradient(cr, cairo_pattern_create_linear(x, y, x + w, y + h), a, b);
}

namespace {

// The font files are read directly rather than found through fontconfig, so the pictures do
// not depend on how the machine's fonts are configured.
constexpr std::array<const char*, 3> kFontFiles = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
};

// Faces live until the program ends; cairo keeps referring to them.
cairo_font_face_t* loadFace(Face face) {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) throw std::runtime_error("FreeType does not start");
    return lib;
  }();
  static std::array<cairo_font_face_t*, 3> faces{};
  auto i = static_cast<size_t>(face);
  if (faces[i] == nullptr) {
    FT_Face ft = nullptr;
    if (FT_New_Face(library, kFontFiles[i], 0, &ft) != 0) {
      throw std::runtime_error(std::string("cannot read the font ") + kFontFiles[i]);
    }
    faces[i] = cairo_ft_font_face_create_for_ft_face(ft, 0);
  }
  return faces[i];
}

}  // namespace

void font(cairo_t* cr, Face face, double pixelSize) {
  cairo_set_font_face(cr, loadFace(face));
  cairo_set_font_size(cr, pixelSize);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
  cairo_font_options_set_subpixel_order(options, CAIRO_SUBPIXEL_ORDER_DEFAULT);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double textWidth(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, text.c_str(), &e);
  return e.x_advance;
}

void centredText(cairo_t* cr, const std::string& text, double cx, double baseline, Rgb c,
                 double alpha) {
  colour(cr, c, alpha);
  cairo_move_to(cr, std::round(cx - textWidth(cr, text) / 2), std::round(baseline));
  cairo_show_text(cr, text.c_str());
  cairo_new_path(cr);
}

std::vector<std::string> wrap(cairo_t* cr, const std::string& text, double width) {
  std::vector<std::string> lines;
  std::string current;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(at, end - at);
    at = end + 1;
    if (word.empty()) continue;
    const std::string longer = current.empty() ? word : current + " " + word;
    if (!current.empty() && textWidth(cr, longer) > width) {
      lines.push_back(current);
      current = word;
    } else {
      current = longer;
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

double baselineFor(cairo_t* cr, double cy) {
  cairo_text_extents_t e;
  cairo_text_extents(cr, "xH", &e);  // from the x-height up to the cap height
  return std::round(cy - (e.y_bearing + e.height / 2));
}

double Random::next() {
  state_ = state_ * 1664525u + 1013904223u;
  return (state_ >> 8) / 16777216.0;
}

}  // namespace draw
