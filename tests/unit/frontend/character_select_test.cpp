// The character select's rules: cursors, the two-player skip, confirmations,
// one player picking both fighters, story mode, and the Random draw.
#include "frontend/character_select.h"

#include <gtest/gtest.h>

#include <set>

namespace vdx {
namespace {

Content WithCharacters(std::initializer_list<const char*> names) {
  Content content;
  for (const char* name : names) {
    cCharacter c;
    c.Name = name;
    content.Characters.add(c, c.Name);
  }
  return content;
}

// Steps the screen once per letter string, player 2 idle.
void Steps(CharacterSelect& s, const Content& content, std::initializer_list<const char*> p1,
           const char* p2 = "") {
  for (const char* letters : p1)
    StepCharacterSelect(s, content, letters, p2);
}

TEST(CharacterSelect, CursorsStartOnTheFirstTwoCharactersAndStayInRangeWithFewer) {
  const Content three = WithCharacters({"Kira", "Brann", "Vex"});
  const CharacterSelect s = StartCharacterSelect(three.Characters, SelectFor::TwoPlayers);
  EXPECT_EQ(s.entries, 4);
  EXPECT_EQ(s.cursor[1], 2);
  EXPECT_EQ(s.cursor[2], 3);
  const Content one = WithCharacters({"Kira"});
  const CharacterSelect single = StartCharacterSelect(one.Characters, SelectFor::TwoPlayers);
  EXPECT_EQ(single.cursor[1], 2);
  EXPECT_EQ(single.cursor[2], 2) << "no third entry: the last one";
  const Content none;
  const CharacterSelect empty = StartCharacterSelect(none.Characters, SelectFor::OnePlayer);
  EXPECT_EQ(empty.cursor[1], 1);
  EXPECT_EQ(empty.cursor[2], 1);
}

TEST(CharacterSelect, MovesWrapAndTwoPlayersShareOnlyRandom) {
  const Content content = WithCharacters({"Kira", "Brann", "Vex"});
  CharacterSelect s = StartCharacterSelect(content.Characters, SelectFor::TwoPlayers);
  Steps(s, content, {"R"});
  EXPECT_EQ(s.cursor[1], 4) << "entry 3 is player 2's: skipped";
  Steps(s, content, {"R"});
  EXPECT_EQ(s.cursor[1], 1) << "past the last entry to Random";
  StepCharacterSelect(s, content, "", "L");
  StepCharacterSelect(s, content, "", "L");
  EXPECT_EQ(s.cursor[2], 1) << "both may stand on Random";
  StepCharacterSelect(s, content, "", "L");
  EXPECT_EQ(s.cursor[2], 4) << "below the first entry to the last";
  // A skip past the last entry wraps like a move.
  s.cursor = {0, 4, 3};
  StepCharacterSelect(s, content, "", "R");
  EXPECT_EQ(s.cursor[2], 1);
  // Letters are taken whole: Right with Punch does neither.
  Steps(s, content, {"RP"});
  EXPECT_EQ(s.cursor[1], 4);
  EXPECT_FALSE(s.chosen[1]);
}

TEST(CharacterSelect, APunchChoosesOnceAndHoldsThePlayerToItsChoice) {
  Content content = WithCharacters({"Kira", "Brann", "Vex"});
  content.Characters.find("Brann")->Disabled = true;
  CharacterSelect s = StartCharacterSelect(content.Characters, SelectFor::TwoPlayers);
  StepCharacterSelect(s, content, "", "P");
  EXPECT_FALSE(s.chosen[2]) << "Brann is disabled";
  StepCharacterSelect(s, content, "P", "R");
  EXPECT_EQ(s.chosenName[1], "Kira");
  EXPECT_EQ(s.cursor[2], 4);
  Steps(s, content, {"R", "", "P"});
  EXPECT_EQ(s.cursor[1], 2) << "a chosen player stays where it chose";
  EXPECT_EQ(s.chosenName[1], "Kira");
  EXPECT_FALSE(SelectionDone(s));
  StepCharacterSelect(s, content, "", "P");
  EXPECT_TRUE(SelectionDone(s));
  EXPECT_EQ(s.chosenName[2], "Vex");
}

TEST(CharacterSelect, OnePlayerPicksTheOpponentWithTheSameKeysAfterLettingPunchGo) {
  const Content content = WithCharacters({"Kira", "Brann", "Vex"});
  CharacterSelect s = StartCharacterSelect(content.Characters, SelectFor::OnePlayer);
  StepCharacterSelect(s, content, "R", "L");
  EXPECT_EQ(s.cursor[1], 3) << "no skip with one player";
  EXPECT_EQ(s.cursor[2], 3) << "player 2's keys do nothing";
  Steps(s, content, {"P", "P", "P"});
  EXPECT_EQ(s.chosenName[1], "Brann");
  EXPECT_FALSE(s.chosen[2]) << "the Punch still held does not pick the opponent";
  Steps(s, content, {"", "R"});
  EXPECT_EQ(s.cursor[1], 3);
  EXPECT_EQ(s.cursor[2], 4);
  Steps(s, content, {"P"});
  EXPECT_TRUE(SelectionDone(s));
  EXPECT_EQ(s.chosenName[2], "Vex");
  EXPECT_EQ(s.chosenName[1], "Brann");
}

TEST(CharacterSelect, EscapeGoesBackAndStoryModeWantsALadder) {
  Content content = WithCharacters({"Kira", "Brann"});
  CharacterSelect s = StartCharacterSelect(content.Characters, SelectFor::OnePlayer);
  Steps(s, content, {"P", "", "E"});
  EXPECT_TRUE(s.back) << "Escape works after player 1 has chosen too";

  cStory story;
  story.Character = "Brann";
  content.Stories.add(story, story.Character);
  CharacterSelect ladder = StartCharacterSelect(content.Characters, SelectFor::Story);
  Steps(ladder, content, {"P"});
  EXPECT_FALSE(ladder.chosen[1]) << "Kira has no ladder";
  Steps(ladder, content, {"R", "P"});
  EXPECT_TRUE(SelectionDone(ladder)) << "story mode needs player 1 alone";
  EXPECT_EQ(ladder.chosenName[1], "Brann");
}

TEST(CharacterSelect, RandomAlwaysEndsWithARealCharacter) {
  RandomGenerator random;
  const Content three = WithCharacters({"Kira", "Brann", "Vex"});
  std::set<std::string> seen;
  for (int i = 0; i < 200; ++i) {
    const std::string name = ResolveRandom(random, three.Characters, "Brann");
    EXPECT_NE(name, "Brann");
    seen.insert(name);
  }
  EXPECT_EQ(seen, (std::set<std::string>{"Kira", "Vex"})) << "both others come up";
  const Content two = WithCharacters({"Kira", "Brann"});
  EXPECT_EQ(ResolveRandom(random, two.Characters, "Kira"), "Brann");
  const Content one = WithCharacters({"Kira"});
  EXPECT_EQ(ResolveRandom(random, one.Characters, "Kira"), "Kira") << "a mirror match, not a hang";
  EXPECT_EQ(ResolveRandom(random, one.Characters, "Random"), "Kira");
  EXPECT_EQ(ResolveRandom(random, Content{}.Characters, ""), "");
}

}  // namespace
}  // namespace vdx
