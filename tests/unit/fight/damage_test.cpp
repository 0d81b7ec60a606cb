#include "fight/damage.h"

#include <gtest/gtest.h>

namespace vdx {
namespace {

TEST(Damage, MeleeHitsCountTheComboAndTheMultiplierAndRoundHalvesToEven) {
  EXPECT_EQ(HealthAfterMeleeHit(120, 6, 1, 1), 113) << "120 - 6 - 0.6 = 113.4";
  EXPECT_EQ(HealthAfterMeleeHit(113, 6, 1, 2), 106) << "113 - 6 - 1.2 = 105.8";
  EXPECT_EQ(HealthAfterMeleeHit(100, 20, 1, 3), 74) << "the third hit of 20 takes 26";
  EXPECT_EQ(HealthAfterMeleeHit(100, 20, 2, 1), 58) << "power mode doubles: 40 + 2";
  EXPECT_EQ(HealthAfterMeleeHit(100, 5, 1, 1), 94) << "100 - 5.5 = 94.5 rounds to even";
  EXPECT_EQ(HealthAfterMeleeHit(100, 15, 1, 1), 84) << "100 - 16.5 = 83.5 rounds to even";
}

TEST(Damage, BlocksChipASixthAndProjectileBlocksAQuarter) {
  EXPECT_EQ(HealthAfterMeleeBlock(120, 6, 1), 119);
  EXPECT_EQ(HealthAfterMeleeBlock(100, 10, 1), 98) << "10 / 6 = 1.67 rounds to 2";
  EXPECT_EQ(HealthAfterMeleeBlock(100, 10, 2), 97) << "3.33 rounds to 3";
  EXPECT_EQ(HealthAfterMeleeBlock(100, 3, 1), 100) << "0.5 rounds to even: nothing";
  EXPECT_EQ(HealthAfterProjectileBlock(100, 10), 98) << "2.5 rounds to 2";
  EXPECT_EQ(HealthAfterProjectileBlock(100, 14), 96) << "3.5 rounds to 4";
  EXPECT_EQ(HealthAfterProjectileHit(100, 15), 85);
}

TEST(Damage, HealthStaysInsideItsSixteenBits) {
  EXPECT_EQ(HealthAfterMeleeHit(-32000, 32000, 2, 30), -32768);
  EXPECT_EQ(HealthAfterMeleeHit(32767, -32768, 2, 0), 32767) << "negative damage heals, capped";
  EXPECT_EQ(HealthAfterProjectileHit(-32768, 1), -32768);
  EXPECT_EQ(HealthAfterPickUp(32760, 32767), 32767);
}

TEST(Damage, ThePickUpHealsThirtyUpToFullHealth) {
  EXPECT_EQ(HealthAfterPickUp(50, 120), 80);
  EXPECT_EQ(HealthAfterPickUp(100, 120), 120);
  EXPECT_EQ(HealthAfterPickUp(120, 120), 120) << "taken at full health: no more";
  EXPECT_EQ(HealthAfterPickUp(-5, 120), 25);
}

TEST(Damage, TheReactionFollowsTheAttackAndWhetherTheVictimStands) {
  cAction plain, hard, mid, high, highHard;
  hard.HardHit = true;
  mid.MidHit = true;
  high.HighHit = true;
  highHard.HighHit = highHard.HardHit = true;
  EXPECT_EQ(MeleeReaction(plain, true), "Hit");
  EXPECT_EQ(MeleeReaction(plain, false), "HardHit") << "in the air";
  EXPECT_EQ(MeleeReaction(mid, true), "MidHit");
  EXPECT_EQ(MeleeReaction(mid, false), "HardHit");
  EXPECT_EQ(MeleeReaction(high, true), "Hit") << "a high hit only counts in the air";
  EXPECT_EQ(MeleeReaction(high, false), "HighHit");
  EXPECT_EQ(MeleeReaction(highHard, true), "HighHit");
  EXPECT_EQ(MeleeReaction(hard, true), "HardHit");
}

TEST(Damage, TheFirstKnockOutOfARoundDecidesItAndASecondChangesNothing) {
  FightState fight;
  fight.fighters[2].Health = 0;
  fight.fighters[1].Health = 1;
  KnockOutIfDown(fight, 2, 1);
  EXPECT_EQ(fight.fighters[1].ActionName, "Standing") << "1 is still up";
  KnockOutIfDown(fight, 1, 2);
  EXPECT_EQ(fight.fighters[2].ActionName, "KO");
  EXPECT_EQ(fight.RoundLoser, 2);
  EXPECT_EQ(fight.RoundWins[1], 1);
  // Player 2's projectile knocks player 1 out in the same frame.
  fight.fighters[1].Health = -3;
  KnockOutIfDown(fight, 2, 1);
  EXPECT_EQ(fight.fighters[1].ActionName, "KO");
  EXPECT_EQ(fight.RoundLoser, 2) << "the first loser stays";
  EXPECT_EQ(fight.RoundWins[1], 1);
  EXPECT_EQ(fight.RoundWins[2], 0);
}

}  // namespace
}  // namespace vdx
