// The computer's levels: their numbers, and whole matches of the computer
// against itself at two levels on the demo folder.
#include "fight/computer_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "content/get_xml.h"
#include "fight/fight_step.h"
#include "match/fight_loop.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

constexpr std::uint8_t kNone = 0;

TEST(ComputerLevelTable, TheProfilesLevelIsNeutralAndTheOthersClimbFromIt) {
  const ComputerLevel& profile = ComputerLevelOf(kProfileDifficulty);
  EXPECT_EQ(profile.delayScale, 1.0);
  for (const Integer n : {profile.block, profile.aggression, profile.attack, profile.whiff,
                          profile.pressOn, profile.farAttack})
    EXPECT_EQ(n, 0);
  // Each level up decides sooner, blocks and attacks more, whiffs no more and
  // throws from range no less.
  for (Integer level = kLowestDifficulty + 1; level <= kHighestDifficulty; ++level) {
    SCOPED_TRACE(level);
    const ComputerLevel& below = ComputerLevelOf(level - 1);
    const ComputerLevel& here = ComputerLevelOf(level);
    EXPECT_LT(here.delayScale, below.delayScale);
    EXPECT_GT(here.block, below.block);
    EXPECT_GT(here.aggression, below.aggression);
    EXPECT_GT(here.attack, below.attack);
    EXPECT_LE(here.whiff, below.whiff);
    EXPECT_GE(here.farAttack, below.farAttack);
    // Every level but the profile's comes forward from range now and then.
    if (level != kProfileDifficulty) {
      EXPECT_GT(here.pressOn, 0);
    }
  }
  // Levels outside 1..8 are held to the nearest.
  EXPECT_EQ(&ComputerLevelOf(0), &ComputerLevelOf(kLowestDifficulty));
  EXPECT_EQ(&ComputerLevelOf(-5), &ComputerLevelOf(kLowestDifficulty));
  EXPECT_EQ(&ComputerLevelOf(9), &ComputerLevelOf(kHighestDifficulty));

  // No shift keeps the profile's number even outside 0..100; a shift holds
  // the sum to 0..100.
  EXPECT_EQ(ShiftedChance(150, 0), 150);
  EXPECT_EQ(ShiftedChance(-3, 0), -3);
  EXPECT_EQ(ShiftedChance(45, 20), 65);
  EXPECT_EQ(ShiftedChance(90, 20), 100);
  EXPECT_EQ(ShiftedChance(20, -35), 0);
}

// One-round matches of the computer against itself on the demo folder (without
// its pick-up, so nobody heals by chance), stepped alone, undrawn.
class ComputerLevelMatches : public ::testing::Test {
 protected:
  ComputerLevelMatches() {
    platform.openAudio();
    const auto dir = folder.path() / "game";
    std::filesystem::create_directories(dir);
    for (const auto& entry : std::filesystem::directory_iterator(VDX_DEMO_DIR))
      if (entry.path().filename() != "ball.bmp")
        std::filesystem::create_symlink(entry.path(), dir / entry.path().filename());
    game = std::make_unique<Game>(platform, dir);
    game->log.path = folder.path() / "log.txt";
    loaded = GetXML(game->paths, game->settings, game->content, game->loadReport);
    game->settings.Rounds = 1;
  }
  ~ComputerLevelMatches() override { platform.closeAudio(); }

  // Player 1 at `level1` against player 2 at `level2`: the winner (1 or 2),
  // by the health left when the frame cap comes first; 0 when even then.
  int PlayMatch(std::uint64_t seed, Integer level1, Integer level2) {
    constexpr int kFrameCap = 60 * 60 * 2;  // two minutes of fight
    MatchSetup setup{"Kira", "Brann", "Harbour", 1, ComputerPlays::Both, {level1, level2}};
    game->random.Restore(RandomGenerator{seed}.state());
    FightOutputs outputs;
    outputs.draw = false;
    FightSession session(*game, setup, outputs);
    BeginRound(session);
    FightState& fight = session.fight;
    for (int frame = 0; frame < kFrameCap; ++frame) {
      FightEvents events;
      if (StepFight(fight, session.slots, FightInputs{}, events) != FightOutcome::Running)
        return fight.RoundWins[1] > fight.RoundWins[2] ? 1 : 2;
    }
    ++capped;
    const Integer health1 = fight.fighters[1].Health, health2 = fight.fighters[2].Health;
    return health1 == health2 ? 0 : health1 > health2 ? 1 : 2;
  }

