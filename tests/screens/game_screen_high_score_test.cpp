// The high-score pop-up on the game screen: offered by the new-game and difficulty buttons in
// scoring play, finished by OK or Enter, and kept with an empty name when the game ends first.
#include "screens/game_screen_fixture.h"
#include "ui/dialog.h"
#include "ui/text_entry.h"

namespace {

using Scores = std::array<uint16_t, 4>;
using Table = std::array<std::string, 4>;

class HighScoreScreenTest : public GameScreenTest {
 protected:
  // A scoring game with the usual table and `points` on the score.
  void startWith(uint16_t points, bool scoring = true) {
    start(scoring);
    screen->hsScores = {50, 100, 200, 400};
    screen->hsNames = {"Flint", "Opal", "Zinc", "Tin"};
    screen->setScore(points);
    frame();
  }
  void type(const std::string& text) {
    for (char c : text) backend.send(platform::MessageKind::Char, static_cast<unsigned char>(c));
    pump();
  }
  Dialog* popup() const { return dynamic_cast<Dialog*>(screen->popup); }
  // The pop-up's OK button: its last child.
  void clickOkay() {
    ASSERT_NE(popup(), nullptr);
    const Rect r = popup()->children.back()->rect;
    ASSERT_EQ(popup()->children.back()->getId(), layout::kNameConfirmedId);
    clickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
};

TEST_F(HighScoreScreenTest, RelaxedPlayNeverAsksWhateverTheScore) {
  startWith(60000, false);
  clickControl(layout::kNewPuzzleId);
  frame();
  EXPECT_EQ(screen->popup, nullptr);
  clickControl(layout::kHardId);
  frame();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->difficulty, 2);
  EXPECT_EQ(screen->hsScores, (Scores{50, 100, 200, 400}));
  EXPECT_EQ(screen->hsNames, (Table{"Flint", "Opal", "Zinc", "Tin"}));
}

TEST_F(HighScoreScreenTest, AScoreThatDoesNotBeatTheTableStartsTheNewGameAtOnce) {
  startWith(50);
  clickControl(layout::kNewGameId);
  frame();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->score, 0);
  EXPECT_EQ(screen->hsScores, (Scores{50, 100, 200, 400}));
}

TEST_F(HighScoreScreenTest, NewGameAsksForTheNameAndOkayStoresItInItsRow) {
  startWith(150);
  clickControl(layout::kNewGameId);
  frame();
  ASSERT_NE(popup(), nullptr);
  EXPECT_EQ(screen->hsScores, (Scores{100, 150, 200, 400}));
  EXPECT_EQ(screen->focusWidget, screen->nameEntry.nameEntry);
  EXPECT_EQ(screen->score, 150) << "the new game waits for the name";
  type("Annabelle");  // the ninth letter is refused
  EXPECT_EQ(screen->nameEntry.nameEntry->getText(), "Annabell");
  clickOkay();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->hsNames, (Table{"Opal", "Annabell", "Zinc", "Tin"}));
  EXPECT_EQ(screen->nameEntry.nameEntry, nullptr);
  EXPECT_EQ(screen->score, 0);
  frame();  // the pop-up goes at the next frame, the name field with it
  EXPECT_EQ(screen->focusWidget, nullptr);
}

TEST_F(HighScoreScreenTest, EnterFinishesExactlyLikeOkay) {
  startWith(400);
  clickControl(layout::kNewGameId);
  frame();
  ASSERT_NE(popup(), nullptr);
  type("Kai\r");
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->hsScores, (Scores{100, 200, 400, 400}));
  EXPECT_EQ(screen->hsNames, (Table{"Opal", "Zinc", "Kai", "Tin"}));
  EXPECT_EQ(screen->score, 0);
  frame();
  EXPECT_EQ(screen->focusWidget, nullptr);
}

// Two Enters typed before the next frame: the first confirms, the second finds no field, so
// it neither deals another game nor spends the tip that game opened.
TEST_F(HighScoreScreenTest, AnEnterAfterTheConfirmingOneReachesNoFieldAnyMore) {
  startWith(400);
  screen->tutorial = true;
  screen->tipsSeen = 0;
  clickControl(layout::kNewGameId);
  frame();
  ASSERT_NE(popup(), nullptr);
  type("Kai\r");
  EXPECT_EQ(screen->focusWidget, nullptr);
  const Widget* tip = screen->popup;
  const uint32_t seen = screen->tipsSeen;
  const BoardCodes board = screen->boardCodes();
  type("\r");
  EXPECT_EQ(screen->popup, tip);
  EXPECT_EQ(screen->tipsSeen, seen);
  EXPECT_TRUE(screen->boardCodes() == board);
  EXPECT_EQ(screen->hsNames, (Table{"Opal", "Zinc", "Kai", "Tin"}));
}

TEST_F(HighScoreScreenTest, ADifficultyButtonKeepsItsChoiceForTheGameAfterTheName) {
  startWith(51);
  clickControl(layout::kCrazyId);
  frame();
  ASSERT_NE(popup(), nullptr);
  EXPECT_EQ(screen->difficulty, 3);
  type("\r");  // an empty name is accepted
  EXPECT_EQ(screen->hsNames, (Table{"", "Opal", "Zinc", "Tin"}));
  EXPECT_EQ(screen->hsScores, (Scores{51, 100, 200, 400}));
  EXPECT_EQ(screen->difficulty, 3);
  EXPECT_EQ(screen->popup, nullptr);
}

// The window closes while the name is being typed: the score is saved with an empty name.
TEST_F(HighScoreScreenTest, ClosingTheWindowKeepsTheScoreWithAnEmptyName) {
  startWith(150);
  clickControl(layout::kNewGameId);
  frame();
  ASSERT_NE(popup(), nullptr);
  type("Bo");
  backend.send(platform::MessageKind::Close);
  pump();
  screen.reset();  // as the program ends: the screen saves on its way out

  screen = std::make_unique<GameScreen>("");
  screen->loadSettings();
  EXPECT_EQ(screen->hsScores, (Scores{100, 150, 200, 400}));
  EXPECT_EQ(screen->hsNames, (Table{"Opal", "", "Zinc", "Tin"}));
}

}  // namespace
