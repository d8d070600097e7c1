// The game screen's children and controls, driven by clicks on their pixels.
#include <algorithm>

#include "app/run_loop.h"
#include "game/board_view.h"
#include "gfx/image_cache.h"
#include "screens/game_screen_fixture.h"
#include "ui/dialog.h"
#include "ui/picture.h"

namespace {

struct Row {
  const char* what;
  uint16_t id;
  Rect rect;            // for pictures: the top-left corner and the picture's size
  const char* picture;  // null for widgets without one
  bool relaxed;         // shown in relaxed play
  bool scored;          // shown in scored play
};

// The children from the bottom up, after the background and the 81 tiles, as a player
// without hints sees them.
std::vector<Row> expectedRows() {
  return {
      {"board lock", 0, Rect(), nullptr, false, false},
      {"board view", 0, Rect(180, 10, 630, 460), nullptr, true, true},
      {"loose ends", 0, Rect(116, 5, 168, 42), nullptr, true, true},
      {"score back", 2019, Rect(1, 56, 0, 0), "scorebg.png", false, true},
      {"score", 0, Rect(6, 57, 125, 97), nullptr, false, true},
      {"meter", 2012, Rect(167, 144, 177, 460), nullptr, false, true},
      {"easy", 2000, Rect(81, 175, 0, 0), "easy.png", true, true},
      {"medium", 2001, Rect(31, 193, 0, 0), "medium.png", true, true},
      {"hard", 2002, Rect(74, 230, 0, 0), "hard.png", true, true},
      {"crazy", 2003, Rect(21, 258, 0, 0), "crazy.png", true, true},
      {"instructions", 2005, Rect(44, 351, 0, 0), "instructions.png", true, true},
      {"new puzzle", 2004, Rect(23, 304, 0, 0), "newpuzzle.png", true, false},
      {"new game", 2020, Rect(25, 309, 0, 0), "newgame.png", false, true},
      {"help", 2008, Rect(59, 394, 0, 0), "help.png", true, true},
      {"no help", 2008, Rect(45, 394, 0, 0), "nohelp.png", false, false},
      {"options", 2007, Rect(94, 429, 0, 0), "options.png", true, true},
      {"quit", 2009, Rect(23, 435, 0, 0), "quit.png", true, true},
      {"next puzzle", 2013, Rect(313, 451, 0, 0), "nextpuzzle.png", false, false},
      {"web", 2055, Rect(550, 460, 0, 0), "lilzap.png", true, true},
  };
}

// Buttons hold three frames side by side; pictures are shown whole.
Rect placed(const Row& row, bool button) {
  const Image* image = getImage(row.picture);
  const int32_t w = button ? image->width / 3 : image->width;
  return Rect(row.rect.left, row.rect.top, row.rect.left + w, row.rect.top + image->height);
}

}  // namespace

class ChildrenTest : public GameScreenTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ChildrenTest, EveryRowInItsOrderPlaceIdPictureAndVisibility) {
  const bool scoring = GetParam();
  start(scoring);
  const auto& kids = screen->children;
  ASSERT_EQ(kids.size(), 1u + 81u + expectedRows().size());
  EXPECT_EQ(kids[0], screen->background);
  EXPECT_EQ(kids[0]->rect, Rect(0, 0, 640, 480));
  for (int32_t cell = 0; cell < 81; ++cell) {
    EXPECT_EQ(kids[1 + cell], screen->tiles[cell]);
    EXPECT_EQ(kids[1 + cell]->id, 1000 + cell);
    EXPECT_EQ(kids[1 + cell]->rect, board::cellRect(cell));
  }
  size_t at = 82;
  for (const Row& row : expectedRows()) {
    SCOPED_TRACE(row.what);
    Widget* w = kids[at++];
    EXPECT_EQ(w->id, row.id);
    EXPECT_EQ(w->visible, scoring ? row.scored : row.relaxed);
    if (auto* button = dynamic_cast<Button*>(w)) {
      ASSERT_NE(row.picture, nullptr);
      EXPECT_EQ(button->image, getImage(row.picture));
      EXPECT_EQ(button->rect, placed(row, true));
    } else if (auto* picture = dynamic_cast<Picture*>(w)) {
      EXPECT_EQ(picture->image, getImage(row.picture));
      EXPECT_EQ(picture->rect, placed(row, false));
    } else if (row.picture == nullptr && !row.rect.isEmpty()) {
      EXPECT_EQ(w->rect, row.rect);
    }
  }
  EXPECT_NE(dynamic_cast<Dialog*>(kids[82]), nullptr);
  EXPECT_NE(dynamic_cast<BoardView*>(kids[83]), nullptr);
  EXPECT_EQ(screen->looseEndsLabel, kids[84]);
  EXPECT_EQ(screen->scoreLabel, kids[86]);
  EXPECT_EQ(screen->meter, kids[87]);
}

