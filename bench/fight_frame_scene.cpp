#include "fight_frame_scene.h"

#include <cmath>
#include <cstring>

namespace bench {
namespace {

using vdx::SpriteArgs;
using vdx::SpriteAt;
using vdx::Surface;

std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352d;
  x ^= x >> 15;
  x *= 0x846ca68b;
  x ^= x >> 16;
  return x;
}

}  // namespace

FightScene MakeFightScene() {
  FightScene s;
  s.stage = vdx::MakeSurface(1280, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 1280; ++x)
      s.stage.at(x, y) = (Hash(x / 8 + y * 1000) & 0x3F3F3F) + 0x202020;
  s.fighter = vdx::MakeSurface(256, 256);
  s.fighter.colorKey = 0;
  for (int y = 30; y < 240; ++y)
    for (int x = 0; x < 256; ++x) {
      const double dx = (x - 128) / 60.0, dy = (y - 135) / 105.0;
      if (dx * dx + dy * dy < 1.0 || (y > 120 && y < 140 && x > 40 && x < 220))
        s.fighter.at(x, y) = 0x803020 + (Hash(x * 7 + y) & 0x1F1F1F);
    }
  s.effect = vdx::MakeSurface(128, 128);
  s.effect.colorKey = 0;
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      const double d = std::hypot(x - 64.0, y - 64.0) / 64.0;
      if (d < 1) {
        const auto v = static_cast<std::uint32_t>(255 * (1 - d));
        s.effect.at(x, y) = (v << 16) | ((v * 3 / 4) << 8) | (v / 3);
      }
    }
  s.particle = vdx::MakeSurface(16, 16, 0xFFE080);
  s.particle.colorKey = 0;
  s.particle.at(0, 0) = 0;
  s.rain = vdx::MakeSurface(2, 16, 0xA0B0D0);
  s.glyph = vdx::MakeSurface(128, 128);
  s.glyph.colorKey = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 40; ++x)
      if ((x / 6 + y / 6) % 2 == 0) s.glyph.at(x, y) = 0xFFFFFF;
  s.meter = vdx::MakeSurface(130, 10, 0xE04020);
  s.bullet = vdx::MakeSurface(16, 16, 0xF0C040);
  s.bullet.colorKey = 0;

  // As the loaders do for every keyed picture.
  for (Surface* keyed : {&s.fighter, &s.effect, &s.particle, &s.glyph, &s.bullet})
    vdx::MarkDrawnColumns(*keyed);

  // Shadows first, then the fighters (one mirrored, one tinted).
  for (int p = 0; p < 2; ++p) {
    SpriteArgs shadow = SpriteAt(80.0f + 300 * p, 400, 256, 256, 256, 64);
    shadow.Angle = 4.71f;
    shadow.Red = shadow.Green = shadow.Blue = 0.1f;
    shadow.Alpha = 0.5f;
    s.draws.push_back({&s.fighter, shadow});
  }
  SpriteArgs left = SpriteAt(80, 200, 256, 256);
  left.Red = 1.0f;
  left.Green = 0.9f;
  left.Blue = 0.9f;
  s.draws.push_back({&s.fighter, left});
  SpriteArgs right = SpriteAt(380, 200, 256, 256);
  right.Flip = 1;
  s.draws.push_back({&s.fighter, right});
  // Ten effects in the three blends, some turned.
  for (int i = 0; i < 10; ++i) {
    const int size = 96 + (i % 4) * 20;
    SpriteArgs e = SpriteAt(40.0f + i * 55, 120.0f + (i % 3) * 60, 128, 128, size, size);
    e.BlendMode = static_cast<std::int16_t>(i % 3 == 0 ? 0 : i % 3 == 1 ? 1 : 3);
    e.Alpha = 0.7f;
    e.Angle = i % 2 ? 0.3f * i : 0.0f;
    s.draws.push_back({&s.effect, e});
  }
  // A hundred turning sparks.
  for (int i = 0; i < 100; ++i) {
    SpriteArgs p = SpriteAt(200.0f + (Hash(i) % 240), 150.0f + (Hash(i + 99) % 200), 16, 16);
    p.Angle = 0.1f + (Hash(i + 7) % 600) / 100.0f;
    p.BlendMode = 1;
    p.Alpha = 0.8f;
    s.draws.push_back({&s.particle, p});
  }
  // Rain.
  for (int i = 0; i < 400; ++i) {
    SpriteArgs r = SpriteAt(static_cast<float>(Hash(i * 3) % 640),
                            static_cast<float>(Hash(i * 5) % 470), 2, 16);
    r.Alpha = 0.6f;
    s.draws.push_back({&s.rain, r});
  }
  // Thirty glyphs of text at 0.4, and the meters.
  for (int i = 0; i < 30; ++i) {
    SpriteArgs g = SpriteAt(40.0f + (i % 15) * 38, 20.0f + (i / 15) * 100, 128, 128, 51, 51);
    s.draws.push_back({&s.glyph, g});
  }
  for (int p = 0; p < 2; ++p) {
    s.draws.push_back({&s.meter, SpriteAt(40.0f + 430 * p, 50, 130, 10)});
    for (int b = 0; b < 2; ++b) {
      SpriteArgs bullet = SpriteAt(140.0f + 430 * p + b * 20, 70, 16, 16);
      bullet.Alpha = b ? 0.5f : 1.0f;
      s.draws.push_back({&s.bullet, bullet});
    }
  }
  return s;
}

void DrawFightFrame(vdx::Surface& backBuffer, const FightScene& scene, vdx::RasterPath path) {
  for (int y = 0; y < 480; ++y)
    std::memcpy(&backBuffer.pixels[static_cast<std::size_t>(y) * 640],
                &scene.stage.pixels[static_cast<std::size_t>(y) * 1280 + scene.cameraX], 640 * 4);
  for (const SceneSprite& d : scene.draws) {
    SpriteArgs args = d.args;
    vdx::DrawSprite(backBuffer, *d.surface, args, path);
  }
}

}  // namespace bench
