#include "graphics/sprite_loading.h"

#include <gtest/gtest.h>

#include "content/get_xml.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

TEST(FrameFileNumber, ReadsEveryOtherFileInLowDetail) {
  EXPECT_EQ(FrameFileNumber(1, 1, 5), 1);
  EXPECT_EQ(FrameFileNumber(5, 1, 5), 5);
  EXPECT_EQ(FrameFileNumber(1, 2, 4), 1);
  EXPECT_EQ(FrameFileNumber(2, 2, 4), 3);
  EXPECT_EQ(FrameFileNumber(4, 2, 4), 7);
  EXPECT_EQ(FrameFileNumber(5, 2, 4), 7) << "never past 2 x Count - 1";
}

class DemoLoading : public ::testing::Test {
 protected:
  DemoLoading()
      : paths(VDX_DEMO_DIR), log(folder.path() / "log.txt"), ctx{platform, paths, log, nullptr} {
    GetXML(paths, settings, content, report);
  }
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  PathResolver paths;
  LogFile log;
  LoadContext ctx;
  Settings settings;
  Content content;
  LoadReport report;
};

TEST_F(DemoLoading, LoadsAFightersFramesWithOffsetsAliasesAndBoxes) {
  cCharacter& kira = *content.Characters.find("Kira");
  FighterFrames frames;
  loadcharacteractions(ctx, kira, frames, "brann", false);
  std::size_t expected = 0;
  for (const cAction& a : kira.Actions)
    expected += a.Count;
  ASSERT_EQ(frames.frames.size(), expected);
  ASSERT_EQ(frames.boxes.size(), expected);
  EXPECT_EQ(kira.Actions.find("Standing")->Offset, 1);
  const cAction& walk = *kira.Actions.find("Walk");
  const cAction& dash = *kira.Actions.find("Dash");
  EXPECT_EQ(walk.Offset, 1 + kira.Actions.find("Standing")->Count);
  for (int k = 0; k < walk.Count; ++k)
    EXPECT_EQ(frames.frames[dash.Offset - 1 + k], frames.frames[walk.Offset - 1 + k])
        << "an alias shows the very same surfaces";
  const cAction& grab = *kira.Actions.find("Throw");
  EXPECT_EQ(frames.frames[grab.Offset - 1]->width, 364);
  EXPECT_EQ(frames.frames[walk.Offset - 1]->width, 256);
  EXPECT_EQ(frames.frames[walk.Offset - 1]->colorKey, 0u) << "fighters are keyed on black";
  EXPECT_EQ(walk.smartCollisions.size(), static_cast<std::size_t>(walk.Count));
  EXPECT_EQ(walk.smartCollisions[0].size(), 17u);
  EXPECT_FALSE(frames.sounds.empty());
  EXPECT_NE(folder.read("log.txt").find("\"Loading Character actions for Kira\"\r\n"),
            std::string::npos);
}

TEST_F(DemoLoading, PackedFramesLoadLikeBitmaps) {
  cCharacter& vex = *content.Characters.find("Vex");
  ASSERT_TRUE(vex.UseVDP);
  FighterFrames frames;
  loadcharacteractions(ctx, vex, frames, "kira", false);
  const Surface& standing = *frames.frames[0];
  EXPECT_EQ(standing.width, 256);
  int drawn = 0;
  for (std::uint32_t p : standing.pixels)
    drawn += p != 0;
  EXPECT_GT(drawn, 3000) << "a whole figure, not an empty frame";
  EXPECT_EQ(standing.at(0, 0), 0u);
  EXPECT_EQ(folder.read("log.txt").find("Error"), std::string::npos) << folder.read("log.txt");
}

TEST_F(DemoLoading, EffectsAndSceneryTakeTheirSizesAndKeys) {
  cCharacter& kira = *content.Characters.find("Kira");
  cCharacter& brann = *content.Characters.find("Brann");
  FramePool effects;
  loadcharactereffects(ctx, kira, brann, effects);
  std::size_t frames = 0;
  for (const cEffect& e : kira.Effects)
    frames += e.Frames;
  for (const cEffect& e : brann.Effects)
    frames += e.Frames;
  EXPECT_EQ(effects.frames.size(), frames);
  const cEffect& flame = *kira.Effects.find("KiraFlame");
  EXPECT_EQ(effects.frames[flame.Offset - 1]->width, flame.Width);
  const cEffect& thud = *brann.Effects.find("BrannThud");
  const cEffect& dust = *brann.Effects.find("BrannDust");
  EXPECT_EQ(effects.frames[thud.Offset - 1], effects.frames[dust.Offset - 1]);

  cStage& harbour = *content.Stages.find("Harbour");
  FramePool scenery;
  loadstageanims(ctx, harbour, scenery);
  const cAnim& gulls = *harbour.Animations.find("HarbourGulls");
  EXPECT_EQ(scenery.frames[gulls.Offset - 1]->height, gulls.Height);
  EXPECT_EQ(gulls.CurFrame, gulls.Offset);
}

