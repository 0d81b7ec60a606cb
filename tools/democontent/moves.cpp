#include "moves.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace democontent {
namespace {

constexpr double kPi = 3.14159265358979323846;

Pose Stance() {
  Pose p;
  p.torso = 6;
  return p;
}

Pose Crouch() {
  Pose p = Stance();
  p.torso = 18;
  p.frontThigh = 78;
  p.frontShin = -8;
  p.backThigh = 38;
  p.backShin = -62;
  p.backFoot = 95;
  p.frontUpper = 45;
  p.frontFore = 155;
  p.backUpper = 30;
  p.backFore = 165;
  return p;
}

Pose Tuck() {
  Pose p = Stance();
  p.frontThigh = 95;
  p.frontShin = -25;
  p.backThigh = 70;
  p.backShin = -45;
  p.frontUpper = 60;
  p.frontFore = 160;
  p.backUpper = 50;
  p.backFore = 165;
  return p;
}

Pose Lying(double bounce) {
  Pose p;
  p.spin = -92;
  p.torso = 0;
  p.head = -10;
  p.frontThigh = 8;
  p.frontShin = 4;
  p.backThigh = -4;
  p.backShin = -6;
  p.frontFoot = 100;
  p.backFoot = 100;
  p.frontUpper = 150;
  p.frontFore = 175;
  p.backUpper = 130;
  p.backFore = 120;
  p.lift = bounce;
  return p;
}

std::vector<Pose> WalkCycle(int frames) {
  std::vector<Pose> poses;
  for (int k = 0; k < frames; ++k) {
    const double phase = 2 * kPi * k / frames;
    Pose p = Stance();
    p.torso = 8;
    p.frontThigh = 4 + 26 * std::cos(phase);
    p.backThigh = 4 - 26 * std::cos(phase);
    p.frontShin = p.frontThigh - 8 - 28 * std::max(0.0, std::sin(phase));
    p.backShin = p.backThigh - 8 - 28 * std::max(0.0, -std::sin(phase));
    p.frontFoot = 90 + 0.3 * p.frontShin;
    p.backFoot = 90 + 0.3 * p.backShin;
    p.frontUpper = 30 - 12 * std::cos(phase);
    p.backUpper = 20 + 12 * std::cos(phase);
    poses.push_back(p);
  }
  return poses;
}

std::vector<Pose> Breathing() {
  std::vector<Pose> poses;
  for (int k = 0; k < 4; ++k) {
    Pose p = Stance();
    const double s = std::sin(2 * kPi * k / 4);
    p.lift = -1.5 + 1.5 * s;
    p.frontThigh += 2 * s;
    p.backShin -= 2 * s;
    p.frontFore += 4 * s;
    p.backFore -= 3 * s;
    p.torso += 1.5 * s;
    poses.push_back(p);
  }
  return poses;
}

ActionSpec Make(std::string name, std::string sprites, int count, std::vector<Pose> keys) {
  ActionSpec a;
  a.name = std::move(name);
  a.sprites = std::move(sprites);
  a.count = count;
  a.keys = std::move(keys);
  return a;
}

}  // namespace

Pose PoseAt(const ActionSpec& a, int k) {
  if (a.keys.empty()) return Stance();
  if (static_cast<int>(a.keys.size()) == a.count) return a.keys[k];
  if (a.count <= 1 || a.keys.size() == 1) return a.keys.front();
  const double t = double(k) / (a.count - 1) * double(a.keys.size() - 1);
  const int i = std::min(static_cast<int>(t), static_cast<int>(a.keys.size()) - 2);
  return Lerp(a.keys[i], a.keys[i + 1], t - i);
}

