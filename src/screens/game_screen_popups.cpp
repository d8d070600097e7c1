// The pop-ups over the game screen, and the player's manual in the browser.
#include <filesystem>
#include <string>
#include <system_error>

#include "game/high_scores.h"
#include "gfx/display_window.h"
#include "gfx/font.h"
#include "platform/platform.h"
#include "screens/game_screen.h"
#include "screens/high_score_popup.h"
#include "ui/dialog.h"

namespace {

// The manual lies beside the archive, in the folder the game runs in.
constexpr const char* kManualPage = "manual/index.html";

// A file:// address for an absolute path: bytes other than unreserved ones and '/' are
// written as %XX.
std::string fileUrl(const std::filesystem::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path.generic_string()) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.' || c == '~' || c == '/';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

}  // namespace

// The score goes into the table at once, with an empty name: leaving the game before the name
// is confirmed keeps it so.
Dialog* GameScreen::offerHighScore() {
  return ::offerHighScore(scoring, score, hsScores, hsNames, tileFont, nameEntry);
}

void GameScreen::resetHighScores() { high_scores::reset(hsScores, hsNames); }

void GameScreen::storeHighScoreName() { confirmHighScoreName(nameEntry, hsNames); }

// Out of full screen first, so the browser comes up where the player can see it; that also
// happens without the page, which is then all that happens.
void GameScreen::openManual() {
  if (displayWindow != nullptr) displayWindow->leaveFullScreen();
  std::error_code error;
  const std::filesystem::path page = std::filesystem::absolute(kManualPage, error);
  if (error || !std::filesystem::is_regular_file(page, error)) return;
  platform::backend().openUrl(fileUrl(page));
}
