#include "fight/round_rules.h"

#include <algorithm>

#include "content/xml_values.h"
#include "core/ticks.h"
#include "fight/computer_opponent.h"
#include "fight/pause_rules.h"
#include "fight/scene_poses.h"

namespace vdx {
namespace {

bool Continues(const StepContext& ctx) {
  const FightState& fight = ctx.fight;
  const MatchSetup& setup = ctx.slots.setup;
  if (setup.computer == ComputerPlays::Both)
    return !TickAfter(fight.roundEnd.began + kUnattendedBannerMs, ctx.now);
  if (fight.fighters[1].HeldCommand == "P") return true;
  return setup.GameMode == 2 && setup.computer == ComputerPlays::None &&
         fight.fighters[2].HeldCommand == "P";
}

void ResetFighter(FighterState& f, const cCharacter& c, Long x, bool facing) {
  // A power mode taken late in a round goes on into the next, with its trail,
  // until its time is up; its double damage does not (the multiplier starts
  // at 1 each round). The keys held go on too.
  FighterState next;
  next.PowerMode = f.PowerMode;
  next.PowerModeEnds = f.PowerModeEnds;
  next.trail = f.trail;
  next.trailRefreshed = f.trailRefreshed;
  next.HeldCommand = f.HeldCommand;
  next.history = f.history;
  f = next;
  f.PlayerX = x;
  f.PlayerY = c.yOffset;
  f.Facing = facing;
  f.Health = c.Health;
  f.DamageMultiplier = 1;
}

}  // namespace

int WinsNeeded(Integer rounds) {
  return std::max(1, static_cast<int>(RoundHalfEven(rounds / 2.0 + 0.5)));
}

bool MatchDecided(const FightState& fight, int rounds) {
  if (rounds == 1) return true;
  const int needed = WinsNeeded(static_cast<Integer>(rounds));
  return fight.RoundWins[1] >= needed || fight.RoundWins[2] >= needed;
}

FightOutcome StepRoundEnd(StepContext& ctx) {
  FightState& fight = ctx.fight;
  RoundEndState& end = fight.roundEnd;
  if (!end.active) {
    end.active = true;
    end.began = ctx.now;
    end.firstFrame = fight.frameNumber;
    end.matchOver = MatchDecided(fight, ctx.slots.rules.rounds);
  }
  for (int p = 1; p <= 2; ++p) fight.scene.endMeters[static_cast<std::size_t>(p)] = ShowMeters(fight, p);
  fight.scene.endPauseMenu = fight.PauseRequested;
  if (fight.PauseRequested) fight.scene.endPauseItem = StepPauseMenu(ctx);
  if (fight.leaveMatch) return FightOutcome::MatchOver;
  if (!Continues(ctx)) return FightOutcome::Running;
  fight.FightStarted = false;
  end.active = false;
  return end.matchOver ? FightOutcome::MatchOver : FightOutcome::RoundOver;
}

FightState StartingFightState(const FightSlots& slots, std::uint64_t randomState) {
  FightState fight;
  fight.random.Restore(randomState);
  StartComputerPlayers(fight, slots.setup);
  return fight;
}

void BeginRoundState(FightState& fight, const FightSlots& slots) {
  fight.round = fight.RoundWins[1] + fight.RoundWins[2] + 1;
  for (cParticle& bubbles : fight.bubbles) {
    bubbles.Active = false;
    bubbles.advancePending = false;
  }
  fight.flashCount = 0;
  fight.flashes = {};
  ResetFighter(fight.fighters[1], slots.players[1].character, 0, false);
  ResetFighter(fight.fighters[2], slots.players[2].character, 300, true);
  // Each round starts the effects and the scenery as they were loaded.
  for (int p = 1; p <= 2; ++p) {
    EffectRuns& runs = fight.effects[static_cast<std::size_t>(p)];
    runs = EffectRuns{};
    for (const cEffect& e : slots.players[static_cast<std::size_t>(p)].character.Effects) {
      if (runs.count == kMaxFighterEffects) break;
      runs.runs[runs.count++] = StartingRun(e);
    }
  }
  fight.scenery = SceneryRuns{};
  for (const cAnim& anim : slots.stage.Animations) {
    if (fight.scenery.count == kMaxSceneryAnimations) break;
    fight.scenery.runs[fight.scenery.count++] = StartingRun(anim);
  }
  fight.stageWidth = std::max<int>(640, slots.stage.Width);
  fight.CameraX = (fight.stageWidth - 640) / 2;
  for (int p = 1; p <= 2; ++p) {
    FighterState& f = fight.fighters[static_cast<std::size_t>(p)];
    if (const cAction* standing =
            slots.players[static_cast<std::size_t>(p)].character.Actions.find("Standing"))
      f.CurrentFrame = f.frameCounter = standing->Offset;
  }
  fight.RoundLoser = 0;
  fight.FightStarted = false;
  fight.PauseRequested = false;
  fight.firstPlayer = 1;
  fight.bannerStep = 0;
  fight.roundBegins = true;
  fight.roundEnd = RoundEndState{};
  // The round's first frame shows the stage as it was set up, without scenery.
  fight.scene = ScenePose{};
  fight.scene.nextBackground = true;
  fight.scene.nextBackgroundCamera = fight.CameraX;
}

}  // namespace vdx
