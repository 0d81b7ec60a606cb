#include "match/fighter_hud.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "content/get_xml.h"
#include "graphics/bitmap_text.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

constexpr std::uint32_t kBackground = 0x203040;

// A message expected on screen: bitmap text in white at 0.4 of its size.
struct Message {
  std::string text;
  int x, y;
  float alpha;
};

class FighterHud : public ::testing::Test {
 protected:
  FighterHud() : game(platform, VDX_DEMO_DIR) {
    game.log.path = folder.path() / "log.txt";
    EXPECT_TRUE(GetXML(game.paths, game.settings, game.content, game.loadReport));
    const LoadContext ctx{platform, game.paths, game.log, nullptr};
    EXPECT_TRUE(LoadFontSheet(ctx, game.content.FontChars, game.font));
    pictures = LoadHudPictures(ctx);
  }

  // One frame of one player's meters on a cleared back buffer.
  const Surface& Frame(HudState& hud, const HudPictures& with, const HudInputs& in) {
    game.display.backBuffer = MakeSurface(640, 480, kBackground);
    DrawFighterHud(game, hud, with, in);
    return game.display.backBuffer;
  }

  // The back buffer with just these messages on it.
  Surface Expected(std::initializer_list<Message> messages) {
    Surface s = MakeSurface(640, 480, kBackground);
    for (const Message& m : messages)
      DrawBitmapText(s, game.font, m.text, static_cast<std::int16_t>(m.x),
                     static_cast<std::int16_t>(m.y), 1, 1, 1, 0, 0.4f, m.alpha);
    return s;
  }

  static HudInputs Quiet(int player, std::uint32_t now) {
    HudInputs in;
    in.player = player;
    in.fullHealth = 100;
    in.health = 100;
    in.actionName = "Standing";
    in.now = now;
    return in;
  }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game;
  HudPictures pictures;
  const HudPictures messagesOnly{};  // no bar, no markers: just the texts
};

TEST_F(FighterHud, TheBarShowsTheShareOfHealthLeft) {
  struct Case {
    int player;
    Integer full, health;
    int width;
  };
  const Case cases[] = {
      {1, 120, 120, 130}, {1, 120, 113, 122}, {2, 120, 113, 122}, {2, 100, 50, 65},
      {1, 120, 0, 0},     {1, 120, -20, 0},   {1, 0, 50, 0},      {1, -5, 50, 0},
      {1, 100, 150, 130},  // more than full fills the meter, no further
  };
  ASSERT_TRUE(pictures.healthMeter);
  const Surface& meter = *pictures.healthMeter;
  EXPECT_EQ(meter.width, 130) << "the picture at its own size";
  for (const Case& c : cases) {
    HudState hud;
    HudInputs in = Quiet(c.player, 1000);
    in.fullHealth = c.full;
    in.health = c.health;
    const Surface& screen = Frame(hud, pictures, in);
    const int left = c.player == 1 ? 40 : 470;
    for (int y = 48; y < 62; ++y)
      for (int x = left - 2; x < left + 132; ++x) {
        const bool bar = y >= 50 && y < 60 && x >= left && x < left + c.width;
        const std::uint32_t want = bar ? meter.at(x - left, y - 50) : kBackground;
        ASSERT_EQ(screen.at(x, y), want) << "health " << c.health << " of " << c.full << ", player "
                                         << c.player << ", at " << x << ", " << y;
      }
  }
}

TEST_F(FighterHud, TheNameIsDrawnInTheFontColourWithAWhiteCopyBelowRight) {
  const cFont& font = game.settings.HealthMeterFont;
  const auto text = platform.renderText(StyleOf(font), "KIRA");
  ASSERT_TRUE(text);
  auto cover = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= text->width || y >= text->height) return 0;
    return static_cast<int>(text->coverage[static_cast<std::size_t>(y) * text->width + x]);
  };
  for (const int player : {1, 2}) {
    HudState hud;
    HudInputs in = Quiet(player, 1000);
    in.name = "KIRA";
    const Surface& screen = Frame(hud, messagesOnly, in);
    const int left = player == 1 ? 40 : 470;
    int coloured = 0, white = 0;
    for (int y = 0; y < text->height; ++y)
      for (int x = 0; x < text->width; ++x) {
        if (cover(x, y) != 255) continue;
        EXPECT_EQ(screen.at(left + 2 + x, 32 + y), 0xFFFFFFu);
        ++white;
        if (cover(x - 2, y - 2) == 0) {
          EXPECT_EQ(screen.at(left + x, 30 + y), ContentColourToPixel(font.FontColor));
          ++coloured;
        }
      }
    EXPECT_GT(white, 20);
    EXPECT_GT(coloured, 5);
    EXPECT_EQ(screen.at(left - 1, 30), kBackground);
  }
}

