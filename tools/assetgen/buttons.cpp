// Buttons: three frames side by side (normal, under the pointer, pressed or selected), each
// frame cut from the background at the button's place so it sits there seamlessly.
#include <cmath>
#include <string>

#include "families.h"

namespace {

enum class State { Normal, Hover, Down };

struct FaceLook {
  Rgb top, bottom, text;
};

FaceLook lookFor(State state, bool callToAction) {
  if (callToAction) {  // next puzzle: sand from the start, so the solved board points onwards
    switch (state) {
      case State::Normal:
        return {hex(0xF7DFA8), hex(0xDDAE5F), colours::ink};
      case State::Hover:
        return {hex(0xFFF1CC), hex(0xEBC27A), colours::ink};
      case State::Down:
        return {hex(0xC99447), hex(0xE9C581), colours::ink};
    }
  }
  switch (state) {
    case State::Normal:
      return {colours::glassTop, colours::glassBottom, colours::ink};
    case State::Hover:
      return {colours::hoverTop, colours::hoverBottom, colours::ink};
    case State::Down:
      return {colours::downTop, colours::downBottom, colours::ink};
  }
  return {};
}

// The outline of a face, a capsule as tall as the face.
void facePath(cairo_t* cr, const Box& f) {
  draw::roundedRect(cr, f.x + 0.5, f.y + 0.5, f.w - 1, f.h - 2, (f.h - 2) / 2.0);
}

// The face's shadow on the background below it.
void shadowPath(cairo_t* cr, const Box& f) {
  draw::roundedRect(cr, f.x + 0.5, f.y + 1.5, f.w - 1, f.h - 1.5, (f.h - 2) / 2.0);
}

void face(cairo_t* cr, const Box& f, State state, const std::string& label, bool callToAction) {
  FaceLook look = lookFor(state, callToAction);
  bool down = state == State::Down;
  shadowPath(cr, f);
  draw::colour(cr, hex(0x000000), 0.35);
  cairo_fill(cr);
  facePath(cr, f);
  draw::colour(cr, colours::buttonEdge);
  cairo_fill(cr);
  double r = (f.h - 4) / 2.0;
  draw::roundedRect(cr, f.x + 1.5, f.y + 1.5, f.w - 3, f.h - 4, r);
  draw::verticalGradient(cr, f.y, f.y + f.h, look.top, look.bottom);
  cairo_fill(cr);
  if (down) {
    // Pressed in: the upper edge falls into shadow.
    draw::roundedRect(cr, f.x + 2, f.y + 2, f.w - 4, f.h - 5, r - 0.5);
    draw::verticalGradient(cr, f.y, f.y + 6, hex(0x5A3A10), look.top);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  } else {
    // A soft gloss on the upper half, like wet sea glass.
    draw::roundedRect(cr, f.x + 4, f.y + 2.5, f.w - 8, (f.h - 4) / 2.0, r - 2);
    cairo_pattern_t* gloss = cairo_pattern_create_linear(0, f.y, 0, f.y + f.h / 2.0);
    cairo_pattern_add_color_stop_rgba(gloss, 0, 1, 1, 1, state == State::Hover ? 0.7 : 0.5);
    cairo_pattern_add_color_stop_rgba(gloss, 1, 1, 1, 1, 0.05);
    cairo_set_source(cr, gloss);
    cairo_fill(cr);
    cairo_pattern_destroy(gloss);
  }
  double size = f.h >= 26 ? 13 : 12.5;
  draw::font(cr, draw::Face::SansBold, size);
  double baseline = draw::baselineFor(cr, f.y + (f.h - 1) / 2.0) + (down ? 1 : 0);
  double cx = f.x + f.w / 2.0 + (down ? 0.5 : 0);
  draw::centredText(cr, label, cx, baseline + 1, hex(0xFFFFFF), down ? 0.25 : 0.55);
  draw::centredText(cr, label, cx, baseline, look.text);
}

// The web button is a quiet link: a small bolt and the maker's name, lit under the pointer.
void webLink(cairo_t* cr, const Box& f, State state, const std::string& label) {
  Rgb text = state == State::Normal  ? colours::caption
             : state == State::Hover ? colours::foam
                                     : colours::downBottom;
  if (state != State::Normal) {
    draw::roundedRect(cr, f.x + 0.5, f.y + 0.5, f.w - 1, f.h - 1, (f.h - 1) / 2.0);
    draw::colour(cr, colours::seaLight, state == State::Hover ? 0.35 : 0.5);
    cairo_fill(cr);
  }
  double bx = f.x + 10, by = f.y + f.h / 2.0;
  cairo_move_to(cr, bx + 2, by - 7);
  cairo_line_to(cr, bx - 3, by + 1);
  cairo_line_to(cr, bx + 0.5, by + 1);
  cairo_line_to(cr, bx - 2, by + 7);
  cairo_line_to(cr, bx + 4, by - 1.5);
  cairo_line_to(cr, bx + 0.5, by - 1.5);
  cairo_close_path(cr);
  draw::colour(cr, state == State::Down ? colours::downBottom : colours::flame);
  cairo_fill(cr);
  draw::font(cr, draw::Face::SansBold, 11);
  draw::centredText(cr, label, f.x + f.w / 2.0 + 6, draw::baselineFor(cr, by - 0.5), text);
}

void makeButton(Output& out, const Canvas& background, const art::Button& b) {
  const int w = b.w, h = b.h;
  Canvas strip(3 * w, h);
  Canvas shape(3 * w, h);
  bool callToAction = b.file() == "nextpuzzle.png";
  bool web = b.file() == "lilzap.png";
  Canvas behind = background.crop(b.frame());
  for (int i = 0; i < 3; ++i) {
    auto state = static_cast<State>(i);
    Box f{b.face.x + i * w, b.face.y, b.face.w, b.face.h};
    strip.paint(behind, i * w, 0);
    if (web) {
      webLink(strip.cr(), f, state, std::string(b.label));
    } else {
      face(strip.cr(), f, state, std::string(b.label), callToAction);
    }
    facePath(shape.cr(), f);
    shadowPath(shape.cr(), f);
    draw::colour(shape.cr(), hex(0x000000));
    cairo_fill(shape.cr());
  }
  if (b.keyed) {
    // Only what lies wholly outside the face becomes transparent; the face's soft edge keeps
    // the background it was drawn on.
    out.keyed(std::string(b.file()), strip, &shape, 1);
  } else {
    out.rgb(std::string(b.file()), strip);
  }
}

}  // namespace

void buttonFace(cairo_t* cr, const Box& f, int state, const std::string& label) {
  face(cr, f, static_cast<State>(state), label, false);
}

void buttonShape(cairo_t* cr, const Box& f) {
  facePath(cr, f);
  shadowPath(cr, f);
  draw::colour(cr, hex(0x000000));
  cairo_fill(cr);
}

void makeButtons(Output& out, const Canvas& background) {
  for (const art::Button& b : art::buttons) makeButton(out, background, b);
}
