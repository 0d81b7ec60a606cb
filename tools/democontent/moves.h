// What each fighter can do: its actions as the fight engine reads them (name,
// frame count, timing, input, damage, kind of hit) and the key poses of their
// frames.
#pragma once

#include <string>
#include <vector>

#include "figure.h"

namespace democontent {

struct ActionSpec {
  std::string name;
  std::string sprites;  // frame file base name
  int count = 1;        // frames
  std::string animType = "Loop";
  std::string activate = "None";  // "None" can never equal a command
  int motion = 80;                // ms per step
  int speed = 0;
  int damage = 0;
  std::string performed = "Standing";
  std::string sfx;
  int holdLastFrame = 0;
  int jumpSpeed = 0;
  int topJumpFrame = 0;
  std::string nextAction;
  std::string alias;  // empty: its own frames
  bool hardHit = false, highHit = false, midHit = false, showParticles = false;
  bool canHit = true;
  int xOffset = 0, yOffset = 0;
  std::vector<Pose> keys;  // key poses, spread evenly over the frames
  bool grab = false;       // drawn 364 wide, with the opponent
};

// The actions of a fighter, in the order Game.xml lists them. `special` names
// the projectile move and its sequence.
std::vector<ActionSpec> ActionsFor(const Fighter& fighter, const std::string& specialName);

// The pose of frame k (0-based) of an action with its key poses.
Pose PoseAt(const ActionSpec& action, int k);

// A throw: the fighter and its victim, frame k of `count`, in a 364 x 256 frame.
void DrawThrowFrame(Image& image, const Fighter& thrower, const Fighter& victim, int k, int count);

}  // namespace democontent
