// Loading and saving the settings against the memory store. Expected texts were worked out by a
// separate short script of the stored formats, not by the code under test.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/headless/memory_store.h"
#include "store/settings.h"
#include "support/stored_texts.h"

namespace {

using platform::MemoryStore;
using platform::StoreScope;
using platform::StoreValue;
using platform::StoreValues;

const std::string kKey(kSettingsKey);

// 81 tiles of code 0: the checksum "AAAA", then "ABCDEFGHIJ" over and over, 162 letters.
std::string zeroBoard() {
  std::string board = "AAAA";
  while (board.size() < kBoardCodeLength) board += "ABCDEFGHIJ";
  board.resize(kBoardCodeLength);
  return board;
}

// puzzleIndex 7, level 3, score 1234, allowance 40, allowanceMax 60, moves 20 on the zero board.
const std::string kGameText =
    "DKEOAKUfis},3ATS[eq#%/<OMWbou!+5?JU`kv#.9DEP[fq|)4?JKValw$/:EPQ\\gr}*5@KVWbmx%0;FQ\\]hs "
    "+6ALWbcny&1<GR]hit!,7BMXcnoz'2=HS^itu\"-8CNYdoz{(3>IT_ju\"#.9DOZep{()4?JU`kv#./"
    ":EP[fq|)45@KValw$/:;FQ\\gr}*5@AL";
// Scores 65535, 1, 0, 12345; names "Abcdefgh", "Tin", "a b", "}!".
const std::string kMixedTableText = "APCAPZdnis}*3=GQ^er$%P[fq|)4*IXr|(2<)P>dnx$.7CLV`jt $";

SavedGame sampleGame() {
  SavedGame game;
  game.puzzleIndex = 7;
  game.level = 3;
  game.score = 1234;
  game.allowance = 40;
  game.allowanceMax = 60;
  game.moves = 20;
  game.board = zeroBoard();
  return game;
}

// Stamps a checksum by the formula written out again: the 16-bit byte sum from offset 4.
std::string withChecksum(std::string body) {
  unsigned sum = 0;
  for (unsigned char c : body) sum += c;
  std::string word;
  for (int shift = 12; shift >= 0; shift -= 4)
    word.push_back(static_cast<char>('A' + ((sum >> shift) & 0xF)));
  return word + body;
}

class SettingsTest : public ::testing::Test {
 protected:
  void storeUser(const std::string& name, StoreValue value) {
    store.keys[{StoreScope::User, kKey}][name] = std::move(value);
  }
  void storeTable(const std::string& text) {
    store.keys[{StoreScope::Machine, kKey}]["State"] = StoreValue::ofText(text);
  }
  const StoreValue& stored(StoreScope scope, const std::string& name) {
    return store.keys[{scope, kKey}].at(name);
  }
  Settings loaded() {
    Settings settings;
    loadSettings(store, settings);
    return settings;
  }

