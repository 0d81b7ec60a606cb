#include "fight/computer_opponent.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <tuple>

#include "content/ai_story_reader.h"
#include "content/xml_values.h"
#include "fight/fight_state.h"
#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

cAction Action(const std::string& name, const std::string& activate) {
  cAction a;
  a.Name = name;
  a.Activate = activate;
  a.Performed = "Standing";
  return a;
}

// A fighter with the demo's kinds of moves, and a fireball whose "Fire" flies.
cCharacter Fighter(const std::string& name, bool withFinisher = true) {
  cCharacter c;
  c.Name = name;
  c.Health = 100;
  for (const auto& [action, activate] : {std::pair{"Standing", ""},
                                         {"Walk", ""},
                                         {"Duck", "D"},
                                         {"Block", "B"},
                                         {"Jump", "U"},
                                         {"Flip", "RU"},
                                         {"Punch", "P"},
                                         {"Kick", "K"},
                                         {"Sweep", "LK"},
                                         {"Throw", "DRK"}})
    c.Actions.add(Action(action, activate), action);
  cAction fireball = Action("Fireball", "DRP");
  fireball.EffectList = {"Smoke", "Fire"};
  c.Actions.add(fireball, fireball.Name);
  if (withFinisher) c.Actions.add(Action("Sexuality", "DLK"), "Sexuality");
  cEffect smoke;
  smoke.Name = "Smoke";
  c.Effects.add(smoke, smoke.Name);
  cEffect fire;
  fire.Name = "Fire";
  fire.Damage = 10;
  c.Effects.add(fire, fire.Name);
  return c;
}

// One profile of ai.xml.
std::string Profile(const std::string& name, int aggression, int attack, int attackFar, int block,
                    int retreat, const std::string& moves) {
  return "<Character Name=\"" + name + "\" Aggression=\"" + std::to_string(aggression) +
         "\" Attack=\"" + std::to_string(attack) + "\" AttackFar=\"" + std::to_string(attackFar) +
         "\" Block=\"" + std::to_string(block) + "\" Retreat=\"" + std::to_string(retreat) + "\">" +
         moves + "</Character>";
}

// Every kind of attack, each with its region.
constexpr const char* kAllMoves =
    R"(<Move Name="Punch" Type="Close" Region="High"/><Move Name="Kick" Type="Close" Region="Mid"/>
       <Move Name="Sweep" Type="Close" Region="Low"/><Move Name="Throw" Type="Close" Region="Behind"/>
       <Move Name="Fireball" Type="Far" Region="Mid"/>)";

// A generator whose next draws `wanted` accepts, found by trying states in turn.
std::uint64_t StateWhere(const std::function<bool(RandomGenerator&)>& wanted) {
  for (std::uint64_t s = 1; s < 100000; ++s) {
    RandomGenerator trial;
    trial.Restore(s * 0x2545F4914F6CDD1DULL);
    const std::uint64_t state = trial.state();
    if (wanted(trial)) return state;
  }
  ADD_FAILURE() << "no generator state gives the wanted draws";
  return 0;
}

// A percentage roll of `value` (r × 100 rounded, halves to even).
bool Rolls(RandomGenerator& random, int value) {
  return RoundHalfEven(random.Uniform() * 100) == value;
}

// Brann played by the computer against Kira, 100 pixels apart, facing each
// other; Kira stands.
class ComputerOpponent : public ::testing::Test {
 protected:
  ComputerOpponent() : game(platform, folder.path()) {
    slots.players[1].character = Fighter("Kira");
    slots.players[2].character = Fighter("Brann");
    Place(0, 100);
    for (int p = 1; p <= 2; ++p)
      fight.fighters[p].Health = 100;
  }

  void SetProfiles(const std::string& profiles) {
    game.content.AIProfiles = {};
    LoadReport report;
    ReadAiXml("<AI>" + profiles + "</AI>", game.content, report);
    EXPECT_TRUE(report.skipped.empty());
  }

  // Kira at x1, Brann at x2, each turned towards the other.
  void Place(Long x1, Long x2) {
    fight.fighters[1].PlayerX = x1;
    fight.fighters[2].PlayerX = x2;
    fight.fighters[1].Facing = x1 > x2;
    fight.fighters[2].Facing = x2 > x1;
  }