std::vector<ActionSpec> ActionsFor(const Fighter& f, const std::string& specialName) {
  (void)f;
  std::vector<ActionSpec> actions;

  ActionSpec standing = Make("Standing", "stand", 4, Breathing());
  standing.motion = 140;
  actions.push_back(standing);

  ActionSpec walk = Make("Walk", "walk", 6, WalkCycle(6));
  walk.motion = 70;
  walk.speed = 9;
  actions.push_back(walk);

  // Down plays "Duck" backwards and looping, and a backward loop never shows an
  // action's first frame but wraps to its last: one crouching frame holds for as
  // long as Down is held.
  ActionSpec duck = Make("Duck", "duck", 1, {Crouch()});
  duck.motion = 45;
  actions.push_back(duck);

  Pose hit = Stance();
  hit.torso = -16;
  hit.head = -14;
  hit.frontUpper = 5;
  hit.frontFore = 70;
  hit.backUpper = -15;
  hit.backFore = 40;
  ActionSpec hitAction = Make("Hit", "hit", 3, {Stance(), hit, Lerp(hit, Stance(), 0.5)});
  hitAction.animType = "Active";
  hitAction.motion = 70;
  hitAction.speed = -5;
  hitAction.holdLastFrame = 1;
  hitAction.sfx = "hit.wav";
  actions.push_back(hitAction);

  Pose mid = Stance();
  mid.torso = 34;
  mid.head = 18;
  mid.frontUpper = 40;
  mid.frontFore = 110;
  mid.backUpper = 30;
  mid.backFore = 120;
  mid.frontThigh = 30;
  mid.frontShin = -5;
  ActionSpec midHit = Make("MidHit", "midhit", 3, {Stance(), mid, Lerp(mid, Stance(), 0.4)});
  midHit.animType = "Active";
  midHit.motion = 80;
  midHit.speed = -4;
  midHit.holdLastFrame = 1;
  midHit.sfx = "hit.wav";
  actions.push_back(midHit);

  Pose high = Stance();
  high.torso = -28;
  high.head = -32;
  high.frontUpper = -25;
  high.frontFore = 25;
  high.backUpper = -35;
  high.backFore = 10;
  high.frontThigh = 12;
  high.backThigh = -22;
  ActionSpec highHit = Make("HighHit", "highhit", 3, {Stance(), high, Lerp(high, Stance(), 0.4)});
  highHit.animType = "Active";
  highHit.motion = 80;
  highHit.speed = -7;
  highHit.holdLastFrame = 1;
  highHit.sfx = "hit.wav";
  actions.push_back(highHit);

  Pose air1 = high;
  air1.grounded = false;
  air1.lift = 28;
  air1.spin = -25;
  Pose air2 = Tuck();
  air2.grounded = false;
  air2.lift = 40;
  air2.spin = -55;
  Pose down = Crouch();
  down.torso = 35;
  down.frontUpper = 80;
  down.frontFore = 60;
  ActionSpec hardHit =
      Make("HardHit", "hardhit", 6, {Stance(), air1, air2, Lying(6), down, Stance()});
  hardHit.animType = "Active";
  hardHit.motion = 80;
  hardHit.speed = -10;
  hardHit.holdLastFrame = 1;
  hardHit.sfx = "hit.wav";
  actions.push_back(hardHit);

  Pose fall = high;
  fall.spin = -40;
  fall.frontThigh = 25;
  fall.backThigh = 5;
  ActionSpec ko = Make("KO", "ko", 6, {high, fall, Lying(14), Lying(0), Lying(4), Lying(0)});
  ko.animType = "Active";
  ko.motion = 110;
  ko.speed = -4;
  ko.holdLastFrame = 32000;  // stays down
  ko.sfx = "ko.wav";
  actions.push_back(ko);

  Pose block = Stance();
  block.torso = -4;
  block.frontThigh = 32;
  block.frontShin = -6;
  block.frontUpper = 75;
  block.frontFore = 172;
  block.backUpper = 55;
  block.backFore = 176;
  block.head = 8;
  ActionSpec blockAction = Make("Block", "block", 3, {Stance(), Lerp(Stance(), block, 0.6), block});
  blockAction.animType = "Active";
  blockAction.activate = "B";
  blockAction.motion = 60;
  blockAction.holdLastFrame = 3;
  blockAction.sfx = "block.wav";
  blockAction.canHit = true;
  actions.push_back(blockAction);

  Pose stretch = Stance();
  stretch.frontThigh = 8;
  stretch.frontShin = 4;
  stretch.backThigh = -8;
  stretch.backShin = -12;
  stretch.frontFoot = 150;
  stretch.backFoot = 150;
  stretch.frontUpper = 160;
  stretch.frontFore = 175;
  stretch.backUpper = 150;
  stretch.backFore = 170;
  ActionSpec jump =
      Make("Jump", "jump", 7, {Crouch(), stretch, Tuck(), Tuck(), Tuck(), stretch, Crouch()});
  jump.animType = "Active";
  jump.activate = "U";
  jump.motion = 55;
  jump.jumpSpeed = 22;
  jump.topJumpFrame = 3;
  jump.sfx = "jump.wav";
  jump.canHit = true;
  actions.push_back(jump);

  std::vector<Pose> flipKeys;
  for (int k = 0; k < 8; ++k) {
    Pose p = k == 0 || k == 7 ? Crouch() : Tuck();
    if (k > 0 && k < 7) {
      p.grounded = false;
      p.lift = 26;
      p.spin = 360.0 * (k - 0.5) / 6.0;
    }
    flipKeys.push_back(p);
  }
  ActionSpec flip = Make("Flip", "flip", 8, flipKeys);
  flip.animType = "Active";
  flip.activate = "RU";
  flip.motion = 50;
  flip.speed = 10;
  flip.jumpSpeed = 18;
  flip.topJumpFrame = 4;
  flip.sfx = "jump.wav";
  actions.push_back(flip);

  Pose windup = Stance();
  windup.torso = -4;
  windup.frontUpper = 15;
  windup.frontFore = 120;
  Pose jab = Stance();
  jab.torso = 14;
  jab.frontThigh = 36;
  jab.frontShin = 8;
  jab.backThigh = -26;
  jab.backShin = -34;
  jab.frontUpper = 88;
  jab.frontFore = 90;
  jab.backUpper = -10;
  jab.backFore = 120;
  ActionSpec punch = Make("Punch", "punch", 4, {windup, jab, jab, Lerp(jab, Stance(), 0.5)});
  punch.animType = "Active";
  punch.activate = "P";
  punch.motion = 55;
  punch.damage = 6;
  punch.holdLastFrame = 1;
  punch.sfx = "punch.wav";
  punch.highHit = true;
  actions.push_back(punch);

  Pose chamber = Stance();
  chamber.torso = -8;
  chamber.frontThigh = 82;
  chamber.frontShin = -25;
  chamber.frontFoot = 60;
  Pose kickOut = Stance();
  kickOut.torso = -24;
  kickOut.head = 10;
  kickOut.frontThigh = 96;
  kickOut.frontShin = 94;
  kickOut.frontFoot = 120;
  kickOut.backThigh = -6;
  kickOut.backShin = -10;
  kickOut.frontUpper = 40;
  kickOut.frontFore = 150;
  kickOut.backUpper = -20;
  kickOut.backFore = 60;
  ActionSpec kick = Make("Kick", "kick", 5, {chamber, kickOut, kickOut, chamber, Stance()});
  kick.animType = "Active";
  kick.activate = "K";
  kick.motion = 60;
  kick.damage = 8;
  kick.holdLastFrame = 1;
  kick.sfx = "kick.wav";
  kick.midHit = true;
  actions.push_back(kick);

  Pose lowJab = Crouch();
  lowJab.torso = 24;
  lowJab.frontUpper = 86;
  lowJab.frontFore = 88;
  lowJab.backUpper = 0;
  lowJab.backFore = 130;
  ActionSpec duckPunch =
      Make("DuckPunch", "dpunch", 3, {Crouch(), Lerp(Crouch(), lowJab, 0.5), lowJab});
  duckPunch.animType = "ActiveReverse";
  duckPunch.activate = "DP";
  duckPunch.motion = 50;
  duckPunch.damage = 5;
  duckPunch.holdLastFrame = 2;
  duckPunch.sfx = "punch.wav";
  actions.push_back(duckPunch);

  Pose lowKick = Crouch();
  lowKick.torso = -6;
  lowKick.frontThigh = 86;
  lowKick.frontShin = 90;
  lowKick.frontFoot = 100;
  lowKick.backThigh = 50;
  lowKick.backShin = -70;
  ActionSpec duckKick =
      Make("DuckKick", "dkick", 4, {Crouch(), Lerp(Crouch(), lowKick, 0.5), lowKick, lowKick});
  duckKick.animType = "ActiveReverse";
  duckKick.activate = "DK";
  duckKick.motion = 55;
  duckKick.damage = 7;
  duckKick.holdLastFrame = 2;
  duckKick.sfx = "kick.wav";
  duckKick.midHit = true;
  actions.push_back(duckKick);

  Pose airJab = Tuck();
  airJab.torso = 20;
  airJab.frontUpper = 65;
  airJab.frontFore = 55;
  ActionSpec jumpPunch = Make("JumpPunch", "jpunch", 3, {Tuck(), airJab, airJab});
  jumpPunch.animType = "Active";
  jumpPunch.activate = "P";
  jumpPunch.performed = "Jumping";
  jumpPunch.motion = 60;
  jumpPunch.damage = 7;
  jumpPunch.jumpSpeed = 22;
  jumpPunch.topJumpFrame = 0;
  jumpPunch.sfx = "punch.wav";
  jumpPunch.highHit = true;
  actions.push_back(jumpPunch);

  Pose flyKick = Tuck();
  flyKick.torso = -18;
  flyKick.frontThigh = 72;
  flyKick.frontShin = 76;
  flyKick.frontFoot = 100;
  flyKick.backThigh = 20;
  flyKick.backShin = -70;
  ActionSpec jumpKick = Make("JumpKick", "jkick", 3, {Tuck(), flyKick, flyKick});
  jumpKick.animType = "Active";
  jumpKick.activate = "K";
  jumpKick.performed = "Jumping";
  jumpKick.motion = 60;
  jumpKick.damage = 9;
  jumpKick.jumpSpeed = 22;
  jumpKick.topJumpFrame = 0;
  jumpKick.sfx = "kick.wav";
  jumpKick.highHit = true;
  jumpKick.yOffset = -8;  // the kick is drawn a little higher in the air
  actions.push_back(jumpKick);

  Pose sweepLow = Crouch();
  sweepLow.torso = 40;
  sweepLow.head = -20;
  sweepLow.frontThigh = 70;
  sweepLow.frontShin = -30;
  sweepLow.backThigh = 84;
  sweepLow.backShin = 89;
  sweepLow.backFoot = 110;
  sweepLow.frontUpper = 70;
  sweepLow.frontFore = 20;
  sweepLow.backUpper = 40;
  sweepLow.backFore = 10;
  Pose sweepStart = sweepLow;
  sweepStart.backThigh = -30;
  sweepStart.backShin = -60;
  ActionSpec sweep =
      Make("SweepKick", "sweep", 5, {Crouch(), sweepStart, sweepLow, sweepLow, Crouch()});
  sweep.animType = "Active";
  sweep.activate = "LK";
  sweep.motion = 60;
  sweep.damage = 8;
  sweep.holdLastFrame = 1;
  sweep.sfx = "kick.wav";
  sweep.hardHit = true;
  sweep.showParticles = true;
  sweep.nextAction = "Duck";  // the sweep ends low
  sweep.xOffset = 10;         // and reaches a little further
  actions.push_back(sweep);

  Pose charge = Stance();
  charge.torso = -12;
  charge.frontUpper = -40;
  charge.frontFore = 30;
  charge.backUpper = -55;
  charge.backFore = 15;
  Pose thrust = Stance();
  thrust.torso = 16;
  thrust.frontThigh = 42;
  thrust.frontShin = 12;
  thrust.backThigh = -32;
  thrust.backShin = -38;
  thrust.frontUpper = 90;
  thrust.frontFore = 88;
  thrust.backUpper = 84;
  thrust.backFore = 92;
  ActionSpec special = Make(specialName, "special", 5,
                            {charge, charge, thrust, thrust, Lerp(thrust, Stance(), 0.6)});
  special.animType = "Special";
  special.activate = "DRP";
  special.motion = 70;
  special.holdLastFrame = 2;
  special.sfx = "fireball.wav";
  actions.push_back(special);

  ActionSpec dash;
  dash.name = "Dash";
  dash.alias = "Walk";
  dash.sprites = "walk";
  dash.count = 6;
  dash.animType = "Active";
  dash.activate = "RR";
  dash.motion = 40;
  dash.speed = 18;
  dash.canHit = true;
  actions.push_back(dash);

  ActionSpec throwAction;
  throwAction.name = "Throw";
  throwAction.sprites = "throw";
  throwAction.count = 6;
  throwAction.animType = "Grab";
  throwAction.activate = "DRK";
  throwAction.motion = 110;
  throwAction.damage = 15;
  throwAction.hardHit = true;
  throwAction.holdLastFrame = 1;
  throwAction.sfx = "hit.wav";
  throwAction.grab = true;
  actions.push_back(throwAction);

  Pose rise = Crouch();
  rise.torso = -8;
  rise.frontUpper = 172;
  rise.frontFore = 178;
  rise.frontThigh = 20;
  rise.frontShin = 10;
  rise.backThigh = -30;
  rise.backShin = -60;
  rise.grounded = false;
  rise.lift = 24;
  Pose peak = rise;
  peak.lift = 40;
  Pose spinKick = Tuck();
  spinKick.grounded = false;
  spinKick.lift = 34;
  spinKick.spin = 200;
  spinKick.frontThigh = 95;
  spinKick.frontShin = 95;
  Pose victory = Stance();
  victory.torso = -6;
  victory.head = -12;
  victory.frontUpper = 150;
  victory.frontFore = 165;
  victory.backUpper = 165;
  victory.backFore = 175;
  ActionSpec finisher =
      Make("Sexuality", "finish", 6, {Crouch(), rise, peak, spinKick, Crouch(), victory});
  finisher.animType = "Special";
  finisher.activate = "DLK";
  finisher.motion = 90;
  finisher.damage = 40;
  finisher.hardHit = true;
  finisher.showParticles = true;
  finisher.holdLastFrame = 4;
  finisher.sfx = "PowerUp.wav";
  actions.push_back(finisher);

  return actions;
}

