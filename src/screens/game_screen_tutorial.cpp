// The game screen's side of the instructions and the tutorial tips.
#include "gfx/font.h"
#include "screens/game_screen.h"
#include "screens/instructions_screen.h"
#include "screens/tutorial.h"
#include "ui/dialog.h"

Dialog* GameScreen::makeInstructionsScreen() {
  return instructions::buildInstructionsScreen(numberFont, leftTurnsBack);
}

// The tip's bit is set before it is shown, so a tip is never offered twice, whatever becomes
// of its pop-up.
Dialog* GameScreen::showNextTip() {
  if (!tutorial) return nullptr;
  const std::optional<tips::Choice> choice = tips::chooseTip(boardCodes(), scoring, tipsSeen);
  if (!choice) return nullptr;
  tipsSeen |= choice->tip->seenBit;
  Dialog* dialog = tips::buildTipDialog(choice->tip->character, choice->target);
  openPopup(dialog);
  return dialog;
}