  // The computer in `step`, its decision timer far from running out and
  // the opponent's action already noted, so that no roll is drawn before
  // the step's own.
  ComputerState& In(ComputerStep step, int player = 2) {
    ComputerState& cpu = fight.computer[player].emplace();
    cpu.state = step;
    cpu.lastDecision = now;
    cpu.decisionDelay = 100000;
    cpu.lastSeenAction = fight.fighters[Opponent(player)].ActionName;
    return cpu;
  }

  void Choose(int player = 2) { ChooseComputerMove(game, fight, slots, player, now); }
  // The next frame: its tick stirred into the generator, as the fight does.
  void NextFrame(int player = 2) {
    now += 16;
    game.random.MixTicks(now);
    Choose(player);
  }

  ComputerState& Cpu(int player = 2) { return *fight.computer[player]; }
  const std::string& Held(int player = 2) { return game.input.HeldCommand[player]; }
  const std::string& Previous(int player = 2) { return game.input.history[player].lastCommand; }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game;
  FightState fight;
  FightSlots slots;
  std::uint32_t now = 1000000;
};

const std::set<std::string> kAttackCommands = {"P", "K", "LK", "DRK", "DRP", "DLK"};

TEST_F(ComputerOpponent, WithAggression0ItOnlyBacksOffOrWaits) {
  SetProfiles(Profile("Brann", 0, 100, 100, 0, 50, kAllMoves));
  fight.computer[2].emplace();
  std::set<ComputerStep> seen;
  for (int i = 0; i < 3000; ++i) {
    Place((i * 37) % 500, (i * 91) % 500);
    fight.fighters[2].Facing = i % 3 == 0;
    NextFrame();
    seen.insert(Cpu().state);
    ASSERT_TRUE(Held().empty() || Held() == "L" || Held() == "R") << Held() << " at frame " << i;
    ASSERT_FALSE(Cpu().wantsCloseAttack);
  }
  EXPECT_EQ(seen, (std::set<ComputerStep>{ComputerStep::Decide, ComputerStep::BackOff,
                                          ComputerStep::Wait}));
}

TEST_F(ComputerOpponent, WithAggression100ARollOf100StillDoesNotAttack) {
  SetProfiles(Profile("Brann", 100, 0, 0, 0, 50, kAllMoves));
  game.random.Restore(StateWhere([](RandomGenerator& r) { return Rolls(r, 100); }));
  In(ComputerStep::Decide);
  Choose();
  EXPECT_TRUE(Cpu().state == ComputerStep::Wait || Cpu().state == ComputerStep::BackOff);

  game.random.Restore(StateWhere([](RandomGenerator& r) { return Rolls(r, 99); }));
  In(ComputerStep::Decide);
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::Approach) << "a roll of 99 is below 100";
}

TEST_F(ComputerOpponent, TheAttackRollsAreNotRounded) {
  SetProfiles(Profile("Brann", 100, 50, 0, 0, 50, kAllMoves));
  Place(0, 200);
  for (const auto& [low, high, wants] : {std::tuple{49.5, 50.0, true}, {50.0, 50.5, false}}) {
    const double from = low, to = high;
    game.random.Restore(StateWhere([from, to](RandomGenerator& r) {
      if (Rolls(r, 100)) return false;
      const double attack = r.Uniform() * 100;
      return attack >= from && attack < to;
    }));
    In(ComputerStep::Decide);
    Choose();
    EXPECT_EQ(Cpu().state, ComputerStep::Approach);
    EXPECT_EQ(Cpu().wantsCloseAttack, wants) << "an attack roll in [" << low << ", " << high << ")";
  }
}

TEST_F(ComputerOpponent, RetreatSplitsWaitingFromBackingOff) {
  SetProfiles(Profile("Brann", 0, 0, 0, 0, 40, kAllMoves));
  for (const auto& [roll, expected] :
       {std::pair{40, ComputerStep::Wait}, {39, ComputerStep::BackOff}}) {
    const int wanted = roll;
    game.random.Restore(
        StateWhere([wanted](RandomGenerator& r) { return r.Uniform() < 1 && Rolls(r, wanted); }));
    In(ComputerStep::Decide);
    Choose();
    EXPECT_EQ(Cpu().state, expected) << "second roll " << roll;
  }
}

