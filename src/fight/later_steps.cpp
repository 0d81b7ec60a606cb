#include "fight/later_steps.h"

namespace vdx {

void StartWeather(Game&, FightState&, const FightSlots&, std::uint32_t) {}
void StartActionEffects(FighterPassContext&, int, const cAction&) {}
void UpdateCharacterEffects(Game&, FightState&, FightSlots&, int, std::uint32_t) {}
void DrawWeather(Game&, FightState&, const FightSlots&, std::uint32_t) {}
void DrawStageAnimations(Game&, FightState&, FightSlots&, std::uint32_t) {}

}  // namespace vdx
