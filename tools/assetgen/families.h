#pragma once

#include <string>
#include <vector>

#include "draw.h"
#include "game/tile_code.h"
#include "output.h"

// One function per family of pictures; each writes its files through out.

// The three glyph strips.
void makeFonts(Output& out);
// The 30 tile strips, five kinds by six shapes.
void makeTiles(Output& out);
// The padlock a locked tile wears in its corner.
void makeLockMark(Output& out);
// The sea with its swells, under every full-screen picture.
void seaBackdrop(cairo_t* cr);
// The whole-screen background; every unkeyed picture is cut from it.
Canvas drawBackground();
// One tile at rest, 50 by 50 with its top-left corner at the origin, as its strip shows it.
void drawTileFace(cairo_t* cr, TileKind kind, uint8_t lineBits);
// Background, score panel, meter and the program's icon.
void makeScreen(Output& out, const Canvas& background);
// The program's icon for the desktop, in the icon theme's folder layout, one picture a size.
void makeDesktopIcons(Output& out, const std::vector<int>& sizes);
// Every button of the game screen, three frames each.
void makeButtons(Output& out, const Canvas& background);
// The two explosions.
void makeEffects(Output& out);
// The pictures of the pop-ups over the board: the high-score title and the OK button.
void makePopups(Output& out);

// The options pop-up: its full-screen card with every label, its buttons, check box and
// slider parts.
void makeOptions(Output& out);
// The instructions picture and its play button.
void makeInstructions(Output& out);
// The tutorial: the twelve tip pictures and the lock's, the four arrows and the Next button.
void makeTutor(Output& out);

// A sea-glass button face with its label in frame state 0 (normal), 1 (under the pointer) or 2
// (pressed), and the face's outline with its shadow filled in black, for the key.
void buttonFace(cairo_t* cr, const Box& f, int state, const std::string& label);
void buttonShape(cairo_t* cr, const Box& f);
