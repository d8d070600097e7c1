// The options pop-up as the player meets it: opened from the game screen's options button,
// driven by clicks and drags through the window's message queue.
#include <cmath>

#include "screens/game_screen_fixture.h"
#include "screens/options_screen.h"
#include "store/settings.h"
#include "ui/dialog.h"
#include "ui/slider.h"

namespace {

// A layout with a row of plain tiles in the top row, so a new game shows on the board.
PuzzleRecord topRow() {
  PuzzleRecord record;
  record.difficulty = 0;
  record.tiles.fill(TileCode(TileKind::Empty, 0));
  for (int32_t c = 1; c < 8; ++c) record.tiles[c] = TileCode(TileKind::Plain, 0);
  return record;
}

}  // namespace

class OptionsScreenTest : public GameScreenTest {
 protected:
  Dialog* openOptions() {
    clickControl(layout::kOptionsId);
    frame();
    auto* dialog = dynamic_cast<Dialog*>(screen->popup);
    EXPECT_NE(dialog, nullptr) << "the options button opened nothing";
    return dialog;
  }
  Widget* item(uint16_t id) const {
    auto* dialog = dynamic_cast<Dialog*>(screen->popup);
    if (dialog == nullptr) return nullptr;
    for (Widget* w : dialog->children) {
      if (w->id == id) return w;
    }
    return nullptr;
  }
  Button* box(uint16_t id) const { return dynamic_cast<Button*>(item(id)); }
  Slider* slider(uint16_t id) const { return dynamic_cast<Slider*>(item(id)); }
  void clickItem(uint16_t id) {
    Widget* w = item(id);
    ASSERT_NE(w, nullptr) << "no control " << id;
    ASSERT_FALSE(w->rect.isEmpty()) << id;
    clickAt((w->rect.left + w->rect.right) / 2, (w->rect.top + w->rect.bottom) / 2);
  }
  void confirm() {
    clickItem(layout::kOptionsOkId);
    frame();
  }
  // Takes the thumb by its middle and lets go at x.
  void dragThumb(uint16_t id, int32_t x) {
    using K = platform::MessageKind;
    Slider* s = slider(id);
    ASSERT_NE(s, nullptr);
    const int32_t x0 = (s->thumbRect.left + s->thumbRect.right) / 2;
    const int32_t y = (s->thumbRect.top + s->thumbRect.bottom) / 2;
    mouse(K::MouseMove, x0, y);
    mouse(K::LeftDown, x0, y);
    mouse(K::MouseMove, (x0 + x) / 2, y);
    mouse(K::MouseMove, x, y);
    mouse(K::LeftUp, x, y);
  }
  SoundSystem& sound() { return *screen->soundSystem; }
  bool shown(uint16_t id) const { return control(id) != nullptr; }
};

