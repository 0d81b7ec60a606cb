// Whole rendered scenes compared with reviewed goldens: a small scene with
// every drawing rule, and a fight scene built from the demo folder with the
// real loaders.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

#include "content/get_xml.h"
#include "graphics/bitmap_text.h"
#include "graphics/sprite_loading.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"
#include "platform/headless/headless_platform.h"
#include "platform/picture_files.h"
#include "screens/golden.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

TEST(SpriteScene, EveryRuleInOnePicture) {
  // A 16 x 16 arrow pointing up on a key-black background, a glow, a checker.
  Surface arrow = MakeSurface(16, 16);
  arrow.colorKey = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x)
      if ((y < 8 && std::abs(x - 7.5) < y + 0.5) || (y >= 8 && x >= 5 && x <= 10))
        arrow.at(x, y) = y < 8 ? 0xF04030 : 0x3060E0;
  Surface glow = MakeSurface(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const double d = std::hypot(x - 7.5, y - 7.5) / 8;
      const auto v = static_cast<std::uint32_t>(255 * std::max(0.0, 1 - d));
      glow.at(x, y) = (v << 16) | (v << 8) | (v / 2);
    }
  Surface frame = MakeSurface(160, 120);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x)
      frame.at(x, y) = ((x / 10 + y / 10) % 2) ? 0x707880 : 0x303840;

  const float angles[] = {0.0f, 1.5707964f, 3.1415927f, 4.71f, 0.8f};
  for (int i = 0; i < 5; ++i) {
    SpriteArgs a = SpriteAt(4.0f + i * 31, 4, 16, 16, 28, 28);
    a.Angle = angles[i];
    DrawSprite(frame, arrow, a);
  }
  SpriteArgs mirrored = SpriteAt(4, 40, 16, 16, 28, 28);
  mirrored.Flip = 1;
  mirrored.Angle = 0.8f;
  DrawSprite(frame, arrow, mirrored);
  for (int mode = 0; mode < 4; ++mode) {
    SpriteArgs g = SpriteAt(40.0f + mode * 30, 40, 16, 16, 26, 26);
    g.BlendMode = static_cast<std::int16_t>(mode);
    g.Alpha = 0.6f;
    g.Red = 1.0f;
    g.Green = 0.6f;
    g.Blue = 0.3f;
    DrawSprite(frame, glow, g);
  }
  SpriteArgs tinted = SpriteAt(4, 78, 16, 16, 40, 40);
  tinted.Red = 0.2f;
  tinted.Green = 1.0f;
  tinted.Blue = 0.4f;
  DrawSprite(frame, arrow, tinted);
  SpriteArgs clipped = SpriteAt(140, 100, 16, 16, 40, 40);  // past the right and bottom edges
  DrawSprite(frame, arrow, clipped);
  EXPECT_TRUE(testing::MatchesGolden(frame, "sprite_rules"));
}

TEST(SpriteScene, AFightSceneFromTheDemoFolder) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  const PathResolver paths(VDX_DEMO_DIR);
  Settings settings;
  Content content;
  LoadReport report;
  GetXML(paths, settings, content, report);
  LogFile log(folder.path() / "log.txt");
  const LoadContext ctx{platform, paths, log, nullptr};

  cCharacter& kira = *content.Characters.find("Kira");
  cCharacter& vex = *content.Characters.find("Vex");
  cStage& stage = *content.Stages.find("Harbour");
  FighterFrames kiraFrames, vexFrames;
  loadcharacteractions(ctx, kira, kiraFrames, vex.Path, false);
  loadcharacteractions(ctx, vex, vexFrames, kira.Path, false);
  FramePool effects, scenery;
  loadcharactereffects(ctx, kira, vex, effects);
  loadstageanims(ctx, stage, scenery);
  const SharedSurface background = LoadPicture(ctx, "\\Stages\\" + stage.Background, 1280, 480);
  ASSERT_TRUE(background);

  Surface frame = MakeSurface(640, 480);
  const int cameraX = (stage.Width - 640) / 2;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      frame.at(x, y) = background->at(x + cameraX, y);
  for (const cAnim& a : stage.Animations) {
    SpriteArgs args = SpriteAt(a.X, a.Y, a.Width, a.Height);
    args.Alpha = static_cast<float>(a.Alpha > 0 ? a.Alpha : 1.0);
    args.BlendMode = a.BlendMode;
    DrawSprite(frame, *scenery.frames[a.Offset - 1], args);
  }
  // Shadows: the frame squashed to 64 rows and turned upside down, dark and faint.
  const cAction& kiraKick = *kira.Actions.find("Kick");
  const cAction& vexStand = *vex.Actions.find("Standing");
  const Surface& kiraFrame = *kiraFrames.frames[kiraKick.Offset - 1 + 2];
  const Surface& vexFrame = *vexFrames.frames[vexStand.Offset - 1];
  const struct {
    const Surface* surface;
    float x;
    std::int16_t flip;
  } fighters[] = {{&kiraFrame, 120, 0}, {&vexFrame, 300, 1}};
  for (const auto& f : fighters) {
    SpriteArgs shadow = SpriteAt(f.x, 402, 256, 256, 256, 64);
    shadow.Angle = 4.71f;
    shadow.Red = shadow.Green = shadow.Blue = 0.1f;
    shadow.Alpha = 0.5f;
    shadow.Flip = f.flip;
    DrawSprite(frame, *f.surface, shadow);
  }
  for (const auto& f : fighters) {
    SpriteArgs body = SpriteAt(f.x, static_cast<float>(kira.yOffset), 256, 256);
    body.Flip = f.flip;
    DrawSprite(frame, *f.surface, body);
  }
  // Kira's flame on its way, additive.
  const cEffect& flame = *kira.Effects.find("KiraFlame");
  SpriteArgs fire = SpriteAt(250, 270, flame.Width, flame.Height);
  fire.BlendMode = flame.BlendMode;
  DrawSprite(frame, *effects.frames[flame.Offset - 1], fire);  // its first frame
  // The names in the bitmap font.
  BitmapFont font;
  const auto sheet = LoadPicture(ctx, "\\VDXFont.bmp", 512, 512);
  ASSERT_TRUE(sheet);
  font.sheet = *sheet;
  font.sheet.colorKey = 0;
  font.glyphs = &content.FontChars;
  DrawBitmapText(frame, font, "KIRA", 40, 24, 1, 1, 1, 0, 0.4f, 1);
  DrawBitmapText(frame, font, "VEX", 470, 24, 1, 0.8f, 0.2f, 1, 0.4f, 1);
  EXPECT_TRUE(testing::MatchesGolden(frame, "fight_scene"));

  // System-font text depends on the fonts installed, so it is checked apart:
  // the stage name in the menu style, written into the picture for people.
  cFont title = settings.MenuFont;
  title.FontColor = 0x00FFFF;
  title.Size = 16;
  EXPECT_TRUE(DrawSystemText(platform, frame, title, "Harbour", 280, 440));
  const auto picture = testing::PictureFolder() / "fight_scene.png";
  EXPECT_TRUE(platform::WritePng(picture.string(), 640, 480, frame.pixels));
  std::cout << "the scene with its text: " << picture.string() << "\n";
}

}  // namespace
}  // namespace vdx
