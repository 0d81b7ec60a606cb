// The text of our own tools over the fight (move lists, training's menus and
// read-outs): not the content's styles but one typeface that has the arrows.
#pragma once

#include <string>

#include "content/records.h"
#include "game/game.h"

namespace vdx {

inline constexpr Long kToolInk = 0x00141446;    // 0x00BBGGRR: (70, 20, 20), on the pale panel
inline constexpr Long kToolLight = 0x00F0F0F0;  // on the fight

cFont ToolFont(int size, bool bold, Long colour = kToolInk);

// The width in pixels that the text takes in the font (0 without a font).
int TextWidth(Game& game, const cFont& font, const std::string& text);

}  // namespace vdx