TEST_F(OptionsScreenTest, WidgetsInTheirOrderPlacesAndStartingStates) {
  start(true);
  screen->fullScreen = false;
  screen->bombs = false;
  screen->tutorial = true;
  screen->hints = false;
  screen->hsScores = {7, 80, 900, 10000};
  screen->hsNames = {"Dee", "Cy", "Bo", "Al"};
  sound().setEffectsLevel(0.5);
  sound().setMusicLevel(0.25);
  Dialog* dialog = openOptions();
  ASSERT_NE(dialog, nullptr);
  const auto& kids = dialog->children;
  ASSERT_EQ(kids.size(), 20u);

  EXPECT_EQ(kids[0]->id, 0);
  EXPECT_EQ(kids[0]->rect, Rect(0, 0, 640, 480));
  struct Expected {
    uint16_t id;
    int32_t x, y;
    bool toggle, down;
  };
  const Expected buttons[] = {
      {2106, 548, 429, false, false}, {2017, 258, 445, false, false}, {2102, 121, 97, true, false},
      {2103, 121, 62, true, true},    {2104, 151, 97, true, false},   {2105, 151, 62, true, true},
      {2107, 223, 132, true, false},
  };
  for (size_t i = 0; i < std::size(buttons); ++i) {
    SCOPED_TRACE(buttons[i].id);
    auto* b = dynamic_cast<Button*>(kids[1 + i]);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->id, buttons[i].id);
    EXPECT_EQ(b->rect.left, buttons[i].x);
    EXPECT_EQ(b->rect.top, buttons[i].y);
    EXPECT_FALSE(b->rect.isEmpty()) << "its picture is missing";
    EXPECT_EQ(b->toggle, buttons[i].toggle);
    EXPECT_EQ(b->group, 0);
    EXPECT_EQ(b->down, buttons[i].down);
  }
  auto* effects = dynamic_cast<Slider*>(kids[8]);
  auto* music = dynamic_cast<Slider*>(kids[9]);
  ASSERT_NE(effects, nullptr);
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(effects->id, 2100);
  EXPECT_EQ(effects->rect, Rect(55, 192, 235, 212));
  EXPECT_EQ(effects->value, 50u);
  EXPECT_EQ(music->id, 2101);
  EXPECT_EQ(music->rect, Rect(55, 236, 235, 256));
  EXPECT_EQ(music->value, 25u);
  for (Slider* s : {effects, music}) {
    EXPECT_FALSE(s->vertical);
    EXPECT_EQ(s->min, 0u);
    EXPECT_EQ(s->max, 100u);
  }

  // Best first: entries 3, 2, 1, 0, each row 40 below the last.
  const char* names[] = {"Al", "Bo", "Cy", "Dee"};
  const char* scores[] = {"10000", "900", "80", "7"};
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    auto* name = dynamic_cast<Label*>(kids[10 + 2 * row]);
    auto* score = dynamic_cast<Label*>(kids[11 + 2 * row]);
    ASSERT_NE(name, nullptr);
    ASSERT_NE(score, nullptr);
    EXPECT_EQ(name->text, names[row]);
    EXPECT_EQ(name->rect, Rect(130, 274 + 40 * row, 330, 314 + 40 * row));
    EXPECT_EQ(name->align, Label::Align::Centre);
    EXPECT_EQ(name->font, screen->tileFont);
    EXPECT_EQ(score->text, scores[row]);
    EXPECT_EQ(score->rect, Rect(330, 273 + 40 * row, 444, 314 + 40 * row));
    EXPECT_EQ(score->align, Label::Align::Right);
    EXPECT_EQ(name->colour, (Colour{77, 77, 77}));
  }
  auto* version = dynamic_cast<Label*>(kids[18]);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text, "version 1.06");
  EXPECT_EQ(version->rect, Rect(1, 453, 280, 466));
  EXPECT_EQ(version->align, Label::Align::Left);
  EXPECT_EQ(version->font, screen->smallFont);
  // Last, the box that exchanges the buttons, below hints.
  auto* exchange = dynamic_cast<Button*>(kids[19]);
  ASSERT_NE(exchange, nullptr);
  EXPECT_EQ(exchange->id, 2108);
  EXPECT_EQ(exchange->rect.left, 223);
  EXPECT_EQ(exchange->rect.top, 163);
  EXPECT_TRUE(exchange->toggle);
  EXPECT_FALSE(exchange->down);
}

// Eight capital W are the widest name the table can hold: it fits its cell whole, as does the
// highest score, and every name keeps its centre at x = 230.
TEST_F(OptionsScreenTest, TheWidestNameAndTheHighestScoreFitTheirCells) {
  start(true);
  screen->hsScores = {1, 22, 333, 65535};
  screen->hsNames = {"Al", "i", "WWWWWWWW", "WWWWWWWW"};
  Dialog* dialog = openOptions();
  ASSERT_NE(dialog, nullptr);
  for (size_t i = 10; i < 18; ++i) {
    auto* cell = dynamic_cast<Label*>(dialog->children[i]);
    ASSERT_NE(cell, nullptr);
    SCOPED_TRACE(cell->text);
    EXPECT_LE(cell->measuredWidth, cell->rect.width());
    if (cell->align == Label::Align::Centre) {
      EXPECT_EQ(cell->rect.left + cell->rect.right, 460);
    }
  }
}

