#include "effects/particle_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "effects/particle_drawing.h"
#include "graphics/rounding.h"
#include "graphics/sprite_renderer.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

// A square picture of one colour (never the black key).
SharedSurface Square(int size, std::uint32_t colour) {
  auto s = std::make_shared<Surface>(MakeSurface(size, size, colour));
  s->colorKey = 0;
  return s;
}

// A value's bytes, to show that something left it as it was.
template <typename T>
std::array<unsigned char, sizeof(T)> Bytes(const T& value) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::array<unsigned char, sizeof(T)> bytes{};
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

// A frame as the fight takes it: the burst drawn as it is, then its step.
void Render(cParticle& e, const Surface* texture, Surface& target) {
  DrawParticles(e, texture, target);
  AdvanceParticles(e);
}

cParticle Engine(int count, int lifeTime) {
  cParticle e;
  e.nParticles = static_cast<std::int16_t>(count);
  e.XVariation = 15;
  e.YVariation = 10;
  e.LifeTime = static_cast<std::int16_t>(lifeTime);
  e.Gravity = 0.4f;
  return e;
}

// An engine of `count` untinted 4 x 4 particles without gravity, launched and
// then all put at (x, y) with the given speeds, life and direction.
cParticle Placed(int count, float x, float y, float vx, float vy, int life, int direction) {
  RandomGenerator random(1);
  cParticle e = Engine(count, 100);
  e.Gravity = 0;
  InitParticleEngine(e, random, 0, 0, 0, 0, 0, 4, 4);
  for (Particle& p : e.particles) {
    p.x = x;
    p.y = y;
    p.vx = vx;
    p.vy = vy;
    p.life = life;
    p.direction = static_cast<std::int16_t>(direction);
  }
  return e;
}

TEST(ParticleEngine, LaunchesFromThePointWithEachParticlesOwnDraws) {
  RandomGenerator random(77);
  RandomGenerator replay = random;
  cParticle e = Engine(kMaxParticles, 100);
  float lowest = 0, highest = 0;
  int down = 0, shortest = 1000, longest = 0;
  // Eight bursts in a row, 400 particles in all: the launch spreads.
  for (int burst = 0; burst < 8; ++burst) {
    InitParticleEngine(e, random, 0.25f, 0.5f, 1.0f, 320, 240, 16, 16);
    ASSERT_EQ(e.count, kMaxParticles);
    for (int i = 0; i < e.count; ++i) {
      const Particle& p = e.particles[static_cast<std::size_t>(i)];
      // Horizontal speed, vertical speed, direction, life: four draws apiece.
      const double rx = replay.Uniform(), ry = replay.Uniform(), rd = replay.Uniform(),
                   rl = replay.Uniform();
      EXPECT_FLOAT_EQ(p.vx, static_cast<float>(rx * 15 - 7.5));
      EXPECT_FLOAT_EQ(p.vy, static_cast<float>(ry * 10));
      EXPECT_EQ(p.direction, rd > 0.5 ? 1 : 0);
      EXPECT_EQ(p.life, static_cast<int>(rl * 98) + 2);
      EXPECT_TRUE(p.vx >= -7.5f && p.vx < 7.5f && p.vy >= 0 && p.vy < 10) << p.vx << ", " << p.vy;
      EXPECT_TRUE(p.x == 320 && p.y == 240 && p.dead == 0 && p.alpha == 1 && p.width == 16);
      EXPECT_FLOAT_EQ(p.fade, 1.0f / static_cast<float>(p.life));
      EXPECT_EQ(p.dr, 0.0f) << "the end colour is the launch colour";
      EXPECT_EQ(p.colour, 0x4080FFu);
      lowest = std::min(lowest, p.vx);
      highest = std::max(highest, p.vx);
      down += p.direction;
      shortest = std::min(shortest, p.life);
      longest = std::max(longest, p.life);
    }
  }
  EXPECT_EQ(random.state(), replay.state()) << "no draw besides the four";
  EXPECT_LT(lowest, -7.0f);
  EXPECT_GT(highest, 7.0f);
  EXPECT_GT(down, 100);
  EXPECT_LT(down, 300);
  EXPECT_EQ(shortest, 2);
  EXPECT_EQ(longest, 99) << "a LifeTime of 100 lives 99 frames at most";

  // More than the engine has room for: the room, and only its draws.
  cParticle many = Engine(400, 100);
  InitParticleEngine(many, random, 1, 1, 1, 10, 10, 4, 4);
  EXPECT_EQ(many.count, kMaxParticles);
  for (int i = 0; i < 4 * kMaxParticles; ++i)
    replay.Uniform();
  EXPECT_EQ(random.state(), replay.state());
}