TEST_F(ComputerOpponent, AKnockedOutOpponentIsNotAttackedByAFreshDecision) {
  SetProfiles(Profile("Brann", 100, 100, 0, 0, 50, kAllMoves));
  fight.fighters[1].Health = 0;
  for (int i = 0; i < 200; ++i) {
    In(ComputerStep::Decide).wantsCloseAttack = true;
    now += 16;
    game.random.MixTicks(now);
    Choose();
    ASSERT_TRUE(Cpu().state == ComputerStep::Wait || Cpu().state == ComputerStep::BackOff);
    ASSERT_EQ(Held(), "");
  }
  // Standing, the wish of the last offensive decision turns even a decision
  // to wait into an attack.
  SetProfiles(Profile("Brann", 0, 0, 0, 0, 50, kAllMoves));
  fight.fighters[1].Health = 1;
  In(ComputerStep::Decide).wantsCloseAttack = true;
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::CloseAttack);
  In(ComputerStep::Decide).wantsFarAttack = true;
  Cpu().wantsCloseAttack = true;
  Place(0, 400);
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::FarAttack) << "a far attack needs the close wish too";
}

TEST_F(ComputerOpponent, AnAttackIsAnsweredByWhereItLands) {
  SetProfiles(Profile("Kira", 50, 50, 50, 0, 50, kAllMoves) +
              Profile("Brann", 50, 50, 50, 0, 50, kAllMoves));
  struct Case {
    const char* action;
    Long distance;
    const char* answer;
    ComputerStep after;
  };
  for (const Case& c :
       {Case{"Sweep", 100, "U", ComputerStep::React}, Case{"Punch", 100, "D", ComputerStep::React},
        Case{"Kick", 149, "B", ComputerStep::React}, Case{"Throw", 20, "B", ComputerStep::React},
        Case{"Punch", 150, "", ComputerStep::Decide},
        Case{"Fireball", 400, "B", ComputerStep::React},
        Case{"Standing", 100, "", ComputerStep::Decide}}) {
    Place(0, c.distance);
    fight.fighters[1].ActionName = c.action;
    In(ComputerStep::React);
    Choose();
    EXPECT_EQ(Held(), c.answer) << c.action << " at " << c.distance;
    EXPECT_EQ(Cpu().state, c.after) << c.action << " at " << c.distance;
  }
  // Without the opponent's profile there is nothing to answer by.
  SetProfiles(Profile("Brann", 50, 50, 50, 0, 50, kAllMoves));
  fight.fighters[1].ActionName = "Sweep";
  In(ComputerStep::React);
  Choose();
  EXPECT_EQ(Held(), "");
  EXPECT_EQ(Cpu().state, ComputerStep::Decide);
}

TEST_F(ComputerOpponent, ANewActionOfTheOpponentIsBlockedByTheBlockRoll) {
  SetProfiles(Profile("Kira", 0, 0, 0, 0, 0, kAllMoves) +
              Profile("Brann", 0, 0, 0, 100, 0, kAllMoves));
  game.random.Restore(StateWhere([](RandomGenerator& r) { return !Rolls(r, 100); }));
  In(ComputerStep::Wait);
  fight.fighters[1].ActionName = "Sweep";
  Choose();
  EXPECT_EQ(Cpu().lastSeenAction, "Sweep");
  EXPECT_EQ(Cpu().state, ComputerStep::React);
  EXPECT_EQ(Held(), "U") << "jumps the sweep in the same frame";

  SetProfiles(Profile("Kira", 0, 0, 0, 0, 0, kAllMoves) +
              Profile("Brann", 0, 0, 0, 0, 0, kAllMoves));
  In(ComputerStep::Wait);
  fight.fighters[1].ActionName = "Sweep";
  Choose();
  EXPECT_EQ(Cpu().lastSeenAction, "Sweep") << "noted all the same";
  EXPECT_EQ(Cpu().state, ComputerStep::Wait) << "Block 0 never reacts to a new action";
}

