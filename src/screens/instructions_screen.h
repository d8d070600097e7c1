#pragma once

#include <cstdint>

class Dialog;
class Font;

// The instructions pop-up: the explaining picture, ten live sample tiles (two of each kind)
// to try out, the keys button (layout::kKeysId) and the play button (layout::kCloseId) that
// closes it.
namespace instructions {

// A connection pattern for a sample tile from one draw r of the game's sequence (0 to
// 32767): 1 to 15, never empty.
uint8_t samplePattern(uint32_t r);

// Builds the pop-up with fresh patterns from the game's sequence. The font draws the sample
// bomb's countdown; it is shared, not owned. The sample tiles turn as the board's do: with
// leftTurnsBack, the left button turns them counter-clockwise.
Dialog* buildInstructionsScreen(const Font* font, bool leftTurnsBack = false);
// The page of keys: its picture and the play button (layout::kCloseId) that closes it.
Dialog* buildKeysScreen();

}  // namespace instructions
