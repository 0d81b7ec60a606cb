#include "effects/particle_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <utility>

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
cParticle Placed(int count, float x, float y, float vx, float vy, int life, int direction,
                 SharedSurface texture = nullptr) {
  RandomGenerator random(1);
  cParticle e = Engine(count, 100);
  e.Gravity = 0;
  InitParticleEngine(e, random, 0, 0, 0, 0, 0, std::move(texture), 4, 4);
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
  cParticle e = Engine(400, 100);
  InitParticleEngine(e, random, 0.25f, 0.5f, 1.0f, 320, 240, nullptr, 16, 16);
  ASSERT_EQ(e.particles.size(), 400u);
  float lowest = 0, highest = 0;
  int down = 0, shortest = 1000, longest = 0;
  for (const Particle& p : e.particles) {
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
  EXPECT_EQ(random.state(), replay.state()) << "no draw besides the four";
  EXPECT_LT(lowest, -7.0f);
  EXPECT_GT(highest, 7.0f);
  EXPECT_GT(down, 100);
  EXPECT_LT(down, 300);
  EXPECT_EQ(shortest, 2);
  EXPECT_EQ(longest, 99) << "a LifeTime of 100 lives 99 frames at most";
}

TEST(ParticleEngine, TheSameGeneratorStateGivesTheSameBurstOfDistinctParticles) {
  RandomGenerator first(5), second(5);
  cParticle a, b;
  EXPECT_TRUE(ArmSparkBurst(a, first, nullptr, 300, 200));
  EXPECT_TRUE(ArmSparkBurst(b, second, nullptr, 300, 200));
  ASSERT_EQ(a.particles.size(), 50u);
  std::set<std::pair<float, float>> speeds;
  for (std::size_t i = 0; i < a.particles.size(); ++i) {
    EXPECT_EQ(a.particles[i].vx, b.particles[i].vx);
    EXPECT_EQ(a.particles[i].vy, b.particles[i].vy);
    EXPECT_EQ(a.particles[i].life, b.particles[i].life);
    EXPECT_EQ(a.particles[i].direction, b.particles[i].direction);
    speeds.insert({a.particles[i].vx, a.particles[i].vy});
  }
  EXPECT_EQ(speeds.size(), 50u) << "no two sparks alike";
  // A burst armed later, from the generator as it is now, is another one.
  cParticle c;
  ArmSparkBurst(c, first, nullptr, 300, 200);
  EXPECT_NE(c.particles[0].vx, a.particles[0].vx);
}

TEST(ParticleEngine, UpOnlyParticlesDrawNoDirectionAndNeverFall) {
  RandomGenerator random(9);
  RandomGenerator replay = random;
  cParticle e = Engine(60, 100);
  e.UpOnly = true;
  e.Gravity = 0.3f;
  InitParticleEngine(e, random, 1, 1, 1, 320, 470, nullptr, 8, 8);
  for (int i = 0; i < 60 * 3; ++i)
    replay.Uniform();
  EXPECT_EQ(random.state(), replay.state()) << "three draws a particle";
  e.Active = true;
  for (int frame = 0; frame < 40 && e.Active; ++frame) {
    std::vector<float> before;
    for (const Particle& p : e.particles) {
      EXPECT_EQ(p.direction, 0);
      before.push_back(p.y);
    }
    Surface screen = MakeSurface(640, 480);
    RenderParticles(e, screen);
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
    Surface screen = MakeSurface(640, 480);
    RenderParticles(e, screen);
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
    Surface screen = MakeSurface(640, 480);
    RenderParticles(e, screen);
    EXPECT_EQ(e.particles[0].dead, c.dies ? 1 : 0) << "from " << c.x << ", " << c.y;
  }

  // A life of L frames (L >= 3) is drawn L - 2 times: below 3 it becomes 1 and
  // the particle dies on that frame.
  for (const int life : {2, 3, 4, 10, 99}) {
    cParticle e = Placed(1, 300, 300, 0, 0, life, 1);
    e.Active = true;
    Surface screen = MakeSurface(640, 480);
    int drawn = 0;
    while (e.Active && drawn < 200) {
      RenderParticles(e, screen);
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
  Surface screen = MakeSurface(640, 480);
  RenderParticles(e, screen);
  EXPECT_EQ(e.particles[1].dead, 1);
  EXPECT_EQ(e.particles[0].dead, 0);
  EXPECT_TRUE(e.Active);
  RenderParticles(e, screen);
  EXPECT_EQ(e.particles[0].dead, 1) << "the last one dies";
  EXPECT_TRUE(e.Active) << "it was alive when it was drawn";
  RenderParticles(e, screen);
  EXPECT_FALSE(e.Active);
  // An inactive engine is not armed again until its burst is over.
  e.Active = true;
  RandomGenerator random(4);
  EXPECT_FALSE(ArmSparkBurst(e, random, nullptr, 10, 10));
  EXPECT_EQ(e.particles.size(), 2u);
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
  Surface screen = MakeSurface(640, 480);
  RenderParticles(e, screen);
  EXPECT_FLOAT_EQ(p.r, 0.96f);
  EXPECT_FLOAT_EQ(p.g, 0.3f);
  EXPECT_FLOAT_EQ(p.b, 0.06f);
  EXPECT_EQ(p.alpha, 0.625f);
  RenderParticles(e, screen);
  EXPECT_EQ(p.alpha, 0.25f);
  RenderParticles(e, screen);
  EXPECT_EQ(p.r, 1.0f) << "held at 1";
  EXPECT_EQ(p.g, 0.0f) << "held at 0";
  EXPECT_EQ(p.b, 0.0f);
  EXPECT_EQ(p.alpha, 0.0f) << "never below 0";
}

TEST(ParticleEngine, ALifeTimeBelowThreeStillGivesEveryParticleAFrame) {
  for (const int lifeTime : {2, 1, 0, -7}) {
    RandomGenerator random(8);
    cParticle e = Engine(100, lifeTime);
    InitParticleEngine(e, random, 1, 1, 1, 320, 240, nullptr, 4, 4);
    for (const Particle& p : e.particles) {
      ASSERT_GE(p.life, 1) << "LifeTime " << lifeTime;
      ASSERT_LE(p.life, 2);
      EXPECT_TRUE(std::isfinite(p.fade));
      EXPECT_TRUE(std::isfinite(p.dr));
    }
    e.Active = true;
    Surface screen = MakeSurface(640, 480);
    RenderParticles(e, screen);
    EXPECT_TRUE(e.Active) << "drawn once";
    for (const Particle& p : e.particles)
      EXPECT_EQ(p.dead, 1);
    RenderParticles(e, screen);
    EXPECT_FALSE(e.Active);
  }
  RandomGenerator random(8);
  cParticle none = Engine(-3, 100);
  InitParticleEngine(none, random, 1, 1, 1, 320, 240, nullptr, 4, 4);
  EXPECT_TRUE(none.particles.empty()) << "a negative count launches nothing";
}

TEST(ParticleEngine, WithoutATextureTheBurstRunsButDrawsNothing) {
  RandomGenerator first(10), second(10);
  cParticle bare, textured;
  ArmSparkBurst(bare, first, nullptr, 320, 240);
  ArmSparkBurst(textured, second, Square(16, 0xFFFFFF), 320, 240);
  bare.Active = textured.Active = true;
  Surface blank = MakeSurface(640, 480, 0x203040), drawn = blank;
  const Surface background = blank;
  for (int frame = 0; frame < 5; ++frame) {
    RenderParticles(bare, blank);
    RenderParticles(textured, drawn);
  }
  EXPECT_EQ(blank.pixels, background.pixels);
  EXPECT_NE(drawn.pixels, background.pixels);
  EXPECT_TRUE(bare.Active);
  for (std::size_t i = 0; i < bare.particles.size(); ++i) {
    EXPECT_EQ(bare.particles[i].x, textured.particles[i].x);
    EXPECT_EQ(bare.particles[i].y, textured.particles[i].y);
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
  InitParticleEngine(e, random, 0, 0, 0, 60, 40, Square(5, kTexel), 5, 5);
  e.Active = true;
  Surface screen = MakeSurface(128, 96, kField);
  for (int frame = 0; frame < 6; ++frame) {
    // Work out the picture from where the living particles are now.
    std::vector<int> hits(128 * 96, 0);
    for (const Particle& p : e.particles) {
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
    RenderParticles(e, field);
    ASSERT_EQ(field.pixels, want.pixels) << "frame " << frame;
    EXPECT_NE(field.pixels, screen.pixels) << "frame " << frame << " drew something";
  }
}

TEST(ParticleEngine, AFadingParticleIsDrawnAtItsAlpha) {
  cParticle e = Placed(1, 20, 20, 0, 0, 20, 1, Square(4, 0xFFFFFF));
  e.particles[0].fade = 0.125f;  // steps that are exact in binary
  e.Active = true;
  float alpha = 1;
  for (int frame = 0; frame < 8; ++frame) {
    Surface screen = MakeSurface(40, 40);
    RenderParticles(e, screen);
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
    cParticle e = Placed(3, 1, 1, 0, 0, 50, 1, Square(8, 0xFFFFFF));
    e.ScaleChange = c.scaleChange;
    e.particles[0].dead = e.particles[1].dead = 1;
    Surface screen = MakeSurface(700, 8);
    RenderParticles(e, screen);
    EXPECT_FLOAT_EQ(e.scale, c.scaleChange);
    int last = 0;
    for (int x = 0; x < screen.width; ++x)
      if (screen.at(x, 1) != 0) last = x;
    EXPECT_EQ(last, c.lastColumn) << "scale change " << c.scaleChange;
  }
}

}  // namespace
}  // namespace vdx