TEST_F(OptionsScreenTest, OpeningTakesTheLevelsAsWholePercent) {
  start();
  sound().setEffectsLevel(0.759);
  sound().setMusicLevel(0.0);
  openOptions();
  EXPECT_EQ(slider(layout::kSoundLevelId)->value, 75u);
  EXPECT_EQ(slider(layout::kMusicLevelId)->value, 0u);
  // The slider's starting value comes back as a change, and the level with it.
  EXPECT_DOUBLE_EQ(sound().effectsLevel(), 0.75);
  EXPECT_DOUBLE_EQ(sound().musicLevel(), 0.0);
}

// 29, 57 and 58 hundredths are a hair short of their percent in binary: the levels a start
// reads for them must come through opening the options and OK as they went in.
TEST_F(OptionsScreenTest, OpeningAndOkKeepTheStoredLevels) {
  start();
  for (const uint32_t stored : {29u, 57u, 58u}) {
    sound().setEffectsLevel(levelFromStored(stored));
    sound().setMusicLevel(levelFromStored(100 - stored));
    openOptions();
    EXPECT_EQ(slider(layout::kSoundLevelId)->value, stored);
    confirm();
    ASSERT_EQ(screen->popup, nullptr);
    EXPECT_EQ(storedLevel(sound().effectsLevel()), stored);
    EXPECT_EQ(storedLevel(sound().musicLevel()), 100 - stored);
  }
}

TEST_F(OptionsScreenTest, LevelsFollowTheThumbsToBothEnds) {
  start();
  sound().setEffectsLevel(0.5);
  sound().setMusicLevel(0.5);
  openOptions();
  dragThumb(layout::kSoundLevelId, 0);
  EXPECT_EQ(slider(layout::kSoundLevelId)->value, 0u);
  EXPECT_DOUBLE_EQ(sound().effectsLevel(), 0.0);
  dragThumb(layout::kSoundLevelId, 639);
  EXPECT_DOUBLE_EQ(sound().effectsLevel(), 1.0);
  dragThumb(layout::kMusicLevelId, 10);
  EXPECT_DOUBLE_EQ(sound().musicLevel(), 0.0);
  dragThumb(layout::kMusicLevelId, 600);
  EXPECT_DOUBLE_EQ(sound().musicLevel(), 1.0);
  // The middle of the 20-pixel thumb runs from 65 to 224: x = 145 is 80/159 of the way,
  // 50 percent once rounded.
  dragThumb(layout::kMusicLevelId, 145);
  EXPECT_DOUBLE_EQ(sound().musicLevel(), 0.5);
  EXPECT_NE(screen->popup, nullptr) << "the levels need no OK";
}

TEST_F(OptionsScreenTest, TheLevelChangesWhileTheThumbIsStillHeld) {
  using K = platform::MessageKind;
  start();
  sound().setEffectsLevel(1.0);
  openOptions();
  Slider* s = slider(layout::kSoundLevelId);
  const int32_t y = (s->rect.top + s->rect.bottom) / 2;
  mouse(K::LeftDown, (s->thumbRect.left + s->thumbRect.right) / 2, y);
  mouse(K::MouseMove, 65, y);
  EXPECT_DOUBLE_EQ(sound().effectsLevel(), 0.0);
  mouse(K::MouseMove, 145, y);
  EXPECT_DOUBLE_EQ(sound().effectsLevel(), 0.5);
  mouse(K::LeftUp, 145, y);
}

