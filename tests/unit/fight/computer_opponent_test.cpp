#include "fight/computer_opponent.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <set>
#include <string>

#include "content/ai_story_reader.h"
#include "content/xml_values.h"
#include "fight/fight_state.h"
#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

using Step = ComputerStep;
using Draws = std::function<bool(RandomGenerator&)>;

// A fighter with the demo's kinds of attacks; its Fireball starts "Smoke" and "Fire".
cCharacter Fighter(const std::string& name, bool withFinisher = true) {
  cCharacter c;
  c.Name = name;
  for (const auto& [action, activate] : {std::pair{"Standing", ""},
                                         {"Punch", "P"},
                                         {"Kick", "K"},
                                         {"Sweep", "LK"},
                                         {"Throw", "DRK"},
                                         {"Fireball", "DRP"},
                                         {"Sexuality", "DLK"}}) {
    cAction a;
    a.Name = action;
    a.Activate = activate;
    if (withFinisher || a.Name != "Sexuality") c.Actions.add(a, a.Name);
  }
  c.Actions.find("Fireball")->EffectList = {"Smoke", "Fire"};
  for (const auto& [effect, damage] : {std::pair{"Smoke", 0}, {"Fire", 10}}) {
    cEffect e;
    e.Name = effect;
    e.Damage = damage;
    c.Effects.add(e, e.Name);
  }
  return c;
}

// A profile of ai.xml: Aggression, Attack, AttackFar, Block and Retreat, and the moves.
std::string Profile(const std::string& name, std::array<int, 5> numbers, const std::string& moves) {
  const char* fields[] = {"Aggression", "Attack", "AttackFar", "Block", "Retreat"};
  std::string xml = "<Character Name=\"" + name + "\"";
  for (std::size_t i = 0; i < numbers.size(); ++i)
    xml += std::string(" ") + fields[i] + "=\"" + std::to_string(numbers[i]) + "\"";
  return xml + ">" + moves + "</Character>";
}

// Every region, for the answers.
constexpr const char* kAllMoves =
    R"(<Move Name="Punch" Type="Close" Region="High"/><Move Name="Kick" Type="Close" Region="Mid"/>
       <Move Name="Sweep" Type="Close" Region="Low"/><Move Name="Throw" Type="Close" Region="Behind"/>
       <Move Name="Fireball" Type="Far" Region="Mid"/>)";
// One close attack and one far one among moves that are not attacks.
constexpr const char* kOneOfEach =
    R"(<Move Name="Punch" Type="Close" Region="High"/><Move Name="Fireball" Type="Far" Region="Mid"/>
       <Move Name="Kick" Type="Close" Region="Mid" Attack="False"/>
       <Move Name="Sweep" Type="Far" Region="Low" Attack="False"/>)";

// A generator state whose next draws `wanted` accepts, found by trying states.
std::uint64_t StateWhere(const Draws& wanted) {
  for (std::uint64_t s = 1; s < 100000; ++s) {
    RandomGenerator trial(s);
    const std::uint64_t state = trial.state();
    if (wanted(trial)) return state;
  }
  ADD_FAILURE() << "no generator state gives the wanted draws";
  return 0;
}

// The next draw is a percentage roll of `value`.
Draws Roll(int value) {
  return [value](RandomGenerator& r) { return RoundHalfEven(r.Uniform() * 100) == value; };
}
// A first roll below 100, then r × 100 in [low, high).
Draws OffensiveThen(double low, double high) {
  return [low, high](RandomGenerator& r) {
    if (Roll(100)(r)) return false;
    const double attack = r.Uniform() * 100;
    return attack >= low && attack < high;
  };
}
Draws Offensive() {
  return OffensiveThen(0, 100);
}
// Any first roll, then a percentage roll of `value`.
Draws AnyThen(int value) {
  return [value](RandomGenerator& r) { return r.Uniform() >= 0 && Roll(value)(r); };
}
bool AnyRoll(RandomGenerator& r) {
  return r.Uniform() >= 0;
}

// Brann played by the computer against Kira; Kira stands.
class ComputerOpponent : public ::testing::Test {
 protected:
  ComputerOpponent() : game(platform, folder.path()) {
    slots.players[1].character = Fighter("Kira");
    slots.players[2].character = Fighter("Brann");
    Place(0, 100, false);
    fight.fighters[1].Health = fight.fighters[2].Health = 100;
    SetProfiles(Profile("Kira", {50, 50, 50, 0, 50}, kAllMoves) +
                Profile("Brann", {50, 50, 50, 0, 50}, kOneOfEach));
  }

