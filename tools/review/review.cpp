// Composes review pictures from the built archive with the game's own image cache, fonts and
// blitter: the game screen in scoring play (a busy board, an explosion, every control) and in
// relaxed play once solved (faded board, next-puzzle button, hints on), one enlarged sheet per
// tile kind with all its frames, the explosions frame by frame, and the three fonts.
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/image_cache.h"

namespace {

namespace fs = std::filesystem;

const Rect kScreen{0, 0, 640, 480};
const char* const kKinds = "nlmkb";
const int kShapes[6] = {0, 1, 3, 5, 7, 15};
const int kShapeOf[16] = {0, 1, 1, 3, 1, 5, 3, 7, 1, 3, 5, 7, 3, 7, 7, 15};
const int kTurnsOf[16] = {0, 0, 1, 0, 2, 0, 1, 0, 3, 3, 1, 3, 2, 2, 1, 0};

bool writePng(const fs::path& path, const Image& image) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < image.height; ++y) png_write_row(png, image.pixelAddress(0, y));
    png_write_end(png, nullptr);
    ok = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && ok;
}

void draw(Image& target, const char* name, int x, int y, double opacity = 1.0) {
  Image* image = getImage(name);
  image->drawTo(target, 0, 0, x, y, image->width, image->height, kScreen, opacity);
}

// One frame of a strip of `frames` frames laid out in `columns` columns.
void drawFrame(Image& target, const char* name, int frame, int frames, int columns, int x, int y,
               double opacity = 1.0) {
  Image* image = getImage(name);
  int rows = (frames + columns - 1) / columns;
  int w = image->width / columns, h = image->height / rows;
  image->drawTo(target, frame % columns * w, frame / columns * h, x, y, static_cast<uint16_t>(w),
                static_cast<uint16_t>(h), kScreen, opacity);
}

void keyed(const char* name) { getImage(name)->setKeyFromCorner(); }

// Text centred in a box, as the game's labels place it.
void label(Image& target, BitmapFont& font, const Rect& box, const std::string& text,
           Colour colour) {
  int x = box.left + (box.right - box.left - font.textWidth(text.c_str())) / 2;
  int y = box.top + (box.bottom - box.top - font.height()) / 2;
  font.drawText(target, box, x, y, text.c_str(), colour, Font::kWholeText, 1.0);
}

struct Cell {
  char kind;  // 0 for an empty cell
  int connections;
};

// Every kind with every shape in several orientations, a bomb row, and two holes.
std::vector<Cell> reviewBoard() {
  std::vector<Cell> cells;
  for (int i = 0; i < 81; ++i) {
    int connections = (i * 7 + i / 9) % 16;
    char kind = kKinds[(i / 2 + i / 9) % 5];
    if (i % 3 == 0) kind = 'n';  // plain tiles are the most common
    if (i == 22 || i == 58) kind = 0;
    cells.push_back({kind, connections});
  }
  return cells;
}

void drawTile(Image& screen, BitmapFont& tileFont, const Cell& cell, int i, double opacity) {
  if (cell.kind == 0) return;
  int x = 180 + 50 * (i % 9), y = 10 + 50 * (i / 9);
  char name[16];
  std::snprintf(name, sizeof name, "%c%02d.png", cell.kind, kShapeOf[cell.connections]);
  drawFrame(screen, name, 3 * kTurnsOf[cell.connections], 12, 12, x, y, opacity);
  if (cell.kind == 'b' && opacity > 0.99) {
    std::string secs = std::to_string(1 + i % 10);
    int w = tileFont.textWidth(secs.c_str());
    tileFont.drawText(screen, kScreen, x + 1 + (50 - w) / 2, y + 1 + (50 - tileFont.height()) / 2,
                      secs.c_str(), Colour{77, 77, 77}, Font::kWholeText, 1.0);
  }
  screen.frameRect(Rect{x, y, x + 50, y + 50}, Colour{0, 0, 0}, kScreen, opacity);
}

