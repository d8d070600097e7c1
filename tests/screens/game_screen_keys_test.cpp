// The game played from the keyboard, through the window's message queue: the board cursor, each
// key against the mouse action it stands for (played on a second screen with the same seed), a
// sliding tile carried, the keys of the whole game and the pop-ups' keyboard focus.
#include <fstream>

#include "screens/game_screen_fixture.h"
#include "screens/key_bindings.h"
#include "ui/dialog.h"
#include "ui/focus_frame.h"
#include "ui/slider.h"

namespace {

namespace key = platform::key;
using K = platform::MessageKind;

// Everything a player can tell about the result of one action.
struct Outcome {
  BoardCodes codes;
  uint16_t allowance;
  uint16_t moves;
  bool solved;
  SoundNames sounds;
  bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* out) {
  *out << "allowance " << o.allowance << ", moves " << o.moves << ", solved " << o.solved
       << ", sounds";
  for (const std::string& s : o.sounds) *out << ' ' << s;
}

BoardCodes mixedBoard() {
  BoardCodes codes = GameScreenTest::emptyBoard();
  codes[40] = TileCode(TileKind::Plain, line::Up);  // a quarter turn from meeting 41
  codes[41] = TileCode(TileKind::Plain, line::Left);
  codes[42] = TileCode(TileKind::Fixed, line::Left | line::Right);
  codes[31] = TileCode(TileKind::Linked, line::Down);
  codes[49] = TileCode(TileKind::Linked, line::Up);
  codes[50] = TileCode(TileKind::Sliding, line::Up | line::Right);
  codes[51] = TileCode(TileKind::Sliding, line::Left);
  codes[30] = TileCode(TileKind::Bomb, line::Right);
  return codes;
}

double luminance(const uint8_t* bgr) { return 0.114 * bgr[0] + 0.587 * bgr[1] + 0.299 * bgr[2]; }

}  // namespace

class KeysTest : public GameScreenTest {
 protected:
  void press(uint32_t k, uint32_t modifiers = 0) {
    backend.sendKey(k, modifiers);
    pump();
  }
  // Shows the cursor and walks it to `cell` by arrows.
  void cursorTo(int32_t cell) {
    if (!screen->cursor.shown) press(key::kRight);
    while (screen->cursor.cell % 9 < cell % 9) press(key::kRight);
    while (screen->cursor.cell % 9 > cell % 9) press(key::kLeft);
    while (screen->cursor.cell / 9 < cell / 9) press(key::kDown);
    while (screen->cursor.cell / 9 > cell / 9) press(key::kUp);
    ASSERT_EQ(screen->cursor.cell, cell);
  }
  // A fresh scored screen on the mixed board with the same seed, the allowance at 20.
  void startMixed(bool hints) {
    screen.reset();
    seedRandom(99);
    start(true, hints);
    setBoard(mixedBoard());
    screen->allowance = 20;
    silence();
  }
  Outcome outcome() {
    runFor(300);
    return {screen->boardCodes(), screen->allowance, screen->moves, screen->solved, playing()};
  }
  // The pointer passing over a button on its way hisses; a key has no way to go.
  void dropHoverHiss() {
    if (Sound* hiss = sfx(Sfx::Hiss)) hiss->stop();
  }
  Dialog* popup() const { return dynamic_cast<Dialog*>(screen->popup); }
  Widget* inPopup(uint16_t id) const {
    return popup() != nullptr ? popup()->findChild(id) : nullptr;
  }
};

// ---- The cursor.