  void SetProfiles(const std::string& profiles) {
    game.content.AIProfiles = {};
    LoadReport report;
    ReadAiXml("<AI>" + profiles + "</AI>", game.content, report);
    ASSERT_TRUE(report.skipped.empty());
  }

  // Kira at x1, Brann at x2, Brann turned away from her or towards her.
  void Place(Long x1, Long x2, bool away) {
    fight.fighters[1].PlayerX = x1;
    fight.fighters[2].PlayerX = x2;
    fight.fighters[1].Facing = x1 > x2;
    fight.fighters[2].Facing = (x2 > x1) != away;
  }

  // The computer in `step`, with no roll due before the step's own: its
  // decision timer far from running out, the opponent's action noted.
  ComputerState& In(Step step, int player = 2) {
    ComputerState& cpu = fight.computer[player] = ComputerState{};
    cpu.plays = true;
    cpu.state = step;
    cpu.lastDecision = now;
    cpu.decisionDelay = 100000;
    cpu.lastSeenAction = fight.fighters[Opponent(player)].ActionName;
    return cpu;
  }

  void Choose(int player = 2) {
    for (int p = 1; p <= 2; ++p)
      slots.players[p].profile = game.content.AIProfiles.find(slots.players[p].character.Name);
    FightEvents events;
    StepContext ctx{fight, slots, events, now};
    ChooseComputerMove(ctx, player);
  }
  // The next frame: its tick stirred into the generator, as the fight does.
  void NextFrame() {
    now += 16;
    fight.random.MixTicks(now);
    Choose();
  }

  ComputerState& Cpu(int player = 2) { return fight.computer[player]; }
  std::string Held(int player = 2) { return std::string(fight.fighters[player].HeldCommand.view()); }
  std::string LastCommand(int player = 2) {
    return std::string(fight.fighters[player].history.lastCommand.view());
  }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game;
  FightState fight;
  FightSlots slots;
  std::uint32_t now = 1000000;
};

TEST_F(ComputerOpponent, EachStepGivesItsCommandAndItsNextStep) {
  struct Row {
    Step step;
    Long x1, x2;
    bool away;
    const char* seen;  // Kira's action, already noted
    bool wish;         // wants close attack
    int wins2;         // Brann's rounds won
    Integer health1;
    const char* held;
    Step after;
  };
  const Row rows[] = {
      {Step::Approach, 0, 150, false, "Standing", true, 0, 100, "R", Step::Approach},
      {Step::Approach, 0, 149, false, "Standing", true, 0, 100, "R", Step::CloseAttack},
      {Step::Approach, 0, 149, false, "Standing", false, 0, 100, "R", Step::BackOff},
      {Step::BackOff, 0, 100, false, "Standing", false, 0, 100, "L", Step::BackOff},
      {Step::BackOff, 0, 100, true, "Standing", false, 0, 100, "R", Step::Decide},
      // The odd limits of backing off.
      {Step::BackOff, 5, 320, false, "Standing", false, 0, 100, "L", Step::Decide},
      {Step::BackOff, 320, 5, false, "Standing", false, 0, 100, "L", Step::Decide},
      {Step::BackOff, 5, 300, false, "Standing", false, 0, 100, "L", Step::BackOff},
      {Step::BackOff, 10, 320, false, "Standing", false, 0, 100, "L", Step::BackOff},
      {Step::JumpIn, 0, 400, false, "Standing", false, 0, 100, "RU", Step::Approach},
      {Step::Wait, 0, 100, false, "Standing", false, 0, 100, "", Step::Wait},
      // Answers by where Kira's attack lands.
      {Step::React, 0, 100, false, "Sweep", false, 0, 100, "U", Step::React},
      {Step::React, 0, 100, false, "Punch", false, 0, 100, "D", Step::React},
      {Step::React, 0, 149, false, "Kick", false, 0, 100, "B", Step::React},
      {Step::React, 0, 20, false, "Throw", false, 0, 100, "B", Step::React},
      {Step::React, 0, 150, false, "Punch", false, 0, 100, "", Step::Decide},
      {Step::React, 0, 400, false, "Fireball", false, 0, 100, "B", Step::React},
      {Step::React, 0, 100, false, "Standing", false, 0, 100, "", Step::Decide},
      // Attacks, and the finisher with the gate the players have.
      {Step::CloseAttack, 0, 100, false, "Standing", false, 0, 100, "P", Step::Decide},
      {Step::FarAttack, 0, 100, false, "Standing", false, 0, 100, "DRP", Step::Decide},
      {Step::CloseAttack, 0, 100, false, "Standing", false, 1, 20, "DLK", Step::Decide},
      {Step::FarAttack, 0, 100, false, "Standing", false, 1, 20, "DRP", Step::Decide},
      {Step::CloseAttack, 0, 100, false, "Standing", false, 1, 21, "P", Step::Decide},
      {Step::CloseAttack, 0, 100, false, "Standing", false, 2, 20, "P", Step::Decide},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(ComputerStepName(row.step)) + " " + std::to_string(row.x1) + "-" +
                 std::to_string(row.x2) + " " + row.seen);
    Place(row.x1, row.x2, row.away);
    fight.fighters[1].ActionName = row.seen;
    fight.fighters[1].Health = row.health1;
    fight.RoundWins[2] = row.wins2;
    In(row.step).wantsCloseAttack = row.wish;
    fight.fighters[2].history.lastCommand = "X";
    Choose();
    EXPECT_EQ(Held(), row.held);
    EXPECT_EQ(Cpu().state, row.after);
    const bool attacked = row.step == Step::CloseAttack || row.step == Step::FarAttack;
    EXPECT_EQ(LastCommand(), attacked ? row.held : "");
  }
  // A character without a finisher attacks with the move it chose.
  slots.players[2].character = Fighter("Brann", false);
  In(Step::CloseAttack);
  fight.RoundWins[2] = 1;
  fight.fighters[1].Health = 20;
  Choose();
  EXPECT_EQ(Held(), "P");
  // Without Kira's profile there is nothing to answer by.
  SetProfiles(Profile("Brann", {50, 50, 50, 0, 50}, kOneOfEach));
  fight.fighters[1].ActionName = "Punch";
  In(Step::React);
  Choose();
  EXPECT_EQ(Held(), "");
  EXPECT_EQ(Cpu().state, Step::Decide);
}

