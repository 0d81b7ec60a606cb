#include "content/ai_story_reader.h"

#include <gtest/gtest.h>

namespace vdx {
namespace {

TEST(AiReader, ReadsProfilesAndTheirMoves) {
  Content content;
  LoadReport report;
  ReadAiXml(R"(<AI>
    <Character Name="Kira" Aggression="70" Attack="60" AttackFar="20" Block="40" Retreat="10">
      <Move Name="Punch" Type="Close" Region="High"/>
      <Anything Name="Sweep" Type="Close" Region="Low" Attack="False"/>
      <Move Name="punch" Type="Far" Region="Mid"/>
    </Character>
    <Character Name="Nobody" Aggression="1"/>
    <Character Aggression="5"/>
    <Other><Character Name="Hidden"/></Other>
  </AI>)",
            content, report);
  ASSERT_EQ(content.AIProfiles.size(), 2u) << "a profile for an unknown name still loads";
  const cAI* kira = content.AIProfiles.find("KIRA");
  ASSERT_NE(kira, nullptr);
  EXPECT_EQ(kira->Aggression, 70);
  EXPECT_EQ(kira->Attack, 60);
  EXPECT_EQ(kira->AttackFar, 20);
  EXPECT_EQ(kira->Block, 40);
  EXPECT_EQ(kira->Retreat, 10);
  ASSERT_EQ(kira->Moves.size(), 2u);
  EXPECT_EQ(kira->Moves.at(1)->mType, "Close");
  EXPECT_EQ(kira->Moves.at(1)->Region, "High");
  EXPECT_TRUE(kira->Moves.at(1)->Attack) << "a move without Attack attacks";
  EXPECT_FALSE(kira->Moves.find("Sweep")->Attack);
  EXPECT_EQ(content.AIProfiles.find("Hidden"), nullptr)
      << "elements other than Character are ignored with their children";
  EXPECT_EQ(report.skipped.size(), 2u) << "the duplicate move and the nameless profile";
}

TEST(StoryReader, ReadsLaddersInOrder) {
  Content content;
  LoadReport report;
  ReadStoryXml(R"(<Story>
    <Character Name="Kira" Opponents="3" WinFile="Movies\kira_end.avi">
      <Opponent Name="Brann" Stage="Harbour" BeforeFile="Movies\b.avi"/>
      <Opponent Name="Oto" Stage="Temple"/>
      <Opponent Name="brann" Stage="Roof"/>
      <Opponent Name="Vex" Stage="Roof" BeforeFile="Movies\v.avi"/>
    </Character>
  </Story>)",
               content, report);
  const cStory* kira = content.Stories.find("Kira");
  ASSERT_NE(kira, nullptr);
  EXPECT_EQ(kira->Character, "Kira");
  EXPECT_EQ(kira->OpponentCount, 3);
  EXPECT_EQ(kira->WinFile, "Movies\\kira_end.avi");
  ASSERT_EQ(kira->Opponents.size(), 3u) << "the second opponent named alike is dropped";
  EXPECT_EQ(kira->Opponents.at(1)->Name, "Brann");
  EXPECT_EQ(kira->Opponents.at(1)->stage, "Harbour");
  EXPECT_EQ(kira->Opponents.at(1)->beforefile, "Movies\\b.avi");
  EXPECT_EQ(kira->Opponents.at(2)->Name, "Oto");
  EXPECT_EQ(kira->Opponents.at(3)->Name, "Vex");
  EXPECT_EQ(report.skipped.size(), 1u);
}

TEST(StoryReader, BrokenFilesLeaveNothing) {
  Content content;
  LoadReport report;
  ReadStoryXml("<Story><Character Name=\"K\">", content, report);
  ReadAiXml("not xml at all", content, report);
  EXPECT_TRUE(content.Stories.empty());
  EXPECT_TRUE(content.AIProfiles.empty());
  ASSERT_EQ(report.skipped.size(), 2u);
  EXPECT_EQ(report.skipped[0].file, "story.xml");
  EXPECT_EQ(report.skipped[1].file, "ai.xml");
}

}  // namespace
}  // namespace vdx