TEST(ParticleEngine, TheSameGeneratorStateGivesTheSameBurstOfDistinctParticles) {
  RandomGenerator first(5), second(5);
  cParticle a, b;
  EXPECT_TRUE(ArmSparkBurst(a, first, 300, 200));
  EXPECT_TRUE(ArmSparkBurst(b, second, 300, 200));
  ASSERT_EQ(a.count, 50);
  std::set<std::pair<float, float>> speeds;
  for (std::size_t i = 0; i < 50; ++i) {
    EXPECT_EQ(a.particles[i].vx, b.particles[i].vx);
    EXPECT_EQ(a.particles[i].vy, b.particles[i].vy);
    EXPECT_EQ(a.particles[i].life, b.particles[i].life);
    EXPECT_EQ(a.particles[i].direction, b.particles[i].direction);
    speeds.insert({a.particles[i].vx, a.particles[i].vy});
  }
  EXPECT_EQ(speeds.size(), 50u) << "no two sparks alike";
  // A burst armed later, from the generator as it is now, is another one.
  cParticle c;
  ArmSparkBurst(c, first, 300, 200);
  EXPECT_NE(c.particles[0].vx, a.particles[0].vx);
}

TEST(ParticleEngine, UpOnlyParticlesDrawNoDirectionAndNeverFall) {
  RandomGenerator random(9);
  RandomGenerator replay = random;
  cParticle e = Engine(kMaxParticles, 100);
  e.UpOnly = true;
  e.Gravity = 0.3f;
  InitParticleEngine(e, random, 1, 1, 1, 320, 470, 8, 8);
  for (int i = 0; i < kMaxParticles * 3; ++i)
    replay.Uniform();
  EXPECT_EQ(random.state(), replay.state()) << "three draws a particle";
  e.Active = true;
  for (int frame = 0; frame < 40 && e.Active; ++frame) {
    std::vector<float> before;
    for (int i = 0; i < e.count; ++i) {
      const Particle& p = e.particles[static_cast<std::size_t>(i)];
      EXPECT_EQ(p.direction, 0);
      before.push_back(p.y);
    }
    AdvanceParticles(e);
    for (std::size_t i = 0; i < before.size(); ++i)
      EXPECT_LE(e.particles[i].y, before[i]) << "particle " << i << " frame " << frame;
  }
}

TEST(ParticleEngine, MovesByDirectionWindAndGravity) {
  struct Case {
    int direction;
    bool upOnly;
    float y, vy;  // after one frame, from y 200 and vy 3
  };
  // Gravity 0.5, wind 0.25, from (100, 200) at (2, 3).
  const Case cases[] = {
      {0, false, 197.0f, 2.5f},  // thrown up, slowing
      {0, true, 197.0f, 3.5f},   // a bubble, rising faster
      {1, false, 203.0f, 3.5f},  // thrown down, speeding up
  };
  for (const Case& c : cases) {
    cParticle e = Placed(1, 100, 200, 2, 3, 50, c.direction);
    e.Gravity = 0.5f;
    e.Wind = 0.25f;
    e.UpOnly = c.upOnly;
    AdvanceParticles(e);
    const Particle& p = e.particles[0];
    EXPECT_EQ(p.x, 102.0f);
    EXPECT_EQ(p.vx, 2.25f);
    EXPECT_EQ(p.y, c.y) << "direction " << c.direction << " up only " << c.upOnly;
    EXPECT_EQ(p.vy, c.vy) << "direction " << c.direction << " up only " << c.upOnly;
    EXPECT_EQ(p.life, 49);
  }
}