TEST_F(DemoLoading, PortraitsFallBackToTheBackground) {
  CharacterPortraits characters(ctx, content.Characters, 200, 240);
  EXPECT_EQ(folder.read("log.txt").rfind("\"Loading Character Portraits\"\r\n", 0), 0u)
      << "a new log";
  EXPECT_EQ(characters.decoded(), 0u) << "nothing before it is shown";
  const auto entries = static_cast<int>(content.Characters.size()) + 1;
  EXPECT_EQ(characters.get(1)->width, 200);
  EXPECT_EQ(characters.get(entries)->height, 240);
  EXPECT_EQ(characters.get(0), nullptr);
  EXPECT_EQ(characters.get(entries + 1), nullptr);
  EXPECT_EQ(characters.get(1), characters.get(1)) << "kept, not decoded again";
  EXPECT_EQ(characters.decoded(), 2u);
  const auto stages = LoadStagePortraits(ctx, content.Stages);
  EXPECT_EQ(stages.size(), content.Stages.size());
  EXPECT_EQ(stages[0]->width, 300);
  EXPECT_EQ(stages[0]->height, 224);
}

TEST(SpriteLoading, TheSelectScreenKeepsOnlyTheLastFewPortraits) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  const PathResolver paths(folder.path());
  LogFile log(folder.path() / "log.txt");
  const LoadContext ctx{platform, paths, log, nullptr};
  Collection<cCharacter> roster;
  for (int n = 1; n <= 1000; ++n) {
    cCharacter c;
    c.Name = "C" + std::to_string(n);
    c.Path = c.Name;
    c.Portrait = "p.bmp";
    roster.add(c, c.Name);
  }
  CharacterPortraits portraits(ctx, roster, 20, 30);
  for (int entry = 1; entry <= 1001; ++entry)
    ASSERT_EQ(portraits.get(entry)->width, 20) << "a blank tile for a missing file";
  EXPECT_EQ(portraits.decoded(), 1001u) << "each once while walking the roster";
  const int kept = static_cast<int>(CharacterPortraits::kKept);
  for (int entry = 1001; entry > 1001 - kept; --entry)
    portraits.get(entry);
  EXPECT_EQ(portraits.decoded(), 1001u) << "the last few are kept";
  portraits.get(1001 - kept);
  EXPECT_EQ(portraits.decoded(), 1002u) << "older ones are let go";
}

TEST(SpriteLoading, ShortFoldersAndBrokenFilesNeverLeaveAHole) {
  testing::TestFolder folder;
  // One good frame of three; a second action whose only frame is not a picture.
  const std::uint8_t bmp[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0,   0,   54,  0,   0,  0, 40, 0,
                              0,   0,   2,  0, 0, 0, 1, 0, 0,   0,   1,   0,   24, 0, 0,  0,
                              0,   0,   8,  0, 0, 0, 0, 0, 0,   0,   0,   0,   0,  0, 0,  0,
                              0,   0,   0,  0, 0, 0, 0, 0, 255, 255, 255, 255, 0,  0};
  folder.write("Characters/k/Walk/walk01.bmp",
               std::string_view(reinterpret_cast<const char*>(bmp), sizeof bmp));
  folder.write("Characters/k/Kick/kick01.bmp", "not a picture");
  cCharacter k;
  k.Name = "K";
  k.Path = "k";
  for (const char* name : {"Walk", "Kick", "Punch"}) {
    cAction a;
    a.Name = a.Alias = name;
    a.Sprites = std::string(name) == "Walk"   ? "walk"
                : std::string(name) == "Kick" ? "kick"
                                              : "punch";
    a.Count = 3;
    a.aStep = 1;
    k.Actions.add(a, name);
  }
  platform::HeadlessPlatform platform;
  const PathResolver paths(folder.path());
  Display display;
  LogFile logFile(folder.path() / "log.txt");
  const LoadContext ctx{platform, paths, logFile, &display};
  FighterFrames frames;
  loadcharacteractions(ctx, k, frames, "", true);
  // The progress bar: one 10-pixel step per action, all done, outlined in red.
  EXPECT_EQ(platform.framesPresented(), 3);
  EXPECT_EQ(platform.lastFrame()[465 * 640 + 175], 0xFF9696u);
  EXPECT_EQ(platform.lastFrame()[460 * 640 + 175], 0xFF0000u);
  EXPECT_EQ(platform.lastFrame()[465 * 640 + 205], 0u) << "nothing past 170 + 10 x 3";
  ASSERT_EQ(frames.frames.size(), 9u) << "every action keeps its Count of frames";
  EXPECT_EQ(frames.frames[1], frames.frames[0]) << "a short folder repeats its last frame";
  EXPECT_EQ(k.Actions.find("Punch")->Offset, 7);
  const std::string log = folder.read("log.txt");
  EXPECT_NE(log.find("\"Error in loadcharacteractions "), std::string::npos) << log;
  EXPECT_NE(log.find("kick01.bmp\"\r\n\"481 Invalid picture\"\r\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace vdx
