// A flying effect meets the opponent: the pixel test between the effect's
// frame and the opponent's, the hit with the effect's damage, the blocked
// projectile's chip, and the effect that follows a hit.
#pragma once

#include <cstdint>
#include <optional>

#include "fight/fight_state.h"
#include "fight/fight_step.h"
#include "fight/hit_tests.h"

namespace vdx {

// Where an effect can hit: oWidth x oHeight from (X, Y), or, facing left,
// ending at X.
Rect ProjectileRect(const cEffect& effect, const EffectRun& run);

// The overlap where the effect's frame touches the victim's, pixel by pixel;
// nothing when they do not touch.
std::optional<Rect> ProjectileContact(const cEffect& effect, const EffectRun& run,
                                      const Surface* effectFrame, const FrameOnScreen& victim);

// The projectile rules for one running effect of `attacker` with Damage of 1
// or more, before it is drawn. A hit lands on a victim who is not reeling,
// not down and not holding Block (a sweep kick's effect goes through the
// block): the victim turns to the thrower and reels ("Hit" on the ground,
// "HardHit" in the air or from a HardHit effect) and loses the damage; a
// moving effect ends at its next frame step and its NextEffect starts where
// it hit. A victim holding Block takes a quarter of the damage instead, and
// both combos end. Either way the effect has hit and never hits again.
void TestProjectileHit(StepContext& ctx, int attacker, const cEffect& effect, EffectRun& run);

}  // namespace vdx