  // How many of `matches` matches (different seeds, sides taken in turn) the
  // computer at `strong` wins against the one at `weak`.
  int Wins(Integer strong, Integer weak, int matches) {
    int wins = 0;
    for (int m = 0; m < matches; ++m) {
      const std::uint64_t seed = 1000 + static_cast<std::uint64_t>(m);
      const bool strongFirst = m % 2 == 0;
      const int winner =
          strongFirst ? PlayMatch(seed, strong, weak) : PlayMatch(seed, weak, strong);
      wins += winner == (strongFirst ? 1 : 2);
    }
    return wins;
  }

  // Against a player who stands still where the round put them, at range: the
  // seconds of fight (from its start) until the computer's player 2 at `level`
  // first attacks, for each of `seeds` seeds.
  std::vector<double> SecondsToFirstAttack(Integer level, int seeds) {
    const std::set<std::string> attacks = {"Punch",    "Kick",     "SweepKick", "DuckPunch",
                                           "DuckKick", "Throw",    "JumpKick",  "BoulderToss",
                                           "Sexuality"};
    constexpr int kFrameCap = 60 * 60;
    std::vector<double> seconds;
    for (int s = 0; s < seeds; ++s) {
      MatchSetup setup{"Kira", "Brann", "Harbour", 1, ComputerPlays::Player2,
                       {kProfileDifficulty, level}};
      game->random.Restore(RandomGenerator{static_cast<std::uint64_t>(s + 7)}.state());
      FightOutputs outputs;
      outputs.draw = false;
      FightSession session(*game, setup, outputs);
      BeginRound(session);
      FightState& fight = session.fight;
      // Player 1's Block starts the fight and is let go.
      for (int i = 0; i < 4; ++i) {
        FightEvents events;
        StepFight(fight, session.slots, FightInputs{PlayerInput{i == 2 ? kButtonBlock : kNone}, {}},
                  events);
      }
      EXPECT_TRUE(fight.FightStarted);
      int frame = 0;
      for (; frame < kFrameCap; ++frame) {
        FightEvents events;
        StepFight(fight, session.slots, FightInputs{}, events);
        if (attacks.count(std::string(fight.fighters[2].ActionName.view()))) break;
      }
      seconds.push_back(frame / 60.0);
    }
    return seconds;
  }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  std::unique_ptr<Game> game;
  bool loaded = false;
  int capped = 0;
};

TEST_F(ComputerLevelMatches, Level8BeatsLevel1AtLeast80PercentOfFiftyMatches) {
  ASSERT_TRUE(loaded);
  constexpr int kMatches = 50;
  const int wins = Wins(8, 1, kMatches);
  std::printf("level 8 against level 1: %d of %d won, %d at the frame cap\n", wins, kMatches,
              capped);
  EXPECT_GE(wins * 100, 80 * kMatches);
}

TEST_F(ComputerLevelMatches, AwayFromTheProfilesLevelItComesForwardFromRangeSooner) {
  ASSERT_TRUE(loaded);
  constexpr int kSeeds = 12;
  const auto mean = [](const std::vector<double>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
  };
  const std::vector<double> profile = SecondsToFirstAttack(kProfileDifficulty, kSeeds);
  std::printf("level 4: first attack after %.1f s on average, %.1f s at most\n", mean(profile),
              *std::max_element(profile.begin(), profile.end()));
  for (const Integer level : {1, 3, 5, 8}) {
    const std::vector<double> seconds = SecondsToFirstAttack(level, kSeeds);
    const double longest = *std::max_element(seconds.begin(), seconds.end());
    std::printf("level %d: first attack after %.1f s on average, %.1f s at most\n", level,
                mean(seconds), longest);
    EXPECT_LT(mean(seconds), mean(profile)) << "level " << level;
    // Above the profile's level it never stands off for long.
    if (level > kProfileDifficulty) {
      EXPECT_LT(longest, 8.0) << "level " << level;
    }
  }
}

}  // namespace
}  // namespace vdx