int looseEnds(const std::vector<Cell>& cells, Image* marks) {
  int count = 0;
  for (int i = 0; i < 81; ++i) {
    int r = i / 9, c = i % 9, x = 180 + 50 * c, y = 10 + 50 * r;
    if (cells[i].kind == 0) continue;
    if (c < 8 && cells[i + 1].kind != 0 &&
        ((cells[i].connections & 2) != 0) != ((cells[i + 1].connections & 8) != 0)) {
      ++count;
      if (marks) marks->fillRect({x + 49, y, x + 51, y + 50}, {230, 10, 10}, kScreen, 1.0);
    }
    if (r < 8 && cells[i + 9].kind != 0 &&
        ((cells[i].connections & 4) != 0) != ((cells[i + 9].connections & 1) != 0)) {
      ++count;
      if (marks) marks->fillRect({x, y + 49, x + 50, y + 51}, {230, 10, 10}, kScreen, 1.0);
    }
  }
  return count;
}

struct Fonts {
  BitmapFont* tile = getFont("tovy29.png");
  BitmapFont* number = getFont("tovynum.png");
  BitmapFont* small = getFont("tovy13.png");
  Fonts() {
    tile->setFirstChar(32);
    number->setFirstChar(48);
    small->setFirstChar(32);
    small->setSpacing(0);
  }
};

void controls(Image& screen, bool scoring, bool hints, bool solved) {
  drawFrame(screen, "easy.png", 0, 3, 3, 81, 175);
  drawFrame(screen, "medium.png", 2, 3, 3, 31, 193);  // the selected difficulty
  drawFrame(screen, "hard.png", 1, 3, 3, 74, 230);    // under the pointer
  drawFrame(screen, "crazy.png", 0, 3, 3, 21, 258);
  if (scoring) {
    drawFrame(screen, "newgame.png", 0, 3, 3, 25, 309);
  } else {
    drawFrame(screen, "newpuzzle.png", 0, 3, 3, 23, 304);
  }
  drawFrame(screen, "instructions.png", 0, 3, 3, 44, 351);
  if (hints) {
    drawFrame(screen, "nohelp.png", 0, 3, 3, 45, 394);
  } else {
    drawFrame(screen, "help.png", 0, 3, 3, 59, 394);
  }
  drawFrame(screen, "options.png", 0, 3, 3, 94, 429);
  drawFrame(screen, "quit.png", 2, 3, 3, 23, 435);
  if (solved) drawFrame(screen, "nextpuzzle.png", 1, 3, 3, 313, 451);
  drawFrame(screen, "lilzap.png", 0, 3, 3, 550, 460);
}

Image gameScreen(Fonts& fonts, bool scoring, bool solved) {
  Image screen(640, 480, 24);
  draw(screen, "background.png", 0, 0);
  std::vector<Cell> cells = reviewBoard();
  for (int i = 0; i < 81; ++i) drawTile(screen, *fonts.tile, cells[i], i, solved ? 0.5 : 1.0);
  bool hints = scoring;  // the scoring screen shows the loose-end marks too
  int loose = looseEnds(cells, hints && !solved ? &screen : nullptr);
  label(screen, *fonts.number, {116, 5, 168, 42}, std::to_string(solved ? 0 : loose), {0, 0, 0});
  if (scoring) {
    draw(screen, "scorebg.png", 1, 56);
    label(screen, *fonts.number, {6, 57, 125, 97}, "12480", {0, 0, 0});
    Image* back = getImage("meterbg.png");
    back->drawTo(screen, 0, 0, 167, 144, 10, 316, kScreen, 1.0);
    int hidden = 316 * 2 / 5;  // three fifths of the allowance left
    getImage("meterfg.png")
        ->drawTo(screen, 0, 0, 167, 144, 10, 316, Rect{167, 144 + hidden, 177, 460}, 1.0);
  }
  controls(screen, scoring, hints, solved);
  if (!solved) {
    // A bomb going off at cell 20 and a blast passing through cell 60.
    drawFrame(screen, "blast1.png", 2, 5, 5, 180 + 50 * 2 - 32, 10 + 50 * 2 - 43);
    drawFrame(screen, "blast2.png", 1, 5, 1, 180 + 50 * 6 - 27, 10 + 50 * 6 - 32);
  }
  return screen;
}