TEST_F(FighterHud, TwoHitsOrMoreShowTheComboAndItsBonus) {
  HudState hud;
  HudInputs in = Quiet(1, 1000);
  in.comboCount = 1;
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({}).pixels) << "one hit is no combo";
  EXPECT_EQ(hud.shownCombo, 0);

  in.comboCount = 2;
  const Surface two = Expected({{"2 HIT COMBO 10 %", 40, 130, 1}});
  ASSERT_NE(two.pixels, Expected({}).pixels);
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, two.pixels);
  EXPECT_EQ(hud.comboText, "2 HIT COMBO 10 %");
  EXPECT_EQ(hud.shownCombo, 2);

  HudState second;
  HudInputs p2 = Quiet(2, 1000);
  p2.comboCount = 3;
  EXPECT_EQ(Frame(second, messagesOnly, p2).pixels,
            Expected({{"3 HIT COMBO 20 %", 350, 130, 1}}).pixels);
  EXPECT_EQ(second.shownCombo, 3);
}

TEST_F(FighterHud, AFinishedComboRisesAndFadesForTwoSeconds) {
  // Also across the wrap of the tick counter.
  for (const std::uint32_t start : {5000u, 0xFFFFFE00u}) {
    HudState hud;
    HudInputs in = Quiet(1, start);
    in.comboCount = 3;
    const std::string text = "3 HIT COMBO 20 %";
    EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({{text, 40, 130, 1}}).pixels);
    in.comboCount = 0;
    in.now = start + 400;
    EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({{text, 40, 130, 1}}).pixels);
    EXPECT_EQ(hud.comboFadeEnds, start + 2400);
    EXPECT_EQ(hud.shownCombo, 0);
    // One pixel up every 20 ms, from the message line to the name line.
    struct Step {
      std::uint32_t after;
      int y;
      float alpha;
    };
    for (const Step s : {Step{500, 105, 0.75f}, Step{1000, 80, 0.5f}, Step{1500, 55, 0.25f}}) {
      in.now = start + 400 + s.after;
      EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({{text, 40, s.y, s.alpha}}).pixels)
          << s.after << " ms after the combo ended, from " << start;
    }
    in.now = start + 2400;
    EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({}).pixels) << "gone after 2 s";
    EXPECT_EQ(hud.comboFadeEnds, 0u);
    in.now = start + 3000;
    EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({}).pixels);
  }
}

TEST_F(FighterHud, AFinisherRaisesTheBannerOnceUntilTheActionEnds) {
  HudState hud;
  HudInputs in = Quiet(2, 7000);
  in.actionName = "Sexuality";
  // Drawn where it starts, and rising from there in the same frame.
  const Surface start = Expected({{"SEXUALITY", 350, 130, 1}, {"SEXUALITY", 350, 130, 1}});
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, start.pixels);
  EXPECT_EQ(hud.bannerEnds, 9000u);
  in.now = 8000;
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({{"SEXUALITY", 350, 80, 0.5f}}).pixels);
  in.now = 9000;
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({}).pixels);
  EXPECT_EQ(hud.bannerEnds, 9000u) << "not again while the finisher goes on";
  in.now = 9500;
  Frame(hud, messagesOnly, in);
  EXPECT_EQ(hud.bannerEnds, 9000u);
  in.actionName = "Standing";
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({}).pixels);
  EXPECT_EQ(hud.bannerEnds, 0u);
  in.actionName = "Sexuality";
  in.now = 9600;
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, start.pixels) << "the next finisher";
}

