#include "match/fighter_hud.h"

#include <algorithm>

#include "graphics/bitmap_text.h"
#include "graphics/rounding.h"
#include "graphics/sprite_renderer.h"
#include "graphics/system_text.h"

namespace vdx {
namespace {

constexpr int kMeterWidth = 130;
constexpr int kMeterHeight = 10;
constexpr int kMeterTop = 50;
constexpr int kMeterMargin = 40;
constexpr int kNameTop = 30;
constexpr int kNameShadowShift = 2;
constexpr int kMessageTop = kNameTop + 100;
constexpr int kMessageWidth = 120;  // room kept for player 2's messages left of the meter
constexpr int kMarkerSize = 16;
constexpr int kMarkerLeft = 100;  // from the meter's left edge
constexpr int kMarkerStep = 20;
constexpr int kMarkerTop = kNameTop + 40;
constexpr int kMarkers = 2;
constexpr float kDimMarker = 0.5f;
// A message rises from the message line to the name line while it fades.
constexpr std::uint32_t kFadeMs = 2000;
constexpr double kFadeMsPerPixel = 20;
constexpr float kMessageScale = 0.4f;
constexpr std::string_view kBanner = "SEXUALITY";
constexpr std::string_view kFinisher = "Sexuality";

int MeterLeft(int player) {
  return player == 2 ? kScreenWidth - (kMeterMargin + kMeterWidth) : kMeterMargin;
}

int MessageLeft(int player) {
  return player == 2 ? kScreenWidth - (kMeterMargin + kMeterWidth + kMessageWidth) : kMeterMargin;
}

// round(health / full x 130); nothing at all without a full health to measure
// against, and never wider than the meter.
int BarWidth(Integer health, Integer fullHealth) {
  if (fullHealth <= 0 || health <= 0) return 0;
  const double width = RoundEven(static_cast<double>(health) / fullHealth * kMeterWidth);
  return static_cast<int>(std::min<double>(width, kMeterWidth));
}

// The left `width` columns of the meter picture, copied as they are.
void DrawBar(Surface& target, const Surface& meter, int left, int width) {
  const int columns = std::min({width, meter.width, target.width - left});
  const int rows = std::min({kMeterHeight, meter.height, target.height - kMeterTop});
  if (columns <= 0) return;
  for (int y = 0; y < rows; ++y)
    std::copy_n(meter.pixels.begin() + static_cast<std::ptrdiff_t>(y) * meter.width, columns,
                &target.at(left, kMeterTop + y));
}

// The name in the meter font's colour, then in white 2 pixels right and down;
// rendered once and kept, since it is drawn every frame.
void DrawName(Game& game, HudState& hud, std::string_view name, int left) {
  if (!hud.nameTried || hud.nameRendered != name) {
    hud.nameImage = game.platform.renderText(StyleOf(game.settings.HealthMeterFont), name);
    hud.nameRendered = name;
    hud.nameTried = true;  // no font: not tried again every frame
  }
  if (!hud.nameImage) return;
  Surface& target = game.display.backBuffer;
  DrawTextImage(target, *hud.nameImage, ContentColourToPixel(game.settings.HealthMeterFont.FontColor),
                left, kNameTop);
  DrawTextImage(target, *hud.nameImage, 0x00FFFFFFu, left + kNameShadowShift,
                kNameTop + kNameShadowShift);
}

void DrawMessage(Game& game, std::string_view text, int left, int top, float alpha) {
  DrawBitmapText(game.display.backBuffer, game.font, text, static_cast<std::int16_t>(left),
                 static_cast<std::int16_t>(top), 1, 1, 1, 0, kMessageScale, alpha);
}

// Milliseconds until a fade's end, 1..2000 while it runs, else 0; compared
// by difference, so it holds across the tick counter's wrap.
std::uint32_t FadeLeft(std::uint32_t ends, std::uint32_t now) {
  const std::uint32_t left = ends - now;
  return left <= kFadeMs ? left : 0;
}

// A message on its way out: it rises by one pixel per 20 ms and fades out.
void DrawFading(Game& game, std::string_view text, int left, std::uint32_t msLeft) {
  const double top = RoundEven(kNameTop + msLeft / kFadeMsPerPixel);
  DrawMessage(game, text, left, static_cast<int>(top),
              static_cast<float>(static_cast<double>(msLeft) / kFadeMs));
}

// A deadline that is never the "idle" 0.
std::uint32_t FadeEnds(std::uint32_t now) {
  const std::uint32_t ends = now + kFadeMs;
  return ends != 0 ? ends : 1;
}

void DrawBanner(Game& game, HudState& hud, const HudInputs& in, int left) {
  const bool finisher = in.actionName == kFinisher;
  if (finisher && hud.bannerEnds == 0) {
    DrawMessage(game, kBanner, left, kMessageTop, 1);
    hud.bannerEnds = FadeEnds(in.now);
    hud.shownCombo = 0;  // a combo shown until now does not fade after it
  }
  if (hud.bannerEnds == 0) return;
  if (const std::uint32_t msLeft = FadeLeft(hud.bannerEnds, in.now))
    DrawFading(game, kBanner, left, msLeft);
  else if (!finisher)
    hud.bannerEnds = 0;
}

void DrawCombo(Game& game, HudState& hud, const HudInputs& in, int left) {
  if (in.comboCount >= 2) {
    // The message shows (count - 1) x 10 % although the hits add count x 10 %.
    if (in.comboCount != hud.shownCombo)
      hud.comboText = std::to_string(in.comboCount) + " HIT COMBO " +
                      std::to_string((in.comboCount - 1) * 10) + " %";
    DrawMessage(game, hud.comboText, left, kMessageTop, 1);
    hud.shownCombo = in.comboCount;
  } else if (hud.shownCombo >= 1 && in.comboCount == 0) {
    hud.comboFadeEnds = FadeEnds(in.now);
    hud.shownCombo = 0;
  }
  if (hud.comboFadeEnds == 0) return;
  if (const std::uint32_t msLeft = FadeLeft(hud.comboFadeEnds, in.now))
    DrawFading(game, hud.comboText, left, msLeft);
  else
    hud.comboFadeEnds = 0;  // over; a deadline left standing would come round again
}

void DrawMarkers(Game& game, const Surface& bullet, int meterLeft, int roundWins) {
  for (int k = 1; k <= kMarkers; ++k) {
    SpriteArgs marker =
        SpriteAt(static_cast<float>(meterLeft + kMarkerLeft + (k - 1) * kMarkerStep), kMarkerTop,
                 kMarkerSize, kMarkerSize);
    marker.Alpha = roundWins >= k ? 1.0f : kDimMarker;
    DrawSprite(game.display.backBuffer, bullet, marker, game.display.raster);
  }
}

}  // namespace

HudPictures LoadHudPictures(const LoadContext& ctx) {
  return HudPictures{LoadPictureOrLog(ctx, "\\HealthMeter.bmp", 0, 0),
                     LoadPictureOrLog(ctx, "\\bullet.bmp", kMarkerSize, kMarkerSize, 0u)};
}

void DrawFighterHud(Game& game, HudState& hud, const HudPictures& pictures, const HudInputs& in) {
  const int meterLeft = MeterLeft(in.player);
  const int messageLeft = MessageLeft(in.player);
  if (pictures.healthMeter)
    DrawBar(game.display.backBuffer, *pictures.healthMeter, meterLeft,
            BarWidth(in.health, in.fullHealth));
  DrawName(game, hud, in.name, meterLeft);
  DrawBanner(game, hud, in, messageLeft);
  DrawCombo(game, hud, in, messageLeft);
  if (pictures.bullet) DrawMarkers(game, *pictures.bullet, meterLeft, in.roundWins);
}

}  // namespace vdx
