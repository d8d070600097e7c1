// The instructions: one whole picture with the explaining text, sockets where the live sample
// tiles stand, and the play button cut from it at its place.
#include <string>

#include "families.h"
#include "screens/key_bindings.h"

namespace {

constexpr double kLeft = 25;
constexpr double kRight = 615;
constexpr double kTextX = 172;  // beside the widest pair of samples

const char* const kIntro =
    "A puzzle is solved when no line end is left loose: every end must meet an end of the "
    "tile beside it. Click a tile to turn it: the left button turns it clockwise, the right "
    "button back. Relaxed play has no score and nothing to lose. In scored play each move "
    "spends some of the puzzle's allowance, and what is left when you solve it is your bonus.";

struct KindLine {
  const char* name;
  const char* text;
};
// One line for each pair of samples, top to bottom as they stand.
constexpr KindLine kKinds[5] = {
    {"Plain", "Turns with every click: left clockwise, right back."},
    {"Fixed", "Never turns or moves: fit the others round it."},
    {"Sliding", "Drag it onto another sliding tile to swap the two."},
    {"Bomb", "Counts down, then jostles the tiles in its row or column."},
    {"Linked", "Turn one and every linked tile turns the same way."},
};

void heading(cairo_t* cr, const char* title) {
  draw::font(cr, draw::Face::SansBold, 24);
  cairo_move_to(cr, kLeft + 1, 33.5);
  cairo_text_path(cr, title);
  draw::colour(cr, hex(0x000000), 0.35);
  cairo_fill(cr);
  cairo_move_to(cr, kLeft, 32);
  draw::colour(cr, colours::title);
  cairo_show_text(cr, title);
  cairo_new_path(cr);
  cairo_move_to(cr, kLeft + 1, 40);
  cairo_curve_to(cr, kLeft + 40, 45, kLeft + 80, 35, kLeft + 140, 41);
  draw::colour(cr, colours::seaLight, 0.9);
  cairo_set_line_width(cr, 1.6);
  cairo_stroke(cr);
}

// Text left-aligned at x with a soft shadow, so it reads on the swells.
void text(cairo_t* cr, const std::string& s, double x, double baseline, Rgb c) {
  draw::colour(cr, hex(0x000000), 0.4);
  cairo_move_to(cr, x + 1, baseline + 1);
  cairo_show_text(cr, s.c_str());
  draw::colour(cr, c);
  cairo_move_to(cr, x, baseline);
  cairo_show_text(cr, s.c_str());
  cairo_new_path(cr);
}

void intro(cairo_t* cr) {
  draw::font(cr, draw::Face::Sans, 13);
  double baseline = 61;
  for (const std::string& line : draw::wrap(cr, kIntro, kRight - kLeft)) {
    text(cr, line, kLeft, baseline, colours::foam);
    baseline += 16;
  }
}

// A socket like the board's under each sample tile.
void socket(cairo_t* cr, const Rect& r) {
  const double x = r.left, y = r.top;
  draw::roundedRect(cr, x - 2, y - 2, 54, 54, 7);
  draw::colour(cr, colours::grout, 0.8);
  cairo_fill(cr);
  draw::roundedRect(cr, x + 3, y + 3, 44, 44, 6);
  draw::colour(cr, colours::socket);
  cairo_fill(cr);
}

void samples(cairo_t* cr) {
  for (size_t i = 0; i < 5; ++i) {
    const layout::SamplePair& pair = layout::kSamplePairs[i];
    socket(cr, pair.left);
    socket(cr, layout::samplePartner(pair.left));
    const double top = pair.left.top;
    draw::font(cr, draw::Face::SansBold, 14);
    text(cr, kKinds[i].name, kTextX, top + 20, colours::downTop);
    draw::font(cr, draw::Face::Sans, 13);
    text(cr, kKinds[i].text, kTextX, top + 39, colours::foam);
  }
  draw::font(cr, draw::Face::SansBold, 11);
  text(cr, "Try them: these tiles are live.", kLeft, 131, colours::caption);
}

// A small solved corner beside the samples: every line end meets another, none is loose.
void solvedCorner(cairo_t* cr) {
  constexpr uint8_t kLines[9] = {6, 10, 12, 5, 2, 13, 3, 10, 9};
  constexpr double kX = 516, kY = 150, kScale = 0.6;
  const double side = 3 * 50 * kScale;
  draw::roundedRect(cr, kX - 4, kY - 4, side + 8, side + 8, 6);
  draw::colour(cr, colours::rimDark);
  cairo_fill(cr);
  for (int i = 0; i < 9; ++i) {
    cairo_save(cr);
    cairo_translate(cr, kX + (i % 3) * 50 * kScale, kY + (i / 3) * 50 * kScale);
    cairo_scale(cr, kScale, kScale);
    drawTileFace(cr, TileKind::Plain, kLines[i]);
    cairo_restore(cr);
  }
  draw::font(cr, draw::Face::SansBold, 11);
  draw::centredText(cr, "Solved: no loose ends", kX + side / 2, kY + side + 18, colours::caption);
}

// The lock, under the samples: a tile the player knows is right can be kept from turning.
void lockLine(cairo_t* cr) {
  draw::font(cr, draw::Face::Sans, 12);
  text(cr, "Middle click (or Shift+click) a tile to lock it: a locked tile stays put.", kLeft, 428,
       colours::foam);
}

void footer(cairo_t* cr) {
  draw::font(cr, draw::Face::Sans, 12);
  text(cr, "Tips point things out as you play; switch them off in the options.", kLeft, 449,
       colours::caption);
}

}  // namespace

