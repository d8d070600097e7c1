#pragma once

#include <vector>

#include "draw.h"
#include "output.h"

// One function per family of pictures; each writes its files through out.

// The three glyph strips.
void makeFonts(Output& out);
// The 30 tile strips, five kinds by six shapes.
void makeTiles(Output& out);
// The whole-screen background; every unkeyed picture is cut from it.
Canvas drawBackground();
// Background, score panel, meter and the program's icon.
void makeScreen(Output& out, const Canvas& background);
// The program's icon for the desktop, in the icon theme's folder layout, one picture a size.
void makeDesktopIcons(Output& out, const std::vector<int>& sizes);
// Every button of the game screen, three frames each.
void makeButtons(Output& out, const Canvas& background);
// The two explosions.
void makeEffects(Output& out);
