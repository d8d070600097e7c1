#include "app/entry.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/run_loop.h"
#include "core/game_clock.h"
#include "core/random.h"
#include "gfx/display_window.h"
#include "gfx/image_cache.h"
#include "platform/platform.h"
#include "res/resource_archive.h"
#include "screens/game_screen.h"

namespace {

// The window icon from the keyed picture in the archive, its key colour transparent. Empty when
// the picture is missing, which leaves the system's default icon.
void loadIcon(platform::Icon& icon) {
  static std::vector<uint8_t> bgra;
  Image* image = getImage("icon.png");
  if (image == nullptr || image->pixels == nullptr) return;
  image->setKeyFromCorner();
  bgra.assign(size_t{image->width} * image->height * 4, 0);
  for (int y = 0; y < image->height; ++y) {
    for (int x = 0; x < image->width; ++x) {
      const uint8_t* source = image->pixelAddress(x, y);
      uint8_t* out = &bgra[(static_cast<size_t>(y) * image->width + x) * 4];
      if (image->depth == 24) {
        std::copy(source, source + 3, out);
        out[3] = 255;
      } else if (image->depth == 8 && *source != image->colourKey &&
                 *source < image->paletteEntries()) {
        std::copy(image->palette + *source * 3, image->palette + *source * 3 + 3, out);
        out[3] = 255;
      }
    }
  }
  icon.width = image->width;
  icon.height = image->height;
  icon.bgra = bgra.data();
}

// The game's last words while its loop runs, taken back on every way out of it, an escaping
// failure included: afterwards they would reach a screen that is gone.
class LastWords {
 public:
  explicit LastWords(std::function<void()> words) {
    platform::backend().onDisplayLost(std::move(words));
  }
  ~LastWords() { platform::backend().onDisplayLost(nullptr); }
  LastWords(const LastWords&) = delete;
  LastWords& operator=(const LastWords&) = delete;
};

}  // namespace

void chooseFirstBoard(GameScreen& screen, bool restored) {
  if (!restored) {
    screen.resetBoard();
  } else if (screen.countLooseEnds() == 0 && screen.allowance == 0) {
    screen.nextPuzzle();
  } else if (screen.allowance == 0) {
    screen.newGame();
  } else if (screen.solved) {
    // Saved just as it was solved, with bonus left: solved it stays, lock, button and all,
    // and the rest of the bonus drains from now.
    screen.startSolved();
  }
}

void registerWindowClass() {
  platform::WindowClass windowClass;
  windowClass.name = kWindowClassName;
  windowClass.proc = windowProc;
  windowClass.redrawOnResize = true;
  loadIcon(windowClass.icon);
  platform::backend().registerClass(windowClass);
}

int entry(const std::string& commandLine, AppBody body) {
  registerWindowClass();
  seedRandom(GameClock::now());
  try {
    return body(commandLine);
  } catch (const char* text) {
    platform::backend().messageBox(text != nullptr ? text : "", kAppCaption);
  } catch (...) {
    platform::backend().messageBox(kUnrecoverableText, kAppCaption);
  }
  return 1;
}

int appMain(const std::string& commandLine) {
  if (resourceArchive == nullptr || !resourceArchive->isOpen()) {
    platform::backend().messageBox(kMissingArchiveText, kAppCaption);
    return 0;
  }
  // Destroyed on every way out, failures included, so the game is saved before any message.
  auto screen = std::make_unique<GameScreen>(commandLine);
  bool restored = screen->loadSettings();
  screen->loadResources();
  chooseFirstBoard(*screen, restored);
  int result = 0;
  {
    LastWords saveOnDisplayLoss([&screen] { screen->saveSettings(); });
    result = runLoop(*screen);
  }
  screen.reset();
  return result;
}
