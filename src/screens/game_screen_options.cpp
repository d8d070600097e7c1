// The options pop-up as the game screen opens it: built from the screen's flags, the sound
// levels and the high-score table as they stand.
#include "audio/sound_system.h"
#include "gfx/font.h"
#include "screens/game_screen.h"
#include "screens/options_screen.h"

Dialog* GameScreen::makeOptionsScreen() {
  OptionsState state;
  state.fullScreen = fullScreen;
  state.scoring = scoring;
  state.bombs = bombs;
  state.tutorial = tutorial;
  state.hints = hints;
  state.leftTurnsBack = leftTurnsBack;
  // Without a sound system both sliders start at the far left.
  state.effectsLevel = soundSystem != nullptr ? soundSystem->effectsLevel() : 0.0;
  state.musicLevel = soundSystem != nullptr ? soundSystem->musicLevel() : 0.0;
  state.scores = hsScores;
  state.names = hsNames;
  return buildOptionsScreen(state, tileFont, smallFont);
}