TEST_F(OptionsScreenTest, FullScreenSwitchesAtOnceBothWays) {
  start();
  openOptions();
  clickItem(layout::kFullScreenBoxId);
  EXPECT_TRUE(screen->fullScreen);
  EXPECT_TRUE(backend.fullScreen);
  EXPECT_TRUE(screen->displayWindow->isFullScreen());
  EXPECT_NE(screen->popup, nullptr);
  clickItem(layout::kFullScreenBoxId);
  EXPECT_FALSE(screen->fullScreen);
  EXPECT_FALSE(backend.fullScreen);
  EXPECT_FALSE(box(layout::kFullScreenBoxId)->down);
}

TEST_F(OptionsScreenTest, UntickingScoringHidesTheScoreOnlyOnOk) {
  start(true);
  openOptions();
  clickItem(layout::kScoringBoxId);
  EXPECT_FALSE(screen->scoring);
  EXPECT_TRUE(screen->scoreLabel->visible) << "nothing happens before OK";
  confirm();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_FALSE(screen->scoreLabel->visible);
  EXPECT_FALSE(screen->meter->visible);
  EXPECT_FALSE(shown(layout::kScoreBackgroundId));
  EXPECT_TRUE(shown(layout::kNewPuzzleId));
  EXPECT_FALSE(shown(layout::kNewGameId));

  // Again, without changes: nothing moves.
  screen->puzzleLists[0] = {topRow(), topRow()};
  const BoardCodes before = screen->boardCodes();
  screen->setScore(321);
  openOptions();
  EXPECT_FALSE(box(layout::kScoringBoxId)->down);
  confirm();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_FALSE(screen->scoreLabel->visible);
  EXPECT_FALSE(screen->meter->visible);
  EXPECT_FALSE(shown(layout::kScoreBackgroundId));
  EXPECT_TRUE(shown(layout::kNewPuzzleId));
  EXPECT_EQ(screen->score, 321);
  EXPECT_EQ(screen->boardCodes(), before);
}

TEST_F(OptionsScreenTest, TickingScoringStartsANewGameOnOk) {
  start(false);
  screen->puzzleLists[0] = {topRow(), topRow()};
  screen->difficulty = 0;
  screen->setScore(450);
  openOptions();
  clickItem(layout::kScoringBoxId);
  EXPECT_TRUE(screen->scoring);
  EXPECT_EQ(screen->score, 450);
  EXPECT_FALSE(screen->scoreLabel->visible);
  confirm();
  EXPECT_EQ(screen->score, 0);
  EXPECT_EQ(tile(4).kind, TileKind::Plain) << "the new game's board";
  EXPECT_GT(screen->allowance, 0);
  EXPECT_TRUE(screen->scoreLabel->visible);
  EXPECT_TRUE(screen->meter->visible);
  EXPECT_TRUE(shown(layout::kScoreBackgroundId));
  EXPECT_FALSE(shown(layout::kNewPuzzleId));
  EXPECT_TRUE(shown(layout::kNewGameId));
}

// The new game may open the tutorial's first tip over the options; OK must not close that
// tip unread in place of the options it replaced.
TEST_F(OptionsScreenTest, ATipOpenedByTheNewGameOutlivesTheOk) {
  start(false);
  screen->puzzleLists[0] = {topRow(), topRow()};
  screen->tutorial = true;
  screen->tipsSeen = 0;
  Dialog* options = openOptions();
  clickItem(layout::kScoringBoxId);
  confirm();
  for (Widget* w : screen->children) EXPECT_NE(w, options) << "the options stayed open";
  if (screen->tipsSeen != 0) {
    EXPECT_NE(screen->popup, nullptr) << "a tip counted as seen was closed before it was seen";
  }
}