TEST_F(KeysTest, CursorShowsOnTheCentreMovesStopsAtEdgesCrossesHolesAndHidesOnABoardClick) {
  start();
  setBoard(emptyBoard());  // every cell a hole
  EXPECT_FALSE(screen->cursor.shown);
  press(key::kUp);  // only shows it
  EXPECT_TRUE(screen->cursor.shown);
  EXPECT_EQ(screen->cursor.cell, 40);
  EXPECT_EQ(screen->boardView->cursorCell, 40);
  press(key::kRight);
  press(key::kDown);
  EXPECT_EQ(screen->cursor.cell, 50);
  for (int i = 0; i < 12; ++i) press(key::kLeft, i == 0 ? 0 : key::kRepeat);  // held down
  EXPECT_EQ(screen->cursor.cell, 45);  // the left edge of row 5
  for (int i = 0; i < 12; ++i) press(key::kUp);
  EXPECT_EQ(screen->cursor.cell, 0);
  for (int i = 0; i < 12; ++i) press(key::kDown);
  for (int i = 0; i < 12; ++i) press(key::kRight);
  EXPECT_EQ(screen->cursor.cell, 80);

  clickAt(60, 100);  // off the board: the cursor stays
  EXPECT_TRUE(screen->cursor.shown);
  clickCell(3);
  EXPECT_FALSE(screen->cursor.shown);
  EXPECT_EQ(screen->boardView->cursorCell, -1);
  press(key::kLeft);  // back where it was, not moved
  EXPECT_EQ(screen->cursor.cell, 80);
  EXPECT_TRUE(screen->cursor.shown);
}

// The frame reads as a light band between two dark lines on every kind of tile, on a hole and
// on the faded board of a solved puzzle.
TEST_F(KeysTest, CursorFrameIsLightBetweenDarkOnEveryTileKindAHoleAndAFadedBoard) {
  start();
  const TileCode kinds[] = {
      TileCode(TileKind::Plain, line::Up),   TileCode(TileKind::Fixed, line::Up),
      TileCode(TileKind::Sliding, line::Up), TileCode(TileKind::Bomb, line::Up),
      TileCode(TileKind::Linked, line::Up),  TileCode(TileKind::Empty, 0)};
  auto check = [&](const char* what) {
    SCOPED_TRACE(what);
    const Rect r = board::cellRect(40);
    const int32_t y = r.top + 25, x = r.left + 25;
    // From the outside in, across the left and the top side: dark, light, light, dark.
    for (int32_t i = 0; i < 4; ++i) {
      const bool light = i == 1 || i == 2;
      const uint8_t* left = &backend.lastFrame[(y * 640 + r.left - 1 + i) * 3];
      const uint8_t* top = &backend.lastFrame[((r.top - 1 + i) * 640 + x) * 3];
      for (const uint8_t* p : {left, top}) {
        if (light) {
          EXPECT_GT(luminance(p), 200) << i;
        } else {
          EXPECT_LT(luminance(p), 40) << i;
        }
      }
    }
  };
  for (const TileCode& code : kinds) {
    BoardCodes codes = emptyBoard();
    codes[40] = code;
    setBoard(codes);
    if (!screen->cursor.shown) press(key::kDown);
    screen->invalidate(layout::kScreen);
    frame();
    check(code.isEmpty() ? "hole" : "tile");
  }
  BoardCodes codes = emptyBoard();
  codes[40] = TileCode(TileKind::Plain, line::Up);
  codes[41] = TileCode(TileKind::Plain, line::Left);
  setBoard(codes);
  clickCell(40);  // the mouse solves it, and hides the cursor
  press(key::kDown);
  runFor(1500);
  ASSERT_TRUE(screen->solved);
  ASSERT_LT(tile(40).alpha, 0.6);
  check("faded");
}

// ---- Each key against the mouse.

struct KeyCase {
  const char* what;
  int32_t cell;
  uint32_t key;
  uint32_t modifiers;
  bool leftButton;  // the mouse action: a click of this button on the cell
  bool hints;
};

class KeyMatchesMouseTest : public KeysTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyMatchesMouseTest, SameBoardChargeSoundAndSolving) {
  const KeyCase& c = GetParam();
  startMixed(c.hints);
  clickCell(c.cell, c.leftButton);
  const Outcome byMouse = outcome();

