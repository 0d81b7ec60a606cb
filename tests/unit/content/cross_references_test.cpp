#include "content/cross_references.h"

#include <gtest/gtest.h>

#include "content/ai_story_reader.h"
#include "content/content_report_json.h"
#include "content/game_xml_reader.h"

namespace vdx {
namespace {

TEST(CrossReferences, StoryNamesMustBeCharactersAndStagesOfGameXml) {
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(
      R"(<Game><C><Character Name="Kira" Path="kira"><Action Name="Hit"/><Action Name="KO"/></Character>
      <Character Name="Vex" Path="vex"><Action Name="Hit"/><Action Name="KO"/></Character></C>
      <S><Stage Name="Harbour" Background="h.bmp"/></S></Game>)",
      settings, content, report);
  ReadStoryXml(R"(<Story>
      <Character Name="kira" WinFile="a.avi">
        <Opponent Name="VEX" Stage="harbour"/>
        <Opponent Name="Zed" Stage="Moon"/>
      </Character>
      <Character Name="Brann"><Opponent Name="Kira"/></Character>
    </Story>)",
               content, report);
  ASSERT_EQ(content.Stories.size(), 2u);
  ReadAiXml(R"(<AI><Character Name="Kira"/><Character Name="Vex"/></AI>)", content, report);
  FindUnknownNames(content, report);
  ASSERT_EQ(report.unknownNames.size(), 3u);
  EXPECT_EQ(report.unknownNames[0].element, "Story \"kira\" > Opponent \"Zed\"");
  EXPECT_EQ(report.unknownNames[0].reason, "names no Character \"Zed\" of Game.xml");
  EXPECT_EQ(report.unknownNames[1].reason, "names no Stage \"Moon\" of Game.xml");
  EXPECT_EQ(report.unknownNames[2].element, "Story \"Brann\"");
  EXPECT_EQ(report.unknownNames[2].file, "story.xml");
}

TEST(CrossReferences, ProfilesMustNameCharactersAndTheirActions) {
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<Game><C><Character Name="Kira" Path="kira"><Action Name="Hit"/><Action Name="KO"/>
      <Action Name="Punch"/><Action Name="Fireball"/></Character></C></Game>)",
              settings, content, report);
  ReadAiXml(R"(<AI>
      <Character Name="KIRA"><Move Name="punch" Type="Close"/><Move Name="Uppercut"/></Character>
      <Character Name="Ghost"><Move Name="Punch"/></Character>
    </AI>)",
            content, report);
  ASSERT_EQ(content.AIProfiles.size(), 2u);
  FindUnknownNames(content, report);
  ASSERT_EQ(report.unknownNames.size(), 2u) << "KIRA is Kira's profile";
  EXPECT_EQ(report.unknownNames[0].file, "ai.xml");
  EXPECT_EQ(report.unknownNames[0].element, "Profile \"KIRA\" > Move \"Uppercut\"");
  EXPECT_EQ(report.unknownNames[0].reason, "names no Action of Character \"Kira\"");
  EXPECT_EQ(report.unknownNames[1].element, "Profile \"Ghost\"");
  EXPECT_EQ(report.unknownNames[1].reason, "names no Character \"Ghost\" of Game.xml");
}

TEST(CrossReferences, TheActionsTheFightLooksForAndNextActionsMustExist) {
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<Game><C><Character Name="Kira" Path="kira">
      <Action Name="Sweep" NextAction="Duck"/><Action Name="Duck"/><Action Name="Roll" NextAction="Rise"/>
      </Character></C></Game>)",
              settings, content, report);
  ReadAiXml(R"(<AI><Character Name="Kira"/></AI>)", content, report);
  FindUnknownNames(content, report);
  ASSERT_EQ(report.unknownNames.size(), 3u);
  EXPECT_EQ(report.unknownNames[0].reason,
            "has no Action \"Hit\": a fighter that is hit keeps its frame and stands up");
  EXPECT_NE(report.unknownNames[1].reason.find("\"KO\""), std::string::npos);
  EXPECT_EQ(report.unknownNames[2].element, "Character \"Kira\" > Action \"Roll\"");
  EXPECT_EQ(report.unknownNames[2].reason, "NextAction names no Action \"Rise\" of the character");
}

