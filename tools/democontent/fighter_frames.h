// The frames of a fighter's actions, as pictures.
#pragma once

#include "moves.h"
#include "roster.h"

namespace democontent {

inline constexpr int kGrabFrameWidth = 364;

// Frame k (0-based) of an action; a throw needs its victim.
Image RenderActionFrame(const Character& character, const ActionSpec& action, int k,
                        const Character* victim = nullptr);

// The character's portrait for the select screens.
Image RenderPortrait(const Character& character, int width, int height);

}  // namespace democontent