INSTANTIATE_TEST_SUITE_P(RelaxedAndScored, ChildrenTest, ::testing::Bool());

TEST_F(GameScreenTest, DifficultyButtonsAreOneRadioGroupWithTheChosenOneDown) {
  start();
  for (uint8_t d = 0; d < 4; ++d) {
    auto* b = screen->difficultyButtons[d];
    EXPECT_TRUE(b->toggle);
    EXPECT_EQ(b->group, 100);
    EXPECT_EQ(b->down, d == 0);
  }
  clickControl(layout::kHardId);
  EXPECT_EQ(screen->difficulty, 2);
  for (uint8_t d = 0; d < 4; ++d) EXPECT_EQ(screen->difficultyButtons[d]->down, d == 2) << +d;
}

TEST_F(GameScreenTest, LabelsShowTheLooseEndsAndTheScoreInTheNumberFont) {
  start(true);
  EXPECT_EQ(screen->looseEndsLabel->font, screen->numberFont);
  EXPECT_EQ(screen->scoreLabel->font, screen->numberFont);
  EXPECT_EQ(looseEndsText(), std::to_string(referenceLooseEnds()));
  screen->setScore(0);
  EXPECT_EQ(screen->scoreLabel->text, "0");
  screen->setScore(1207);
  EXPECT_EQ(screen->scoreLabel->text, "1207");
  EXPECT_EQ(screen->numberFont->firstChar, '0');
  EXPECT_EQ(screen->tileFont->firstChar, ' ');
  EXPECT_EQ(screen->smallFont->firstChar, ' ');
  EXPECT_EQ(screen->smallFont->spacing, 0);
}

TEST_F(GameScreenTest, TheStarterBoardIsOnePlainTileInARingOfFixedOnes) {
  start(true);
  for (int32_t cell = 0; cell < 81; ++cell) {
    const TileKind expected =
        cell == 40 ? TileKind::Plain
        : (cell >= 30 && cell <= 32) || cell == 39 || cell == 41 || (cell >= 48 && cell <= 50)
            ? TileKind::Fixed
            : TileKind::Empty;
    EXPECT_EQ(tile(cell).kind, expected) << cell;
  }
  EXPECT_GT(screen->countLooseEnds(), 0);
  EXPECT_EQ(screen->allowance, 3);  // floor(2 x 1.25 + 0.5)
  EXPECT_EQ(screen->allowanceMax, 3);
  EXPECT_EQ(screen->meter->max, 3u);
  EXPECT_EQ(screen->meter->value, 3u);
}

TEST_F(GameScreenTest, QuitClearsTheRunFlagAndEndsTheLoop) {
  start();
  backend.sendMouse(platform::MessageKind::MouseMove, 40, 445);
  Widget* quit = control(layout::kQuitId);
  const int32_t x = (quit->rect.left + quit->rect.right) / 2;
  const int32_t y = (quit->rect.top + quit->rect.bottom) / 2;
  backend.sendMouse(platform::MessageKind::LeftDown, x, y);
  backend.sendMouse(platform::MessageKind::LeftUp, x, y);
  EXPECT_EQ(runLoop(*screen), 0);
  EXPECT_FALSE(running);
  EXPECT_NE(backend.firstWindow(), 0u);  // ended by the flag, not by closing the window
}

