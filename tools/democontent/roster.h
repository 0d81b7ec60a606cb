// The demo's fighters and stages: who they are, how they look, their specials.
#pragma once

#include <string>
#include <vector>

#include "figure.h"

namespace democontent {

struct EffectSpec {
  std::string name;        // unique in the game: the folder under Effects
  std::string sprites;     // frame file base name
  std::string actionName;  // the action that starts it, or "None"
  int frames = 4, width = 64, height = 64;
  int animX = 0, animY = 0;
  int moveHorizontal = 0, moveVertical = 0;
  int maxTop = 0, maxBottom = 480;
  int displayRate = 10, interval = 50;
  int damage = 0;
  double alpha = 1, alphaChange = 0;
  int alphaInterval = 0;
  double angle = 0, angleChange = 0;
  int angleInterval = 0;
  double scaleChange = 0;
  int scaleInterval = 0;
  int blendMode = 0;
  int startDelay = 0;
  std::string nextEffect, sfx, alias;
  bool hardHit = false, showParticles = false, reverse = true;
  double red = 1, green = 1, blue = 1;
  enum class Look { Flame, Burst, Ring, Star, Rock, Dust, Bubble, Splash } look = Look::Flame;
  Rgb colour{255, 160, 60};
};

struct Character {
  Fighter fighter;
  int health = 100;
  bool useVdp = false;
  std::string special;   // name of the projectile action
  std::string moveNote;  // one line for the help page
  std::vector<EffectSpec> effects;
  Rgb glow;
};

std::vector<Character> Roster();

}  // namespace democontent