TEST(ParticleEngine, AParticleDiesOffTheFieldAndWhenItsLifeRunsLow) {
  struct Case {
    float x, y, vx, vy;
    int direction;
    bool dies;
  };
  const Case cases[] = {
      {639, 100, 1, 0, 1, true},                                     // x 640
      {639, 100, 0, 0, 1, false},                                    // x 639 is still inside
      {0.4f, 100, -0.5f, 0, 1, true},                                // x below 0
      {0, 100, 0, 0, 1, false},       {100, 479, 0, 0.5f, 1, true},  // y 479.5, below the field
      {100, 479, 0, 0, 1, false},     {100, 0.5f, 0, 1, 0, true},    // thrown up past the top
  };
  for (const Case& c : cases) {
    cParticle e = Placed(1, c.x, c.y, c.vx, c.vy, 50, c.direction);
    AdvanceParticles(e);
    EXPECT_EQ(e.particles[0].dead, c.dies ? 1 : 0) << "from " << c.x << ", " << c.y;
  }

  // A life of L frames (L >= 3) is drawn L - 2 times: below 3 it becomes 1 and
  // the particle dies on that frame.
  for (const int life : {2, 3, 4, 10, 99}) {
    cParticle e = Placed(1, 300, 300, 0, 0, life, 1);
    e.Active = true;
    int drawn = 0;
    while (e.Active && drawn < 200) {
      AdvanceParticles(e);
      if (e.particles[0].dead == 0) {
        EXPECT_GE(e.particles[0].life, 3);
      }
      ++drawn;
    }
    // The last pass found nothing alive and drew nothing.
    EXPECT_EQ(drawn - 1, std::max(1, life - 2)) << "life " << life;
    EXPECT_EQ(e.particles[0].life, 1);
  }
}

TEST(ParticleEngine, ActiveTurnsFalseOnTheFrameAfterTheLastParticleDied) {
  cParticle e = Placed(2, 300, 300, 0, 0, 4, 1);
  e.particles[1].life = 3;
  e.Active = true;
  AdvanceParticles(e);
  EXPECT_EQ(e.particles[1].dead, 1);
  EXPECT_EQ(e.particles[0].dead, 0);
  EXPECT_TRUE(e.Active);
  AdvanceParticles(e);
  EXPECT_EQ(e.particles[0].dead, 1) << "the last one dies";
  EXPECT_TRUE(e.Active) << "it was alive when it was drawn";
  AdvanceParticles(e);
  EXPECT_FALSE(e.Active);
  // An active engine is not armed again until its burst is over.
  e.Active = true;
  RandomGenerator random(4);
  const std::uint64_t before = random.state();
  EXPECT_FALSE(ArmSparkBurst(e, random, 10, 10));
  EXPECT_EQ(e.count, 2);
  EXPECT_EQ(random.state(), before) << "and draws nothing";
}

TEST(ParticleEngine, ColourAndAlphaStepEveryFrameWithinTheirBounds) {
  cParticle e = Placed(1, 300, 300, 0, 0, 50, 1);
  Particle& p = e.particles[0];
  p.r = 0.9f;
  p.g = 0.5f;
  p.b = 0.1f;
  p.dr = 0.06f;
  p.dg = -0.2f;
  p.db = -0.04f;
  p.fade = 0.375f;
  AdvanceParticles(e);
  EXPECT_FLOAT_EQ(p.r, 0.96f);
  EXPECT_FLOAT_EQ(p.g, 0.3f);
  EXPECT_FLOAT_EQ(p.b, 0.06f);
  EXPECT_EQ(p.alpha, 0.625f);
  AdvanceParticles(e);
  EXPECT_EQ(p.alpha, 0.25f);
  AdvanceParticles(e);
  EXPECT_EQ(p.r, 1.0f) << "held at 1";
  EXPECT_EQ(p.g, 0.0f) << "held at 0";
  EXPECT_EQ(p.b, 0.0f);
  EXPECT_EQ(p.alpha, 0.0f) << "never below 0";
}

TEST(ParticleEngine, ALifeTimeBelowThreeStillGivesEveryParticleAFrame) {
  for (const int lifeTime : {2, 1, 0, -7}) {
    RandomGenerator random(8);
    cParticle e = Engine(kMaxParticles, lifeTime);
    InitParticleEngine(e, random, 1, 1, 1, 320, 240, 4, 4);
    for (const Particle& p : e.particles) {
      ASSERT_GE(p.life, 1) << "LifeTime " << lifeTime;
      ASSERT_LE(p.life, 2);
      EXPECT_TRUE(std::isfinite(p.fade));
      EXPECT_TRUE(std::isfinite(p.dr));
    }
    e.Active = true;
    AdvanceParticles(e);
    EXPECT_TRUE(e.Active) << "drawn once";
    for (const Particle& p : e.particles)
      EXPECT_EQ(p.dead, 1);
    AdvanceParticles(e);
    EXPECT_FALSE(e.Active);
  }
  RandomGenerator random(8);
  const std::uint64_t before = random.state();
  cParticle none = Engine(-3, 100);
  InitParticleEngine(none, random, 1, 1, 1, 320, 240, 4, 4);
  EXPECT_EQ(none.count, 0) << "a negative count launches nothing";
  EXPECT_EQ(random.state(), before);
  none.Active = true;
  AdvanceParticles(none);
  EXPECT_FALSE(none.Active);
}

