#pragma once

#include <cstdint>
#include <string_view>

#include "core/rect.h"
#include "game/high_scores.h"
#include "screens/layout.h"

class Dialog;
class Font;
class TextEntry;

// The pop-up that asks for the name of a new high score: a translucent panel over the board
// with its title picture, the table of four with a name field in the new score's row, and an
// OK button. OK and Enter in the field both report id layout::kNameConfirmedId.

// Where everything goes, from the title's size and the large font's height.
struct HighScoreLayout {
  Rect panel;
  Rect shadow;
  int32_t titleX = 0;
  int32_t titleY = 0;
  Rect title;      // the title area, for a title drawn as text
  Rect nameCell;   // the best entry's name; each lower row is rowStep further down
  Rect scoreCell;  // the best entry's score
  int32_t rowStep = 0;
  int32_t okayX = 0;
  int32_t okayY = 0;
};
HighScoreLayout highScoreLayout(int32_t titleWidth, int32_t titleHeight, int32_t fontHeight);

// What the game screen keeps while the pop-up is open: the name field and the row the score
// went into. nameEntry is owned by the pop-up.
struct HighScoreEntry {
  TextEntry* nameEntry = nullptr;
  int row = -1;
  bool newGameFollows = true;  // false: play goes on once the name is in
};

// The pictures the pop-up is made of (other names only in tests).
struct HighScorePictures {
  std::string_view title = layout::kNewHighTitle;
  std::string_view okay = layout::kOkayPicture;
};

// Builds the pop-up for a table whose entry `row` is the new one, with the name field there
// made the current screen's focus widget. font is the large font; it is not owned.
Dialog* buildHighScorePopup(Font* font, const high_scores::Scores& scores,
                            const high_scores::Names& names, int row, HighScoreEntry& entry,
                            const HighScorePictures& pictures = {});

// Offers the table a finished game's score. Nothing happens, and the result is null, in
// relaxed play or when the score does not beat the lowest entry. Otherwise the score goes
// into the table at once with an empty name, and the pop-up is returned for openPopup.
Dialog* offerHighScore(bool scoring, uint16_t score, high_scores::Scores& scores,
                       high_scores::Names& names, Font* font, HighScoreEntry& entry,
                       const HighScorePictures& pictures = {});

// The name is confirmed (OK or Enter): the field's text goes into the row where the score
// went, and the field is forgotten. False when no field was held. Call it before the pop-up
// is closed.
bool confirmHighScoreName(HighScoreEntry& entry, high_scores::Names& names);