  MemoryStore store;
};

TEST_F(SettingsTest, FirstRunGivesEveryDefault) {
  Settings settings;
  settings.musicLevel = 0.9;
  settings.difficulty = 3;
  settings.fullScreen = false;
  settings.tutorial = false;
  settings.tipsSeen = 5;
  settings.hsScores = {1, 2, 3, 4};
  settings.hsNames = {"a", "b", "c", "d"};
  SavedGame before = sampleGame();
  settings.game = before;

  EXPECT_FALSE(loadSettings(store, settings));
  EXPECT_EQ(settings.musicLevel, 0.5);
  EXPECT_EQ(settings.effectsLevel, 0.5);
  EXPECT_EQ(settings.difficulty, 0);
  EXPECT_TRUE(settings.fullScreen && settings.scoring && settings.bombs && settings.hints);
  EXPECT_TRUE(settings.tutorial);
  EXPECT_EQ(settings.tipsSeen, 0u);
  EXPECT_EQ(settings.hsScores, (std::array<uint16_t, 4>{50, 100, 200, 400}));
  EXPECT_EQ(settings.hsNames, (std::array<std::string, 4>{"Flint", "Opal", "Zinc", "Tin"}));
  EXPECT_EQ(settings.game, before);  // no game restored, none touched
}

TEST_F(SettingsTest, SaveWritesEveryValueInItsStoredForm) {
  Settings settings;
  settings.musicLevel = 0.25;
  settings.effectsLevel = 0.57;
  settings.difficulty = 2;
  settings.fullScreen = false;
  settings.scoring = true;
  settings.bombs = false;
  settings.hints = true;
  settings.tutorial = true;
  settings.tipsSeen = 0x15;
  settings.game = sampleGame();
  ASSERT_TRUE(saveSettings(store, settings));

  EXPECT_EQ(stored(StoreScope::User, "Music"), StoreValue::ofNumber(25));
  EXPECT_EQ(stored(StoreScope::User, "Sound"), StoreValue::ofNumber(56));  // truncated
  EXPECT_EQ(stored(StoreScope::User, "Difficulty"), StoreValue::ofNumber(2));
  EXPECT_EQ(stored(StoreScope::User, "Options"), StoreValue::ofNumber(0x1010));
  EXPECT_EQ(stored(StoreScope::User, "Tutorial"), StoreValue::ofNumber(0x80000015));
  EXPECT_EQ(stored(StoreScope::User, "State"), StoreValue::ofText(kGameText));
  EXPECT_EQ(stored(StoreScope::Machine, "State"), StoreValue::ofText(kDefaultTableText));
  EXPECT_EQ(store.keys.size(), 2u);
  // The six values above, and the two of the aids beyond them ("LeftTurnsBack", "Locks").
  EXPECT_EQ(store.keys[std::pair(StoreScope::User, kKey)].size(), 8u);
  EXPECT_EQ(store.keys[std::pair(StoreScope::Machine, kKey)].size(), 1u);
}

TEST_F(SettingsTest, SaveThenLoadGivesBackEveryField) {
  Settings saved;
  saved.musicLevel = 0.75;
  saved.effectsLevel = 0.0;
  saved.difficulty = 3;
  saved.fullScreen = true;
  saved.scoring = false;
  saved.bombs = true;
  saved.hints = false;
  saved.tutorial = false;
  saved.tipsSeen = 0x7FFFFFFF;
  saved.game = sampleGame();
  saved.game.board[100] = 'Y';  // the board code goes through untouched
  saved.hsScores = {65535, 1, 0, 12345};
  saved.hsNames = {"Abcdefgh", "Tin", "a b", "}!"};
  ASSERT_TRUE(saveSettings(store, saved));
  EXPECT_EQ(stored(StoreScope::Machine, "State"), StoreValue::ofText(kMixedTableText));

  Settings restored;
  EXPECT_TRUE(loadSettings(store, restored));
  EXPECT_EQ(restored, saved);
}

TEST_F(SettingsTest, LevelsAreTruncatedAndClamped) {
  Settings settings;
  settings.musicLevel = 0.57;
  settings.effectsLevel = 0.5;
  ASSERT_TRUE(saveSettings(store, settings));
  EXPECT_EQ(stored(StoreScope::User, "Music").number, 56u);
  EXPECT_EQ(stored(StoreScope::User, "Sound").number, 50u);
  EXPECT_EQ(loaded().musicLevel, 0.56);

  storeUser("Music", StoreValue::ofNumber(250));
  storeUser("Sound", StoreValue::ofNumber(0xFFFFFFFF));  // taken as unsigned: far above 100
  EXPECT_EQ(loaded().musicLevel, 1.0);
  EXPECT_EQ(loaded().effectsLevel, 1.0);

  EXPECT_EQ(storedLevel(-0.5), 0u);
  EXPECT_EQ(storedLevel(std::nan("")), 0u);
  EXPECT_EQ(storedLevel(3.0), 100u);
  EXPECT_EQ(storedLevel(0.999), 99u);
}

// 0.29 * 100, 0.57 * 100 and 0.58 * 100 come out just below 29, 57 and 58: truncated, they
// would lose a step at every run that loads and saves them.
TEST_F(SettingsTest, ALoadedLevelIsSavedAsTheSameNumber) {
  for (uint32_t hundredths = 0; hundredths <= 100; ++hundredths) {
    storeUser("Music", StoreValue::ofNumber(hundredths));
    Settings settings = loaded();
    EXPECT_NEAR(settings.musicLevel, hundredths / 100.0, 1e-15);
    ASSERT_TRUE(saveSettings(store, settings));
    EXPECT_EQ(stored(StoreScope::User, "Music").number, hundredths);
  }
  EXPECT_EQ(levelFromStored(56), 0.56);
  EXPECT_GT(levelFromStored(57), 0.57);
}

TEST_F(SettingsTest, NumbersReadAsStored) {
  storeUser("Difficulty", StoreValue::ofNumber(6));
  EXPECT_EQ(loaded().difficulty, 2);

  // 0xE in every nibble: bits 0, 4, 8 and 12 clear, every other bit set.
  storeUser("Options", StoreValue::ofNumber(0xFFFFEEEE));
  Settings settings = loaded();
  EXPECT_FALSE(settings.fullScreen || settings.scoring || settings.bombs || settings.hints);
  storeUser("Options", StoreValue::ofNumber(0x100));
  settings = loaded();
  EXPECT_TRUE(settings.bombs);
  EXPECT_FALSE(settings.fullScreen || settings.scoring || settings.hints);

  storeUser("Tutorial", StoreValue::ofNumber(0x7FFFFFFF));
  settings = loaded();
  EXPECT_FALSE(settings.tutorial);
  EXPECT_EQ(settings.tipsSeen, 0x7FFFFFFFu);
}

TEST_F(SettingsTest, AValueOfTheWrongTypeIsAbsent) {
  storeUser("Music", StoreValue::ofText("80"));
  storeUser("Difficulty", StoreValue::ofText("\x02"));
  storeUser("State", StoreValue::ofNumber(7));
  store.keys[{StoreScope::Machine, kKey}]["State"] = StoreValue::ofNumber(50);
  Settings settings;
  EXPECT_FALSE(loadSettings(store, settings));
  EXPECT_EQ(settings.musicLevel, 0.5);
  EXPECT_EQ(settings.difficulty, 0);
  EXPECT_EQ(settings.hsNames[0], "Flint");
}

TEST_F(SettingsTest, NamesOfEightAndFewerCharacters) {
  Settings settings;
  settings.hsNames = {"Abcdefgh", "Tin", "a b", "}!"};
  std::string text = encodeHighScoreText(settings.hsScores, settings.hsNames);
  char plain[kHighScoreTextLength + 1];
  // Read back the names' slots through the separate formula: no trailing space after 8.
  for (size_t a = 0; a < text.size() - 4; ++a) {
    plain[a] = static_cast<char>(
        ((static_cast<unsigned char>(text[4 + a]) - 32 - 10 * static_cast<int>(a)) % 94 + 94) % 94 +
        32);
  }
  EXPECT_EQ(std::string(plain + 16, 32), "AbcdefghTin     a b     }!      ");

  std::array<uint16_t, 4> scores{};
  std::array<std::string, 4> names;
  ASSERT_TRUE(decodeHighScoreText(text, scores, names));
  EXPECT_EQ(names, settings.hsNames);
}

TEST_F(SettingsTest, NamesKeepOnlyTheCarriedCharacters) {
  EXPECT_TRUE(isNameCharacter(32));
  EXPECT_TRUE(isNameCharacter(125));
  EXPECT_FALSE(isNameCharacter(31));
  EXPECT_FALSE(isNameCharacter(126));  // '~' would come back as ' '
  EXPECT_FALSE(isNameCharacter(0xE9));
  EXPECT_EQ(highScoreName("Zo\xC3\xA9~\x01"
                          "abcdefghij"),
            "Zoabcdef");

  Settings settings;
  settings.hsNames[3] = "Ren\xC3\xA9\x7F~Tenletters";
  ASSERT_TRUE(saveSettings(store, settings));
  EXPECT_EQ(loaded().hsNames[3], "RenTenle");
}

TEST_F(SettingsTest, ScoreStopsAt65535) {
  EXPECT_EQ(addToScore(100, 23), 123);
  EXPECT_EQ(addToScore(65000, 535), 65535);
  EXPECT_EQ(addToScore(65000, 600), 65535);
  EXPECT_EQ(addToScore(65535, 0xFFFFFFFF), 65535);
}

TEST_F(SettingsTest, GameTextWorkedValue) {
  EXPECT_EQ(encodeGameText(sampleGame()), kGameText);
  SavedGame game;
  ASSERT_TRUE(decodeGameText(kGameText, game));
  EXPECT_EQ(game, sampleGame());
}

TEST_F(SettingsTest, AGameTextThatFailsLeavesTheGameAlone) {
  SavedGame before;
  before.score = 99;
  before.board = "kept";
  auto loadWith = [&](const std::string& text) {
    storeUser("State", StoreValue::ofText(text));
    Settings settings;
    settings.game = before;
    bool restored = loadSettings(store, settings);
    if (!restored) {
      EXPECT_EQ(settings.game, before);
    }
    return restored;
  };

  std::string changed = kGameText;
  changed[50] = static_cast<char>(changed[50] + 1);
  EXPECT_FALSE(loadWith(changed));
  // Passing their checksums, but one character short of the layout, or one over it.
  EXPECT_FALSE(loadWith(withChecksum(kGameText.substr(4, kGameTextLength - 5))));
  EXPECT_FALSE(loadWith(withChecksum(kGameText.substr(4) + "A")));
  EXPECT_FALSE(loadWith(withChecksum("")));
  // A zero byte ends the text early.
  std::string cut = kGameText.substr(0, 100) + '\0' + kGameText.substr(101);
  EXPECT_FALSE(loadWith(cut));
  EXPECT_FALSE(loadWith(""));
  EXPECT_TRUE(loadWith(kGameText));
}

TEST_F(SettingsTest, AHighScoreTextThatFailsGivesTheDefaultTable) {
  auto namesWith = [&](const std::string& text) {
    storeTable(text);
    return loaded().hsNames[0];
  };
  ASSERT_EQ(namesWith(kMixedTableText), "Abcdefgh");

  std::string changed = kMixedTableText;
  changed[30] = static_cast<char>(changed[30] - 1);
  EXPECT_EQ(namesWith(changed), "Flint");
  // Passing its checksum but one short of the layout: the "x" is missing.
  EXPECT_EQ(namesWith(withChecksum(kMixedTableText.substr(4, 48))), "Flint");
  EXPECT_EQ(namesWith(withChecksum("AAAA")), "Flint");
  // Longer texts are read as far as the layout goes, up to the buffer's 299 characters.
  std::string longer = kMixedTableText.substr(4) + std::string(kSettingsTextCapacity - 54, 'A');
  EXPECT_EQ(namesWith(withChecksum(longer)), "Abcdefgh");
  EXPECT_EQ(namesWith(withChecksum(longer + "A")), "Flint");
}

// Two players started before either quit, each with a new best entry: whoever quits first,
// the shared table ends with both.
TEST_F(SettingsTest, TwoPlayersSavingTheSharedTableKeepBothNewEntries) {
  Settings amy = loaded();
  Settings bob = loaded();
  amy.hsScores = {100, 200, 400, 500};
  amy.hsNames = {"Opal", "Zinc", "Tin", "Amy"};
  bob.hsScores = {100, 200, 300, 400};
  bob.hsNames = {"Opal", "Zinc", "Bob", "Tin"};
  ASSERT_TRUE(saveSettings(store, amy, TableSave::Merge));
  ASSERT_TRUE(saveSettings(store, bob, TableSave::Merge));
  EXPECT_EQ(loaded().hsScores, (std::array<uint16_t, 4>{200, 300, 400, 500}));
  EXPECT_EQ(loaded().hsNames, (std::array<std::string, 4>{"Zinc", "Bob", "Tin", "Amy"}));
  // A save that adds nothing, or saves again, leaves the table as it is.
  ASSERT_TRUE(saveSettings(store, bob, TableSave::Merge));
  EXPECT_EQ(loaded().hsNames, (std::array<std::string, 4>{"Zinc", "Bob", "Tin", "Amy"}));
  // Replacing, as the reset does, writes the table as it stands.
  ASSERT_TRUE(saveSettings(store, amy, TableSave::Replace));
  EXPECT_EQ(loaded().hsNames, amy.hsNames);
}

// A score kept in the player's fallback while the shared table could not be written joins
// the shared table at the first save that can write it, beside what others added meanwhile.
TEST_F(SettingsTest, TheFallbackTableJoinsTheSharedOneOnceItCanBeWritten) {
  store.machineWritable = false;
  Settings kai = loaded();
  kai.hsScores = {100, 200, 400, 900};
  kai.hsNames = {"Opal", "Zinc", "Tin", "Kai"};
  EXPECT_TRUE(saveSettings(store, kai, TableSave::Merge));
  EXPECT_EQ(loaded().hsNames, kai.hsNames);

  // Meanwhile another player, with no fallback of her own, saved to the shared table.
  store.machineWritable = true;
  const StoreValues kaisFallback = store.keys.at({StoreScope::Fallback, kKey});
  store.keys.erase({StoreScope::Fallback, kKey});
  Settings ida = loaded();
  ida.hsScores = {100, 200, 400, 700};
  ida.hsNames = {"Opal", "Zinc", "Tin", "Ida"};
  ASSERT_TRUE(saveSettings(store, ida, TableSave::Merge));
  store.keys[{StoreScope::Fallback, kKey}] = kaisFallback;

  Settings next = loaded();
  EXPECT_EQ(next.hsScores, (std::array<uint16_t, 4>{200, 400, 700, 900}));
  ASSERT_TRUE(saveSettings(store, next, TableSave::Merge));
  EXPECT_EQ(store.keys.count({StoreScope::Fallback, kKey}), 0u) << "merged, so gone";
  EXPECT_EQ(loaded().hsNames, (std::array<std::string, 4>{"Zinc", "Tin", "Ida", "Kai"}));
}

TEST_F(SettingsTest, TheMachineTableMayFailWithoutCostingTheRest) {
  store.machineWritable = false;
  store.fallbackWritable = false;
  Settings settings;
  settings.difficulty = 1;
  settings.game = sampleGame();
  settings.hsScores = {1, 2, 3, 4};
  EXPECT_FALSE(saveSettings(store, settings));

  Settings restored;
  EXPECT_TRUE(loadSettings(store, restored));
  EXPECT_EQ(restored.difficulty, 1);
  EXPECT_EQ(restored.game, sampleGame());
  EXPECT_EQ(restored.hsScores, kDefaultHighScores);
}

TEST_F(SettingsTest, ABoardThatCannotBeWrittenReplacesTheOldGame) {
  Settings settings;
  settings.game = sampleGame();
  ASSERT_TRUE(saveSettings(store, settings));

  settings.game.board.pop_back();
  EXPECT_EQ(encodeGameText(settings.game), "");
  EXPECT_FALSE(saveSettings(store, settings));
  Settings restored;
  EXPECT_FALSE(loadSettings(store, restored));

  settings.game = sampleGame();
  settings.game.board[5] = '~';
  EXPECT_EQ(encodeGameText(settings.game), "");

  // No board at all is no game: nothing failed.
  settings.game = SavedGame{};
  EXPECT_TRUE(saveSettings(store, settings));
  EXPECT_EQ(stored(StoreScope::User, "State"), StoreValue::ofText(""));
  EXPECT_FALSE(loadSettings(store, restored));
}

}  // namespace