// A round keyed picture: colour inside, the black key around it.
SharedSurface Blob(int size, std::uint32_t colour) {
  auto s = std::make_shared<Surface>(MakeSurface(size, size));
  const float centre = static_cast<float>(size - 1) / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (std::hypot(static_cast<float>(x) - centre, static_cast<float>(y) - centre) <= centre)
        s->at(x, y) = colour + static_cast<std::uint32_t>(x * 5 + y * 3);
  s->colorKey = 0;
  MarkDrawnColumns(*s);
  return s;
}

// A particle drawn in a frame: which one, with what turn and scale.
struct DrawnParticle {
  std::ptrdiff_t index;
  std::int32_t angle;
  float scale;
  bool operator==(const DrawnParticle&) const = default;
};

// The one-call render a frame used to make, written out as it was: each
// particle in turn counts a turn; a living one grows the scale, is drawn there
// and then (on the scalar path), and moves and ages; the engine stays active
// while it drew anything.
std::vector<DrawnParticle> ReferenceRender(cParticle& e, const Surface* texture, Surface& target) {
  std::vector<DrawnParticle> drawn;
  bool anyAlive = false;
  for (int i = 0; i < e.count; ++i) {
    e.angle += e.RotChange;
    if (e.angle > 360) e.angle -= 360;
    if (e.angle > 360 || e.angle < -360) e.angle %= 360;
    Particle& p = e.particles[static_cast<std::size_t>(i)];
    if (p.dead != 0) continue;
    anyAlive = true;
    e.scale += e.ScaleChange;
    drawn.push_back({i, e.angle, e.scale});
    if (texture != nullptr) {
      const auto size = [&](std::int16_t own) {
        const double d = RoundEven(static_cast<double>(own) * static_cast<double>(e.scale));
        return d > 0 ? static_cast<int>(std::min(d, 640.0)) : 0;
      };
      SpriteArgs args =
          SpriteAt(p.x, p.y, texture->width, texture->height, size(p.width), size(p.height));
      args.Alpha = p.alpha;
      args.Red = p.r;
      args.Green = p.g;
      args.Blue = p.b;
      args.BlendMode = e.BlendMode;
      args.Angle = static_cast<float>(e.angle);
      DrawSprite(target, *texture, args, RasterPath::Scalar);
    }
    p.x += p.vx;
    p.vx += e.Wind;
    if (p.direction == 0) {
      p.y -= p.vy;
      p.vy += e.UpOnly ? e.Gravity : -e.Gravity;
    } else {
      p.y += p.vy;
      p.vy += e.Gravity;
    }
    p.life -= 1;
    if (p.life < 3) p.life = 1;
    if (p.y > 479 || p.y < 0 || p.x > 639 || p.x < 0 || p.life < 2) p.dead = 1;
    p.r = std::clamp(p.r + p.dr, 0.0f, 1.0f);
    p.g = std::clamp(p.g + p.dg, 0.0f, 1.0f);
    p.b = std::clamp(p.b + p.db, 0.0f, 1.0f);
    p.alpha = std::max(0.0f, p.alpha - p.fade);
  }
  e.Active = anyAlive;
  return drawn;
}

auto Fields(const Particle& p) {
  return std::tie(p.x, p.y, p.vx, p.vy, p.fade, p.alpha, p.colour, p.r, p.g, p.b, p.dr, p.dg, p.db,
                  p.endR, p.endG, p.endB, p.life, p.dead, p.direction, p.width, p.height);
}

