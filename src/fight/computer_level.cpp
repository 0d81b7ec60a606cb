#include "fight/computer_level.h"

#include <algorithm>
#include <array>

#include "content/settings.h"

namespace vdx {
namespace {

// One row a level, 1 to 8. Level 4 is all neutral: the profile as written.
constexpr std::array<ComputerLevel, 8> kLevels = {{
    // delay, block, aggression, attack, whiff, pressOn, farAttack
    {1.6, -35, -10, -6, 40, 45, 0},
    {1.4, -25, -6, -4, 25, 40, 0},
    {1.2, -12, -3, -2, 10, 35, 0},
    {1.0, 0, 0, 0, 0, 0, 0},
    {0.85, 10, 5, 5, 0, 40, 15},
    {0.7, 20, 10, 10, 0, 45, 25},
    {0.55, 30, 15, 15, 0, 50, 35},
    {0.4, 40, 20, 20, 0, 55, 45},
}};

static_assert(kLevels.size() == kHighestDifficulty - kLowestDifficulty + 1);

}  // namespace

const ComputerLevel& ComputerLevelOf(Integer level) {
  const Integer held = std::clamp(level, kLowestDifficulty, kHighestDifficulty);
  return kLevels[static_cast<std::size_t>(held - kLowestDifficulty)];
}

Integer ShiftedChance(Integer chance, Integer shift) {
  if (shift == 0) return chance;
  return std::clamp<Integer>(chance + shift, 0, 100);
}

}  // namespace vdx
