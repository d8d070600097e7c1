#include "screens/options_screen.h"

#include <string>

#include "screens/layout.h"
#include "store/settings.h"
#include "ui/button.h"
#include "ui/dialog.h"
#include "ui/label.h"
#include "ui/picture.h"
#include "ui/slider.h"

namespace {

constexpr Colour kText{77, 77, 77};

Button* checkBox(const layout::Placed& placed, bool ticked) {
  auto* box = new Button(placed.x, placed.y, placed.picture, placed.id);
  box->setToggle(true);  // group 0: each box toggles by itself
  box->setDown(ticked);
  return box;
}

Slider* levelSlider(const Rect& rect, uint16_t id, double level) {
  auto* slider = new Slider(layout::kSliderTrack, layout::kSliderThumb, rect, 0,
                            layout::kLevelSteps, id, false);
  slider->setValue(storedLevel(level));  // whole percent, cut off, as the level is saved
  return slider;
}

void addScoreRows(Dialog& dialog, const OptionsState& state, Font* font) {
  Rect name = layout::kScoreNameCell;
  Rect score = layout::kScoreValueCell;
  for (int k = static_cast<int>(high_scores::kRows) - 1; k >= 0; --k) {
    auto* who = new Label(name, font, kText, state.names[k].c_str(), 0);
    who->alignCentre();
    dialog.addChild(who);
    auto* points = new Label(score, font, kText, std::to_string(state.scores[k]).c_str(), 0);
    points->alignRight();
    dialog.addChild(points);
    name.offset(0, layout::kScoreRowStep);
    score.offset(0, layout::kScoreRowStep);
  }
}

}  // namespace

Dialog* buildOptionsScreen(const OptionsState& state, Font* largeFont, Font* smallFont) {
  using namespace layout;
  auto* dialog = new Dialog();
  const Placed& back = kOptionsBackground;
  dialog->addChild(new Picture(back.x, back.y, back.picture, back.id));
  dialog->addChild(new Button(kOptionsOk.x, kOptionsOk.y, kOptionsOk.picture, kOptionsOk.id));
  dialog->addChild(
      new Button(kResetScores.x, kResetScores.y, kResetScores.picture, kResetScores.id));
  dialog->addChild(checkBox(kFullScreenBox, state.fullScreen));
  dialog->addChild(checkBox(kScoringBox, state.scoring));
  dialog->addChild(checkBox(kBombsBox, state.bombs));
  dialog->addChild(checkBox(kTutorialBox, state.tutorial));
  dialog->addChild(checkBox(kHintsBox, state.hints));
  dialog->addChild(levelSlider(kSoundLevelSlider, kSoundLevelId, state.effectsLevel));
  dialog->addChild(levelSlider(kMusicLevelSlider, kMusicLevelId, state.musicLevel));
  addScoreRows(*dialog, state, largeFont);
  dialog->addChild(new Label(kVersionLabel, smallFont, kText, kVersionText, 0));
  // After the controls every player knows, so they keep their order too.
  dialog->addChild(checkBox(kLeftTurnsBackBox, state.leftTurnsBack));
  return dialog;
}