namespace {

// The page of keys: every line of the game's key table, the keys right-aligned against their
// meanings, a little space between the board's keys, the game's and the pop-ups'.
void keyLines(cairo_t* cr) {
  constexpr double kKeysRight = 262, kTextX = 278, kStep = 21, kGroupGap = 9;
  double baseline = 84;
  keys::Group group = keys::kHelpLines.front().group;
  for (const keys::HelpLine& line : keys::kHelpLines) {
    if (line.group != group) baseline += kGroupGap;
    group = line.group;
    const std::string names = keys::keysOf(line);
    draw::font(cr, draw::Face::SansBold, 13);
    text(cr, names, kKeysRight - draw::textWidth(cr, names), baseline, colours::downTop);
    draw::font(cr, draw::Face::Sans, 13);
    text(cr, line.text, kTextX, baseline, colours::foam);
    baseline += kStep;
  }
}

void makeKeys(Output& out) {
  Canvas picture(art::screenW, art::screenH);
  cairo_t* cr = picture.cr();
  seaBackdrop(cr);
  heading(cr, "Keys");
  draw::font(cr, draw::Face::Sans, 12);
  text(cr, "Every key does what its mouse action does, with the same cost.", kLeft, 58,
       colours::caption);
  keyLines(cr);
  out.rgb(layout::kKeysPicture, picture);
}

}  // namespace

void makeInstructions(Output& out) {
  Canvas picture(art::screenW, art::screenH);
  cairo_t* cr = picture.cr();
  seaBackdrop(cr);
  heading(cr, "How to play");
  intro(cr);
  samples(cr);
  solvedCorner(cr);
  lockLine(cr);
  footer(cr);
  out.rgb(layout::kInstructionsPicture, picture);

  const int w = layout::kPlayWidth, h = layout::kPlayHeight;
  Canvas behind = picture.crop({layout::kPlay.x, layout::kPlay.y, w, h});
  Canvas strip(3 * w, h);
  for (int state = 0; state < 3; ++state) {
    strip.paint(behind, state * w, 0);
    buttonFace(strip.cr(), {state * w + 4, 6, w - 8, 28}, state, "play");
  }
  out.rgb(layout::kPlay.picture, strip);

  const layout::Placed& keys = layout::kKeysButton;
  Canvas keysBehind = picture.crop({keys.x, keys.y, w, h});
  Canvas keysStrip(3 * w, h);
  for (int state = 0; state < 3; ++state) {
    keysStrip.paint(keysBehind, state * w, 0);
    buttonFace(keysStrip.cr(), {state * w + 4, 6, w - 8, 28}, state, "keys");
  }
  out.rgb(keys.picture, keysStrip);
  makeKeys(out);
}