TEST_F(ComputerOpponent, ADecisionRollsForTheOffensiveThenForTheKindOfAttack) {
  struct Row {
    std::array<int, 5> numbers;
    Long x2;
    bool away;
    Integer health1;
    bool wishBefore;
    Draws draws;
    const char* held;
    Step after;
    int wishAfter;  // -1: either
  };
  const Row rows[] = {
      // A roll of 100 is not below Aggression 100; Retreat 101 backs off.
      {{100, 0, 0, 0, 101}, 100, false, 100, false, Roll(100), "", Step::BackOff, 0},
      {{100, 0, 0, 0, 101}, 100, false, 100, false, Roll(99), "", Step::Approach, 0},
      {{0, 0, 0, 0, 40}, 100, false, 100, false, AnyThen(40), "", Step::Wait, 0},
      {{0, 0, 0, 0, 40}, 100, false, 100, false, AnyThen(39), "", Step::BackOff, 0},
      // The attack rolls are not rounded.
      {{100, 50, 0, 0, 50}, 200, false, 100, false, OffensiveThen(49.5, 50), "", Step::Approach, 1},
      {{100, 50, 0, 0, 50}, 200, false, 100, false, OffensiveThen(50, 50.5), "", Step::Approach, 0},
      // Far away it jumps in; turned away it turns round first.
      {{100, 0, 0, 0, 50}, 251, false, 100, false, Offensive(), "", Step::JumpIn, 0},
      {{100, 0, 0, 0, 50}, 250, false, 100, false, Offensive(), "", Step::Approach, 0},
      {{100, 0, 0, 0, 50}, 200, true, 100, false, Offensive(), "L", Step::Decide, 0},
      {{100, 0, 0, 0, 50}, 251, true, 100, false, Offensive(), "L", Step::JumpIn, 0},
      // A knocked-out opponent is left alone, whatever the wishes.
      {{100, 100, 0, 0, 101}, 100, false, 0, true, Offensive(), "", Step::BackOff, -1},
      // The last offensive wish turns even a decision to wait into an attack.
      {{0, 0, 0, 0, 0}, 100, false, 1, true, AnyRoll, "", Step::CloseAttack, 1},
      {{0, 0, 0, 0, 0}, 200, false, 1, true, AnyRoll, "", Step::Wait, 1},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE("row " + std::to_string(i));
    SetProfiles(Profile("Brann", row.numbers, kOneOfEach));
    Place(0, row.x2, row.away);
    fight.fighters[1].Health = row.health1;
    fight.random.Restore(StateWhere(row.draws));
    In(Step::Decide).wantsCloseAttack = row.wishBefore;
    Choose();
    EXPECT_EQ(Held(), row.held);
    EXPECT_EQ(Cpu().state, row.after);
    if (row.wishAfter >= 0) {
      EXPECT_EQ(Cpu().wantsCloseAttack, row.wishAfter == 1);
    }
  }
}

