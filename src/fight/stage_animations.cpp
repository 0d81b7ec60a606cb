#include "fight/stage_animations.h"

#include "audio/sound_table.h"
#include "effects/effect_animation.h"

namespace vdx {

void DrawStageAnimations(Game& game, FightSlots& slots, const StageView& stage, std::uint32_t now) {
  for (cAnim& anim : slots.stage.Animations) {
    if (PrepareStageAnimation(anim, now))
      PlaySound(game.platform, game.sounds, anim.SFX, game.settings.SoundVolume, game.log);
    DrawStageAnimation(game.display.backBuffer, stage.scenery, anim, game.display.raster);
    MoveStageAnimation(anim, now);
  }
}

}  // namespace vdx
