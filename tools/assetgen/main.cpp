// Draws every picture of the game into a folder and lists them in a manifest, from which the
// build packs the resource archive.
#include <cstdio>
#include <exception>

#include "families.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: assetgen OUTPUT-FOLDER MANIFEST\n", stderr);
    return 2;
  }
  try {
    Output out(argv[1]);
    makeFonts(out);
    makeTiles(out);
    Canvas background = drawBackground();
    makeScreen(out, background);
    makeButtons(out, background);
    makeEffects(out);
    makePopups(out);
    out.writeManifest(argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
