#include "startup/content_decoding.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "content/content_report.h"
#include "core/files.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

const std::string kDemo = VDX_DEMO_DIR;

TEST(ContentDecoding, PicturesAndMoviesThatDoNotDecodeAreNamedWithWhoNeedsThem) {
  testing::TestFolder folder;
  const auto menu = ReadWholeFile(kDemo + "/menuback.bmp");
  ASSERT_TRUE(menu.has_value());
  folder.write("good.bmp", *menu);
  folder.write("cut.bmp", menu->substr(0, 40));  // the header cut short
  folder.write("Stages/night.BMP", "BM but nothing else");
  const auto title = ReadWholeFile(kDemo + "/Movies/VDTitle.avi");
  ASSERT_TRUE(title.has_value());
  folder.write("Movies/good.avi", *title);
  folder.write("Movies/bad.avi", "RIFF\x10\0\0\0AVI junk junk junk");

  Settings settings;
  settings.MenuBack = "good.bmp";
  settings.SelectScreenBackground = "cut.bmp";
  settings.StageSelectBackground = "CUT.bmp";
  Content content;
  for (const char* name : {"Dock", "Pier"}) {
    cStage stage;
    stage.Name = name;
    stage.Background = "night.bmp";
    content.Stages.add(std::move(stage), name);
  }
  cStory story;
  story.Character = "Kira";
  story.WinFile = "Movies\\bad.avi";
  cOpponents first;
  first.Name = "Vex";
  first.beforefile = "Movies\\good.avi";
  story.Opponents.add(std::move(first), "Vex");
  content.Stories.add(std::move(story), "Kira");

  LoadReport report;
  FindBrokenFiles(PathResolver(folder.path()), settings, content, report);
  std::map<std::string, const BrokenFile*> broken;
  for (const BrokenFile& b : report.broken)
    broken[b.path] = &b;
  ASSERT_EQ(broken.size(), 3u) << FormatContentReport(content, report);
  ASSERT_TRUE(broken.contains("\\cut.bmp"));
  EXPECT_EQ(broken["\\cut.bmp"]->owner,
            "setting SelectScreen Background; setting Stages SelectBackground");
  EXPECT_EQ(broken["\\cut.bmp"]->reason, "is not a bitmap the game can read");
  ASSERT_TRUE(broken.contains("\\Stages\\night.bmp"));
  EXPECT_EQ(broken["\\Stages\\night.bmp"]->owner,
            "Stage \"Dock\" Background; Stage \"Pier\" Background");
  ASSERT_TRUE(broken.contains("\\Movies\\bad.avi"));
  EXPECT_EQ(broken["\\Movies\\bad.avi"]->owner, "story of \"Kira\" WinFile");
  EXPECT_EQ(broken["\\Movies\\bad.avi"]->reason, "is not a movie the game can decode");
  EXPECT_NE(FormatContentReport(content, report).find("Files the game cannot use (3):"),
            std::string::npos);
}

}  // namespace
}  // namespace vdx
