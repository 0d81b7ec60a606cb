// The meters over a fight, one set per player: the health bar, the fighter's
// name, the round-win markers, the combo message that rises and fades after a
// combo, and the "SEXUALITY" banner of a finisher.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "content/records.h"
#include "game/game.h"
#include "graphics/sprite_loading.h"

namespace vdx {

// What one player's meters remember from frame to frame.
struct HudState {
  std::string comboText;            // the last combo message built
  int shownCombo = 0;               // the combo count last shown; 0 when none
  std::uint32_t comboFadeEnds = 0;  // tick count: the combo message fades until then; 0 when idle
  std::uint32_t bannerEnds = 0;     // tick count: the banner fades until then; 0 when idle
  // The name as rendered in the meter font, kept from frame to frame.
  std::optional<platform::TextImage> nameImage;
  std::string nameRendered;
  bool nameTried = false;
};

struct HudPictures {
  SharedSurface healthMeter;  // the full bar; nullptr: no bar is drawn
  SharedSurface bullet;       // a round-win marker, 16 x 16 keyed on black; nullptr: none
};

// "\HealthMeter.bmp" at its own size and "\bullet.bmp" at 16 x 16. A missing
// picture is logged and leaves its part of the meters out.
HudPictures LoadHudPictures(const LoadContext& ctx);

// One player's view of the fight for a frame.
struct HudInputs {
  int player = 1;          // 1 or 2
  std::string_view name;   // the character's name
  Integer fullHealth = 0;  // the character's Health
  Integer health = 0;      // now; the caller has set anything below 0 to 0
  int comboCount = 0;      // this player's hits in the current combo
  int roundWins = 0;
  std::string_view actionName;  // the current action; "Sexuality" raises the banner
  std::uint32_t now = 0;        // the frame's tick count
};

// Draws one player's meters into the back buffer and moves the combo message
// and the banner on. Call once per player per frame. The messages are bitmap
// text in game.font, and are left out while no font sheet is loaded.
void DrawFighterHud(Game& game, HudState& hud, const HudPictures& pictures, const HudInputs& in);

}  // namespace vdx
