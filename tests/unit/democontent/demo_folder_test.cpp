// The generated demo folder, read as the game will read it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "content/get_xml.h"
#include "core/files.h"
#include "match/pause_menu.h"
#include "platform/bmp_decoder.h"

namespace vdx {
namespace {

namespace fs = std::filesystem;

const fs::path kDemo = VDX_DEMO_DIR;

std::optional<platform::Image> Picture(const fs::path& path) {
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return platform::DecodeBmp(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
}

class DemoFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(kDemo / "Game.xml")) << "build the demo_content target first";
    GetXML(paths, settings, content, report);
  }
  PathResolver paths{kDemo};
  Settings settings;
  Content content;
  LoadReport report;
};

TEST_F(DemoFolder, ReadsWithoutASkippedStep) {
  EXPECT_TRUE(report.skipped.empty());
  EXPECT_GE(content.Characters.size(), 3u);
  EXPECT_GE(content.Stages.size(), 3u);
  EXPECT_EQ(settings.Rounds, 3);
  bool disabledStage = false, wavMusic = false, rain = false, snow = false;
  for (const cStage& s : content.Stages) {
    disabledStage |= s.Disabled;
    wavMusic |= s.Music.size() > 3 && s.Music.substr(s.Music.size() - 3) == "WAV";
    rain |= s.bRain;
    snow |= s.bSnow;
    EXPECT_EQ(s.Width, 1280);
  }
  EXPECT_TRUE(disabledStage && wavMusic && rain && snow);
  // The two players' keys never share a code.
  const cKeys& a = settings.Player1Keys;
  const cKeys& b = settings.Player2Keys;
  std::set<int> codes = {a.Up, a.Down, a.Forward, a.Backward, a.Punch, a.Kick, a.Block,
                         b.Up, b.Down, b.Forward, b.Backward, b.Punch, b.Kick, b.Block};
  EXPECT_EQ(codes.size(), 14u);
}

TEST_F(DemoFolder, EveryFighterHasTheActionsTheFightLooksUp) {
  for (const cCharacter& c : content.Characters) {
    for (const char* name : {"Standing", "Walk", "Duck", "Hit", "MidHit", "HighHit", "HardHit",
                             "KO", "Block", "Jump", "Flip", "SweepKick", "Sexuality"})
      EXPECT_NE(c.Actions.find(name), nullptr) << c.Name << " lacks " << name;
    int specials = 0, grabs = 0, jumping = 0, reverse = 0, aliases = 0;
    for (const cAction& a : c.Actions) {
      specials += a.AnimationType == "Special" && !a.EffectList.empty();
      grabs += a.AnimationType == "Grab";
      jumping += a.Performed == "Jumping";
      reverse += a.AnimationType == "ActiveReverse" && a.Activate.find('D') != std::string::npos;
      aliases += a.Alias != a.Name;
    }
    EXPECT_GE(specials, 1) << c.Name;
    EXPECT_EQ(grabs, 1) << c.Name;
    EXPECT_GE(jumping, 2) << c.Name;
    EXPECT_GE(reverse, 2) << c.Name;
    EXPECT_GE(aliases, 1) << c.Name;
    EXPECT_NE(content.AIProfiles.find(c.Name), nullptr);
    const cStory* story = content.Stories.find(c.Name);
    ASSERT_NE(story, nullptr);
    EXPECT_GE(story->Opponents.size(), 3u);
  }
}