TEST(ParticleEngine, DrawingThenAdvancingIsTheOneCallRenderOverAWholeBurst) {
  RandomGenerator random(31);
  cParticle spark;
  ASSERT_TRUE(ArmSparkBurst(spark, random, 320, 300));
  spark.ScaleChange = 0.004f;  // sizes from nothing (the picture's own) to twice it
  spark.Wind = -0.05f;
  cParticle bubbles;
  ArmBubbles(bubbles, random, 200, 470);
  // Tinted, fading to another tint, turning by more than a whole turn a step.
  cParticle tinted = Engine(40, 60);
  tinted.RotChange = 400;
  tinted.ScaleChange = -0.01f;
  tinted.BlendMode = 2;
  InitParticleEngine(tinted, random, 0.9f, 0.4f, 0.1f, 500, 100, 12, 12);
  for (int i = 0; i < tinted.count; ++i) {
    Particle& p = tinted.particles[static_cast<std::size_t>(i)];
    p.dr = -0.03f * static_cast<float>(i % 3);
    p.dg = 0.05f;
  }
  const SharedSurface sparkPicture = Blob(16, 0x806040), bubblePicture = Blob(32, 0x203050),
                      grey = Square(12, 0xC0C0C0);
  const struct {
    const char* name;
    cParticle engine;
    const Surface* texture;
  } bursts[] = {
      {"spark", spark, sparkPicture.get()},
      {"spark without a picture", spark, nullptr},
      {"bubbles", bubbles, bubblePicture.get()},
      {"tinted", tinted, grey.get()},
  };
  const Surface background = MakeSurface(640, 480, 0x203040);
  for (const auto& burst : bursts) {
    SCOPED_TRACE(burst.name);
    cParticle reference = burst.engine, engine = burst.engine;
    reference.Active = engine.Active = true;
    int frames = 0;
    bool drewAny = false;
    for (; reference.Active && frames < 300; ++frames) {
      Surface want = background, got = background;
      const std::vector<DrawnParticle> wantDrawn = ReferenceRender(reference, burst.texture, want);

      std::vector<DrawnParticle> gotDrawn;
      ForEachDrawnParticle(engine, [&](const Particle& p, std::int32_t angle, float scale) {
        gotDrawn.push_back({&p - engine.particles.data(), angle, scale});
      });
      const auto before = Bytes(engine);
      DrawParticles(engine, burst.texture, got);
      ASSERT_EQ(Bytes(engine), before) << "frame " << frames << ": drawing changes nothing";
      AdvanceParticles(engine);

      ASSERT_EQ(gotDrawn, wantDrawn) << "frame " << frames;
      ASSERT_EQ(got.pixels, want.pixels) << "frame " << frames;
      drewAny = drewAny || got.pixels != background.pixels;
      ASSERT_EQ(engine.angle, reference.angle) << "frame " << frames;
      ASSERT_EQ(engine.scale, reference.scale) << "frame " << frames;
      ASSERT_EQ(engine.Active, reference.Active) << "frame " << frames;
      for (int i = 0; i < engine.count; ++i)
        ASSERT_EQ(Fields(engine.particles[static_cast<std::size_t>(i)]),
                  Fields(reference.particles[static_cast<std::size_t>(i)]))
            << "frame " << frames << " particle " << i;
    }
    EXPECT_FALSE(engine.Active) << "the whole burst, to its end";
    EXPECT_GT(frames, 10);
    EXPECT_EQ(drewAny, burst.texture != nullptr);
  }
}

TEST(ParticleEngine, AMissingPictureIsLoggedAndGivesNoTexture) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  const PathResolver paths(folder.path());
  LogFile log(folder.path() / "log.txt");
  const LoadContext ctx{platform, paths, log, nullptr};
  EXPECT_EQ(LoadParticleTexture(ctx, kSparkPicture, kSparkSize, kSparkSize), nullptr);
  EXPECT_NE(folder.read("log.txt").find("spark.bmp: missing or not a picture"), std::string::npos);
  const PathResolver demo(VDX_DEMO_DIR);
  const SharedSurface spark = LoadParticleTexture({platform, demo, ctx.log, nullptr}, kSparkPicture,
                                                  kSparkSize, kSparkSize);
  ASSERT_NE(spark, nullptr);
  EXPECT_EQ(spark->colorKey, 0u) << "black is left out";
}

// Columns (or rows) a picture of `size` drawn at `at` covers: from
// round(at) up to, not including, round(size + at - 1), halves to even.
std::pair<int, int> Covered(float at, int size) {
  return {static_cast<int>(std::nearbyint(at)),
          static_cast<int>(std::nearbyint(static_cast<float>(size) + at - 1.0f))};
}

