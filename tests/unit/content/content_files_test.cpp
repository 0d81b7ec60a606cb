#include "content/content_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "content/ai_story_reader.h"
#include "content/content_report.h"
#include "content/game_xml_reader.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

bool Names(const std::vector<NamedFile>& files, const std::string& path) {
  return std::any_of(files.begin(), files.end(),
                     [&](const NamedFile& f) { return f.path == path; });
}

TEST(ContentFiles, ListsWhatTheContentNames) {
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<G Rounds="5">
    <SelectScreen MenuBack="menu.bmp" Background="select.bmp" Music="pick.ogg"
                  SelectSound="select.wav" SplashScreen="splash.bmp"/>
    <Characters>
      <Character Name="Kira" Path="kira" Portrait="kira.bmp">
        <Action Name="Walk" Sprites="walk" Count="6"/>
        <Action Name="Stroll" Alias="Walk" Sprites="walk" Count="6"/>
        <Action Name="Throw" Sprites="throw" Count="6" AnimType="Grab"/>
        <Effect Name="Flame" ActionName="None" Sprites="fly" Frames="4"/>
        <Effect Name="Flame2" ActionName="None" Sprites="fly" Frames="4" Alias="Flame"/>
      </Character>
      <Character Name="Vex" Path="vex" UseVDP="True"><Action Name="Walk" Sprites="w" Count="2"/></Character>
    </Characters>
    <Stages><Stage Name="Harbour" Background="harbour.bmp" Music="harbour.ogg">
      <Cloud Name="Clouds" Sprites="cloud" Frames="1"/></Stage></Stages>
    <Events><Event Type="OnWinRound" File="win.avi"/><Event Type="OnLoseGame" File="lose.avi"/>
            <Event Type="OnWinGame" File=""/></Events>
  </G>)",
              settings, content, report);
  ReadStoryXml(R"(<S><Character Name="Kira" WinFile="Movies\end.avi">
      <O Name="Vex" BeforeFile="Movies\vex.avi"/></Character></S>)",
               content, report);
  // Kira's throw has a folder for Vex and for Kira herself.
  testing::TestFolder folder;
  folder.write("Characters/kira/Throw/vex/throw01.bmp", "x");
  folder.write("Characters/kira/Throw/kira/throw01.bmp", "x");
  const auto files = FilesNeededByContent(PathResolver(folder.path()), settings, content);
  EXPECT_TRUE(Names(files, "\\menu.bmp"));
  EXPECT_TRUE(Names(files, "\\select.bmp"));
  EXPECT_TRUE(Names(files, "\\VDXFont.bmp"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Select\\kira.bmp"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Walk\\walk01.bmp"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Walk\\walk06.bmp")) << "every frame";
  EXPECT_FALSE(Names(files, "\\Characters\\kira\\Walk\\walk07.bmp"));
  // A throw is drawn once per opponent, the thrower itself included.
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Throw\\vex\\throw06.bmp"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Throw\\kira\\throw01.bmp"));
  EXPECT_FALSE(Names(files, "\\Characters\\kira\\Throw\\throw01.bmp"));
  EXPECT_TRUE(Names(files, "\\splash.bmp"));
  EXPECT_TRUE(Names(files, "\\Stages\\Music\\pick.ogg"));
  EXPECT_TRUE(Names(files, "\\Sounds\\select.wav"));
  EXPECT_TRUE(Names(files, "\\Sounds\\PowerUp.wav")) << "the pick-up's sound";
  EXPECT_TRUE(Names(files, "\\Characters\\vex\\Walk\\w01.VDP"));
  EXPECT_FALSE(Names(files, "\\Characters\\kira\\Stroll\\walk01.bmp")) << "aliases reuse frames";
  EXPECT_TRUE(Names(files, "\\Stages\\harbour.bmp"));
  EXPECT_TRUE(Names(files, "\\Effects\\Flame\\fly01.bmp"));
  EXPECT_FALSE(Names(files, "\\Effects\\Flame2\\fly01.bmp")) << "aliased effects share frames";
  EXPECT_TRUE(Names(files, "\\Stages\\Clouds\\cloud01.bmp"));
  EXPECT_TRUE(Names(files, "\\Stages\\Music\\harbour.ogg"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\lose.avi"));
  // Five rounds need three wins, so round movies follow wins 1 and 2.
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\1_win.avi"));
  EXPECT_TRUE(Names(files, "\\Characters\\vex\\2_win.avi"));
  EXPECT_FALSE(Names(files, "\\Characters\\kira\\3_win.avi"));
  EXPECT_TRUE(Names(files, "\\Movies\\end.avi"));
  EXPECT_TRUE(Names(files, "\\Movies\\vex.avi"));
}

TEST(ContentFiles, ReportsOnlyTheMissingOnes) {
  testing::TestFolder folder;
  folder.write("menu.BMP", "x");
  Settings settings;
  settings.MenuBack = "menu.bmp";
  settings.SelectScreenBackground = "Menu.bmp";
  Content content;
  cStage stage;
  stage.Name = "Roof";
  stage.Background = "roof.bmp";
  content.Stages.add(std::move(stage), "Roof");
  LoadReport report;
  FindMissingFiles(PathResolver(folder.path()), settings, content, report);
  const auto missing = [&](const std::string& path) {
    return std::any_of(report.missing.begin(), report.missing.end(),
                       [&](const MissingFile& m) { return m.path == path; });
  };
  EXPECT_FALSE(missing("\\menu.bmp"));
  EXPECT_FALSE(missing("\\Menu.bmp"));
  EXPECT_TRUE(missing("\\Stages\\roof.bmp"));
  EXPECT_TRUE(missing("\\text.bmp"));
}

TEST(ContentFiles, EachMissingFileOnceWithAllWhoNeedItAndClimbingPathsRefused) {
  testing::TestFolder folder;
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<G><Stages>
      <Stage Name="Dock" Background="night.bmp"/><Stage Name="Pier" Background="NIGHT.bmp"/>
      <Stage Name="Away" Background="..\..\secret.bmp"/></Stages>
      <C><Character Name="Kira" Path="kira"><Action Name="Punch" SFX="hit.wav"/></Character>
      <Character Name="Vex" Path="vex"><Action Name="Kick" SFX="Hit.wav"/></Character></C></G>)",
              settings, content, report);
  FindMissingFiles(PathResolver(folder.path()), settings, content, report);
  const auto entry = [&](const std::string& path) -> const MissingFile* {
    for (const MissingFile& m : report.missing)
      if (FoldKey(m.path) == FoldKey(path)) return &m;
    return nullptr;
  };
  const MissingFile* night = entry("\\Stages\\night.bmp");
  ASSERT_NE(night, nullptr);
  EXPECT_EQ(night->owner, "Stage \"Dock\" Background; Stage \"Pier\" Background");
  EXPECT_FALSE(night->refused);
  const MissingFile* hit = entry("\\Sounds\\hit.wav");
  ASSERT_NE(hit, nullptr);
  EXPECT_EQ(hit->owner,
            "Character \"Kira\" Action \"Punch\" SFX; Character \"Vex\" Action \"Kick\" SFX");
  const MissingFile* away = entry("\\Stages\\..\\..\\secret.bmp");
  ASSERT_NE(away, nullptr);
  EXPECT_TRUE(away->refused) << "never looked for, so not missing";

  const std::string text = FormatContentReport(content, report);
  EXPECT_NE(text.find("Refused paths, which would leave the game folder (1):\n  "
                      "\\Stages\\..\\..\\secret.bmp (Stage \"Away\" Background)\n"),
            std::string::npos)
      << text;
  EXPECT_GT(text.find("secret.bmp"), text.find("Refused paths")) << "not among the missing";
}