TEST_F(ComputerOpponent, AFlyingDamagingEffectOfTheLastSeenActionKeepsItOnGuard) {
  SetProfiles(Profile("Kira", 0, 0, 0, 0, 0, kAllMoves) +
              Profile("Brann", 0, 0, 0, 0, 0, kAllMoves));
  cCharacter& kira = slots.players[1].character;
  fight.fighters[1].ActionName = "Fireball";
  In(ComputerStep::Wait);
  fight.fighters[1].ActionName = "Standing";
  kira.Effects.find("Fire")->bActive = true;
  Place(0, 400);
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::React);
  EXPECT_EQ(Cpu().lastSeenAction, "Fireball") << "still watching the fireball";
  EXPECT_EQ(Held(), "B") << "a far Mid attack is blocked";
  Choose();
  EXPECT_EQ(Held(), "B") << "while it flies";

  kira.Effects.find("Fire")->Damage = 0;
  Choose();
  EXPECT_EQ(Cpu().lastSeenAction, "Standing") << "a harmless effect is no threat";
  EXPECT_EQ(Cpu().state, ComputerStep::Decide) << "Standing is no move of Kira's profile";
  EXPECT_EQ(Held(), "");

  // An action the opponent's character lacks is looked at softly.
  fight.fighters[1].ActionName = "Vanish";
  In(ComputerStep::Wait);
  fight.fighters[1].ActionName = "Standing";
  Choose();
  EXPECT_EQ(Cpu().lastSeenAction, "Standing");
}

TEST_F(ComputerOpponent, FartherThan250PixelsItJumpsInBeforeApproaching) {
  SetProfiles(Profile("Brann", 100, 0, 0, 0, 50, kAllMoves));
  const std::uint64_t offensive = StateWhere([](RandomGenerator& r) { return !Rolls(r, 100); });
  for (const auto& [distance, expected] :
       {std::pair{Long{251}, ComputerStep::JumpIn}, {Long{250}, ComputerStep::Approach}}) {
    Place(0, distance);
    game.random.Restore(offensive);
    In(ComputerStep::Decide);
    Choose();
    EXPECT_EQ(Cpu().state, expected) << distance;
    EXPECT_EQ(Held(), "");
  }
  Place(0, 251);
  In(ComputerStep::JumpIn);
  Choose();
  EXPECT_EQ(Held(), "RU");
  EXPECT_EQ(Cpu().state, ComputerStep::Approach);

  // Turned away, it turns round with "L"; far away it still jumps in next.
  fight.fighters[2].Facing = false;
  game.random.Restore(offensive);
  In(ComputerStep::Decide);
  Choose();
  EXPECT_EQ(Held(), "L");
  EXPECT_EQ(Cpu().state, ComputerStep::JumpIn);
  Place(0, 200);
  fight.fighters[2].Facing = false;
  game.random.Restore(offensive);
  In(ComputerStep::Decide);
  Choose();
  EXPECT_EQ(Held(), "L");
  EXPECT_EQ(Cpu().state, ComputerStep::Decide);
}

TEST_F(ComputerOpponent, ApproachingItWalksInAndBackingOffItWalksAway) {
  SetProfiles(Profile("Brann", 50, 50, 50, 0, 50, kAllMoves));
  Place(0, 200);
  In(ComputerStep::Approach);
  Choose();
  EXPECT_EQ(Held(), "R");
  EXPECT_EQ(Cpu().state, ComputerStep::Approach);
  Place(0, 149);
  In(ComputerStep::Approach).wantsCloseAttack = true;
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::CloseAttack);
  In(ComputerStep::Approach);
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::BackOff) << "close, with no wish to attack";

  Place(0, 100);
  In(ComputerStep::BackOff);
  Choose();
  EXPECT_EQ(Held(), "L");
  EXPECT_EQ(Cpu().state, ComputerStep::BackOff);
  EXPECT_EQ(Cpu().backOffMark, 100);
  fight.fighters[2].Facing = false;  // turned away: walking forward backs off
  Choose();
  EXPECT_EQ(Held(), "R");
  EXPECT_EQ(Cpu().state, ComputerStep::Decide);
  // Far right of an opponent at the left edge, it stops backing off.
  Place(5, 320);
  In(ComputerStep::BackOff);
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::Decide);
  EXPECT_EQ(Cpu().backOffMark, 0);
  Place(320, 5);
  In(ComputerStep::BackOff);
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::Decide);
  Place(5, 300);
  In(ComputerStep::BackOff);
  Choose();
  EXPECT_EQ(Cpu().state, ComputerStep::BackOff);
}

