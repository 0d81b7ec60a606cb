#include "fight/fight_step.h"

#include "fight/computer_opponent.h"
#include "fight/effect_step.h"
#include "fight/fight_commands.h"
#include "fight/fighter_pass.h"
#include "fight/flashes.h"
#include "fight/hit_step.h"
#include "fight/pause_rules.h"
#include "fight/pick_up.h"
#include "fight/round_rules.h"
#include "fight/scene_poses.h"
#include "fight/sparks.h"
#include "fight/weather.h"

namespace vdx {
namespace {

void ClearCommands(FightState& fight) {
  for (int p = 1; p <= 2; ++p) {
    fight.fighters[p].HeldCommand.clear();
    ClearKeyHistory(fight.fighters[p].history);
  }
}

// Letters held since the round began (or since the key that started the
// fight) do nothing until they are let go.
void IgnoreHeldLetters(FighterState& f) {
  Command stillHeld;
  for (const char letter : f.ignoredLetters.view()) {
    const auto at = f.HeldCommand.find(letter);
    if (at == std::string_view::npos) continue;
    stillHeld.push_back(letter);
    f.HeldCommand.erase(at, 1);
  }
  f.ignoredLetters = stillHeld;
}

// Each player's letters from the frame's input, as the fighter faces, and the
// special-move histories.
void ReadCommands(FightState& fight, const FightInputs& inputs, std::uint32_t now) {
  for (int p = 1; p <= 2; ++p) {
    FighterState& f = fight.fighters[p];
    PlayerInput input = inputs[static_cast<std::size_t>(p - 1)];
    if (p == 2) input.buttons &= static_cast<std::uint8_t>(~kButtonPause);  // player 1's key
    f.HeldCommand = CommandLetters(input, f.Facing);
    if (fight.roundBegins) f.ignoredLetters = f.HeldCommand;
    IgnoreHeldLetters(f);
  }
  for (int p = 1; p <= 2; ++p) UpdateKeyHistory(fight.fighters[p].history, fight.fighters[p].HeldCommand, now);
}

bool KnockedOut(const FightState& fight) {
  return (fight.fighters[1].ActionName == "KO" || fight.fighters[2].ActionName == "KO") &&
         fight.RoundLoser != 0;
}

}  // namespace

FightOutcome StepFight(FightState& fight, const FightSlots& slots, const FightInputs& inputs,
                       FightEvents& events) {
  ++fight.frameNumber;
  StepContext ctx{fight, slots, events, FightClock(fight)};
  const std::uint32_t now = ctx.now;
  fight.random.MixTicks(now);
  if (fight.roundBegins) StartWeather(ctx);

  // The block marker holds only while the player blocks an opponent in action.
  for (int p = 1; p <= 2; ++p)
    if (fight.fighters[p].HeldCommand != "B" || fight.fighters[Opponent(p)].ActionName == "Standing")
      fight.fighters[p].blockMarker = false;

  ReadCommands(fight, inputs, now);
  fight.roundBegins = false;
  if (!fight.FightStarted) {
    // The first key only starts the fight; it stays ignored until let go.
    // With nobody at the keys (the computer plays both) it starts at once.
    if (!fight.fighters[1].HeldCommand.empty() || !fight.fighters[2].HeldCommand.empty() ||
        (fight.computer[1].plays && fight.computer[2].plays)) {
      fight.FightStarted = true;
      for (int p = 1; p <= 2; ++p) fight.fighters[p].ignoredLetters += fight.fighters[p].HeldCommand;
    }
    ClearCommands(fight);
  }
  // The menu steers by player 1's keys, which the fighters do not see meanwhile.
  fight.pauseCommand = fight.PauseRequested ? fight.fighters[1].HeldCommand : Command();
  if (fight.PauseRequested) {
    // Both fighters stand while the pause is taken; a knocked-out one stays down.
    for (int p = 1; p <= 2; ++p)
      if (fight.fighters[p].ActionName != "KO") fight.fighters[p].ActionName = "Standing";
    ClearCommands(fight);
  }
  if (fight.FightStarted && !fight.PauseRequested)
    for (int p = 1; p <= 2; ++p)
      if (fight.computer[p].plays) ChooseComputerMove(ctx, p);
  // The round's end stands still: nothing moves, and the poses of the last
  // fight frame stay as they were.
  if (KnockedOut(fight)) return StepRoundEnd(ctx);
  // What the frame before drew moves on first.
  AdvanceDrawnParticles(fight);
  BeginScene(fight);

  // The fighter being hit goes first.
  if (NameHolds(fight.fighters[2].ActionName, "HIT") || NameHolds(fight.fighters[2].ActionName, "KO"))
    fight.firstPlayer = 2;
  if (NameHolds(fight.fighters[1].ActionName, "HIT") || NameHolds(fight.fighters[1].ActionName, "KO"))
    fight.firstPlayer = 1;
  fight.scene.fight = true;
  fight.scene.order = {fight.firstPlayer, Opponent(fight.firstPlayer)};
  for (const int p : fight.scene.order) {
    FighterPass(ctx, p);
    TestHits(ctx, p);
    ShowFighter(ctx, p);
    TurnPose& turn = fight.scene.turns[static_cast<std::size_t>(p)];
    turn.meters = ShowMeters(fight, p);
    PickUpStep(ctx, p);
    if (fight.PauseRequested) {
      turn.pauseMenu = true;
      turn.pauseItem = StepPauseMenu(ctx);
    }
    StepCharacterEffects(ctx, p);
  }
  AgeFlashes(fight, now);
  MarkSparksDrawn(fight);
  StepWeather(ctx);
  StepRoundBanner(fight, now);

  if (fight.leaveMatch) return FightOutcome::MatchOver;
  if (!KnockedOut(fight)) StepScenery(ctx);
  return FightOutcome::Running;
}

}  // namespace vdx
