#pragma once

#include "game/high_scores.h"

class Dialog;
class Font;

// What the options pop-up shows when it opens: the option flags, the two sound levels (0.0 to
// 1.0) and the high-score table. The pop-up keeps no state of its own; the game screen hears
// its controls and keeps the values.
struct OptionsState {
  bool fullScreen = false;
  bool scoring = false;
  bool bombs = true;
  bool tutorial = false;
  bool hints = false;
  bool leftTurnsBack = false;
  double effectsLevel = 1.0;
  double musicLevel = 0.0;
  high_scores::Scores scores{};
  high_scores::Names names;
};

// Builds the options pop-up over the whole picture: background, OK, reset, the six check
// boxes, the two level sliders, the table best first and the version line. largeFont sets the
// table, smallFont the version; neither is owned. Each slider reports its starting level
// (when above 0) as a change, so the levels it shows are the levels in force.
Dialog* buildOptionsScreen(const OptionsState& state, Font* largeFont, Font* smallFont);