TEST_F(FighterHud, TheBannerCancelsTheFadeOfTheComboShownBeforeIt) {
  HudState hud;
  HudInputs in = Quiet(1, 3000);
  in.comboCount = 2;
  Frame(hud, messagesOnly, in);
  in.comboCount = 0;
  in.actionName = "Sexuality";
  in.now = 3100;
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels,
            Expected({{"SEXUALITY", 40, 130, 1}, {"SEXUALITY", 40, 130, 1}}).pixels);
  in.now = 3600;
  EXPECT_EQ(Frame(hud, messagesOnly, in).pixels, Expected({{"SEXUALITY", 40, 105, 0.75f}}).pixels)
      << "only the banner fades; the combo message is gone";
}

TEST_F(FighterHud, EachRoundWonLightsAMarker) {
  ASSERT_TRUE(pictures.bullet);
  EXPECT_EQ(pictures.bullet->colorKey, 0u);
  const HudPictures markersOnly{nullptr, pictures.bullet};
  for (const int player : {1, 2}) {
    const int left = player == 1 ? 140 : 570;
    // The marker drawn opaque and half transparent, at the first place.
    Surface bright = MakeSurface(640, 480, kBackground), dim = bright;
    SpriteArgs opaque = SpriteAt(static_cast<float>(left), 70, 16, 16);
    DrawSprite(bright, *pictures.bullet, opaque);
    SpriteArgs half = SpriteAt(static_cast<float>(left), 70, 16, 16);
    half.Alpha = 0.5f;
    DrawSprite(dim, *pictures.bullet, half);
    for (const int wins : {0, 1, 2}) {
      HudState hud;
      HudInputs in = Quiet(player, 1000);
      in.roundWins = wins;
      const Surface& screen = Frame(hud, markersOnly, in);
      int drawn = 0;
      for (int k = 0; k < 2; ++k)
        for (int y = 68; y < 88; ++y)
          for (int x = left - 2; x < left + 18; ++x) {
            const Surface& want = wins > k ? bright : dim;
            const std::uint32_t got = screen.at(x + 20 * k, y);
            ASSERT_EQ(got, want.at(x, y)) << "player " << player << ", " << wins << " wins, marker "
                                          << k + 1 << " at " << x << ", " << y;
            if (got == kBackground) continue;
            ++drawn;
            if (wins > k) continue;
            // Half way between the picture and what is below it.
            for (int shift : {16, 8, 0}) {
              const int full = static_cast<int>((bright.at(x, y) >> shift) & 0xFF);
              const int below = static_cast<int>((kBackground >> shift) & 0xFF);
              EXPECT_LE(std::abs(2 * static_cast<int>((got >> shift) & 0xFF) - (full + below)), 4);
            }
          }
      EXPECT_GT(drawn, 100);
    }
  }
}

TEST(FighterHudWithoutContent, AFolderWithoutPicturesOrFontDrawsOnlyTheName) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game(platform, folder.path());
  game.log.path = folder.path() / "log.txt";
  const LoadContext ctx{platform, game.paths, game.log, nullptr};
  EXPECT_FALSE(LoadFontSheet(ctx, game.content.FontChars, game.font));
  const HudPictures none = LoadHudPictures(ctx);
  EXPECT_FALSE(none.healthMeter);
  EXPECT_FALSE(none.bullet);
  const std::string log = folder.read("log.txt");
  EXPECT_NE(log.find("\\HealthMeter.bmp: missing or not a picture"), std::string::npos);
  EXPECT_NE(log.find("\\bullet.bmp: missing or not a picture"), std::string::npos);

  HudState hud;
  HudInputs in;
  in.player = 1;
  in.name = "KIRA";
  in.fullHealth = in.health = 100;
  in.comboCount = 4;
  in.roundWins = 2;
  in.actionName = "Sexuality";
  in.now = 500;
  game.display.backBuffer = MakeSurface(640, 480, kBackground);
  DrawFighterHud(game, hud, none, in);
  // The name takes the top lines; below them nothing.
  for (int y = 50; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      ASSERT_EQ(game.display.backBuffer.at(x, y), kBackground) << x << ", " << y;
  EXPECT_EQ(hud.shownCombo, 4) << "the meters still follow the fight";
}

}  // namespace
}  // namespace vdx