TEST_F(ComputerOpponent, TheMoveChoiceWrapsRoundToTheOnlyWantedMove) {
  // Punch is the only close attack; a start past it wraps round to it.
  SetProfiles(Profile("Brann", 50, 50, 50, 0, 50,
                      R"(<Move Name="Punch" Type="Close" Region="High"/>
                         <Move Name="Fireball" Type="Far" Region="Mid"/>
                         <Move Name="Kick" Type="Close" Region="Mid" Attack="False"/>
                         <Move Name="Sweep" Type="Far" Region="Low"/>)"));
  std::set<std::string> far;
  for (int i = 0; i < 40; ++i) {
    now += 16;
    game.random.MixTicks(now);
    In(ComputerStep::CloseAttack);
    Choose();
    ASSERT_EQ(Held(), "P");
    EXPECT_EQ(Previous(), "P") << "the previous command is the same";
    EXPECT_EQ(Cpu().state, ComputerStep::Decide);
    In(ComputerStep::FarAttack);
    Choose();
    far.insert(Held());
  }
  EXPECT_EQ(far, (std::set<std::string>{"DRP", "LK"})) << "the start is drawn";
}

TEST_F(ComputerOpponent, WithoutAWantedMoveOrItsActionThereIsNoAttack) {
  for (
      const char* moves :
      {R"(<Move Name="Fireball" Type="Far" Region="Mid"/><Move Name="Kick" Type="Close" Region="Mid" Attack="False"/>)",
       "", R"(<Move Name="Uppercut" Type="Close" Region="High"/>)"}) {
    SetProfiles(Profile("Brann", 50, 50, 50, 0, 50, moves));
    In(ComputerStep::CloseAttack);
    Choose();
    EXPECT_EQ(Held(), "") << moves;
    EXPECT_EQ(Previous(), "") << moves;
    EXPECT_EQ(Cpu().state, ComputerStep::Decide) << moves;
  }
}

TEST_F(ComputerOpponent, TheFinisherNeedsTheSameGateAsAPlayers) {
  SetProfiles(Profile("Brann", 50, 50, 50, 0, 50, R"(<Move Name="Punch" Type="Close" Region="High"/>
                                                      <Move Name="Fireball" Type="Far" Region="Mid"/>)"));
  fight.RoundWins[2] = 1;
  fight.fighters[1].Health = 20;
  In(ComputerStep::CloseAttack);
  Choose();
  EXPECT_EQ(Held(), "DLK");
  EXPECT_EQ(Previous(), "DLK");
  In(ComputerStep::FarAttack);
  Choose();
  EXPECT_EQ(Held(), "DRP") << "never from afar";

  fight.fighters[1].Health = 21;
  In(ComputerStep::CloseAttack);
  Choose();
  EXPECT_EQ(Held(), "P");
  fight.fighters[1].Health = 20;
  fight.RoundWins[1] = 1;
  In(ComputerStep::CloseAttack);
  Choose();
  EXPECT_EQ(Held(), "P") << "the opponent has won a round too";
  fight.RoundWins = {0, 0, 0};
  In(ComputerStep::CloseAttack);
  Choose();
  EXPECT_EQ(Held(), "P") << "not in the first round";

  fight.RoundWins[2] = 1;
  slots.players[2].character = Fighter("Brann", false);
  In(ComputerStep::CloseAttack);
  Choose();
  EXPECT_EQ(Held(), "P") << "a character without a finisher attacks as it chose";
}

TEST_F(ComputerOpponent, WithoutItsOwnProfileItWalksWaitsAndBlocksButNeverAttacks) {
  SetProfiles(Profile("Kira", 50, 50, 50, 0, 50, kAllMoves));
  fight.computer[2].emplace();
  std::set<std::string> commands;
  for (int i = 0; i < 3000; ++i) {
    Place((i * 37) % 500, (i * 91) % 500);
    fight.fighters[1].ActionName = i % 50 < 25 ? "Standing" : "Punch";
    NextFrame();
    ASSERT_EQ(kAttackCommands.count(Held()), 0u) << Held() << " at frame " << i;
    commands.insert(Held());
  }
  for (const char* expected : {"R", "L", "RU", "D"})
    EXPECT_EQ(commands.count(expected), 1u) << expected;
}

TEST_F(ComputerOpponent, TheDecisionTimerSendsItBackToDecideUnlessItReacts) {
  SetProfiles(Profile("Brann", 0, 0, 0, 0, 101, ""));
  Place(0, 200);
  ComputerState& cpu = In(ComputerStep::Approach);
  cpu.lastDecision = now - 400;
  cpu.decisionDelay = 400;
  Choose();
  EXPECT_EQ(cpu.state, ComputerStep::Approach) << "the delay is not over at its last millisecond";
  EXPECT_EQ(cpu.lastDecision, now - 400);
  cpu.decisionDelay = 399;
  Choose();
  EXPECT_EQ(cpu.lastDecision, now);
  EXPECT_LE(cpu.decisionDelay, 1000u);
  EXPECT_EQ(cpu.state, ComputerStep::BackOff) << "decided at once: Aggression 0, Retreat 101";

  std::set<std::uint32_t> delays;
  for (int i = 0; i < 20; ++i) {
    cpu.lastDecision = now - 2000;
    cpu.state = ComputerStep::Wait;
    NextFrame();
    delays.insert(cpu.decisionDelay);
  }
  EXPECT_GT(delays.size(), 10u) << "drawn anew each time";

  Place(0, 100);
  cpu.state = ComputerStep::React;
  cpu.lastDecision = now - 2000;
  fight.fighters[1].ActionName = "Punch";
  cpu.lastSeenAction = "Punch";
  SetProfiles(Profile("Kira", 0, 0, 0, 0, 0, kAllMoves) + Profile("Brann", 0, 0, 0, 0, 101, ""));
  Choose();
  EXPECT_EQ(cpu.lastDecision, now - 2000) << "reacting, it keeps its guard";
  EXPECT_EQ(Held(), "D");
}

TEST_F(ComputerOpponent, PlayingPlayer1ItSeesTheFightFromPlayer1sSide) {
  // Kira is offensive, Brann never: Kira's own profile decides.
  SetProfiles(Profile("Kira", 100, 0, 0, 0, 50, kAllMoves) +
              Profile("Brann", 0, 0, 0, 0, 50, kAllMoves));
  const std::uint64_t offensive = StateWhere([](RandomGenerator& r) { return !Rolls(r, 100); });
  game.random.Restore(offensive);
  In(ComputerStep::Decide, 1);
  Choose(1);
  EXPECT_EQ(Cpu(1).state, ComputerStep::Approach);
  EXPECT_EQ(Held(1), "");
  In(ComputerStep::Approach, 1);
  Choose(1);
  EXPECT_EQ(Held(1), "R");
  EXPECT_FALSE(fight.computer[2].has_value()) << "player 2 is left alone";
  EXPECT_EQ(Held(2), "");

  // Right of Brann and facing right, Kira turns away from nothing but him.
  Place(400, 100);
  fight.fighters[1].Facing = false;
  game.random.Restore(offensive);
  In(ComputerStep::Decide, 1);
  Choose(1);
  EXPECT_EQ(Held(1), "L");
  EXPECT_EQ(Cpu(1).state, ComputerStep::JumpIn) << "300 apart";
  // Brann attacks Kira from player 2's side with his own numbers.
  fight.fighters[1].Facing = true;
  game.random.Restore(offensive);
  In(ComputerStep::Decide, 2);
  Choose(2);
  EXPECT_TRUE(Cpu(2).state == ComputerStep::Wait || Cpu(2).state == ComputerStep::BackOff);
}

TEST_F(ComputerOpponent, AMatchGivesEachComputerPlayerAFreshRecord) {
  MatchSetup setup;
  setup.GameMode = 2;
  fight.computer[2].emplace().state = ComputerStep::React;
  StartComputerPlayers(fight, setup);
  EXPECT_FALSE(fight.computer[1].has_value());
  EXPECT_FALSE(fight.computer[2].has_value()) << "two players at the keys";
  setup.GameMode = 1;
  fight.computer[2].emplace().lastSeenAction = "Punch";
  StartComputerPlayers(fight, setup);
  ASSERT_TRUE(fight.computer[2].has_value());
  EXPECT_EQ(fight.computer[2]->lastSeenAction, "");
  EXPECT_FALSE(fight.computer[1].has_value());
  setup.GameMode = 2;
  setup.computer = ComputerPlays::Both;
  StartComputerPlayers(fight, setup);
  EXPECT_TRUE(fight.computer[1].has_value());
  EXPECT_TRUE(fight.computer[2].has_value());
}

TEST(ComputerStepNames, EachStepHasItsOwnName) {
  EXPECT_STREQ(ComputerStepName(ComputerStep::Decide), "Decide");
  EXPECT_STREQ(ComputerStepName(ComputerStep::CloseAttack), "CloseAttack");
  EXPECT_STREQ(ComputerStepName(ComputerStep::React), "React");
  EXPECT_STREQ(ComputerStepName(ComputerStep::JumpIn), "JumpIn");
}

}  // namespace
}  // namespace vdx
