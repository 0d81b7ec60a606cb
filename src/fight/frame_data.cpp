#include "fight/frame_data.h"

#include <algorithm>

#include "fight/action_names.h"
#include "fight/training_dummy.h"

namespace vdx {
namespace {

bool Reeling(const FighterState& f) {
  return NameHolds(f.ActionName, "HIT") || f.ActionName == "KO";
}

// The blow of this frame against player `d`, if one landed or was blocked.
std::optional<Contact> ContactOn(const FightState& before, const FightState& after, int d) {
  const int a = Opponent(d);
  const FighterState& was = before.fighters[d];
  const FighterState& is = after.fighters[d];
  const bool hit = (is.HitFlag && !was.HitFlag) || (is.Health < was.Health && Reeling(is));
  const bool blocked =
      !hit && ((after.fighters[a].attackBlocked && !before.fighters[a].attackBlocked) ||
               is.Health < was.Health);
  if (!hit && !blocked) return std::nullopt;
  return Contact{a, blocked, after.frameNumber, 0, 0};
}

// `struck`: a blow landed on the fighter this frame, which starts its
// reaction again even when it was already reeling under the same one.
void Measure(FrameDataWatch& watch, const FightState& before, const FightState& after, int p,
             bool struck) {
  const FighterState& was = before.fighters[p];
  const FighterState& is = after.fighters[p];
  const bool again = struck && is.ActionName == was.ActionName;
  if (is.ActionName == was.ActionName && !again) return;
  // Only an action played through to its end, to standing or ducking, is
  // measured: not one cut short by a blow, by an attack in the air, by
  // another blow of the same reaction, or going on into another action.
  if (!again && !FighterIdle(was) && FighterIdle(is) && watch.actionStarted[p] != 0) {
    const std::string name(was.ActionName.view());
    const int frames = static_cast<int>(after.frameNumber - watch.actionStarted[p]);
    auto& list = watch.measured[p];
    const auto known = std::find_if(list.begin(), list.end(),
                                    [&](const auto& entry) { return entry.first == name; });
    if (known != list.end())
      known->second = frames;
    else
      list.emplace_back(name, frames);
  }
  watch.actionStarted[p] = after.frameNumber;
}

}  // namespace

void ForgetContacts(FrameDataWatch& watch) {
  watch.contact.reset();
  watch.advantage.reset();
  watch.lastHitDamage = {};
  watch.comboDamage = {};
  watch.comboHits = {};
  watch.actionStarted = {};
}

void WatchFrame(FrameDataWatch& watch, const FightState& before, const FightState& after) {
  for (int d = 1; d <= 2; ++d) {
    const std::optional<Contact> contact = ContactOn(before, after, d);
    Measure(watch, before, after, d, contact && !contact->blocked);
    if (!contact) continue;
    const int a = contact->attacker;
    const Integer lost = std::max<Integer>(0, before.fighters[d].Health - after.fighters[d].Health);
    if (!contact->blocked) {
      // A hit after the attacker's count had run out starts a new combo.
      if (before.fighters[a].ComboCount == 0 || watch.comboHits[d] == 0) {
        watch.comboDamage[d] = 0;
        watch.comboHits[d] = 0;
      }
      watch.comboDamage[d] += lost;
      watch.comboHits[d] = std::max(watch.comboHits[d] + 1, after.fighters[a].ComboCount);
    }
    watch.lastHitDamage[d] = lost;
    watch.contact = contact;
  }
  if (!watch.contact) return;
  Contact& c = *watch.contact;
  if (c.attackerFree != 0 && c.defenderFree != 0) return;
  const int d = Opponent(c.attacker);
  if (c.attackerFree == 0 && FighterIdle(after.fighters[c.attacker]))
    c.attackerFree = after.frameNumber;
  if (c.defenderFree == 0 && FighterIdle(after.fighters[d])) c.defenderFree = after.frameNumber;
  if (c.attackerFree != 0 && c.defenderFree != 0) {
    watch.advantage = static_cast<int>(static_cast<std::int64_t>(c.defenderFree) -
                                       static_cast<std::int64_t>(c.attackerFree));
    watch.advantageOnBlock = c.blocked;
  }
}

int PlannedActionFrames(const cAction& action) {
  if (action.Count <= 0) return 0;
  // A new action shows its second picture at once and takes its next step on
  // the frame after; every later step waits for Motion ms to have passed, a
  // whole number of frames. The end picture is held HoldLastFrame steps, and
  // one that reverses plays its pictures back again.
  Long steps = std::max<Long>(0, action.Count - 2) + std::max<Integer>(0, action.HoldLastFrame);
  if (action.AnimationType == "ActiveReverse") steps += action.Count - 1;
  if (steps == 0) return 1;
  Long motion = 0;
  try {
    motion = std::max<Long>(0, std::stol(action.Motion));
  } catch (...) {
    motion = 0;
  }
  const Long framesAStep = motion * kFightFramesPerSecond / 1000 + 1;
  return static_cast<int>(1 + (steps - 1) * framesAStep);
}

ActionFacts CurrentActionFacts(const FrameDataWatch& watch, const FightState& fight,
                               const FightSlots& slots, int player) {
  const FighterState& f = fight.fighters[static_cast<std::size_t>(player)];
  const cCharacter& character = slots.players[static_cast<std::size_t>(player)].character;
  ActionFacts facts;
  // Walking is done in the standing pass: its pictures are the Walk action's.
  const bool walking = f.ActionName == "Standing" && f.MoveState == "Walk";
  facts.name = walking ? "Walk" : std::string(f.ActionName.view());
  const cAction* action = walking ? character.Actions.find("Walk") : CurrentAction(character, f);
  if (action == nullptr) return facts;
  facts.frames = action->Count;
  facts.frame =
      std::clamp<Long>(f.CurrentFrame - action->Offset + 1, 1, std::max<Long>(1, action->Count));
  facts.damage = action->Damage;
  facts.loops = action->AnimationType == "Loop";
  facts.lasts = facts.loops ? 0 : PlannedActionFrames(*action);
  for (const auto& [name, frames] : watch.measured[static_cast<std::size_t>(player)])
    if (name == facts.name) {
      facts.lasts = frames;
      facts.measured = true;
    }
  return facts;
}

}  // namespace vdx