TEST_F(ComputerOpponent, WithAggression0ItOnlyBacksOffOrWaits) {
  SetProfiles(Profile("Brann", {0, 100, 100, 0, 50}, kAllMoves));
  fight.computer[2] = ComputerState{};
  fight.computer[2].plays = true;
  std::set<Step> seen;
  for (int i = 0; i < 3000; ++i) {
    Place((i * 37) % 500, (i * 91) % 500, i % 3 == 0);
    NextFrame();
    seen.insert(Cpu().state);
    ASSERT_TRUE(Held().empty() || Held() == "L" || Held() == "R") << Held() << " at frame " << i;
  }
  EXPECT_EQ(seen, (std::set<Step>{Step::Decide, Step::BackOff, Step::Wait}));
}

TEST_F(ComputerOpponent, ItWatchesTheOpponentsNewActionsAndFlyingEffects) {
  SetProfiles(Profile("Kira", {0, 0, 0, 0, 0}, kAllMoves) +
              Profile("Brann", {0, 0, 0, 100, 0}, kAllMoves));
  fight.random.Restore(StateWhere([](RandomGenerator& r) { return !Roll(100)(r); }));
  In(Step::Wait);
  fight.fighters[1].ActionName = "Sweep";
  Choose();
  EXPECT_EQ(Cpu().lastSeenAction, "Sweep");
  EXPECT_EQ(Held(), "U") << "Block 100: it jumps the new sweep in the same frame";

  SetProfiles(Profile("Kira", {0, 0, 0, 0, 0}, kAllMoves) +
              Profile("Brann", {0, 0, 0, 0, 0}, kAllMoves));
  In(Step::Wait);
  fight.fighters[1].ActionName = "Punch";
  Choose();
  EXPECT_EQ(Cpu().lastSeenAction, "Punch") << "noted all the same";
  EXPECT_EQ(Cpu().state, Step::Wait) << "Block 0 never reacts to a new action";

  // The fireball's Fire still flies when Kira stands again: on guard.
  cEffect& fire = *slots.players[1].character.Effects.find("Fire");
  fight.effects[1].count = 2;
  fight.effects[1].runs[1].bActive = true;  // Fire, the second of Kira's effects
  Place(0, 400, false);
  fight.fighters[1].ActionName = "Fireball";
  In(Step::Wait);
  fight.fighters[1].ActionName = "Standing";
  for (int frame = 0; frame < 2; ++frame) {
    Choose();
    EXPECT_EQ(Cpu().lastSeenAction, "Fireball");
    EXPECT_EQ(Held(), "B") << "a far Mid attack is blocked";
  }
  fire.Damage = 0;
  Choose();
  EXPECT_EQ(Cpu().lastSeenAction, "Standing") << "a harmless effect is no threat";
  EXPECT_EQ(Cpu().state, Step::Decide) << "Standing is no move of Kira's profile";
  // An action her character lacks is looked at softly.
  fight.fighters[1].ActionName = "Vanish";
  In(Step::Wait);
  fight.fighters[1].ActionName = "Standing";
  Choose();
  EXPECT_EQ(Cpu().lastSeenAction, "Standing");
}

TEST_F(ComputerOpponent, TheMoveChoiceWrapsRoundAndEndsWithoutAWantedMove) {
  std::set<std::string> previous;
  for (int i = 0; i < 40; ++i) {  // starts past Punch wrap round to it
    fight.random.MixTicks(now + static_cast<std::uint32_t>(i));
    In(Step::CloseAttack);
    Choose();
    ASSERT_EQ(Held(), "P");
    previous.insert(LastCommand());
  }
  EXPECT_EQ(previous, std::set<std::string>{"P"});
  for (
      const char* moves :
      {R"(<Move Name="Fireball" Type="Far" Region="Mid"/><Move Name="Kick" Type="Close" Region="Mid" Attack="False"/>)",
       "", R"(<Move Name="Uppercut" Type="Close" Region="High"/>)"}) {
    SetProfiles(Profile("Brann", {50, 50, 50, 0, 50}, moves));
    In(Step::CloseAttack);
    Choose();
    EXPECT_EQ(Held(), "") << moves;
    EXPECT_EQ(Cpu().state, Step::Decide) << moves;
  }
}

