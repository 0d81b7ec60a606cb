#include "effects/particle_engine.h"

#include <algorithm>
#include <cmath>

#include "graphics/rounding.h"

namespace vdx {
namespace {

// The field a particle lives in; leaving it kills the particle.
constexpr float kFieldRight = 639;
constexpr float kFieldBottom = 479;
// No particle is launched larger than the field.
constexpr int kMaxDrawnSize = 640;

std::uint32_t PackColour(float r, float g, float b) {
  auto channel = [](float c) {
    return static_cast<std::uint32_t>(RoundEven(std::clamp(c, 0.0f, 1.0f) * 255.0f));
  };
  return (channel(r) << 16) | (channel(g) << 8) | channel(b);
}

void Move(const cParticle& engine, Particle& p) {
  p.x += p.vx;
  p.vx += engine.Wind;
  if (p.direction == 0) {
    p.y -= p.vy;
    // Bubbles rise faster and faster; anything else thrown up falls back.
    p.vy += engine.UpOnly ? engine.Gravity : -engine.Gravity;
  } else {
    p.y += p.vy;
    p.vy += engine.Gravity;
  }
}

}  // namespace

std::int32_t NextParticleAngle(std::int32_t angle, std::int16_t change) {
  angle += change;
  if (angle > 360) angle -= 360;
  // Steps of a whole turn or more would otherwise run the angle away.
  if (angle > 360 || angle < -360) angle %= 360;
  return angle;
}

void InitParticleEngine(cParticle& engine, RandomGenerator& random, float r, float g, float b,
                        int x, int y, int width, int height) {
  engine.count = static_cast<std::int16_t>(std::clamp<int>(engine.nParticles, 0, kMaxParticles));
  engine.scale = 0;
  InitNewParticles(engine, random, r, g, b, x, y, width, height);
}

void InitNewParticles(cParticle& engine, RandomGenerator& random, float r, float g, float b, int x,
                      int y, int width, int height) {
  const double xVariation = engine.XVariation;
  const double yVariation = engine.YVariation;
  for (std::int16_t i = 0; i < engine.count; ++i) {
    Particle& p = engine.particles[static_cast<std::size_t>(i)];
    p.dead = 0;
    p.colour = PackColour(r, g, b);
    p.r = p.endR = r;
    p.g = p.endG = g;
    p.b = p.endB = b;
    p.x = static_cast<float>(x);
    p.y = static_cast<float>(y);
    p.vx = static_cast<float>(random.Uniform() * xVariation - xVariation / 2);
    p.vy = static_cast<float>(random.Uniform() * yVariation);
    p.direction = engine.UpOnly ? 0 : static_cast<std::int16_t>(RoundEven(random.Uniform()));
    p.width = static_cast<std::int16_t>(std::clamp(width, 0, kMaxDrawnSize));
    p.height = static_cast<std::int16_t>(std::clamp(height, 0, kMaxDrawnSize));
    // Int() rounds down, so a LifeTime below 2 can reach 0 or less; a life of
    // at least one frame keeps the steps below finite.
    const double span = static_cast<double>(engine.LifeTime) - 2;
    p.life = std::max(1, static_cast<std::int32_t>(std::floor(random.Uniform() * span)) + 2);
    const float life = static_cast<float>(p.life);
    p.dr = (p.endR - p.r) / life;
    p.dg = (p.endG - p.g) / life;
    p.db = (p.endB - p.b) / life;
    p.fade = 1.0f / life;
    p.alpha = 1.0f;
  }
}

void AdvanceParticles(cParticle& engine) {
  engine.advancePending = false;
  bool anyAlive = false;
  for (std::int16_t i = 0; i < engine.count; ++i) {
    engine.angle = NextParticleAngle(engine.angle, engine.RotChange);
    Particle& p = engine.particles[static_cast<std::size_t>(i)];
    if (p.dead != 0) continue;

    anyAlive = true;
    engine.scale += engine.ScaleChange;
    Move(engine, p);
    p.life -= 1;
    if (p.life < 3) p.life = 1;
    if (p.y > kFieldBottom || p.y < 0 || p.x > kFieldRight || p.x < 0 || p.life < 2) p.dead = 1;

    p.r = std::clamp(p.r + p.dr, 0.0f, 1.0f);
    p.g = std::clamp(p.g + p.dg, 0.0f, 1.0f);
    p.b = std::clamp(p.b + p.db, 0.0f, 1.0f);
    p.alpha = std::max(0.0f, p.alpha - p.fade);
  }
  engine.Active = anyAlive;
}

bool ArmSparkBurst(cParticle& engine, RandomGenerator& random, int x, int y) {
  if (engine.Active) return false;
  engine.Gravity = 0.4f;
  engine.nParticles = 50;
  engine.XVariation = 15;
  engine.YVariation = 10;
  engine.Wind = 0;
  engine.LifeTime = 100;
  engine.RotChange = 6;
  // No colour: DrawSprite draws a tint of (0, 0, 0) untinted.
  InitParticleEngine(engine, random, 0, 0, 0, x, y, kSparkSize, kSparkSize);
  return true;
}

void ArmBubbles(cParticle& engine, RandomGenerator& random, int x, int y) {
  engine.Gravity = 0.06f;
  engine.nParticles = 24;
  engine.XVariation = 3;
  engine.YVariation = 2;
  engine.Wind = 0;
  engine.LifeTime = 70;
  engine.RotChange = 0;
  engine.UpOnly = true;
  engine.BlendMode = 1;
  InitParticleEngine(engine, random, 0, 0, 0, x, y, kBubbleSize, kBubbleSize);
  engine.Active = true;
}

}  // namespace vdx
