#include "startup/content_decoding.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "content/content_files.h"
#include "content/content_report.h"
#include "content/game_xml_reader.h"
#include "core/files.h"
#include "platform/headless/headless_platform.h"
#include "unit/sound_samples.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

const std::string kDemo = VDX_DEMO_DIR;

// The mixer the check reads sounds and music with.
class ContentDecoding : public ::testing::Test {
 protected:
  ContentDecoding() { audio.openAudio(); }
  platform::HeadlessPlatform audio;
};

TEST_F(ContentDecoding, PicturesAndMoviesThatDoNotDecodeAreNamedWithWhoNeedsThem) {
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
  FindBrokenFiles(PathResolver(folder.path()), settings, content, audio, report);
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

TEST_F(ContentDecoding, APackedFrameCutShortSaysHowMuchOfTheFrameIsMissing) {
  testing::TestFolder folder;
  const auto whole = ReadWholeFile(kDemo + "/Characters/vex/Standing/stand01.VDP");
  ASSERT_TRUE(whole.has_value());
  const std::size_t half = whole->size() / 8 * 4;  // a whole number of runs
  folder.write("Characters/vex/Standing/stand01.VDP", whole->substr(0, half));
  folder.write("Characters/vex/Walk/walk01.vdp", whole->substr(0, half + 2));
  folder.write("Characters/vex/Block/block01.VDP", *whole);
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<G><C><Character Name="Vex" Path="vex" UseVDP="True">
      <Action Name="Standing" Sprites="stand" Count="1"/>
      <Action Name="Walk" Sprites="walk" Count="1"/>
      <Action Name="Block" Sprites="block" Count="1"/></Character></C></G>)",
              settings, content, report);
  ASSERT_TRUE(report.skipped.empty()) << DescribeSkippedStep(report.skipped.front());
  FindBrokenFiles(PathResolver(folder.path()), settings, content, audio, report);
  ASSERT_EQ(report.broken.size(), 2u) << FormatContentReport(content, report);
  EXPECT_EQ(report.broken[0].path, "\\Characters\\vex\\Standing\\stand01.VDP");
  EXPECT_EQ(report.broken[0].owner, "Character \"Vex\" Action \"Standing\" frame 1");
  EXPECT_NE(report.broken[0].reason.find("pixels unpainted"), std::string::npos)
      << report.broken[0].reason;
  EXPECT_NE(report.broken[0].reason.find("of its 256 x 256 pixels"), std::string::npos);
  EXPECT_GT(std::stol(report.broken[0].reason.substr(report.broken[0].reason.find("leaves ") + 7)),
            256 * 100)
      << "about half of the frame is missing";
  EXPECT_EQ(report.broken[1].reason, "is a packed frame that ends inside a run (cut short?)");
}