TEST_F(ComputerOpponent, WithoutItsOwnProfileItWalksWaitsAndBlocksButNeverAttacks) {
  SetProfiles(Profile("Kira", {50, 50, 50, 0, 50}, kAllMoves));
  fight.computer[2] = ComputerState{};
  fight.computer[2].plays = true;
  std::set<std::string> commands;
  for (int i = 0; i < 3000; ++i) {
    Place((i * 37) % 500, (i * 91) % 500, false);
    fight.fighters[1].ActionName = i % 50 < 25 ? "Standing" : "Punch";
    NextFrame();
    commands.insert(Held());
  }
  EXPECT_EQ(commands, (std::set<std::string>{"", "R", "L", "RU", "D"}));
}

TEST_F(ComputerOpponent, TheDecisionTimerSendsItBackToDecideUnlessItReacts) {
  SetProfiles(Profile("Kira", {0, 0, 0, 0, 0}, kAllMoves) +
              Profile("Brann", {0, 0, 0, 0, 101}, ""));
  Place(0, 200, false);
  ComputerState& cpu = In(Step::Approach);
  cpu.lastDecision = now - 400;
  cpu.decisionDelay = 400;
  Choose();
  EXPECT_EQ(cpu.state, Step::Approach) << "not over at its last millisecond";
  cpu.decisionDelay = 399;
  Choose();
  EXPECT_EQ(cpu.lastDecision, now);
  EXPECT_EQ(cpu.state, Step::BackOff) << "decided at once: Aggression 0, Retreat 101";
  std::set<std::uint32_t> delays;
  for (int i = 0; i < 20; ++i) {
    cpu.lastDecision = now - 2000;
    NextFrame();
    ASSERT_LE(cpu.decisionDelay, 1000u);
    delays.insert(cpu.decisionDelay);
  }
  EXPECT_GT(delays.size(), 10u) << "drawn anew each time";

  Place(0, 100, false);
  fight.fighters[1].ActionName = cpu.lastSeenAction = "Punch";
  cpu.state = Step::React;
  cpu.lastDecision = now - 2000;
  Choose();
  EXPECT_EQ(cpu.lastDecision, now - 2000) << "reacting, it keeps its guard";
  EXPECT_EQ(Held(), "D");
}

TEST_F(ComputerOpponent, PlayingPlayer1ItSeesTheFightFromPlayer1sSideWithItsOwnProfile) {
  SetProfiles(Profile("Kira", {100, 0, 0, 0, 50}, kAllMoves) +
              Profile("Brann", {0, 0, 0, 0, 50}, kAllMoves));
  const std::uint64_t offensive = StateWhere(Offensive());
  fight.random.Restore(offensive);
  In(Step::Decide, 1);
  Choose(1);
  EXPECT_EQ(Cpu(1).state, Step::Approach);
  EXPECT_FALSE(fight.computer[2].plays) << "player 2 is left alone";
  EXPECT_EQ(Held(2), "");
  // Right of Brann and facing right, Kira turns round, 300 pixels away.
  Place(400, 100, false);
  fight.fighters[1].Facing = false;
  fight.random.Restore(offensive);
  In(Step::Decide, 1);
  Choose(1);
  EXPECT_EQ(Held(1), "L");
  EXPECT_EQ(Cpu(1).state, Step::JumpIn);
}

TEST_F(ComputerOpponent, AMatchGivesEachComputerPlayerAFreshRecord) {
  MatchSetup setup;
  fight.computer[2] = ComputerState{};
  fight.computer[2].plays = true;
  fight.computer[2].lastSeenAction = "Punch";
  StartComputerPlayers(fight, setup);
  EXPECT_FALSE(fight.computer[2].plays) << "two players at the keys";
  fight.computer[2] = ComputerState{};
  fight.computer[2].plays = true;
  fight.computer[2].lastSeenAction = "Punch";
  setup.GameMode = 1;
  StartComputerPlayers(fight, setup);
  ASSERT_TRUE(fight.computer[2].plays);
  EXPECT_EQ(fight.computer[2].lastSeenAction, "");
  EXPECT_FALSE(fight.computer[1].plays);
  setup = MatchSetup{};
  setup.computer = ComputerPlays::Both;
  StartComputerPlayers(fight, setup);
  EXPECT_TRUE(fight.computer[1].plays && fight.computer[2].plays);
}

}  // namespace
}  // namespace vdx
