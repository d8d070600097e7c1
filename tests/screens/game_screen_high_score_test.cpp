// The high-score pop-up on the game screen: offered by the new-game and difficulty buttons in
// scoring play, finished by OK or Enter, and kept with an empty name when the game ends first.
#include "app/entry.h"
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
  void clickInPopup(uint16_t id) {
    ASSERT_NE(popup(), nullptr);
    for (Widget* w : popup()->children) {
      if (w->id == id)
        return clickAt((w->rect.left + w->rect.right) / 2, (w->rect.top + w->rect.bottom) / 2);
    }
    FAIL() << "no control " << id << " in the pop-up";
  }
  // Unticks (or ticks) scoring in the options and confirms.
  void switchScoring() {
    clickControl(layout::kOptionsId);
    clickInPopup(layout::kScoringBoxId);
    clickInPopup(layout::kOptionsOkId);
    frame();
  }
  // How often the score stands in the table.
  int entriesOf(uint16_t points) const {
    return static_cast<int>(std::count(screen->hsScores.begin(), screen->hsScores.end(), points));
  }
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

// Every way a scored game ends offers its score, once: the entry goes in, and nothing that
// follows (another way out, the new game, a switch of scoring) enters it again.
TEST_F(HighScoreScreenTest, EveryWayOutOfAScoredGameOffersItsScoreOnce) {
  enum class Way { Difficulty, NewGame, ScoringOff };
  for (Way way : {Way::Difficulty, Way::NewGame, Way::ScoringOff}) {
    SCOPED_TRACE(static_cast<int>(way));
    startWith(150);
    screen->puzzleLists[0] = {};
    const BoardCodes board = screen->boardCodes();
    switch (way) {
      case Way::Difficulty:
        clickControl(layout::kMediumId);
        break;
      case Way::NewGame:
        clickControl(layout::kNewGameId);
        break;
      case Way::ScoringOff:
        switchScoring();
        break;
    }
    frame();
    ASSERT_NE(screen->nameEntry.nameEntry, nullptr) << "no name asked for";
    EXPECT_EQ(screen->hsScores, (Scores{100, 150, 200, 400}));
    type("Al\r");
    frame();
    EXPECT_EQ(screen->hsNames, (Table{"Opal", "Al", "Zinc", "Tin"}));
    if (way == Way::ScoringOff) {
      EXPECT_EQ(screen->boardCodes(), board) << "relaxed play goes on on the same board";
      EXPECT_FALSE(screen->scoreLabel->visible);
      switchScoring();  // back on: a new game, after relaxed play that scored nothing
    }
    EXPECT_EQ(screen->score, 0);
    clickControl(layout::kNewGameId);
    frame();
    EXPECT_EQ(screen->popup, nullptr);
    EXPECT_EQ(entriesOf(150), 1);
  }
}

// A score of nothing never qualifies, even for a table of nothing.
TEST_F(HighScoreScreenTest, AScoreOfNothingNeverQualifies) {
  startWith(0);
  screen->hsScores = {0, 0, 0, 0};
  clickControl(layout::kNewGameId);
  frame();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->hsScores, (Scores{0, 0, 0, 0}));
}

// The window closed with the name pop-up open: the score is in the table, and the next start
// neither carries it into the game again nor enters it a second time.
TEST_F(HighScoreScreenTest, ARestartAfterClosingWithTheNamePopUpOpenEntersNothingAgain) {
  startWith(150);
  screen->allowance = 30;  // the game could have gone on
  clickControl(layout::kNewGameId);
  frame();
  ASSERT_NE(popup(), nullptr);
  backend.send(platform::MessageKind::Close);
  pump();
  screen.reset();

  screen = std::make_unique<GameScreen>("");
  const bool restored = screen->loadSettings();
  screen->loadResources();
  chooseFirstBoard(*screen, restored);
  frame();
  EXPECT_EQ(screen->score, 0);
  EXPECT_EQ(screen->popup, nullptr);
  clickControl(layout::kNewGameId);
  frame();
  EXPECT_EQ(screen->popup, nullptr);
  EXPECT_EQ(screen->hsScores, (Scores{100, 150, 200, 400}));
  EXPECT_EQ(screen->hsNames, (Table{"Opal", "", "Zinc", "Tin"}));
}

}  // namespace