TEST_F(ContentDecoding, SoundsAndMusicAreReadByTheMixerAndFighterBitmapsMustHaveTheFrameSize) {
  testing::TestFolder folder;
  folder.write("Sounds/punch.wav", testing::ShortWave());
  folder.write("Sounds/PowerUp.wav", "this is a note, not a sound");
  folder.write("Sounds/select.wav", testing::ShortWave().substr(0, 30));  // cut in its header
  folder.write("Characters/kira/Sounds/kira_shout.wav", "RIFF\x10\0\0\0WAVEjunk");
  folder.write("Stages/Music/menu.ogg", testing::ShortOgg());
  folder.write("Stages/Music/harbour.ogg", "OggS and then nothing");
  const auto menu = ReadWholeFile(kDemo + "/menuback.bmp");  // 640 x 480
  ASSERT_TRUE(menu.has_value());
  folder.write("Characters/kira/Walk/walk01.bmp", *menu);
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<G><SelectScreen SelectSound="select.wav" Music="menu.ogg"/>
      <C><Character Name="Kira" Path="kira" SelectSound="kira_shout.wav">
      <Action Name="Punch" SFX="punch.wav"/><Action Name="Walk" Sprites="walk" Count="1"/>
      </Character></C>
      <S><Stage Name="Harbour" Music="harbour.ogg"/></S></G>)",
              settings, content, report);
  FindBrokenFiles(PathResolver(folder.path()), settings, content, audio, report);
  std::map<std::string, const BrokenFile*> broken;
  for (const BrokenFile& b : report.broken)
    broken[b.path] = &b;
  EXPECT_EQ(broken.size(), 5u) << FormatContentReport(content, report);
  ASSERT_TRUE(broken.contains("\\Sounds\\PowerUp.wav"));
  EXPECT_EQ(broken["\\Sounds\\PowerUp.wav"]->owner, "the game (the pick-up)");
  EXPECT_EQ(broken["\\Sounds\\PowerUp.wav"]->reason, "is not a sound the game can play");
  ASSERT_TRUE(broken.contains("\\Sounds\\select.wav"));
  EXPECT_EQ(broken["\\Sounds\\select.wav"]->owner, "setting SelectScreen SelectSound");
  ASSERT_TRUE(broken.contains("\\Characters\\kira\\Sounds\\kira_shout.wav"))
      << "a fighter's own sound is found in its own folder";
  EXPECT_EQ(broken["\\Characters\\kira\\Sounds\\kira_shout.wav"]->owner,
            "Character \"Kira\" SelectSound");
  ASSERT_TRUE(broken.contains("\\Stages\\Music\\harbour.ogg"));
  EXPECT_EQ(broken["\\Stages\\Music\\harbour.ogg"]->reason, "is not music the game can play");
  ASSERT_TRUE(broken.contains("\\Characters\\kira\\Walk\\walk01.bmp"));
  EXPECT_EQ(broken["\\Characters\\kira\\Walk\\walk01.bmp"]->reason,
            "is 640 x 480 pixels, but a frame of this action is 256 x 256 (the game stretches it)");
  EXPECT_FALSE(broken.contains("\\Sounds\\punch.wav"));
  EXPECT_FALSE(broken.contains("\\Stages\\Music\\menu.ogg"));
}

// The title movie and the stages' select tiles are opened by the game, so the
// check opens them too: cut short or undecodable, they are named; a stage
// without a tile of its own is not missing one (its background stands in).
TEST_F(ContentDecoding, TheTitleMovieAndTheStageTilesAreChecked) {
  testing::TestFolder folder;
  const auto title = ReadWholeFile(kDemo + "/Movies/VDTitle.avi");
  ASSERT_TRUE(title.has_value());
  folder.write("Movies/VDTitle.avi", title->substr(0, 100));
  folder.write("Stages/Portraits/dock.bmp", "BM but nothing else");
  const auto menu = ReadWholeFile(kDemo + "/menuback.bmp");
  ASSERT_TRUE(menu.has_value());
  folder.write("Stages/dock.bmp", *menu);
  folder.write("Stages/pier.bmp", *menu);
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<G><S><Stage Name="Dock" Background="dock.bmp"/>
      <Stage Name="Pier" Background="pier.bmp"/></S></G>)",
              settings, content, report);
  const PathResolver paths(folder.path());
  FindBrokenFiles(paths, settings, content, audio, report);
  std::map<std::string, const BrokenFile*> broken;
  for (const BrokenFile& b : report.broken)
    broken[b.path] = &b;
  ASSERT_TRUE(broken.contains("\\Movies\\VDTitle.avi")) << FormatContentReport(content, report);
  EXPECT_EQ(broken["\\Movies\\VDTitle.avi"]->reason, "is not a movie the game can decode");
  ASSERT_TRUE(broken.contains("\\Stages\\Portraits\\dock.bmp"));
  EXPECT_EQ(broken["\\Stages\\Portraits\\dock.bmp"]->owner, "Stage \"Dock\" Portrait");
  EXPECT_EQ(broken["\\Stages\\Portraits\\dock.bmp"]->reason, "is not a bitmap the game can read");
  EXPECT_EQ(broken.size(), 2u);

  FindMissingFiles(paths, settings, content, report);
  for (const MissingFile& m : report.missing)
    EXPECT_EQ(m.path.find("Portraits"), std::string::npos) << m.path << " is not needed";
  std::filesystem::remove(folder.path() / "Movies/VDTitle.avi");
  LoadReport without;
  FindMissingFiles(paths, settings, content, without);
  bool titleMissing = false;
  for (const MissingFile& m : without.missing)
    titleMissing = titleMissing || m.path == "\\Movies\\VDTitle.avi";
  EXPECT_TRUE(titleMissing);
}

}  // namespace
}  // namespace vdx
