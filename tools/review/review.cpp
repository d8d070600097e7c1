// Composes review pictures from the built archive with the game's own image cache, fonts and
// blitter: the game screen in scoring play (a busy board, an explosion, every control) and in
// relaxed play once solved (faded board, next-puzzle button, hints on), both with a locked tile
// of every kind, one enlarged sheet per tile kind with all its frames, the lock marks on every
// kind at full strength and faded, the explosions frame by frame, the three fonts, the controls,
// the high-score pop-up with a name half typed (with its title picture and without), the
// options pop-up in relaxed and scored play and with a slider's thumb being dragged, the
// instructions, and every tutorial tip (the lock's too) on a dealt board.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/random.h"
#include "game/board.h"
#include "game/board_view.h"
#include "game/locks.h"
#include "game/puzzle_file.h"
#include "game/rules.h"
#include "gfx/display_window.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "gfx/image_cache.h"
#include "platform/platform.h"
#include "screens/high_score_popup.h"
#include "screens/instructions_screen.h"
#include "screens/layout.h"
#include "screens/options_screen.h"
#include "screens/tutorial.h"
#include "ui/box.h"
#include "ui/button.h"
#include "ui/dialog.h"
#include "ui/label.h"
#include "ui/meter.h"
#include "ui/picture.h"
#include "ui/screen.h"
#include "ui/text_entry.h"