namespace {

// The lock text of cells 0, 17 and 80 on the game of kGameText, by the layout written out
// again: the game text's own checksum, then one bit a cell in six words, bit 0 first.
const std::string kLockText = withChecksum("DKEO" + std::string("AAABAAACAAAAAAAAAAAAAAAB"));

StoredLocks lockCells(std::initializer_list<size_t> cells) {
  StoredLocks locks;
  for (size_t c : cells) locks[c] = true;
  return locks;
}

}  // namespace

TEST_F(SettingsTest, LocksAndTheExchangedButtonsAreStoredUnderNamesOfTheirOwn) {
  ASSERT_EQ(encodeGameText(sampleGame()), kGameText);
  Settings settings;
  settings.game = sampleGame();
  settings.locks = lockCells({0, 17, 80});
  settings.leftTurnsBack = true;
  ASSERT_TRUE(saveSettings(store, settings));
  EXPECT_EQ(stored(StoreScope::User, "Locks"), StoreValue::ofText(kLockText));
  EXPECT_EQ(stored(StoreScope::User, "LeftTurnsBack"), StoreValue::ofNumber(1));
  EXPECT_EQ(stored(StoreScope::User, "State"), StoreValue::ofText(kGameText));  // unchanged
  EXPECT_EQ(stored(StoreScope::User, "Options"), StoreValue::ofNumber(0x1111));
  const Settings back = loaded();
  EXPECT_EQ(back.locks, settings.locks);
  EXPECT_TRUE(back.leftTurnsBack);
}