// Nearest-neighbour enlargement, so single pixels can be judged.
Image enlarged(const Image& source, int factor) {
  Image out(static_cast<uint16_t>(source.width * factor),
            static_cast<uint16_t>(source.height * factor), 24);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const uint8_t* s = source.pixelAddress(x / factor, y / factor);
      std::copy_n(s, 3, out.pixelAddress(x, y));
    }
  }
  return out;
}

Image tileSheet(char kind) {
  Image sheet(600, 300, 24);
  sheet.fillRect({0, 0, 600, 300}, {6, 32, 41}, {0, 0, 600, 300}, 1.0);
  Rect all{0, 0, 600, 300};
  for (int s = 0; s < 6; ++s) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%02d.png", kind, kShapes[s]);
    Image* strip = getImage(name);
    strip->drawTo(sheet, 0, 0, 0, 50 * s, strip->width, strip->height, all, 1.0);
  }
  return enlarged(sheet, 2);
}

Image blastSheet() {
  Image sheet(5 * 114, 136 + 114, 24);
  Rect all{0, 0, sheet.width, sheet.height};
  Image* tile = getImage("n05.png");
  for (int f = 0; f < 5; ++f) {
    // Each explosion over the tile it hits, as the game places it.
    tile->drawTo(sheet, 0, 0, f * 114 + 32, 43, 50, 50, all, 1.0);
    tile->drawTo(sheet, 0, 0, f * 114 + 27, 136 + 32, 50, 50, all, 1.0);
  }
  for (int f = 0; f < 5; ++f) {
    drawFrame(sheet, "blast1.png", f, 5, 5, f * 114, 0);
    drawFrame(sheet, "blast2.png", f, 5, 1, f * 114, 136);
  }
  return enlarged(sheet, 2);
}

Image fontSheet(Fonts& fonts) {
  Image sheet(420, 120, 24);
  Rect all{0, 0, sheet.width, sheet.height};
  sheet.fillRect(all, {234, 245, 240}, all, 1.0);
  const Colour grey{77, 77, 77};
  fonts.small->drawText(sheet, all, 6, 6, "Effects volume  Music volume  [x] Bombs  Tips 13/13",
                        grey, Font::kWholeText, 1.0);
  fonts.small->drawText(sheet, all, 6, 22, "The quick brown fox jumps over the lazy dog {~}",
                        {0, 0, 0}, Font::kWholeText, 1.0);
  fonts.tile->drawText(sheet, all, 6, 40, "New high score! Zapfinch 65535", grey, Font::kWholeText,
                       1.0);
  fonts.number->drawText(sheet, all, 6, 76, "0123456789", {0, 0, 0}, Font::kWholeText, 1.0);
  fonts.tile->drawText(sheet, all, 220, 76, "\x01\x7f?", grey, Font::kWholeText, 1.0);
  return enlarged(sheet, 2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: asset_review OUTPUT-FOLDER (run beside gyrotide.zap)\n", stderr);
    return 2;
  }
  fs::path folder = argv[1];
  fs::create_directories(folder);
  for (const char* name : {"medium.png", "nextpuzzle.png", "blast1.png", "blast2.png"}) {
    keyed(name);
  }
  if (getImage("background.png")->width == 0) {
    std::fputs("asset_review: no background.png; is gyrotide.zap in this folder?\n", stderr);
    return 1;
  }
  Fonts fonts;
  bool ok = writePng(folder / "screen-scoring.png", gameScreen(fonts, true, false)) &&
            writePng(folder / "screen-relaxed-solved.png", gameScreen(fonts, false, true)) &&
            writePng(folder / "blasts.png", blastSheet()) &&
            writePng(folder / "fonts.png", fontSheet(fonts));
  for (const char* k = kKinds; *k != 0 && ok; ++k) {
    ok = writePng(folder / (std::string("tiles-") + *k + ".png"), tileSheet(*k));
  }
  if (!ok) std::fputs("asset_review: cannot write the pictures\n", stderr);
  return ok ? 0 : 1;
}