TEST(CrossReferences, ANextEffectMustNameAnEffectOfTheSameCharacter) {
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<Game><C>
      <Character Name="Kira" Path="kira"><Action Name="Hit"/><Action Name="KO"/>
        <Effect Name="Flame" ActionName="None" NextEffect="Burst"/><Effect Name="Burst" ActionName="None"/>
        <Effect Name="Wave" ActionName="None" NextEffect="Splash"/></Character>
      <Character Name="Vex" Path="vex"><Action Name="Hit"/><Action Name="KO"/>
        <Effect Name="Splash" ActionName="None"/></Character>
      </C></Game>)",
              settings, content, report);
  ReadAiXml(R"(<AI><Character Name="Kira"/><Character Name="Vex"/></AI>)", content, report);
  FindUnknownNames(content, report);
  ASSERT_EQ(report.unknownNames.size(), 1u) << "Vex's Splash is not Kira's";
  EXPECT_EQ(report.unknownNames[0].element, "Character \"Kira\" > Effect \"Wave\"");
  EXPECT_EQ(report.unknownNames[0].reason,
            "NextEffect names no Effect \"Splash\" of the character: the effect ends without one");
}

TEST(CrossReferences, EveryCharacterNeedsAProfileEvenADisabledOne) {
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<Game><C>
      <Character Name="Kira" Path="kira"><Action Name="Hit"/><Action Name="KO"/></Character>
      <Character Name="Brann" Path="brann"><Action Name="Hit"/><Action Name="KO"/></Character>
      <Character Name="Shade" Path="shade" Disabled="True"><Action Name="Hit"/><Action Name="KO"/></Character>
      </C></Game>)",
              settings, content, report);
  ReadAiXml(R"(<AI><Character Name="BRANN"/></AI>)", content, report);
  FindUnknownNames(content, report);
  ASSERT_EQ(report.unknownNames.size(), 2u);
  EXPECT_EQ(report.unknownNames[0].file, "ai.xml");
  EXPECT_EQ(report.unknownNames[0].element, "Character \"Kira\"");
  EXPECT_EQ(report.unknownNames[0].reason,
            "has no profile: played by the computer it walks, waits and blocks but never attacks");
  EXPECT_EQ(report.unknownNames[1].element, "Character \"Shade\"")
      << "Random and the story ladders may still bring it to the computer";
  EXPECT_FALSE(ReportIsClean(report));
}

TEST(CrossReferences, MenuItemsThatStartNothingOrLieOffThePictureAreListed) {
  Content content;
  LoadReport report;
  const char* names[] = {"ONE", "TWO", "EXIT", "STORY", "TYPO", "6",
                         "7",   "8",   "9",    "10",    "11",   "12"};
  const Integer types[] = {1, 2, 3, 4, 7, 1, 1, 1, 1, 1, 1, 1};
  for (int i = 0; i < 12; ++i)
    content.MenuItems.add(cMenu{names[i], types[i], 220, 0});
  FindUnknownNames(content, report);
  ASSERT_EQ(report.unknownNames.size(), 2u);
  EXPECT_EQ(report.unknownNames[0].element, "Menu > Item \"TYPO\"");
  EXPECT_EQ(report.unknownNames[0].reason,
            "has Type 7, which starts nothing (1 one player, 2 two players, 3 exit, 4 story, "
            "5 training)");
  EXPECT_EQ(report.unknownNames[1].element, "Menu > Item \"12\"");
  EXPECT_NE(report.unknownNames[1].reason.find("not drawn"), std::string::npos);
}

}  // namespace
}  // namespace vdx
