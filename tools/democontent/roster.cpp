#include "roster.h"

namespace democontent {
namespace {

EffectSpec Projectile(std::string name, std::string action, EffectSpec::Look look, Rgb colour,
                      std::string next) {
  EffectSpec e;
  e.name = std::move(name);
  e.sprites = "fly";
  e.actionName = std::move(action);
  e.frames = 4;
  e.width = 96;
  e.height = 64;
  e.animX = 170;
  e.animY = 70;
  e.moveHorizontal = 14;
  e.displayRate = 40;
  e.interval = 40;
  e.damage = 14;
  e.sfx = "fireball.wav";
  e.nextEffect = std::move(next);
  e.look = look;
  e.colour = colour;
  e.blendMode = 1;
  e.showParticles = true;
  return e;
}

EffectSpec Burst(std::string name, EffectSpec::Look look, Rgb colour) {
  EffectSpec e;
  e.name = std::move(name);
  e.sprites = "burst";
  e.actionName = "None";
  e.frames = 5;
  e.width = 112;
  e.height = 112;
  e.displayRate = 8;
  e.interval = 45;
  e.alphaChange = -0.12;
  e.alphaInterval = 40;
  e.scaleChange = 6;
  e.scaleInterval = 40;
  e.blendMode = 1;
  e.look = look;
  e.colour = colour;
  return e;
}

EffectSpec Aura(std::string name, Rgb colour) {
  EffectSpec e;
  e.name = std::move(name);
  e.sprites = "aura";
  e.actionName = "Sexuality";
  e.frames = 3;
  e.width = 160;
  e.height = 160;
  e.animX = 48;
  e.animY = 40;
  e.displayRate = 14;
  e.interval = 60;
  e.alpha = 0.85;
  e.angleChange = 6;  // degrees
  e.angleInterval = 30;
  e.blendMode = 3;
  e.startDelay = 150;
  e.look = EffectSpec::Look::Ring;
  e.colour = colour;
  return e;
}

}  // namespace

std::vector<Character> Roster() {
  std::vector<Character> roster;

  Character kira;
  kira.fighter.name = "Kira";
  kira.fighter.path = "kira";
  kira.fighter.build = Build{};
  kira.fighter.build.chest = 13.5;
  kira.fighter.build.waist = 10.5;
  kira.fighter.outfit = {Hex(0xE8B68E), Hex(0x3A2418), Hex(0xC8322D), Hex(0xF2EEE6),
                         Hex(0x1E1E24), Hex(0xE8E0D0), Hex(0x2A2A30), Hex(0x4A3020)};
  kira.fighter.outfit.hair_style = Hair::Ponytail;
  kira.fighter.outfit.sleeves = true;
  kira.health = 100;
  kira.special = "FlameWave";
  kira.moveNote =
      "A quick fighter in a red jacket: the Flame Wave flies fast and bursts on contact.";
  kira.glow = Hex(0xFF7A30);
  kira.effects.push_back(
      Projectile("KiraFlame", "FlameWave", EffectSpec::Look::Flame, Hex(0xFF8A30), "KiraBurst"));
  kira.effects.push_back(Burst("KiraBurst", EffectSpec::Look::Burst, Hex(0xFFB040)));
  kira.effects.push_back(Aura("KiraAura", Hex(0xFF5020)));
  roster.push_back(kira);

  Character brann;
  brann.fighter.name = "Brann";
  brann.fighter.path = "brann";
  Build& b = brann.fighter.build;
  b.torso = 56;
  b.thigh = 38;
  b.shin = 36;
  b.upperArm = 32;
  b.forearm = 29;
  b.head = 15.5;
  b.chest = 21;
  b.waist = 17;
  b.thighR = 12;
  b.shinR = 9.5;
  b.upperArmR = 10.5;
  b.forearmR = 8.5;
  b.fist = 10;
  b.foot = 18;
  brann.fighter.outfit = {Hex(0xB57A52), Hex(0x8A4A22), Hex(0x3E7A3A), Hex(0x5A4A3A),
                          Hex(0xC8A040), Hex(0x6A4A30), Hex(0x3A2A20), Hex(0x203040)};
  brann.fighter.outfit.hair_style = Hair::BaldBeard;
  brann.fighter.outfit.shoulderPads = true;
  brann.health = 120;
  brann.special = "BoulderToss";
  brann.moveNote = "A heavy brawler in a green vest: slow, strong, his boulder spins as it flies.";
  brann.glow = Hex(0xC8A040);
  EffectSpec rock =
      Projectile("BrannRock", "BoulderToss", EffectSpec::Look::Rock, Hex(0x8A7A6A), "BrannDust");
  rock.blendMode = 0;
  rock.width = 72;
  rock.height = 72;
  rock.moveHorizontal = 10;
  rock.damage = 18;
  rock.angleChange = 12;  // degrees: about a turn a second
  rock.angleInterval = 25;
  rock.showParticles = false;
  rock.hardHit = true;
  brann.effects.push_back(rock);
  EffectSpec dust = Burst("BrannDust", EffectSpec::Look::Dust, Hex(0xC8B090));
  dust.blendMode = 0;
  dust.alpha = 0.9;
  brann.effects.push_back(dust);
  EffectSpec smallDust = dust;  // the same cloud, for the throw's landing
  smallDust.name = "BrannThud";
  smallDust.alias = "BrannDust";
  smallDust.actionName = "Throw";
  smallDust.animX = 60;
  smallDust.animY = 150;
  smallDust.startDelay = 400;
  brann.effects.push_back(smallDust);
  brann.effects.push_back(Aura("BrannAura", Hex(0xFFD040)));
  roster.push_back(brann);

  Character vex;
  vex.fighter.name = "Vex";
  vex.fighter.path = "vex";
  Build& v = vex.fighter.build;
  v.torso = 56;
  v.thigh = 45;
  v.shin = 45;
  v.upperArm = 33;
  v.forearm = 31;
  v.head = 14;
  v.chest = 13;
  v.waist = 10;
  v.thighR = 8;
  v.shinR = 6.5;
  v.upperArmR = 6.5;
  v.forearmR = 5.5;
  v.fist = 7;
  vex.fighter.outfit = {Hex(0xD8B090), Hex(0x2A2450), Hex(0x3C3480), Hex(0x2A2A4A),
                        Hex(0x38C8C0), Hex(0x2A2A4A), Hex(0x1A1A30), Hex(0x40E0D0)};
  vex.fighter.outfit.hair_style = Hair::Hood;
  vex.fighter.outfit.sleeves = true;
  vex.fighter.outfit.longSleeves = true;
  vex.fighter.outfit.scarf = true;
  vex.health = 90;
  vex.useVdp = true;
  vex.special = "TideStar";
  vex.moveNote =
      "A tall masked ninja in indigo: the Tide Star spins through the air inside a bubble.";
  vex.glow = Hex(0x40E0D0);
  EffectSpec star =
      Projectile("VexStar", "TideStar", EffectSpec::Look::Star, Hex(0xB0F0F0), "VexSplash");
  star.blendMode = 3;  // its dark glow lets the background through
  star.width = 64;
  star.height = 64;
  star.animY = 80;
  star.moveHorizontal = 16;
  star.damage = 12;
  star.angleChange = 15;  // degrees
  star.angleInterval = 20;
  star.showParticles = false;
  vex.effects.push_back(star);
  vex.effects.push_back(Burst("VexSplash", EffectSpec::Look::Splash, Hex(0x60D0FF)));
  EffectSpec bubble;
  bubble.name = "VexBUBBLE";
  bubble.sprites = "bubble";
  bubble.actionName = "TideStar";
  bubble.frames = 4;
  bubble.width = 96;
  bubble.height = 96;
  // Round the star, flying with it for its first steps, then gone.
  bubble.animX = 154;
  bubble.animY = 64;
  bubble.moveHorizontal = 16;
  bubble.displayRate = 8;
  bubble.interval = 40;
  bubble.alpha = 0.7;
  bubble.alphaChange = -0.04;
  bubble.alphaInterval = 40;
  bubble.blendMode = 1;
  bubble.look = EffectSpec::Look::Bubble;
  bubble.colour = Hex(0x80E0FF);
  vex.effects.push_back(bubble);
  vex.effects.push_back(Aura("VexAura", Hex(0x40E0D0)));
  roster.push_back(vex);

  return roster;
}

}  // namespace democontent