namespace {

namespace fs = std::filesystem;

const Rect kScreen = layout::kScreen;

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

// Every kind with every shape in several orientations, a bomb row, and two holes.
BoardCodes reviewBoard() {
  BoardCodes cells;
  for (int i = 0; i < board::kCells; ++i) {
    const auto lines = static_cast<uint8_t>((i * 7 + i / 9) % 16);
    TileKind kind = kDrawnKinds[(i / 2 + i / 9) % 5];
    if (i % 3 == 0) kind = TileKind::Plain;  // plain tiles are the most common
    if (i == 22 || i == 58) kind = TileKind::Empty;
    cells[i] = TileCode(kind, lines);
  }
  return cells;
}

void drawTile(Image& screen, BitmapFont& tileFont, TileCode cell, int i, double opacity) {
  if (cell.isEmpty()) return;
  const Rect r = board::cellRect(i);
  drawFrame(screen, cell.pictureName().c_str(), 3 * cell.turnsFromShape(), 12, 12, r.left, r.top,
            opacity);
  if (cell.kind() == TileKind::Bomb && opacity > 0.99) {
    std::string secs = std::to_string(1 + i % 10);
    int w = tileFont.textWidth(secs.c_str());
    tileFont.drawText(screen, kScreen, r.left + 1 + (50 - w) / 2,
                      r.top + 1 + (50 - tileFont.height()) / 2, secs.c_str(), Colour{77, 77, 77},
                      Font::kWholeText, 1.0);
  }
  screen.frameRect(r, Colour{0, 0, 0}, kScreen, opacity);
}

// The red bars of the hints, as the board view draws them.
void drawMarks(Image& screen, const LooseEdges& loose) {
  for (int i = 0; i < board::kCells; ++i) {
    const Rect r = board::cellRect(i);
    if (loose.right[i])
      screen.fillRect({r.right - 1, r.top, r.right + 1, r.bottom}, {230, 10, 10}, kScreen, 1.0);
    if (loose.down[i])
      screen.fillRect({r.left, r.bottom - 1, r.right, r.bottom + 1}, {230, 10, 10}, kScreen, 1.0);
  }
}

// One locked tile of every kind: the first of each on the board (a linked tile locks its
// whole group, as in the game).
LockSet reviewLocks(const BoardCodes& cells) {
  LockSet locked;
  for (TileKind kind : kDrawnKinds) {
    for (int i = 0; i < board::kCells; ++i) {
      if (cells[i].kind() != kind) continue;
      locked = locks::toggled(locked, cells, i);
      break;
    }
  }
  return locked;
}

// The padlocks, where and as the board view draws them: at full strength, also on a faded board.
void drawLocks(Image& screen, const LockSet& locked) {
  Image* mark = getImage(lock_mark::kPicture);
  for (int i = 0; i < board::kCells; ++i) {
    if (!locked[i]) continue;
    const Rect r = board::cellRect(i);
    mark->drawTo(screen, 0, 0, r.left + lock_mark::kInset, r.top + lock_mark::kInset, mark->width,
                 mark->height, kScreen, 1.0);
  }
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

// Frame 0 at rest, 1 under the pointer, 2 pressed.
void drawButton(Image& screen, const layout::Placed& control, int frame) {
  drawFrame(screen, control.picture, frame, 3, 3, control.x, control.y);
}

void controls(Image& screen, bool scoring, bool hints, bool solved) {
  drawButton(screen, layout::kEasy, 0);
  drawButton(screen, layout::kMedium, 2);  // the selected difficulty
  drawButton(screen, layout::kHard, 1);    // under the pointer
  drawButton(screen, layout::kCrazy, 0);
  drawButton(screen, scoring ? layout::kNewGame : layout::kNewPuzzle, 0);
  drawButton(screen, layout::kInstructions, 0);
  drawButton(screen, hints ? layout::kNoHelp : layout::kHelp, 0);
  drawButton(screen, layout::kOptions, 0);
  drawButton(screen, layout::kQuit, 2);
  if (solved) drawButton(screen, layout::kNextPuzzle, 1);
  drawButton(screen, layout::kWeb, 0);
}

// An explosion over the tile in the cell, placed as the game places it.
void drawBlast(Image& screen, const layout::BlastLook& look, int frame, int cell) {
  const Rect r = board::cellRect(cell);
  drawFrame(screen, look.picture, frame, look.frames, look.columns, r.left - look.offsetX,
            r.top - look.offsetY);
}

Image gameScreen(Fonts& fonts, bool scoring, bool solved, bool blasts = true,
                 const BoardCodes& cells = reviewBoard()) {
  Image screen(layout::kScreenWidth, layout::kScreenHeight, 24);
  draw(screen, layout::kBackground.picture, 0, 0);
  for (int i = 0; i < board::kCells; ++i) {
    drawTile(screen, *fonts.tile, cells[i], i, solved ? 0.5 : 1.0);
  }
  bool hints = scoring;  // the scoring screen shows the loose-end marks too
  const LooseEdges loose = looseEdges(cells);
  drawLocks(screen, reviewLocks(cells));
  if (hints && !solved) drawMarks(screen, loose);
  label(screen, *fonts.number, layout::kLooseEndsLabel, std::to_string(solved ? 0 : loose.count()),
        {0, 0, 0});
  if (scoring) {
    draw(screen, layout::kScoreBackground.picture, layout::kScoreBackground.x,
         layout::kScoreBackground.y);
    label(screen, *fonts.number, layout::kScoreLabel, "12480", {0, 0, 0});
    const Rect m = layout::kMeter;
    const auto w = static_cast<uint16_t>(m.width()), h = static_cast<uint16_t>(m.height());
    getImage(layout::kMeterBack)->drawTo(screen, 0, 0, m.left, m.top, w, h, kScreen, 1.0);
    int hidden = h * 2 / 5;  // three fifths of the allowance left
    getImage(layout::kMeterFront)
        ->drawTo(screen, 0, 0, m.left, m.top, w, h, Rect{m.left, m.top + hidden, m.right, m.bottom},
                 1.0);
  }
  controls(screen, scoring, hints, solved);
  if (!solved && blasts) {
    // A bomb going off at cell 20 and a blast passing through cell 60.
    drawBlast(screen, layout::kBlastLarge, 2, 20);
    drawBlast(screen, layout::kBlastSmall, 1, 60);
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

Image tileSheet(TileKind kind) {
  Image sheet(600, 300, 24);
  sheet.fillRect({0, 0, 600, 300}, {6, 32, 41}, {0, 0, 600, 300}, 1.0);
  Rect all{0, 0, 600, 300};
  for (size_t s = 0; s < kShapes.size(); ++s) {
    Image* strip = getImage(tilePictureName(kind, kShapes[s]).c_str());
    strip->drawTo(sheet, 0, 0, 0, 50 * s, strip->width, strip->height, all, 1.0);
  }
  return enlarged(sheet, 2);
}

// A locked tile of every kind with four line ends, on the board's floor at full strength and
// faded as a solved board is, enlarged: the padlock must read on each and hide no line end.
Image lockSheet() {
  Image sheet(5 * 60 + 10, 2 * 60 + 10, 24);
  Rect all{0, 0, sheet.width, sheet.height};
  getImage(layout::kBackground.picture)
      ->drawTo(sheet, board::kRect.left, board::kRect.top, 0, 0, sheet.width, sheet.height, all,
               1.0);
  Image* mark = getImage(lock_mark::kPicture);
  for (int row = 0; row < 2; ++row) {
    for (size_t k = 0; k < kDrawnKinds.size(); ++k) {
      const int x = 10 + 60 * static_cast<int>(k), y = 10 + 60 * row;
      const TileCode tile(kDrawnKinds[k], line::All);
      drawFrame(sheet, tile.pictureName().c_str(), 0, 12, 12, x, y, row == 0 ? 1.0 : 0.5);
      mark->drawTo(sheet, 0, 0, x + lock_mark::kInset, y + lock_mark::kInset, mark->width,
                   mark->height, all, 1.0);
    }
  }
  return enlarged(sheet, 3);
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

// The controls in every state, drawn by the game's own widgets over the background: one row a
// state (normal, under the pointer, pressed, toggled down), the meter, a centred label, and a
// translucent box with a border under small text.
Image controlsSheet(Fonts& fonts) {
  Image sheet(layout::kScreenWidth, layout::kScreenHeight, 24);
  std::vector<std::unique_ptr<Widget>> widgets;
  widgets.push_back(std::make_unique<Picture>(0, 0, layout::kBackground.picture, 0));
  const layout::Placed columns[] = {layout::kEasy, layout::kOptions, layout::kQuit, layout::kHelp};
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      auto b = std::make_unique<Button>(190 + column * 110, 30 + row * 40, columns[column].picture,
                                        columns[column].id);
      b->hover = row == 1;
      b->pressed = row == 2;
      if (row == 3) {
        b->setToggle(true);
        b->setDown(true);
      }
      widgets.push_back(std::move(b));
    }
  }
  auto meter = std::make_unique<Meter>(layout::kMeter, 0, 100, layout::kMeterBack,
                                       layout::kMeterFront, layout::kMeterId, true);
  meter->setValue(65);
  widgets.push_back(std::move(meter));
  auto count =
      std::make_unique<Label>(layout::kLooseEndsLabel, fonts.number, Colour{0, 0, 0}, "42", 0);
  count->alignCentre();
  widgets.push_back(std::move(count));
  auto veil = std::make_unique<Box>(Rect(190, 200, 630, 300), Colour{255, 255, 255}, true);
  veil->setAlpha(0.6);
  widgets.push_back(std::move(veil));
  widgets.push_back(std::make_unique<Label>(Rect(200, 210, 620, 230), fonts.small,
                                            Colour{10, 40, 50},
                                            "A translucent box with a border, and small text.", 0));
  for (auto& w : widgets) {
    w->update(0);
    w->draw(sheet, kScreen);
  }
  return sheet;
}

// The area r of source, enlarged.
Image detail(const Image& source, const Rect& r, int factor) {
  Image part(static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height()), 24);
  source.drawTo(part, r.left, r.top, 0, 0, part.width, part.height,
                Rect(0, 0, part.width, part.height), 1.0);
  return enlarged(part, factor);
}

// A backend with no system behind it: a window that shows nothing, no sound, no clipboard.
// Enough for a real screen to route, focus and draw its widgets into its picture.
class PictureBackend : public platform::Backend {
 public:
  uint32_t ticks() override { return 0; }
  void waitMessage(uint32_t) override {}
  void present(platform::WindowId, const uint8_t*, int, int, int) override {}
  platform::FullScreenResult enterFullScreen(platform::WindowId) override {
    return platform::FullScreenResult::Unavailable;
  }
  void leaveFullScreen(platform::WindowId) override {}
  void setCapture(platform::WindowId) override {}
  void releaseCapture() override {}
  bool openUrl(const std::string&) override { return false; }
  std::unique_ptr<platform::AudioDevice> openAudio(const platform::PcmFormat&) override {
    return nullptr;
  }

 protected:
  bool openWindow(Window&) override { return true; }
  void closeWindow(Window&) override {}
  void pumpEvents() override {}
  void showMessageBox(const std::string&, const std::string&) override {}
};

// The high-score pop-up over the scoring screen, built by the game's own builder on a real
// screen: a score of 150 went into the third row, "Mari" is typed, and the caret is showing.
Image highScoreSheet(Fonts& fonts, const HighScorePictures& pictures) {
  PictureBackend backend;
  platform::setBackend(&backend);
  Image shot;
  {
    Screen screen("", "review");
    Image backdrop = gameScreen(fonts, true, false, false);
    std::copy_n(backdrop.pixels, backdrop.byteSize(), screen.displayWindow->pixels);
    high_scores::Scores scores{50, 100, 200, 400};
    high_scores::Names names{"Flint", "Opal", "Zinc", "Tin"};
    HighScoreEntry entry;
    Dialog* popup = offerHighScore(true, 150, scores, names, fonts.tile, entry, pictures);
    screen.openPopup(popup);
    for (char c : std::string("Mari")) screen.onChar(static_cast<unsigned char>(c));
    screen.update(TextEntry::kBlinkMs);  // the caret's first lit phase
    shot = Image(layout::kScreenWidth, layout::kScreenHeight, 24);
    std::copy_n(screen.displayWindow->pixels, shot.byteSize(), shot.pixels);
  }
  platform::setBackend(nullptr);
  return shot;
}

// A real puzzle as the game deals it: the first layout of the hardest list that holds every
// kind of tile and a hole, dealt and scrambled. The review board when there is none.
BoardCodes dealtBoard() {
  const PuzzleLists puzzles = readPuzzleFile();
  for (size_t d = puzzles.lists.size(); d-- > 0;) {
    for (const PuzzleRecord& record : puzzles.lists[d]) {
      bool kinds[8] = {};
      for (TileCode c : record.tiles) kinds[static_cast<uint8_t>(c.kind()) >> 4] = true;
      if (!std::all_of(kinds, kinds + 6, [](bool b) { return b; })) continue;
      BoardCodes codes = record.tiles;
      seedRandom(2024);
      rules::dealBoard(codes);
      rules::scramble(codes, 0);
      return codes;
    }
  }
  return reviewBoard();
}

// Captures the screen's picture after one frame.
Image shotOf(Screen& screen) {
  screen.update(0);
  Image shot(layout::kScreenWidth, layout::kScreenHeight, 24);
  std::copy_n(screen.displayWindow->pixels, shot.byteSize(), shot.pixels);
  return shot;
}

// The options pop-up built by the game's own builder on a real screen. In relaxed play the
// pointer rests on the hints box; in scored play the music thumb is held halfway along.
Image optionsSheet(Fonts& fonts, bool scoring, bool dragging) {
  PictureBackend backend;
  platform::setBackend(&backend);
  Image shot;
  {
    Screen screen("", "review");
    OptionsState state;
    state.scoring = scoring;
    state.hints = scoring;
    state.tutorial = !scoring;
    state.leftTurnsBack = scoring;
    state.bombs = true;
    state.effectsLevel = 0.8;
    state.musicLevel = 0.35;
    // The widest name and the highest score there can be, to see that they fit.
    state.scores = {50, 100, 2480, 65535};
    state.names = {"Flint", "WWWWWWWW", "Mari", "Zapfinch"};
    screen.openPopup(buildOptionsScreen(state, fonts.tile, fonts.small));
    if (dragging) {
      const Rect& r = layout::kMusicLevelSlider;
      const int32_t y = (r.top + r.bottom) / 2;
      const int32_t x = r.left + 10 + (r.right - r.left - 20) * 35 / 100;
      screen.onLeftDown(x, y, 0);
      screen.onMouseMove((r.left + r.right) / 2, y, 0);
    } else {
      const layout::Placed& box = layout::kHintsBox;
      screen.onMouseMove(box.x + 8, box.y + 8, 0);
    }
    shot = shotOf(screen);
  }
  platform::setBackend(nullptr);
  return shot;
}

// The instructions pop-up, built by the game's own builder on a real screen.
Image instructionsSheet(Fonts& fonts) {
  PictureBackend backend;
  platform::setBackend(&backend);
  Image shot;
  {
    Screen screen("", "review");
    seedRandom(77);
    screen.openPopup(instructions::buildInstructionsScreen(fonts.number));
    shot = shotOf(screen);
  }
  platform::setBackend(nullptr);
  return shot;
}

// Tip i of the table over the dealt board in scoring play, as the game would show it; false
// when the board holds nothing for it.
bool tipSheet(Fonts& fonts, const BoardCodes& cells, size_t i, Image& shot) {
  const tips::Tip& tip = tips::kTips[i];
  uint32_t seen = 0;
  for (size_t j = 0; j < i; ++j) seen |= tips::kTips[j].seenBit;
  if (tip.subject == tips::Subject::BottomMismatch) seen &= ~tip.seenBit;
  // Only this row may qualify: every earlier row counts as seen, and the shared bit of the
  // two mismatch rows is cleared again for the second one.
  std::optional<tips::Choice> choice = tips::chooseTip(cells, true, seen);
  if (tip.subject == tips::Subject::BottomMismatch) {
    const int32_t cell = tips::findCell(cells, tip.subject);
    if (cell < 0) return false;
    const Rect r = board::cellRect(cell);
    choice = tips::Choice{&tip, {(r.left + r.right) / 2, r.bottom - 2}};
  }
  if (!choice || choice->tip != &tip) return false;
  PictureBackend backend;
  platform::setBackend(&backend);
  {
    Screen screen("", "review");
    Image backdrop = gameScreen(fonts, true, false, false, cells);
    std::copy_n(backdrop.pixels, backdrop.byteSize(), screen.displayWindow->pixels);
    screen.openPopup(tips::buildTipDialog(tip.character, choice->target));
    shot = shotOf(screen);
    // The target itself, a small green cross, to judge the arrow's aim.
    const tips::Point t = choice->target;
    shot.fillRect({t.x - 3, t.y, t.x + 4, t.y + 1}, {0, 230, 0}, kScreen, 1.0);
    shot.fillRect({t.x, t.y - 3, t.x + 1, t.y + 4}, {0, 230, 0}, kScreen, 1.0);
  }
  platform::setBackend(nullptr);
  return true;
}

// The tip about the lock, pointing at the first tile a click turns, as after a few moves.
Image lockTipSheet(Fonts& fonts, const BoardCodes& cells) {
  int32_t cell = 0;
  while (cell < board::kCells - 1 && !locks::lockable(cells[cell])) ++cell;
  PictureBackend backend;
  platform::setBackend(&backend);
  Image shot;
  {
    Screen screen("", "review");
    Image backdrop = gameScreen(fonts, true, false, false, cells);
    std::copy_n(backdrop.pixels, backdrop.byteSize(), screen.displayWindow->pixels);
    screen.openPopup(tips::buildTipDialog(tips::kLockTip.character, tips::cellCentre(cell)));
    shot = shotOf(screen);
  }
  platform::setBackend(nullptr);
  return shot;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: asset_review OUTPUT-FOLDER (run beside gyrotide.zap)\n", stderr);
    return 2;
  }
  fs::path folder = argv[1];
  fs::create_directories(folder);
  for (const char* name : {"medium.png", "nextpuzzle.png", "blast1.png", "blast2.png", "okay.png",
                           "next.png", lock_mark::kPicture}) {
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
            writePng(folder / "locks.png", lockSheet()) &&
            writePng(folder / "fonts.png", fontSheet(fonts)) &&
            writePng(folder / "controls.png", controlsSheet(fonts)) &&
            writePng(folder / "highscore.png", highScoreSheet(fonts, {})) &&
            writePng(folder / "highscore-detail.png",
                     detail(highScoreSheet(fonts, {}), Rect(230, 85, 590, 385), 2)) &&
            writePng(folder / "highscore-untitled.png",
                     highScoreSheet(fonts, {"no-such-title.png", layout::kOkayPicture})) &&
            writePng(folder / "options-relaxed.png", optionsSheet(fonts, false, false)) &&
            writePng(folder / "options-scoring.png", optionsSheet(fonts, true, false)) &&
            writePng(folder / "options-dragging.png", optionsSheet(fonts, true, true)) &&
            writePng(folder / "options-detail.png",
                     detail(optionsSheet(fonts, true, false), Rect(0, 40, 320, 280), 2));
  ok = ok && writePng(folder / "instructions.png", instructionsSheet(fonts));
  const BoardCodes dealt = dealtBoard();
  for (size_t i = 0; i < tips::kTips.size() && ok; ++i) {
    Image shot;
    if (tipSheet(fonts, dealt, i, shot)) {
      ok = writePng(folder / ("tip" + std::to_string(i + 1) + "-" +
                              std::string(1, tips::kTips[i].character) + ".png"),
                    shot);
    } else {
      std::fprintf(stderr, "asset_review: the dealt board has nothing for tip %zu\n", i + 1);
    }
  }
  ok = ok && writePng(folder / "tip-lock-d.png", lockTipSheet(fonts, dealt));
  for (size_t k = 0; k < kDrawnKinds.size() && ok; ++k) {
    const TileKind kind = kDrawnKinds[k];
    ok = writePng(folder / (std::string("tiles-") + kindLetter(kind) + ".png"), tileSheet(kind));
  }
  if (!ok) std::fputs("asset_review: cannot write the pictures\n", stderr);
  return ok ? 0 : 1;
}
