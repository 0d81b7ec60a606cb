#include "fight/computer_opponent.h"

#include <cstdlib>

#include "content/xml_values.h"
#include "core/ticks.h"
#include "fight/computer_level.h"
#include "fight/fight_state.h"
#include "fight/fighter_pass.h"

namespace vdx {
namespace {

constexpr Long kCloseRange = 150;   // closer than this, close attacks and close answers
constexpr Long kJumpInRange = 250;  // farther than this, a fresh approach jumps in
constexpr double kMaxDecisionDelayMs = 1000;
// The odd limits of backing off: beyond them a backing-off fighter decides anew.
constexpr Long kBackOffFar = 301;
constexpr Long kBackOffNear = 10;

// The profile of a character ai.xml does not describe: middling numbers and no
// moves, so it walks, waits and blocks but never attacks.
const cAI& NeutralProfile() {
  static const cAI profile{50, 30, 50, 20, 50, {}};
  return profile;
}

// One call's view of the fight, from the side of the player the computer plays.
struct Turn {
  RandomGenerator& random;
  const FightState& fight;
  const FightSlots& slots;
  int p;
  ComputerState& cpu;
  const FighterState& me;
  const FighterState& them;
  const cAI& own;
  const cAI* theirs;  // nullptr: the opponent has no profile
  const ComputerLevel& level;
  Command& held;
  Command& previous;            // the key history's last command
  bool damagingEffect = false;  // found while watching the opponent this call
};

// A percentage roll: 0..100, halves to even.
int PercentRoll(RandomGenerator& random) {
  return static_cast<int>(RoundHalfEven(random.Uniform() * 100));
}

// An attack roll: r × 100 in single precision, unrounded, below the chance.
bool AttackRoll(RandomGenerator& random, Integer chance) {
  return static_cast<float>(random.Uniform()) * 100.0f < static_cast<float>(chance);
}

Long Distance(const Turn& t) {
  return std::abs(t.them.PlayerX - t.me.PlayerX);
}

// Turned away from the opponent: to its right facing right, or to its left facing left.
bool FacingAway(const Turn& t) {
  return (t.me.PlayerX > t.them.PlayerX && !t.me.Facing) ||
         (t.me.PlayerX < t.them.PlayerX && t.me.Facing);
}

// Whether an effect of `action` of the opponent's character flies now and hurts.
bool DamagingEffectActive(const cCharacter& opponent, const EffectRuns& runs,
                          std::string_view action) {
  const cAction* a = opponent.Actions.find(action);
  if (a == nullptr) return false;
  for (const std::string& name : a->EffectList) {
    const auto index = opponent.Effects.indexOf(name);
    if (!index || *index >= runs.count) continue;
    if (runs.runs[*index].bActive && opponent.Effects.at(*index + 1)->Damage > 0) return true;
  }
  return false;
}

void WatchOpponent(Turn& t) {
  const Name& current = t.them.ActionName;
  if (t.cpu.lastSeenAction.empty()) t.cpu.lastSeenAction = current;
  if (current == t.cpu.lastSeenAction) return;
  // A projectile of the last action still flying keeps the computer on guard.
  t.damagingEffect =
      DamagingEffectActive(t.slots.players[Opponent(t.p)].character,
                           t.fight.effects[static_cast<std::size_t>(Opponent(t.p))],
                           t.cpu.lastSeenAction);
  if (t.damagingEffect) {
    t.cpu.state = ComputerStep::React;
    return;
  }
  t.cpu.lastSeenAction = current;
  if (PercentRoll(t.random) < ShiftedChance(t.own.Block, t.level.block))
    t.cpu.state = ComputerStep::React;
}

// A roll for one of the level's own chances; none is drawn for a chance of 0,
// so the profile's level draws exactly what the profile alone does.
bool LevelRoll(RandomGenerator& random, Integer chance) {
  return chance > 0 && PercentRoll(random) < chance;
}

void Decide(Turn& t) {
  RandomGenerator& random = t.random;
  const ComputerLevel& level = t.level;
  const bool atRange = Distance(t) >= kCloseRange;
  const int roll = PercentRoll(random);
  bool offensive = t.them.Health >= 1 && roll < ShiftedChance(t.own.Aggression, level.aggression);
  // Kept at range, it comes forward sooner or later instead of shuffling there.
  if (!offensive && t.them.Health >= 1 && atRange) offensive = LevelRoll(random, level.pressOn);
  if (!offensive) {
    t.cpu.state = PercentRoll(random) >= t.own.Retreat ? ComputerStep::Wait : ComputerStep::BackOff;
  } else {
    t.cpu.state = ComputerStep::Approach;
    t.cpu.wantsCloseAttack = AttackRoll(random, ShiftedChance(t.own.Attack, level.attack));
    t.cpu.wantsFarAttack = AttackRoll(random, ShiftedChance(t.own.AttackFar, level.attack));
    if (FacingAway(t)) {
      t.held = "L";  // turns round first
      t.cpu.state = ComputerStep::Decide;
    }
    if (Distance(t) > kJumpInRange) t.cpu.state = ComputerStep::JumpIn;
  }
  // The flags of the last offensive decision count here too, so a decision to
  // wait or back off may still end in an attack.
  if (t.them.Health >= 1 && t.cpu.wantsCloseAttack) {
    if (t.cpu.wantsFarAttack)
      t.cpu.state = ComputerStep::FarAttack;
    else if (!atRange || LevelRoll(random, level.whiff))
      t.cpu.state = ComputerStep::CloseAttack;
  }
  // From range it throws its far moves, facing the opponent.
  if (t.them.Health >= 1 && atRange && t.cpu.state != ComputerStep::FarAttack && !FacingAway(t) &&
      LevelRoll(random, level.farAttack))
    t.cpu.state = ComputerStep::FarAttack;
}

void Approach(Turn& t) {
  t.held = "R";
  if (Distance(t) >= kCloseRange) return;
  // Come all this way, it may attack anyway rather than back off again.
  const bool attacks = t.cpu.wantsCloseAttack || LevelRoll(t.random, t.level.pressOn);
  t.cpu.state = attacks ? ComputerStep::CloseAttack : ComputerStep::BackOff;
}

void BackOff(Turn& t) {
  t.held = "L";
  if (FacingAway(t)) {
    t.held = "R";
    t.cpu.state = ComputerStep::Decide;
  }
  const Long x2 = t.me.PlayerX;
  const Long x1 = t.them.PlayerX;
  if ((x2 < kBackOffFar || x1 >= kBackOffNear) && (x1 < kBackOffFar || x2 >= kBackOffNear)) {
    t.cpu.backOffMark = static_cast<std::int16_t>(x2);
  } else {
    t.cpu.state = ComputerStep::Decide;
    t.cpu.backOffMark = 0;
  }
}

bool IsWanted(const cMoves& move, const char* type) {
  return move.Attack && move.mType == type;
}

// A move of `type` that is an attack, from a random place in the profile's
// list onwards, wrapping round; nullptr when the profile has none.
const cMoves* ChooseMove(const cAI& profile, RandomGenerator& random, const char* type) {
  const std::size_t n = profile.Moves.size();
  const double start = RoundHalfEven(random.Uniform() * (static_cast<double>(n) - 1) + 1);
  if (n == 0) return nullptr;
  std::size_t i = static_cast<std::size_t>(start);
  for (std::size_t tried = 0; tried < n; ++tried, i = i % n + 1) {
    const cMoves* move = profile.Moves.at(i);
    if (IsWanted(*move, type)) return move;
  }
  return nullptr;
}

void Attack(Turn& t, const char* type, bool mayFinish) {
  const cMoves* move = ChooseMove(t.own, t.random, type);
  const cCharacter& character = t.slots.players[t.p].character;
  const cAction* action = nullptr;
  // The finisher needs the gate the players have; a character without one
  // attacks with the chosen move.
  if (mayFinish && FinisherAllowed(t.fight, t.p)) action = character.Actions.find("Sexuality");
  if (action == nullptr && move != nullptr) action = character.Actions.find(move->Name);
  if (action != nullptr) {
    t.held = action->Activate;
    t.previous = action->Activate;
  }
  t.cpu.state = ComputerStep::Decide;
}

// The answer to an attack by where it lands.
const char* AnswerTo(const std::string& region) {
  if (region == "High") return "D";
  if (region == "Behind" || region == "Mid") return "B";
  if (region == "Low") return "U";
  return "";
}

void React(Turn& t) {
  if (t.them.ActionName.view() != t.cpu.lastSeenAction.view() && !t.damagingEffect) {
    t.cpu.state = ComputerStep::Decide;
    return;
  }
  const cMoves* move = t.theirs != nullptr ? t.theirs->Moves.find(t.cpu.lastSeenAction) : nullptr;
  if (move != nullptr &&
      ((move->mType == "Close" && Distance(t) < kCloseRange) || move->mType == "Far"))
    t.held = AnswerTo(move->Region);
  else
    t.cpu.state = ComputerStep::Decide;
}

}  // namespace

bool ComputerPlaysPlayer(const MatchSetup& setup, int player) {
  if (player == 1) return setup.computer == ComputerPlays::Both;
  return setup.GameMode == 1 || setup.computer != ComputerPlays::None;
}

void StartComputerPlayers(FightState& fight, const MatchSetup& setup) {
  for (int p = 1; p <= 2; ++p) {
    fight.computer[p] = ComputerState{};
    fight.computer[p].plays = ComputerPlaysPlayer(setup, p);
  }
}

void ChooseComputerMove(StepContext& ctx, int player) {
  FighterState& me = ctx.fight.fighters[player];
  ChooseComputerCommand(ctx.fight, ctx.slots, ctx.now, player,
                        ComputerTurn{ctx.fight.computer[player], ctx.fight.random, me.HeldCommand,
                                     me.history.lastCommand, ctx.slots.setup.Level(player)});
}

void ChooseComputerCommand(const FightState& fight, const FightSlots& slots, std::uint32_t now,
                           int player, const ComputerTurn& turn) {
  const int o = Opponent(player);
  ComputerState& cpu = turn.memory;
  cpu.plays = true;
  const cAI* own = slots.players[player].profile;
  const FighterState& me = fight.fighters[player];
  Turn t{turn.random,
         fight,
         slots,
         player,
         cpu,
         me,
         fight.fighters[o],
         own != nullptr ? *own : NeutralProfile(),
         slots.players[o].profile,
         ComputerLevelOf(turn.level),
         turn.held,
         turn.lastCommand};

  if (TicksBetween(cpu.lastDecision, now) > cpu.decisionDelay && cpu.state != ComputerStep::React) {
    cpu.lastDecision = now;
    cpu.decisionDelay =
        static_cast<std::uint32_t>(RoundHalfEven(turn.random.Uniform() * kMaxDecisionDelayMs *
                                                 t.level.delayScale));
    cpu.state = ComputerStep::Decide;
  }
  WatchOpponent(t);
  t.held.clear();
  t.previous.clear();
  switch (cpu.state) {
    case ComputerStep::Decide:
      Decide(t);
      break;
    case ComputerStep::Approach:
      Approach(t);
      break;
    case ComputerStep::BackOff:
      BackOff(t);
      break;
    case ComputerStep::CloseAttack:
      Attack(t, "Close", true);
      break;
    case ComputerStep::FarAttack:
      Attack(t, "Far", false);
      break;
    case ComputerStep::React:
      React(t);
      break;
    case ComputerStep::JumpIn:
      t.held = "RU";
      cpu.state = ComputerStep::Approach;
      break;
    case ComputerStep::Wait:
      break;
  }
}

const char* ComputerStepName(ComputerStep step) {
  // In the order of ComputerStep.
  constexpr const char* kNames[] = {"Decide", "Approach", "CloseAttack", "FarAttack",
                                    "React",  "BackOff",  "Wait",        "JumpIn"};
  return kNames[static_cast<int>(step)];
}

}  // namespace vdx