void DrawThrowFrame(Image& img, const Fighter& thrower, const Fighter& victim, int k, int count) {
  // The thrower stands in the middle of the wide frame; the victim is taken from
  // in front, lifted over the thrower's head and slammed down behind.
  const double t = count > 1 ? double(k) / (count - 1) : 0.0;
  Pose reach = Stance();
  reach.torso = 14;
  reach.frontUpper = 85;
  reach.frontFore = 92;
  reach.backUpper = 75;
  reach.backFore = 95;
  Pose grip = Crouch();
  grip.frontUpper = 95;
  grip.frontFore = 120;
  grip.backUpper = 85;
  grip.backFore = 125;
  Pose heave = Stance();
  heave.torso = -18;
  heave.head = -15;
  heave.frontUpper = 165;
  heave.frontFore = 175;
  heave.backUpper = 160;
  heave.backFore = 172;
  Pose over = heave;
  over.torso = -34;
  over.frontUpper = 200;
  over.backUpper = 195;
  over.frontFore = 205;
  over.backFore = 200;
  Pose slam = Crouch();
  slam.torso = -10;
  slam.frontUpper = -60;
  slam.frontFore = -40;
  slam.backUpper = -70;
  slam.backFore = -50;
  const Pose throwerKeys[] = {reach, grip, heave, over, slam, Stance()};
  const int last = static_cast<int>(std::size(throwerKeys)) - 1;
  const double ti = t * last;
  const int i = std::min(static_cast<int>(ti), last - 1);
  Pose throwerPose = Lerp(throwerKeys[i], throwerKeys[i + 1], ti - i);
  throwerPose.hipX = 182;

  // The victim's path, in the thrower's frame: hip x, lift and turn.
  struct Key {
    double x, lift, spin;
    bool grounded;
  };
  const Key path[] = {{268, 0, 0, true},       {252, 22, -25, false},  {220, 70, -70, false},
                      {178, 100, -100, false}, {122, 60, -150, false}, {92, 0, 0, true}};
  const double pi = t * last;
  const int j = std::min(static_cast<int>(pi), last - 1);
  const double f = pi - j;
  const Key& a = path[j];
  const Key& b = path[j + 1];
  Pose victimPose = Stance();
  victimPose.torso = -20;
  victimPose.head = -20;
  victimPose.frontUpper = 10;
  victimPose.frontFore = 60;
  victimPose.frontThigh = 10;
  victimPose.backThigh = -5;
  if (k == count - 1) victimPose = Lying(0);
  victimPose.grounded = f < 0.5 ? a.grounded : b.grounded;
  if (k == 0 || k == count - 1) victimPose.grounded = true;
  victimPose.lift = a.lift + (b.lift - a.lift) * f;
  if (k != count - 1) victimPose.spin = a.spin + (b.spin - a.spin) * f;
  // The victim faces the thrower, so it is drawn mirrored.
  victimPose.hipX = img.width - (a.x + (b.x - a.x) * f);
  Image victimLayer(img.width, img.height);
  DrawFighter(victimLayer, victim, victimPose);
  Image mirrored(img.width, img.height);
  Paste(mirrored, victimLayer, 0, 0, nullptr, true);
  const Rgb black{};
  // In front of the thrower while in its hands, behind it while passing over.
  const bool behind = k >= 2 && k < count - 1;
  if (behind) Paste(img, mirrored, 0, 0, &black);
  DrawFighter(img, thrower, throwerPose);
  if (!behind) Paste(img, mirrored, 0, 0, &black);
}

}  // namespace democontent
