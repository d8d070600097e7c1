// Draws every picture of the game into a folder and lists them in a manifest, from which the
// build packs the resource archive. Given an icon folder and sizes, it also draws the program's
// desktop icons there, in the icon theme's layout; they stay out of the archive.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "families.h"

namespace {

// Icon sizes are whole pixels from 1 to 1024; anything else is refused.
bool parseSizes(int count, char** args, std::vector<int>& sizes) {
  for (int i = 0; i < count; ++i) {
    char* end = nullptr;
    long size = std::strtol(args[i], &end, 10);
    if (end == args[i] || *end != '\0' || size < 1 || size > 1024) return false;
    sizes.push_back(static_cast<int>(size));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> iconSizes;
  bool icons = argc > 4;
  if (argc < 3 || argc == 4 || (icons && !parseSizes(argc - 4, argv + 4, iconSizes))) {
    std::fputs("usage: assetgen OUTPUT-FOLDER MANIFEST [ICON-FOLDER SIZE...]\n", stderr);
    return 2;
  }
  try {
    Output out(argv[1]);
    makeFonts(out);
    makeTiles(out);
    makeLockMark(out);
    Canvas background = drawBackground();
    makeScreen(out, background);
    makeButtons(out, background);
    makeEffects(out);
    makePopups(out);
    makeOptions(out);
    makeInstructions(out);
    makeTutor(out);
    out.writeManifest(argv[2]);
    if (icons) {
      Output iconOut(argv[3]);
      makeDesktopIcons(iconOut, iconSizes);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
