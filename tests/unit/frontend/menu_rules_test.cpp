// The main menu's and the stage select's rules.
#include <gtest/gtest.h>

#include "frontend/main_menu.h"
#include "frontend/stage_select.h"

namespace vdx {
namespace {

TEST(MainMenu, StripsOfThePictureAndTheirPlaces) {
  EXPECT_EQ(MenuItemStrip(1)->top, 0);
  EXPECT_EQ(MenuItemStrip(1)->width, 200);
  EXPECT_EQ(MenuItemStrip(4)->top, 135);
  EXPECT_EQ(MenuItemStrip(4)->width, 150) << "the fourth strip is narrower";
  EXPECT_EQ(MenuItemStrip(5)->width, 200);
  EXPECT_EQ(MenuItemStrip(11)->top, 450);
  EXPECT_FALSE(MenuItemStrip(12)) << "rows 495 to 537 lie below the picture";
  EXPECT_FALSE(MenuItemStrip(0));
}

TEST(MainMenu, UpAndDownStayWithinTheItems) {
  EXPECT_EQ(MoveMenuSelection(1, "U", 4), 1);
  EXPECT_EQ(MoveMenuSelection(1, "D", 4), 2);
  EXPECT_EQ(MoveMenuSelection(4, "D", 4), 4) << "no wrapping";
  EXPECT_EQ(MoveMenuSelection(3, "DP", 4), 3) << "letters are taken whole";
  EXPECT_EQ(MoveMenuSelection(1, "D", 0), 1);
  EXPECT_TRUE(StartsAMode(1));
  EXPECT_TRUE(StartsAMode(4));
  EXPECT_TRUE(StartsAMode(5)) << "training";
  EXPECT_FALSE(StartsAMode(0));
  EXPECT_FALSE(StartsAMode(6));
}

TEST(StageSelect, WrapsAndRefusesADisabledStage) {
  Collection<cStage> stages;
  for (const char* name : {"Harbour", "Temple", "Rooftop"}) {
    cStage s;
    s.Name = name;
    s.Disabled = std::string(name) == "Rooftop";
    stages.add(s, s.Name);
  }
  StageSelect select = StartStageSelect(stages);
  EXPECT_EQ(select.cursor, 1);
  StepStageSelect(select, stages, "L");
  EXPECT_EQ(select.cursor, 3);
  StepStageSelect(select, stages, "P");
  EXPECT_TRUE(select.chosen.empty()) << "Rooftop is closed";
  StepStageSelect(select, stages, "R");
  EXPECT_EQ(select.cursor, 1);
  StepStageSelect(select, stages, "P");
  EXPECT_EQ(select.chosen, "Harbour");
  StageSelect back = StartStageSelect(stages);
  StepStageSelect(back, stages, "E");
  EXPECT_TRUE(back.back);
  const Collection<cStage> none;
  StageSelect empty = StartStageSelect(none);
  StepStageSelect(empty, none, "P");
  EXPECT_TRUE(empty.chosen.empty());
}

}  // namespace
}  // namespace vdx
