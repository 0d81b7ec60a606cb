// The same fight frame through SDL2's own software renderer, the library a
// developer would reach for, with its nearest equivalents of our blends.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "fastest.h"
#include "fight_frame_scene.h"

namespace {

SDL_Texture* Texture(SDL_Renderer* renderer, const vdx::Surface& s) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, s.width, s.height, 32, SDL_PIXELFORMAT_RGB888);
  SDL_LockSurface(surface);
  for (int y = 0; y < s.height; ++y)
    std::memcpy(static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch,
                &s.pixels[static_cast<std::size_t>(y) * s.width], s.width * 4);
  SDL_UnlockSurface(surface);
  if (s.colorKey) SDL_SetColorKey(surface, SDL_TRUE, *s.colorKey);
  SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
  SDL_FreeSurface(surface);
  return texture;
}

void BM_FightFrameSdlSoftware(benchmark::State& state) {
  const bench::FightScene scene = bench::MakeFightScene();
  SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
  SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(target);
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_Texture* stage = Texture(renderer, scene.stage);
  std::vector<std::pair<const vdx::Surface*, SDL_Texture*>> textures;
  auto textureOf = [&](const vdx::Surface* s) {
    for (auto& [surface, texture] : textures)
      if (surface == s) return texture;
    textures.emplace_back(s, Texture(renderer, *s));
    return textures.back().second;
  };
  for (const auto& d : scene.draws)
    textureOf(d.surface);
  for (auto _ : state) {
    const SDL_Rect view{scene.cameraX, 0, 640, 480};
    SDL_RenderCopy(renderer, stage, &view, nullptr);
    for (const auto& d : scene.draws) {
      SDL_Texture* t = textureOf(d.surface);
      const vdx::SpriteArgs& a = d.args;
      SDL_SetTextureColorMod(t, static_cast<Uint8>(a.Red * 255), static_cast<Uint8>(a.Green * 255),
                             static_cast<Uint8>(a.Blue * 255));
      SDL_SetTextureAlphaMod(t, static_cast<Uint8>(a.Alpha * 255));
      SDL_SetTextureBlendMode(t, a.BlendMode == 1   ? SDL_BLENDMODE_ADD
                                 : a.BlendMode == 3 ? SDL_BLENDMODE_MOD
                                                    : SDL_BLENDMODE_BLEND);
      const SDL_Rect src{static_cast<int>(a.SrcX), static_cast<int>(a.SrcY), a.Width, a.Height};
      const SDL_Rect dst{static_cast<int>(a.X), static_cast<int>(a.Y),
                         a.DestWidth ? a.DestWidth : a.Width,
                         a.DestHeight ? a.DestHeight : a.Height};
      const double degrees = a.Angle == 0 ? 0 : (a.Angle - 1.5707963) * 57.29578;
      SDL_RenderCopyEx(renderer, t, &src, &dst, degrees, nullptr,
                       a.Flip ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
    }
    SDL_RenderFlush(renderer);
    benchmark::DoNotOptimize(target->pixels);
  }
  for (auto& [surface, texture] : textures)
    SDL_DestroyTexture(texture);
  SDL_DestroyTexture(stage);
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(target);
}
BENCHMARK(BM_FightFrameSdlSoftware)->ComputeStatistics("fastest", bench::Fastest);

}  // namespace