TEST(ContentFiles, SoundsAreFoundInEitherSoundsFolder) {
  testing::TestFolder folder;
  folder.write("Sounds/Punch.WAV", "x");
  folder.write("Characters/kira/Sounds/kira_shout.wav", "x");
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<G><C><Character Name="Kira" Path="kira">
      <Action Name="Punch" SFX="punch.wav"/><Action Name="Win" SFX="KIRA_SHOUT.wav"/>
      <Action Name="Kick" SFX="kick.wav"/><Action Name="Sweep" SFX="kick.wav"/>
      <Effect Name="Fire" ActionName="None" SFX="fire.wav"/></Character></C></G>)",
              settings, content, report);
  FindMissingFiles(PathResolver(folder.path()), settings, content, report);
  std::vector<std::string> sounds;
  for (const MissingFile& m : report.missing)
    if (m.owner.find("SFX") != std::string::npos) sounds.push_back(m.path);
  EXPECT_EQ(sounds, (std::vector<std::string>{"\\Sounds\\kick.wav", "\\Sounds\\fire.wav"}))
      << "each missing sound once, letter case ignored";
}

// Throws are listed per opponent folder that is there; the folders that are
// not make one entry per throw however long the roster, and characters that
// share a Path share a folder.
TEST(ContentFiles, ThrowFoldersThatAreNotThereMakeOneEntryPerThrow) {
  testing::TestFolder folder;
  folder.write("Characters/kira/Throw/kira/t01.bmp", "x");
  folder.write("Characters/kira/Throw/kira/t02.bmp", "x");
  std::string xml = R"(<G><C>)";
  for (int n = 1; n <= 50; ++n)
    xml +=
        "<Character Name=\"Kira" + std::to_string(n) +
        R"(" Path="kira"><Action Name="Throw" Sprites="t" Count="2" AnimType="Grab"/></Character>)";
  for (int n = 1; n <= 50; ++n)
    xml +=
        "<Character Name=\"Zed" + std::to_string(n) + "\" Path=\"zed" + std::to_string(n) + "\"/>";
  xml += "</C></G>";
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(xml, settings, content, report);
  ASSERT_EQ(content.Characters.size(), 100u);
  const auto files = FilesNeededByContent(PathResolver(folder.path()), settings, content);
  std::size_t throwEntries = 0;
  for (const NamedFile& f : files)
    if (f.owner.find("Action \"Throw\"") != std::string::npos) ++throwEntries;
  EXPECT_EQ(throwEntries, 50u * 3) << "per thrower: two frames on kira, one entry for the rest";
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Throw\\kira\\t02.bmp"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Throw\\zed1\\"));

  FindMissingFiles(PathResolver(folder.path()), settings, content, report);
  const MissingFile* zed = nullptr;
  for (const MissingFile& m : report.missing)
    if (m.path == "\\Characters\\kira\\Throw\\zed1\\") zed = &m;
  ASSERT_NE(zed, nullptr);
  EXPECT_EQ(zed->owner.substr(0, zed->owner.find(';')),
            "Character \"Kira1\" Action \"Throw\" on \"Zed1\" and 49 other opponents (their "
            "folders of frames)");
  std::size_t throwsMissing = 0;
  for (const MissingFile& m : report.missing)
    throwsMissing += m.path.find("Throw") != std::string::npos;
  EXPECT_EQ(throwsMissing, 1u) << "the absent throw folders, once";
}

