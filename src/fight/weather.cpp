#include "fight/weather.h"

namespace vdx {

void LoadWeatherPictures(const LoadContext& ctx, const Settings& settings, FightSlots& slots) {
  slots.rain = nullptr;
  slots.snow = {};
  if (!settings.Weather) return;
  if (slots.stage.bRain) slots.rain = LoadPictureOrLog(ctx, kRainPicture, 0, 0, 0u);
  if (slots.stage.bSnow)
    for (std::size_t k = 0; k < slots.snow.size() && k < kSnowPictures.size(); ++k)
      slots.snow[k] = LoadPictureOrLog(ctx, kSnowPictures[k], 0, 0, 0u);
}

void StartWeather(Game& game, FightState& fight, const FightSlots& slots, std::uint32_t now) {
  fight.snowing = slots.stage.bSnow && game.settings.Weather;
  fight.raining = slots.stage.bRain && game.settings.Weather;
  if (fight.snowing) InitSnow(fight.snow, game.random, fight.stageWidth);
  if (fight.raining) fight.rain.Init(kRainDrops, kRainWind, game.random, now);
}

void DrawWeather(Game& game, FightState& fight, const FightSlots& slots, std::uint32_t now) {
  Surface& target = game.display.backBuffer;
  if (fight.snowing)
    DrawSnow(fight.snow, slots.snow, target, fight.CameraX, game.random, game.display.raster);
  if (fight.raining)
    fight.rain.Draw(target, slots.rain.get(), fight.CameraX, game.random, now, game.display.raster);
}

}  // namespace vdx