  startMixed(c.hints);
  cursorTo(c.cell);
  silence();
  press(c.key, c.modifiers);
  const Outcome byKey = outcome();
  EXPECT_EQ(byKey, byMouse);
  // Not a case where neither did anything, unless it is the hole.
  if (c.cell != 0) {
    EXPECT_TRUE(byMouse.codes != mixedBoard() || !byMouse.sounds.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyMatchesMouseTest,
    ::testing::Values(KeyCase{"space solves the board", 40, key::kSpace, 0, true, false},
                      KeyCase{"enter turns clockwise", 41, key::kReturn, 0, true, false},
                      KeyCase{"shift space turns back", 41, key::kSpace, key::kShift, false, false},
                      KeyCase{"shift enter with hints", 40, key::kReturn, key::kShift, false, true},
                      KeyCase{"fixed clanks", 42, key::kSpace, 0, true, false},
                      KeyCase{"linked turn together", 31, key::kReturn, 0, true, true},
                      KeyCase{"sliding turns in place", 50, key::kSpace, 0, true, false},
                      KeyCase{"bomb", 30, key::kSpace, key::kShift, false, true},
                      KeyCase{"a hole does nothing", 0, key::kSpace, 0, true, false}),
    [](const ::testing::TestParamInfo<KeyCase>& info) {
      std::string name = info.param.what;
      for (char& ch : name) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
      return name;
    });

TEST_F(KeysTest, HintsAndNewPuzzleKeysPressTheirButtons) {
  // H against the hints button: the same charge and sound, with scoring on and off.
  for (bool scoring : {true, false}) {
    std::vector<Outcome> results;
    for (bool byKey : {false, true}) {
      screen.reset();
      seedRandom(5);
      start(scoring);
      screen->allowance = 10;
      silence();
      if (byKey) {
        press('h');
      } else {
        clickControl(layout::kHelpId);
      }
      dropHoverHiss();
      EXPECT_TRUE(screen->hints);
      results.push_back({screen->boardCodes(), screen->allowance, screen->moves, false, playing()});
      press('h');
      EXPECT_FALSE(screen->hints);
    }
    EXPECT_EQ(results[1], results[0]);
    EXPECT_EQ(results[1].sounds, SoundNames{"pop2.ogg"});
    if (scoring) {
      EXPECT_EQ(results[1].allowance, 6);  // 2 for hints, doubled by them
    }
  }
  // Ctrl+N against new puzzle and new game: the same board dealt, the same sounds.
  for (bool scoring : {false, true}) {
    std::vector<Outcome> results;
    for (bool byKey : {false, true}) {
      screen.reset();
      seedRandom(7);
      start(scoring);
      screen->puzzleLists[0].push_back(PuzzleRecord{"", 0, mixedBoard()});
      silence();
      if (byKey) {
        press('n', key::kCtrl);
      } else {
        clickControl(scoring ? layout::kNewGameId : layout::kNewPuzzleId);
      }
      dropHoverHiss();
      results.push_back({screen->boardCodes(), screen->allowance, screen->moves, false, playing()});
    }
    EXPECT_EQ(results[1], results[0]);
    EXPECT_EQ(results[1].sounds, (SoundNames{"pop2.ogg", "swirl.ogg"}));
  }
  press('n');  // without Ctrl: nothing
  EXPECT_EQ(screen->moves, 0);
}

TEST_F(KeysTest, TheSolvedBoardSwallowsEveryBoardKey) {
  start(true);
  BoardCodes codes = mixedBoard();
  codes[40] = TileCode(TileKind::Plain, line::Right);  // solved as it stands but for the rest
  setBoard(codes);
  press(key::kDown);
  screen->startSolved();
  const BoardCodes before = screen->boardCodes();
  runFor(100);
  silence();
  for (uint32_t k : {uint32_t{key::kSpace}, uint32_t{key::kReturn}, uint32_t{'s'}}) {
    press(k);
    press(k, key::kShift);
  }
  runFor(300);
  EXPECT_EQ(screen->boardCodes(), before);
  EXPECT_TRUE(playing().empty());
  EXPECT_EQ(screen->moves, 0);
}

// ---- A sliding tile carried.

TEST_F(KeysTest, CarriedSlidingTileSwapsSnapsOrGoesBackExactlyAsDragged) {
  struct Case {
    const char* what;
    int32_t to;
    uint32_t dropKey;  // 0: Esc puts it back
  };
  const Case cases[] = {{"onto a sliding tile", 51, 's'},
                        {"onto a fixed tile", 42, key::kReturn},
                        {"onto its own cell", 50, 's'},
                        {"put back", 51, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startMixed(false);
    drag(50, centreX(c.to), centreY(c.to));
    const Outcome dragged = c.dropKey != 0 ? outcome() : Outcome{mixedBoard(), 20, 0, false, {}};

    startMixed(false);
    cursorTo(50);
    press('s');
    ASSERT_EQ(screen->dragTile, &tile(50));
    cursorTo(c.to);
    frame();
    // It hangs over the cursor's cell, lifted, drawn above the board.
    EXPECT_EQ(tile(50).rect.left, board::cellRect(c.to).left - 6);
    EXPECT_EQ(tile(50).rect.top, board::cellRect(c.to).top - 6);
    press(c.dropKey != 0 ? c.dropKey : key::kEscape);
    EXPECT_EQ(outcome(), dragged);
    EXPECT_EQ(tile(50).rect, board::cellRect(50));
    EXPECT_EQ(screen->dragTile, nullptr);
    EXPECT_EQ(screen->getCapture(), nullptr);
  }
  // S on a tile that does not slide picks nothing up.
  cursorTo(41);
  press('s');
  EXPECT_EQ(screen->dragTile, nullptr);
}

// ---- Keys of the whole game.

TEST_F(KeysTest, FullScreenManualAndQuitKeys) {
  start();
  press(key::kF11);
  EXPECT_TRUE(screen->fullScreen);
  EXPECT_TRUE(backend.fullScreen);
  press(key::kF11, key::kRepeat);  // held: once only
  EXPECT_TRUE(backend.fullScreen);
  press(key::kF11);
  EXPECT_FALSE(screen->fullScreen);
  EXPECT_FALSE(backend.fullScreen);
  // With the options open, their box follows.
  clickControl(layout::kOptionsId);
  frame();
  press(key::kF11);
  EXPECT_TRUE(backend.fullScreen);
  EXPECT_TRUE(dynamic_cast<Button*>(inPopup(layout::kFullScreenBoxId))->down);

  std::filesystem::create_directory("manual");
  std::ofstream("manual/index.html") << "<html></html>";
  press(key::kF1);
  ASSERT_EQ(backend.openedUrls.size(), 1u);
  EXPECT_FALSE(backend.fullScreen);  // out of full screen first, as the web button does

  running = true;
  press('q');
  EXPECT_TRUE(running);
  press('q', key::kCtrl);
  EXPECT_FALSE(running);
}

// ---- Pop-ups.

TEST_F(KeysTest, EscClosesTipInstructionsAndOptionsAsTheirButtonsButNotTheNamePopup) {
  start(false);
  screen->tutorial = true;
  screen->tipsSeen = 0;
  screen->showNextTip();
  frame();
  ASSERT_NE(popup(), nullptr);
  press(key::kEscape);
  frame();
  EXPECT_EQ(screen->popup, nullptr);

  clickControl(layout::kInstructionsId);
  frame();
  ASSERT_NE(inPopup(layout::kCloseId), nullptr);
  press(key::kEscape);
  frame();
  EXPECT_EQ(screen->popup, nullptr);

  // The instructions' keys button opens the page of keys, which Esc closes as its play button.
  clickControl(layout::kInstructionsId);
  frame();
  const Rect keysButton = inPopup(layout::kKeysId)->rect;
  clickAt(keysButton.left + 40, keysButton.top + 20);
  frame();
  ASSERT_NE(popup(), nullptr);
  EXPECT_EQ(static_cast<Picture*>(popup()->children.front())->image,
            getImage(layout::kKeysPicture));
  press(key::kEscape);
  frame();
  EXPECT_EQ(screen->popup, nullptr);

  // The options close as by OK: a ticked box takes effect.
  screen->tutorial = false;
  clickControl(layout::kOptionsId);
  frame();
  ASSERT_NE(inPopup(layout::kOptionsOkId), nullptr);
  clickAt(inPopup(layout::kHintsBoxId)->rect.left + 5, inPopup(layout::kHintsBoxId)->rect.top + 5);
  press(key::kEscape);
  frame();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_TRUE(screen->boardView->showMarks);

  // The name pop-up ignores Esc.
  screen.reset();
  start(true);
  screen->hsScores = {50, 100, 200, 400};
  screen->setScore(150);
  clickControl(layout::kNewGameId);
  frame();
  ASSERT_NE(inPopup(layout::kNameConfirmedId), nullptr);
  press(key::kEscape);
  frame();
  EXPECT_NE(inPopup(layout::kNameConfirmedId), nullptr);
  EXPECT_EQ(screen->score, 150);
}

TEST_F(KeysTest, TabWalksTheOptionsInReadingOrderAndKeysWorkTheFocusedControl) {
  start(false);
  clickControl(layout::kOptionsId);
  frame();
  // Row by row, from the top left, as the player reads the pop-up.
  const std::vector<uint16_t> order = {layout::kScoringBoxId,    layout::kTutorialBoxId,
                                       layout::kFullScreenBoxId, layout::kBombsBoxId,
                                       layout::kHintsBoxId,      layout::kLeftTurnsBackBoxId,
                                       layout::kSoundLevelId,    layout::kMusicLevelId,
                                       layout::kResetScoresId,   layout::kOptionsOkId};
  for (uint16_t id : order) {
    press(key::kTab);
    ASSERT_NE(popup()->keyFocus(), nullptr);
    EXPECT_EQ(popup()->keyFocus()->id, id);
  }
  press(key::kTab);  // round to the first
  EXPECT_EQ(popup()->keyFocus()->id, order[0]);
  press(key::kTab, key::kShift);  // and back
  EXPECT_EQ(popup()->keyFocus()->id, layout::kOptionsOkId);
  // The frame shows round the focused control.
  frame();
  const Rect ok = inPopup(layout::kOptionsOkId)->rect;
  const uint8_t* light = &backend.lastFrame[((ok.top - 3) * 640 + ok.left + 10) * 3];
  EXPECT_GT(luminance(light), 200);

  // Space ticks the focused box, as a click does.
  while (popup()->keyFocus()->id != layout::kBombsBoxId) press(key::kTab);
  silence();
  press(key::kSpace);
  EXPECT_FALSE(dynamic_cast<Button*>(inPopup(layout::kBombsBoxId))->down);
  EXPECT_FALSE(screen->bombs);
  EXPECT_EQ(playing(), SoundNames{"pop2.ogg"});

  // Left and Right move the focused level by 5 of 100, stopping at the ends.
  while (popup()->keyFocus()->id != layout::kSoundLevelId) press(key::kTab);
  auto* sound = dynamic_cast<Slider*>(inPopup(layout::kSoundLevelId));
  const uint32_t start = sound->value;
  press(key::kLeft);
  EXPECT_EQ(sound->value, start - 5);
  EXPECT_NEAR(screen->soundSystem->effectsLevel(), (start - 5) / 100.0, 0.01);
  press(key::kRight);
  press(key::kRight);
  EXPECT_EQ(sound->value, std::min(start + 5, 100u));
  for (int i = 0; i < 30; ++i) press(key::kLeft);
  EXPECT_EQ(sound->value, 0u);
  EXPECT_EQ(screen->cursor.shown, false);  // arrows in a pop-up never reach the board

  // A mouse click clears the focus; Enter then presses nothing.
  clickAt(600, 20);
  EXPECT_EQ(popup()->keyFocus(), nullptr);
  press(key::kReturn);
  EXPECT_NE(screen->popup, nullptr);
}