// An aliased action shows the frames of the action it names only when that one
// comes first and the frames laid out so far hold its Count; otherwise the
// fighter loader reads the alias's folder itself, and so the check and the
// match fingerprint must list those files.
TEST(ContentFiles, AliasedActionsReadTheirFolderWhenTheyCannotShareFrames) {
  Settings settings;
  Content content;
  LoadReport report;
  ReadGameXml(R"(<G><Characters><Character Name="Kira" Path="kira">
      <Action Name="Early" Alias="Kick" Sprites="early" Count="2"/>
      <Action Name="Kick" Sprites="kick" Count="2"/>
      <Action Name="Kick2" Alias="Kick" Sprites="kick" Count="2"/>
      <Action Name="Long" Alias="Kick" Sprites="long" Count="9"/>
      <Action Name="Lost" Alias="Nothing" Sprites="lost" Count="1"/>
      <Action Name="Self" Alias="SELF" Sprites="self" Count="1"/>
      <Effect Name="Spark" ActionName="None" Alias="Flame" Sprites="spark" Frames="3"/>
      <Effect Name="Flame" ActionName="None" Sprites="fly" Frames="4"/>
      <Effect Name="Flame2" ActionName="None" Alias="Flame" Sprites="fly" Frames="4"/>
    </Character></Characters></G>)",
              settings, content, report);
  const cCharacter& kira = *content.Characters.find("Kira");
  EXPECT_EQ(ActionsSharingFrames(kira), (std::vector<bool>{false, false, true, false, false, false}))
      << "Early names a later action, Long needs more frames than were laid out, Lost names "
         "nothing, Self names itself in another letter case";

  testing::TestFolder folder;
  const auto files = FilesNeededByContent(PathResolver(folder.path()), settings, content);
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Kick\\early02.bmp"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Kick\\long09.bmp"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\Nothing\\lost01.bmp"));
  EXPECT_TRUE(Names(files, "\\Characters\\kira\\SELF\\self01.bmp"));
  EXPECT_EQ(std::count_if(files.begin(), files.end(),
                          [](const NamedFile& f) { return f.path.find("kick0") != std::string::npos; }),
            2)
      << "Kick2 shares Kick's two frames";

  // Effects go by the same rule: Spark comes before Flame, Flame2 after it.
  EXPECT_EQ(AnimationsSharingFrames(kira.Effects), (std::vector<bool>{false, false, true}));
  EXPECT_TRUE(Names(files, "\\Effects\\Flame\\spark03.bmp"));
  EXPECT_TRUE(Names(files, "\\Effects\\Flame\\fly04.bmp"));

  std::vector<std::string> fingerprinted;
  ForEachFightFrame(kira, kira, [&](const NamedFile& f) { fingerprinted.push_back(f.path); });
  EXPECT_EQ(fingerprinted.size(), 2u + 2u + 9u + 1u + 1u + 3u + 4u);
}

}  // namespace
}  // namespace vdx
