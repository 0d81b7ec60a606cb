#include "fight/fighter_pass.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "content/xml_values.h"
#include "core/ticks.h"
#include "fight/effect_step.h"
#include "fight/fight_commands.h"
#include "fight/next_frame_index.h"

namespace vdx {
namespace {

constexpr int kCameraStep = 15;
constexpr int kStageRightMargin = 629;
constexpr Long kGrabReach = 145;
constexpr Integer kFinisherHealth = 20;

struct Pass {
  StepContext& ctx;
  int p;
  int o;
  FighterState& me;
  FighterState& them;
  const cCharacter& character;
  Command& held;  // this frame's stored command (the hit rules read it)
  KeyHistory& history;
};

int Direction(const FighterState& f) {
  return f.Facing ? -1 : 1;
}

Long MotionOf(const cAction& action) {
  // Motion is text holding a number of milliseconds.
  try {
    return std::max<Long>(0, std::stol(action.Motion));
  } catch (...) {
    return 0;
  }
}

void PlayFightSound(Pass& s, const std::string& name) {
  s.ctx.events.sound(name);
}


bool Overlap(const Rect& a, const Rect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

bool CanHit(const cCharacter& c, const FighterState& f) {
  const cAction* a = CurrentAction(c, f);
  return a != nullptr && a->bCanHit;
}

void StartAction(Pass& s, const cAction& action) {
  ClearKeyHistory(s.history);
  s.me.attackBlocked = false;  // a new attack, which a block may chip again
  s.me.grabCaught = false;
  NextFrameIndex(action, false, true, s.me.frameCounter);
  s.me.CurrentFrame = s.me.frameCounter;
  s.me.ActionName = action.Name;
  s.me.MoveState = action.Name;
  s.me.AnimDue = s.ctx.now + static_cast<std::uint32_t>(MotionOf(action));
  s.me.holdCounter = 0;
  s.me.turnedBack = false;
  PlayFightSound(s, action.SFX);
  if (action.AnimationType == "Active" || action.AnimationType == "ActiveReverse")
    s.me.PlayerX += action.Speed * Direction(s.me);
  if (action.AnimationType == "Special" || action.AnimationType == "Grab")
    StartActionEffects(s.ctx, s.p, action);
}

// Matches the key sequence and the command against every action's Activate;
// returns the command the rest of the pass acts on.
Command MatchSpecials(Pass& s, Command command) {
  s.me.specialMatched = false;
  for (const cAction& a : s.character.Actions) {
    if (a.Activate.empty()) continue;  // an empty Activate never matches
    if (a.Activate == s.history.KeySequence.view()) {
      s.me.specialMatched = true;
      if (a.AnimationType == "Grab" && std::abs(s.me.PlayerX - s.them.PlayerX) >= kGrabReach)
        continue;
      if (a.Name == "Sexuality" && !FinisherAllowed(s.ctx.fight, s.p))
        command.clear();
      else
        command = s.history.KeySequence;
      s.held.clear();
      ClearKeyHistory(s.history);
    } else if (a.Activate == command.view()) {
      s.me.specialMatched = true;
    }
  }
  if (!s.me.specialMatched) {
    if (command.find('K') != std::string::npos)
      command = "K";
    else if (command.find('P') != std::string::npos)
      command = "P";
  }
  return command;
}

void Walk(Pass& s, bool forward) {
  const cAction* walk = s.character.Actions.find("Walk");
  if (walk == nullptr) return;
  if (!forward) {
    // Walking back first turns to the opponent.
    if (s.me.PlayerX < s.them.PlayerX) s.me.Facing = false;
    if (s.me.PlayerX > s.them.PlayerX) s.me.Facing = true;
  }
  s.me.CurrentFrame = NextFrameIndex(*walk, !forward, true, s.me.frameCounter);
  s.me.MoveState = "Walk";
  const Long step = walk->Speed * Direction(s.me) * (forward ? 1 : -1);
  s.me.PlayerX += step;
  if (forward && Overlap(BodyRect(s.me), BodyRect(s.them)) && CanHit(s.character, s.me) &&
      CanHit(s.ctx.slots.players[s.o].character, s.them)) {
    // Walking into the opponent pushes it at a third of the pace.
    s.me.PlayerX -= step;
    const auto push = static_cast<Long>(RoundHalfEven(walk->Speed / 3.0)) * Direction(s.me);
    s.me.PlayerX += push;
    s.them.PlayerX += push;
  }
  s.me.AnimDue = s.ctx.now + static_cast<std::uint32_t>(MotionOf(*walk));
}

void IdlePass(Pass& s) {
  s.them.HitFlag = false;
  s.me.PlayerY = s.character.yOffset;
  s.me.holdCounter = 0;
  const Command command = MatchSpecials(s, s.held);
  if (command == "R") {
    Walk(s, true);
  } else if (command == "L") {
    Walk(s, false);
  } else if (command == "E") {
    s.ctx.fight.PauseRequested = true;
  } else if (command == "D") {
    if (const cAction* duck = s.character.Actions.find("Duck")) {
      s.me.CurrentFrame = NextFrameIndex(*duck, true, true, s.me.frameCounter);
      s.me.MoveState = "Duck";
      s.me.ActionName = "Duck";
    }
  } else if (const cAction* stand = s.character.Actions.find("Standing")) {
    s.me.CurrentFrame = NextFrameIndex(*stand, false, true, s.me.frameCounter);
    s.me.ActionName = "Standing";
    s.me.MoveState = "Standing";
    s.me.AnimDue = s.ctx.now + static_cast<std::uint32_t>(MotionOf(*stand));
  }
  if (command.empty()) return;
  for (const cAction& a : s.character.Actions) {
    if (a.Activate != command.view() || a.Name == "Walk" || a.Performed != "Standing") continue;
    // The finisher's gate holds for keys held together too.
    if (a.Name == "Sexuality" && !FinisherAllowed(s.ctx.fight, s.p)) continue;
    StartAction(s, a);
  }
}

void EndAction(Pass& s, const cAction& action) {
  s.me.HitFlag = false;
  s.me.grabCaught = false;
  s.me.holdCounter = 0;
  s.me.turnedBack = false;
  const bool toDuck =
      action.AnimationType == "ActiveReverse" && action.Activate.find('D') != std::string::npos;
  s.me.ActionName = toDuck ? "Duck" : "Standing";
  s.me.MoveState = s.me.ActionName;
  if (action.NextAction.empty()) return;
  s.me.attackBlocked = false;
  s.me.ActionName = action.NextAction;
  s.me.MoveState = action.NextAction;
  if (const cAction* next = s.character.Actions.find(action.NextAction)) {
    PlayFightSound(s, next->SFX);
    StartActionEffects(s.ctx, s.p, *next);
  }
}

// One step of a jump's height: up until its top frame, then down to the ground.
void JumpStep(Pass& s, const cAction& action) {
  // A jump without a speed of its own rises 25 a step, a flip 20.
  const Long speed = action.JumpSpeed != 0 ? action.JumpSpeed
                     : action.Name.find("Jump") != std::string::npos ? 25
                                                                      : 20;
  const Long position = s.me.CurrentFrame - action.Offset;
  const Long ground = s.character.yOffset;
  if (position <= action.TopJumpFrame)
    s.me.PlayerY -= speed;
  else if (s.me.PlayerY < ground)
    s.me.PlayerY += speed;
  else
    s.me.PlayerY = ground;
  if (s.me.PlayerY < ground && action.AnimationType != "Active")
    s.me.PlayerX += action.Speed * Direction(s.me);
}

// An attack started in the air: an action performed "Jumping" whose Activate
// is the command.
bool StartAirAttack(Pass& s) {
  if (s.me.PlayerY >= s.character.yOffset) return false;
  if (NameHolds(s.me.ActionName, "HIT") || s.me.ActionName == "KO") return false;
  Command command = s.held;
  if (command.find('K') != std::string::npos)
    command = "K";
  else if (command.find('P') != std::string::npos)
    command = "P";
  for (const cAction& a : s.character.Actions) {
    if (a.Performed != "Jumping" || a.Activate.empty() || a.Activate != command.view() ||
        a.Name == s.me.ActionName.view())
      continue;
    s.me.ActionName = a.Name;
    s.me.MoveState = a.Name;
    s.me.attackBlocked = false;
    s.me.grabCaught = false;
    NextFrameIndex(a, false, false, s.me.frameCounter);
    s.me.CurrentFrame = s.me.frameCounter;
    s.me.holdCounter = 0;
    PlayFightSound(s, a.SFX);
    return true;
  }
  return false;
}

void ActionPass(Pass& s) {
  const cAction* action = s.character.Actions.find(s.me.ActionName);
  if (action == nullptr && s.me.ActionName != "KO") {
    // A name the character lacks: the fighter reels as hit.
    s.me.ActionName = "Hit";
    action = s.character.Actions.find("Hit");
  } else if (action == nullptr) {
    // Knocked out without a "KO" action: the name stays (the round ends on
    // it), drawn with the "Hit" frames.
    action = s.character.Actions.find("Hit");
  }
  if (action == nullptr || action->Count <= 0) {
    // Nothing to play: stay on the frame and stand up after one step.
    if (s.me.ActionName != "KO") s.me.ActionName = s.me.MoveState = "Standing";
    return;
  }
  if (!FrameInAction(*action, s.me.frameCounter)) PlayFightSound(s, action->SFX);
  if (IsJump(*action) && StartAirAttack(s)) return;

  const Long last = action->Offset + action->Count - 1;
  const bool reverse = action->AnimationType == "ActiveReverse";
  const bool moving = action->AnimationType == "Active";
  bool ended = false;
  if (reverse && s.me.turnedBack) {
    s.me.CurrentFrame = NextFrameIndex(*action, true, false, s.me.frameCounter);
    ended = s.me.CurrentFrame <= action->Offset;
  } else if (!FrameInAction(*action, s.me.frameCounter) || s.me.frameCounter < last) {
    s.me.CurrentFrame = NextFrameIndex(*action, false, false, s.me.frameCounter);
    if (moving) s.me.PlayerX += action->Speed * Direction(s.me);
  } else if (action->AnimationType != "StaticHold") {
    // On the end frame: held for HoldLastFrame steps, then over (or back).
    s.me.CurrentFrame = s.me.frameCounter;
    if (++s.me.holdCounter >= action->HoldLastFrame) {
      s.me.holdCounter = 0;
      if (reverse)
        s.me.turnedBack = true;
      else
        ended = true;
    }
  }
  if (IsJump(*action)) JumpStep(s, *action);
  s.me.AnimDue = s.ctx.now + static_cast<std::uint32_t>(MotionOf(*action));
  if (ended) EndAction(s, *action);
}

// Keeps the fighter on the screen; at an edge the camera scrolls and takes the
// opponent along, until the stage ends.
void KeepInBounds(Pass& s) {
  FightState& fight = s.ctx.fight;
  const Long right = RightmostFighterX(s.ctx.slots);
  const Long cameraMax = std::max(0, fight.stageWidth - 640);
  if (s.me.PlayerX < 0) {
    s.me.PlayerX = 0;
    if (s.them.PlayerX < right) {
      fight.CameraX -= kCameraStep;
      s.them.PlayerX += kCameraStep;
      if (fight.CameraX < 0) {
        fight.CameraX = 0;
        s.them.PlayerX -= kCameraStep;
      }
    }
  }
  if (s.me.PlayerX > right) {
    s.me.PlayerX = right;
    if (s.them.PlayerX > 0) {
      fight.CameraX += kCameraStep;
      s.them.PlayerX -= kCameraStep;
      if (fight.CameraX > cameraMax) {
        fight.CameraX = cameraMax;
        s.them.PlayerX += kCameraStep;
      }
    }
  }
}

}  // namespace

Long RightmostFighterX(const FightSlots& slots) {
  return kStageRightMargin - slots.rules.characterWidth;
}

Rect BodyRect(const FighterState& f) {
  // The body is the frame narrowed by 120 pixels on each side.
  return Rect{f.PlayerX + 120, f.PlayerY, f.PlayerX + 256 - 120, f.PlayerY + 256};
}

int CharacterFrameWidth(Integer characterWidth) {
  return characterWidth > 0 ? characterWidth : 256;
}


bool FinisherAllowed(const FightState& fight, int player) {
  const int o = Opponent(player);
  return fight.RoundWins[player] == 1 && fight.RoundWins[o] == 0 &&
         fight.fighters[o].Health <= kFinisherHealth && fight.fighters[o].ActionName != "KO";
}

void FighterPass(StepContext& ctx, int p) {
  const int o = Opponent(p);
  FighterState& me = ctx.fight.fighters[p];
  Pass s{ctx, p, o, me, ctx.fight.fighters[o], ctx.slots.players[p].character, me.HeldCommand,
         me.history};
  // The animation clock: a new action is due at once.
  if (s.me.AnimDue == 0) s.me.AnimDue = ctx.now - 1;
  if (s.me.ActionName != s.me.previousAction) {
    s.me.AnimDue = 0;
    s.me.previousAction = s.me.ActionName;
  }
  if (s.me.AnimDue != 0 && !TickAfter(ctx.now, s.me.AnimDue)) return;
  if (s.me.ActionName == "Standing" || s.me.ActionName == "Duck")
    IdlePass(s);
  else
    ActionPass(s);
  KeepInBounds(s);
}

}  // namespace vdx