TEST_F(DemoFolder, UsesTheWholeFormat) {
  int nextAction = 0, xOffset = 0, yOffset = 0, hard = 0, high = 0, mid = 0, particles = 0,
      hold = 0, vdp = 0;
  int turning = 0, fading = 0, scaling = 0, additive = 0, mode3 = 0, delayed = 0, bubble = 0,
      flying = 0, effectAlias = 0;
  for (const cCharacter& c : content.Characters) {
    vdp += c.UseVDP;
    for (const cAction& a : c.Actions) {
      nextAction += !a.NextAction.empty() && c.Actions.find(a.NextAction) != nullptr;
      xOffset += a.xOffset != 0;
      yOffset += a.yOffset != 0;
      hard += a.HardHit;
      high += a.HighHit;
      mid += a.MidHit;
      particles += a.ShowParticles;
      hold += a.HoldLastFrame > 0;
    }
    for (const cEffect& e : c.Effects) {
      turning += e.AngleChange != 0;
      fading += e.AlphaChange != 0;
      scaling += e.ScaleChange != 0;
      additive += e.BlendMode == 1;
      mode3 += e.BlendMode == 3;
      delayed += e.StartDelay > 0;
      bubble += e.Name.find("BUBBLE") != std::string::npos;
      effectAlias += e.Alias != e.Name;
      const cEffect* next = e.NextEffect.empty() ? nullptr : c.Effects.find(e.NextEffect);
      flying += e.MoveHorizontal != 0 && e.Damage > 0 && next != nullptr;
    }
  }
  for (int used : {nextAction, xOffset, yOffset, hard, high, mid, particles, hold, vdp, turning,
                   fading, scaling, additive, mode3, delayed, bubble, flying, effectAlias})
    EXPECT_GT(used, 0);
}

TEST_F(DemoFolder, PicturesHaveTheirSizes) {
  struct Want {
    const char* path;
    int width, height;
  };
  for (const Want& w : {Want{"\\text.bmp", 512, 512}, Want{"\\VDXFont.bmp", 512, 512},
                        Want{"\\menuback.bmp", 640, 480}, Want{"\\random.bmp", 180, 240},
                        Want{"\\bullet.bmp", 16, 16}, Want{"\\ball.bmp", 40, 40},
                        Want{"\\effects\\spark\\spark.bmp", 16, 16}}) {
    const auto path = paths.find(w.path);
    ASSERT_TRUE(path) << w.path;
    const auto image = Picture(*path);
    ASSERT_TRUE(image) << w.path;
    EXPECT_EQ(image->width, w.width) << w.path;
    EXPECT_EQ(image->height, w.height) << w.path;
  }
  for (const cStage& s : content.Stages) {
    const auto image = Picture(*paths.find("\\Stages\\" + s.Background));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 1280);
    EXPECT_EQ(image->height, 480);
    EXPECT_TRUE(paths.find("\\Stages\\Portraits\\" + s.Background));
  }
}

// The select screens write "SELECT CHARACTER" from (200, 160) and each
// player's "SELECTED" at (tile + 30, 240), over tiles drawn at (20, 160) and
// (440, 160): the tiles keep clear of the one and give the other a dark band.
TEST_F(DemoFolder, PortraitTilesLeaveRoomForTheWordsTheGameWritesOverThem) {
  EXPECT_EQ(settings.PortraitWidth, 180) << "tiles end 20 pixels short of the heading";
  EXPECT_EQ(settings.PortraitHeight, 240);
  std::vector<std::string> tiles = {"\\random.bmp"};
  for (const cCharacter& c : content.Characters)
    tiles.push_back("\\Characters\\" + c.Path + "\\Select\\" + c.Portrait);
  for (const std::string& tile : tiles) {
    const auto image = Picture(*paths.find(tile));
    ASSERT_TRUE(image) << tile;
    ASSERT_EQ(image->width, settings.PortraitWidth) << tile;
    ASSERT_EQ(image->height, settings.PortraitHeight) << tile;
    const auto at = [&](int x, int y) { return image->pixels[y * image->width + x]; };
    for (int y = 0; y < image->height; ++y)
      for (int x : {0, 9, 170, 179})
        ASSERT_EQ(at(x, y), 0u) << tile << " (" << x << ", " << y << "): margins are the key";
    // "SELECTED" is some 100 x 20 pixels from (30, 80) of the tile: dark under it.
    for (int y = 76; y < 104; ++y)
      for (int x = 16; x < 164; ++x) {
        const std::uint32_t p = at(x, y);
        const std::uint32_t brightest = std::max({(p >> 16) & 0xFFu, (p >> 8) & 0xFFu, p & 0xFFu});
        ASSERT_LT(brightest, 100u) << tile << " (" << x << ", " << y << ")";
      }
  }
}