TEST_F(OptionsScreenTest, UntickingBombsMakesEveryBombPlainOnOk) {
  start();
  BoardCodes codes = emptyBoard();
  codes[10] = TileCode(TileKind::Bomb, line::Up | line::Right);
  codes[40] = TileCode(TileKind::Bomb, line::Left);
  codes[41] = TileCode(TileKind::Sliding, line::Right);
  codes[80] = TileCode(TileKind::Bomb, line::Up | line::Down | line::Left);
  setBoard(codes);
  const uint8_t lines10 = tile(10).connections;
  openOptions();
  clickItem(layout::kBombsBoxId);
  EXPECT_FALSE(screen->bombs);
  EXPECT_EQ(tile(40).kind, TileKind::Bomb) << "nothing happens before OK";
  confirm();
  for (int32_t cell : {10, 40, 80}) EXPECT_EQ(tile(cell).kind, TileKind::Plain) << cell;
  EXPECT_EQ(tile(10).connections, lines10) << "a bomb made plain keeps its lines";
  EXPECT_EQ(tile(41).kind, TileKind::Sliding);
}

TEST_F(OptionsScreenTest, BombsKeptTickedLeaveTheBombs) {
  start();
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Bomb, line::Left);
  setBoard(codes);
  openOptions();
  confirm();
  EXPECT_EQ(tile(40).kind, TileKind::Bomb);
}

TEST_F(OptionsScreenTest, ResetOpensAFreshScreenWithTheResetTableAndTheCurrentFlags) {
  start(true);
  screen->tutorial = true;
  screen->hsScores = {100, 200, 300, 400};
  screen->hsNames = {"D", "C", "B", "A"};
  Dialog* first = openOptions();
  clickItem(layout::kBombsBoxId);  // a flag changed before the reset stays changed
  clickItem(layout::kResetScoresId);
  frame();
  auto* second = dynamic_cast<Dialog*>(screen->popup);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  for (Widget* w : screen->children) EXPECT_NE(w, first) << "the old screen is gone";

  std::vector<std::string> names, scores;
  std::vector<int32_t> tops;
  for (Widget* w : second->children) {
    auto* label = dynamic_cast<Label*>(w);
    if (label == nullptr) continue;
    if (label->rect.left == 130) {
      names.push_back(label->text);
      tops.push_back(label->rect.top);
    }
    if (label->rect.left == 330) scores.push_back(label->text);
  }
  EXPECT_EQ(names, (SoundNames{"Tin", "Zinc", "Opal", "Flint"}));
  EXPECT_EQ(scores, (SoundNames{"3", "2", "1", "0"}));
  EXPECT_EQ(tops, (std::vector<int32_t>{274, 314, 354, 394}));
  EXPECT_TRUE(box(layout::kScoringBoxId)->down);
  EXPECT_FALSE(box(layout::kBombsBoxId)->down);
  EXPECT_TRUE(box(layout::kTutorialBoxId)->down);
  EXPECT_FALSE(box(layout::kHintsBoxId)->down);
  EXPECT_FALSE(box(layout::kFullScreenBoxId)->down);
}

TEST_F(OptionsScreenTest, TutorialUntickedAndConfirmedShowsEveryTipAgainLater) {
  start();
  screen->tutorial = true;
  screen->tipsSeen = 0x3F;
  openOptions();
  clickItem(layout::kTutorialBoxId);
  EXPECT_EQ(screen->tipsSeen, 0x3Fu) << "nothing happens before OK";
  confirm();
  EXPECT_FALSE(screen->tutorial);
  EXPECT_EQ(screen->tipsSeen, 0u);
}

TEST_F(OptionsScreenTest, TutorialKeptTickedKeepsTheTipsSeen) {
  start();
  screen->tutorial = true;
  screen->tipsSeen = 0x3F;
  openOptions();
  confirm();
  EXPECT_EQ(screen->tipsSeen, 0x3Fu);
}