TEST(ParticleEngine, ATinyBurstDrawsEachLivingParticleWhereItIs) {
  // Additive sparks over a dark field: where particles overlap their colours
  // add up, so the picture does not depend on the drawing order.
  constexpr std::uint32_t kTexel = 0x182430, kField = 0x040404;
  RandomGenerator random(21);
  cParticle e = Engine(8, 12);
  e.BlendMode = 1;
  InitParticleEngine(e, random, 0, 0, 0, 60, 40, 5, 5);
  const SharedSurface texel = Square(5, kTexel);
  e.Active = true;
  Surface screen = MakeSurface(128, 96, kField);
  for (int frame = 0; frame < 6; ++frame) {
    // Work out the picture from where the living particles are now.
    std::vector<int> hits(128 * 96, 0);
    for (int i = 0; i < e.count; ++i) {
      const Particle& p = e.particles[static_cast<std::size_t>(i)];
      if (p.dead != 0) continue;
      const auto [left, right] = Covered(p.x, 5);
      const auto [top, bottom] = Covered(p.y, 5);
      for (int y = std::max(0, top); y < std::min(96, bottom); ++y)
        for (int x = std::max(0, left); x < std::min(128, right); ++x)
          ++hits[static_cast<std::size_t>(y) * 128 + x];
    }
    Surface want = MakeSurface(128, 96);
    for (int y = 0; y < 96; ++y)
      for (int x = 0; x < 128; ++x) {
        const int n = hits[static_cast<std::size_t>(y) * 128 + x];
        std::uint32_t pixel = 0;
        for (int shift : {16, 8, 0}) {
          const int c = static_cast<int>((kField >> shift) & 0xFF) +
                        n * static_cast<int>((kTexel >> shift) & 0xFF);
          pixel |= static_cast<std::uint32_t>(std::min(255, c)) << shift;
        }
        want.at(x, y) = pixel;
      }
    Surface field = MakeSurface(128, 96, kField);
    Render(e, texel.get(), field);
    ASSERT_EQ(field.pixels, want.pixels) << "frame " << frame;
    EXPECT_NE(field.pixels, screen.pixels) << "frame " << frame << " drew something";
  }
}

TEST(ParticleEngine, AFadingParticleIsDrawnAtItsAlpha) {
  cParticle e = Placed(1, 20, 20, 0, 0, 20, 1);
  const SharedSurface white = Square(4, 0xFFFFFF);
  e.particles[0].fade = 0.125f;  // steps that are exact in binary
  e.Active = true;
  float alpha = 1;
  for (int frame = 0; frame < 8; ++frame) {
    Surface screen = MakeSurface(40, 40);
    Render(e, white.get(), screen);
    const auto level = static_cast<std::uint32_t>(static_cast<double>(alpha) * 255.0 + 0.5);
    EXPECT_EQ(screen.at(21, 21), level * 0x010101u) << "frame " << frame;
    EXPECT_EQ(screen.at(19, 21), 0u);
    alpha -= 0.125f;
  }
}

TEST(ParticleEngine, TheRunningScaleSetsTheDrawnSize) {
  struct Case {
    float scaleChange;
    int lastColumn;  // a picture drawn n wide from x 1 covers columns 1 to n - 1
  };
  // One living particle of 4 x 4 on an 8 x 8 picture: it grows the running
  // scale once and is drawn round(4 x scale) wide.
  const Case cases[] = {
      {0.0f, 7},        // 0: the picture's own size, 8
      {2.0f, 7},        // 8
      {4.0f, 15},       // 16
      {-1.0f, 7},       // shrunk below nothing: the picture's own size
      {10000.0f, 639},  // 40000 is held to the field's width
  };
  for (const Case& c : cases) {
    cParticle e = Placed(3, 1, 1, 0, 0, 50, 1);
    const SharedSurface white = Square(8, 0xFFFFFF);
    e.ScaleChange = c.scaleChange;
    e.particles[0].dead = e.particles[1].dead = 1;
    Surface screen = MakeSurface(700, 8);
    Render(e, white.get(), screen);
    EXPECT_FLOAT_EQ(e.scale, c.scaleChange);
    int last = 0;
    for (int x = 0; x < screen.width; ++x)
      if (screen.at(x, 1) != 0) last = x;
    EXPECT_EQ(last, c.lastColumn) << "scale change " << c.scaleChange;
  }
}

}  // namespace
}  // namespace vdx