TEST_F(GameScreenTest, ClosingTheWindowIsAlwaysAllowedAndEndsTheLoop) {
  start();
  EXPECT_TRUE(screen->onClose());
  backend.send(platform::MessageKind::Close);
  EXPECT_EQ(runLoop(*screen), 0);
  EXPECT_EQ(backend.firstWindow(), 0u);
}

TEST_F(GameScreenTest, WebButtonLeavesFullScreenAndOpensTheManualBesideTheGame) {
  start();
  std::filesystem::create_directory("manual");
  writeFile("manual/index.html", "<html></html>");
  ASSERT_TRUE(screen->displayWindow->enterFullScreen());
  clickControl(layout::kWebId);
  EXPECT_FALSE(backend.fullScreen);
  ASSERT_EQ(backend.openedUrls.size(), 1u);
  const std::string expected =
      "file://" + (std::filesystem::current_path() / "manual/index.html").generic_string();
  EXPECT_EQ(backend.openedUrls[0], expected);
}

TEST_F(GameScreenTest, WebButtonWithoutTheManualOnlyLeavesFullScreen) {
  start();
  ASSERT_TRUE(screen->displayWindow->enterFullScreen());
  clickControl(layout::kWebId);
  EXPECT_TRUE(backend.openedUrls.empty());
  EXPECT_FALSE(backend.fullScreen);
}

TEST_F(GameScreenTest, ManualAddressEscapesWhatAnAddressCannotHoldAsItIs) {
  start();
  std::filesystem::create_directories("a b%/manual");
  writeFile("a b%/manual/index.html", "<html></html>");
  std::filesystem::current_path("a b%");
  clickControl(layout::kWebId);
  ASSERT_EQ(backend.openedUrls.size(), 1u);
  EXPECT_NE(backend.openedUrls[0].find("/a%20b%25/manual/index.html"), std::string::npos)
      << backend.openedUrls[0];
  std::filesystem::current_path("..");
}

namespace {

// A layout whose tiles show which difficulty it came from: a row of plain tiles in row d.
PuzzleRecord rowOf(uint8_t difficulty) {
  PuzzleRecord record;
  record.difficulty = difficulty;
  record.tiles.fill(TileCode(TileKind::Empty, 0));
  for (int32_t c = 1; c < 8; ++c) record.tiles[difficulty * 9 + c] = TileCode(TileKind::Plain, 0);
  return record;
}

}  // namespace

TEST_F(GameScreenTest, EachDifficultyButtonStartsANewGameFromItsList) {
  start(true);
  screen->hsScores = {60000, 60000, 60000, 60000};  // no name is asked for
  for (uint8_t d = 0; d < 4; ++d) screen->puzzleLists[d] = {rowOf(d), rowOf(d)};
  for (uint8_t d : {3, 1, 2, 0}) {
    screen->setScore(500);
    clickControl(static_cast<uint16_t>(layout::kEasyId + d));
    EXPECT_EQ(screen->difficulty, d);
    EXPECT_EQ(screen->score, 0);
    EXPECT_EQ(tile(d * 9 + 4).kind, TileKind::Plain) << +d;
    for (uint8_t other = 0; other < 4; ++other) {
      EXPECT_EQ(screen->difficultyButtons[other]->down, other == d);
    }
  }
}

TEST_F(GameScreenTest, NewGameSwirlsAndStartsAgainFromNothing) {
  start(true);
  screen->puzzleLists[0] = {rowOf(0), rowOf(0)};
  screen->hsScores = {60000, 60000, 60000, 60000};  // no name is asked for
  screen->setScore(900);
  for (Sound* s : screen->sounds) s->stop();
  clickControl(layout::kNewGameId);
  EXPECT_EQ(screen->score, 0);
  EXPECT_EQ(screen->scoreLabel->text, "0");
  EXPECT_EQ(tile(4).kind, TileKind::Plain);
  EXPECT_TRUE(screen->sounds[static_cast<size_t>(Sfx::Swirl)]->isPlaying());
  EXPECT_GT(screen->allowance, 0);
  EXPECT_EQ(screen->meter->value, screen->allowance);
}
