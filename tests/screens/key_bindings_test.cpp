// The one table of keys against what the player is told: the manual's and the man page's lists
// must show every line of it, keys and meaning, and the table itself must be unambiguous.
#include "screens/key_bindings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

namespace {

std::string readSource(const char* path) {
  std::ifstream in(std::string(GYROTIDE_SOURCE_DIR) + "/" + path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool inPopup(keys::Action a) { return a >= keys::Action::NextControl; }

}  // namespace

TEST(KeyBindingsTest, EveryActionHasAKeyAndOneHelpLineAndNoKeyMeansTwoThingsAtOnce) {
  std::set<std::tuple<bool, uint32_t, uint32_t>> seen;
  for (const keys::Binding& b : keys::kBindings) {
    // The board's and the game's keys are one set, the pop-ups' another.
    EXPECT_TRUE(seen.insert({inPopup(b.action), b.key, b.modifiers}).second)
        << keys::chordName(b) << " is bound twice";
  }
  std::multiset<keys::Action> helped;
  for (const keys::HelpLine& line : keys::kHelpLines) {
    for (size_t i = 0; i < line.count; ++i) helped.insert(line.actions[i]);
    EXPECT_FALSE(keys::keysOf(line).empty()) << line.text;
  }
  for (const keys::Binding& b : keys::kBindings) EXPECT_EQ(helped.count(b.action), 1u);
  // Held keys and a keypad Enter find what the keys themselves find.
  EXPECT_TRUE(
      keys::find('z', platform::key::kCtrl | platform::key::kRepeat).has(keys::Action::Undo));
  EXPECT_TRUE(
      keys::find('z', platform::key::kCtrl | platform::key::kShift).has(keys::Action::Redo));
  EXPECT_EQ(keys::find('z', 0).count, 0u);
  EXPECT_EQ(
      keys::chordName({keys::Action::Redo, 'z', platform::key::kCtrl | platform::key::kShift}),
      "Ctrl+Shift+Z");
  EXPECT_EQ(keys::keyName(platform::key::kF11), "F11");
}

TEST(KeyBindingsTest, TheManualAndTheManPageListEveryLineOfTheTable) {
  const std::string manual = readSource("docs/manual/index.html");
  const std::string page = readSource("docs/gyrotide.6");
  ASSERT_FALSE(manual.empty());
  ASSERT_FALSE(page.empty());
  for (const keys::HelpLine& line : keys::kHelpLines) {
    const std::string marked =
        keys::keysOf(line, [](const std::string& s) { return "<kbd>" + s + "</kbd>"; });
    EXPECT_NE(manual.find("<tr><th>" + marked + "</th><td>" + line.text + "</td></tr>"),
              std::string::npos)
        << "manual: " << marked;
    EXPECT_NE(page.find(".B " + keys::keysOf(line) + "\n" + line.text + ".\n"), std::string::npos)
        << "man page: " << keys::keysOf(line);
  }
}