// Missing, damaged, or left from another game: no locks, and the game itself still loads.
TEST_F(SettingsTest, ALockTextThatIsNotWholeOrNotThisGamesGivesNoLocks) {
  storeUser("State", StoreValue::ofText(kGameText));
  std::string flipped = kLockText;
  flipped[10] = 'B';  // checksum no longer matches
  const std::string otherGame = withChecksum("DKEP" + std::string("AAABAAACAAAAAAAAAAAAAAAB"));
  const std::string pastTheBoard = withChecksum("DKEO" + std::string("AAAAAAAAAAAAAAAAAAAAAAAC"));
  const std::string notLetters = withChecksum("DKEO" + std::string("AAABAAACAAAAAAAAAAAAAAA!"));
  for (const std::string& bad : {std::string(), flipped, otherGame, pastTheBoard, notLetters,
                                 kLockText + "A", kLockText.substr(0, 31)}) {
    storeUser("Locks", StoreValue::ofText(bad));
    Settings settings;
    EXPECT_TRUE(loadSettings(store, settings)) << bad;
    EXPECT_TRUE(settings.locks.none()) << bad;
  }
  storeUser("Locks", StoreValue::ofNumber(5));
  EXPECT_TRUE(loaded().locks.none());
  storeUser("Locks", StoreValue::ofText(kLockText));
  EXPECT_EQ(loaded().locks, lockCells({0, 17, 80}));
  // A store from before the option knows nothing of it: the buttons as they always were.
  EXPECT_FALSE(loaded().leftTurnsBack);
}
