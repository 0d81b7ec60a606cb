// A burst of textured particles launched from one point: each moves by its own
// speed, the engine's wind and gravity, fades out and is drawn once per frame
// until every one is dead. The fight keeps one engine per fighter for hit
// sparks, and engines for bubbles.
//
// Coordinates are pixels of the 640 x 480 play field (the camera does not move
// particles); time advances one step per rendered frame.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/random.h"
#include "graphics/sprite_loading.h"
#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"

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
  SharedSurface texture;  // keyed on black; none: nothing is drawn
  // Shared by all particles and never reset between bursts: each particle
  // drawn turns and grows a little further, a swirl of the whole engine.
  // Degrees, handed to DrawSprite as they are.
  std::int32_t angle = 0;
  float scale = 0;                  // 0 until ScaleChange moves it; reset by InitParticleEngine
  std::vector<Particle> particles;  // sized by InitParticleEngine, reused by every frame
};

// The picture file of the fight's hit sparks and its size.
inline constexpr std::string_view kSparkPicture = "\\effects\\spark\\spark.bmp";
inline constexpr int kSparkSize = 16;

// Reads a particle picture at the size, keyed on black; logs and returns
// nullptr when it is missing or not a picture. The caller keeps it for every
// burst: arming a burst loads nothing.
SharedSurface LoadParticleTexture(const LoadContext& ctx, std::string_view contentPath, int width,
                                  int height);

// Sizes the particles to nParticles, keeps the texture (nullptr: the engine
// draws nothing, the burst still runs), resets the running scale and launches
// every particle from (x, y) in the colour (r, g, b), each 0..1.
void InitParticleEngine(cParticle& engine, RandomGenerator& random, float r, float g, float b,
                        int x, int y, SharedSurface texture, int width, int height);

// Launches every particle again from (x, y). Each particle takes its own draws
// from the generator, in this order: horizontal speed, vertical speed,
// direction (not for UpOnly), life.
void InitNewParticles(cParticle& engine, RandomGenerator& random, float r, float g, float b, int x,
                      int y, int width, int height);

// One frame: draws every living particle into `target`, moves it, ages it and
// sets Active to whether any particle was alive to be drawn.
void RenderParticles(cParticle& engine, Surface& target, RasterPath path = RasterPath::Best);

// Arms the fight's hit-spark burst at (x, y): 50 untinted particles of 16 x 16
// thrown up and out, falling back under gravity. Nothing happens while the
// engine is still active; arming does not show the burst (the caller sets
// Active). Returns whether the burst was armed.
bool ArmSparkBurst(cParticle& engine, RandomGenerator& random, SharedSurface spark, int x, int y);

// The picture of a "BUBBLE" effect's bubbles and their size.
inline constexpr std::string_view kBubblePicture = "\\effects\\bubble\\bubble01.bmp";
inline constexpr int kBubbleSize = 32;

// Launches a fighter's bubbles from (x, y) and shows them: 24 bubbles of
// 32 x 32 that rise ever faster, drifting a little sideways, and glow over
// what is behind them. A burst still rising is launched again.
void ArmBubbles(cParticle& engine, RandomGenerator& random, SharedSurface bubble, int x, int y);

}  // namespace vdx