TEST_F(OptionsScreenTest, HintsTakeEffectOnOkWithoutACharge) {
  start(true);
  const uint16_t allowance = screen->allowance;
  openOptions();
  clickItem(layout::kHintsBoxId);
  EXPECT_FALSE(screen->boardView->showMarks);
  confirm();
  EXPECT_TRUE(screen->hints);
  EXPECT_TRUE(screen->boardView->showMarks);
  EXPECT_EQ(control(layout::kHelpId), screen->noHelpButton);
  EXPECT_EQ(screen->allowance, allowance);
  openOptions();
  clickItem(layout::kHintsBoxId);
  confirm();
  EXPECT_FALSE(screen->boardView->showMarks);
  EXPECT_EQ(control(layout::kHelpId), screen->helpButton);
}

// Ticked and confirmed, the left button turns counter-clockwise and the right one clockwise, on
// the board and on the instructions' samples alike, and the choice outlives a restart.
TEST_F(OptionsScreenTest, LeftButtonTurnsBackExchangesTheButtonsOnOkAndPersists) {
  start();
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, line::Up);
  codes[49] = TileCode(TileKind::Fixed, line::Up);  // wants a line down: the board stays loose
  setBoard(codes);
  openOptions();
  clickItem(layout::kLeftTurnsBackBoxId);
  EXPECT_FALSE(screen->tiles[40]->leftTurnsBack);  // not before OK
  confirm();
  clickCell(40);
  EXPECT_EQ(tile(40).connections, line::Left);
  clickCell(40, false);
  clickCell(40, false);
  EXPECT_EQ(tile(40).connections, line::Right);
  screen->clickTile(40, TurnButton::Left);  // as the keyboard turns it
  EXPECT_EQ(tile(40).connections, line::Up);

  clickControl(layout::kInstructionsId);
  auto* instructions = dynamic_cast<Dialog*>(screen->popup);
  ASSERT_NE(instructions, nullptr);
  auto* sample = dynamic_cast<Tile*>(instructions->findChild(1500));
  ASSERT_NE(sample, nullptr);
  sample->setContent(TileCode(TileKind::Plain, line::Up));
  clickAt(sample->rect.left + 25, sample->rect.top + 25);
  EXPECT_EQ(sample->connections, line::Left);
  clickAt(sample->rect.left + 25, sample->rect.top + 25, false);
  clickAt(sample->rect.left + 25, sample->rect.top + 25, false);
  EXPECT_EQ(sample->connections, line::Right);

  screen.reset();
  screen = std::make_unique<GameScreen>("");
  screen->loadSettings();
  EXPECT_TRUE(screen->leftTurnsBack);
  EXPECT_TRUE(screen->tiles[40]->leftTurnsBack);
}

TEST_F(OptionsScreenTest, AClickBesideTheControlsBloopsAndChangesNothing) {
  start();
  const BoardCodes before = screen->boardCodes();
  openOptions();
  silence();
  clickAt(560, 200);  // open sea beside the card
  EXPECT_EQ(playing(), (SoundNames{"bloop.ogg"}));
  EXPECT_NE(screen->popup, nullptr);
  clickAt(centreX(40), centreY(40));  // the board lies under the pop-up: it takes no click
  frame();
  EXPECT_EQ(screen->boardCodes(), before);
}

// The builder alone, without the game screen: without pictures or fonts it still builds
// every control, and reads no level above 100 percent.
TEST_F(GameScreenTest, OptionsBuilderClampsLevelsAndNeedsNoFonts) {
  OptionsState state;
  state.effectsLevel = 1.7;
  state.musicLevel = -0.2;
  std::unique_ptr<Dialog> dialog(buildOptionsScreen(state, nullptr, nullptr));
  ASSERT_EQ(dialog->children.size(), 20u);
  auto* effects = dynamic_cast<Slider*>(dialog->children[8]);
  auto* music = dynamic_cast<Slider*>(dialog->children[9]);
  ASSERT_NE(effects, nullptr);
  ASSERT_NE(music, nullptr);
  EXPECT_EQ(effects->value, 100u);
  EXPECT_EQ(music->value, 0u);
}