// The pause menu's items on its panel of (255, 200, 200): a contrast ratio of
// at least 4.5 (the common rule for text) for both colours.
TEST_F(DemoFolder, ThePauseMenuReadsOnItsPanel) {
  const auto luminance = [](Long bgr) {
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};  // red, green, blue
    for (int i = 0; i < 3; ++i) {
      const double c = static_cast<double>((bgr >> (8 * i)) & 0xFF) / 255.0;
      sum += weights[i] * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
  };
  const double panel = luminance(0xC8C8FF);
  const auto [plain, chosen] = PauseMenuColours(settings);
  EXPECT_GE((panel + 0.05) / (luminance(plain) + 0.05), 4.5);
  EXPECT_GE((panel + 0.05) / (luminance(chosen) + 0.05), 4.5);
  EXPECT_NE(plain, chosen);
}

TEST_F(DemoFolder, FighterFramesAreComplete) {
  for (const cCharacter& c : content.Characters) {
    for (const cAction& a : c.Actions) {
      if (a.Alias != a.Name) continue;
      const bool grab = a.AnimationType == "Grab";
      std::vector<std::string> folders;
      if (grab) {
        for (const cCharacter& o : content.Characters)
          folders.push_back("\\Characters\\" + c.Path + "\\" + a.Name + "\\" + o.Path);
      } else {
        folders.push_back("\\Characters\\" + c.Path + "\\" + a.Name);
      }
      const int width = grab ? 364 : 256;
      for (const std::string& folder : folders) {
        EXPECT_EQ(paths.list(folder).size(), static_cast<std::size_t>(a.Count)) << folder;
        for (int k = 1; k <= a.Count; ++k) {
          const std::string number = (k < 10 ? "0" : "") + std::to_string(k);
          const std::string file =
              folder + "\\" + a.Sprites + number + (c.UseVDP ? ".VDP" : ".bmp");
          const auto path = paths.find(file);
          ASSERT_TRUE(path) << file;
          if (c.UseVDP) {
            const auto bytes = ReadWholeFile(*path);
            ASSERT_EQ(bytes->size() % 4, 0u) << file;
            std::size_t covered = 0;
            for (std::size_t i = 0; i < bytes->size(); i += 4)
              covered += static_cast<std::uint8_t>((*bytes)[i]);
            EXPECT_EQ(covered, static_cast<std::size_t>(width) * 256) << file;
          } else {
            const auto image = Picture(*path);
            ASSERT_TRUE(image) << file;
            EXPECT_EQ(image->width, width) << file;
            EXPECT_EQ(image->height, 256) << file;
            EXPECT_EQ(image->pixels[0], 0u) << file << ": black is the fighters' key colour";
          }
        }
      }
    }
  }
}

TEST_F(DemoFolder, GlyphsLieOnTheFontSheet) {
  const auto sheet = Picture(*paths.find("\\VDXFont.bmp"));
  ASSERT_TRUE(sheet);
  for (int code = 33; code <= 126; ++code) {
    const cRect* g = content.FontChars.find(std::to_string(code));
    ASSERT_NE(g, nullptr) << "no glyph for " << char(code);
    ASSERT_GE(g->Left, 0);
    ASSERT_LE(g->Right, 512);
    ASSERT_LE(g->Bottom, 512);
    ASSERT_LE(g->Right - g->Left, 128) << "glyphs are cut at 128";
    int ink = 0;
    for (int y = g->Top; y < g->Bottom; ++y)
      for (int x = g->Left; x < g->Right; ++x)
        ink += sheet->pixels[y * 512 + x] != 0;
    EXPECT_GT(ink, 5) << "glyph " << char(code) << " is empty";
  }
}

TEST_F(DemoFolder, SoundsAreSmallWaveFiles) {
  for (const std::string& name : paths.list("\\Sounds")) {
    const auto bytes = ReadWholeFile(*paths.find("\\Sounds\\" + name));
    ASSERT_TRUE(bytes && bytes->size() > 44) << name;
    EXPECT_EQ(bytes->substr(0, 4), "RIFF") << name;
    EXPECT_EQ(static_cast<std::uint8_t>((*bytes)[22]), 1) << name << ": mono";
    EXPECT_EQ(static_cast<std::uint8_t>((*bytes)[24]) | static_cast<std::uint8_t>((*bytes)[25])
                                                            << 8,
              11025)
        << name;
    EXPECT_EQ(static_cast<std::uint8_t>((*bytes)[34]), 8) << name << ": 8-bit";
  }
  EXPECT_TRUE(paths.find("\\Sounds\\PowerUp.wav"));
}

}  // namespace
}  // namespace vdx
