// A burst of textured particles launched from one point: each moves by its own
// speed, the engine's wind and gravity, fades out and is drawn once per frame
// until every one is dead. The fight keeps one engine per fighter for hit
// sparks, and engines for bubbles. An engine is a plain value of the fight's
// state; its picture is the drawing's (particle_drawing.h).
//
// Coordinates are pixels of the 640 x 480 play field (the camera does not move
// particles). A frame draws the burst as it is and then moves it on a step:
// the fight takes that step at the start of the next frame (AdvanceParticles),
// so that what a frame draws is the state the frame ended with.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/random.h"

namespace vdx {

// One particle, launched by InitNewParticles.
struct Particle {
  float x = 0, y = 0;    // top-left of the drawn picture, screen pixels
  float vx = 0, vy = 0;  // pixels per frame
  float fade = 0;        // alpha lost per frame: 1 / life at launch
  float alpha = 1;
  std::uint32_t colour = 0;      // the launch colour as a pixel, 0x00RRGGBB
  float r = 0, g = 0, b = 0;     // current tint, 0..1
  float dr = 0, dg = 0, db = 0;  // tint change per frame
  float endR = 0, endG = 0, endB = 0;
  std::int32_t life = 0;               // frames left
  std::int32_t dead = 0;               // 0 alive, 1 dead
  std::int16_t direction = 0;          // 0 launched upwards, 1 downwards
  std::int16_t width = 0, height = 0;  // drawn size before the running scale
};

// The most particles a burst has (a spark burst's).
inline constexpr int kMaxParticles = 50;

// The running turn after one more particle: it wraps at a whole turn.
std::int32_t NextParticleAngle(std::int32_t angle, std::int16_t change);

struct cParticle {
  // Settings, set before InitParticleEngine.
  float Gravity = 0;  // taken from or added to the vertical speed every frame
  float Wind = 0;     // added to the horizontal speed every frame
  std::int16_t nParticles = 0;
  std::int16_t YVariation = 0;  // vertical launch speed: r x YVariation
  std::int16_t XVariation = 0;  // horizontal launch speed: r x XVariation - XVariation / 2
  std::int16_t LifeTime = 0;    // upper bound of a life, frames
  bool Active = false;          // the caller sets it to show a burst; false once all died
  std::int16_t RotChange = 0;   // added to the running angle per particle processed
  bool UpOnly = false;          // every particle rises (bubbles)
  std::int16_t BlendMode = 0;   // handed to DrawSprite
  float ScaleChange = 0;        // added to the running scale per living particle drawn

  // Engine state.
  // Shared by all particles and never reset between bursts: each particle
  // drawn turns and grows a little further, a swirl of the whole engine.
  // Degrees, handed to DrawSprite as they are.
  std::int32_t angle = 0;
  float scale = 0;  // 0 until ScaleChange moves it; reset by InitParticleEngine
  std::int16_t count = 0;  // particles in use: nParticles, within the room below
  std::array<Particle, kMaxParticles> particles{};
  // Drawn in the frame that just ended: its step is still to be taken.
  bool advancePending = false;
};

// The picture file of the fight's hit sparks and its size.
inline constexpr std::string_view kSparkPicture = "\\effects\\spark\\spark.bmp";
inline constexpr int kSparkSize = 16;

// Uses nParticles particles (at most kMaxParticles), resets the running scale
// and launches every particle from (x, y) in the colour (r, g, b), each 0..1.
void InitParticleEngine(cParticle& engine, RandomGenerator& random, float r, float g, float b,
                        int x, int y, int width, int height);

// Launches every particle again from (x, y). Each particle takes its own draws
// from the generator, in this order: horizontal speed, vertical speed,
// direction (not for UpOnly), life.
void InitNewParticles(cParticle& engine, RandomGenerator& random, float r, float g, float b, int x,
                      int y, int width, int height);

// The step after a frame that drew the burst: every living particle moves and
// ages, the running turn and scale go on as the drawing took them, and Active
// becomes whether any particle was alive to be drawn.
void AdvanceParticles(cParticle& engine);

// Calls `each(particle, angle, scale)` for every living particle with the
// running turn and scale it is drawn with this frame; changes nothing.
template <typename Each>
void ForEachDrawnParticle(const cParticle& engine, Each each) {
  std::int32_t angle = engine.angle;
  float scale = engine.scale;
  for (std::int16_t i = 0; i < engine.count; ++i) {
    angle = NextParticleAngle(angle, engine.RotChange);
    const Particle& p = engine.particles[static_cast<std::size_t>(i)];
    if (p.dead != 0) continue;
    scale += engine.ScaleChange;
    each(p, angle, scale);
  }
}

// Arms the fight's hit-spark burst at (x, y): 50 untinted particles of 16 x 16
// thrown up and out, falling back under gravity. Nothing happens while the
// engine is still active; arming does not show the burst (the caller sets
// Active). Returns whether the burst was armed.
bool ArmSparkBurst(cParticle& engine, RandomGenerator& random, int x, int y);

// The picture of a "BUBBLE" effect's bubbles and their size.
inline constexpr std::string_view kBubblePicture = "\\effects\\bubble\\bubble01.bmp";
inline constexpr int kBubbleSize = 32;

// Launches a fighter's bubbles from (x, y) and shows them: 24 bubbles of
// 32 x 32 that rise ever faster, drifting a little sideways, and glow over
// what is behind them. A burst still rising is launched again.
void ArmBubbles(cParticle& engine, RandomGenerator& random, int x, int y);

}  // namespace vdx
