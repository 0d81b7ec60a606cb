// SDL scancodes to DirectInput key codes (both name physical keys, so the
// mapping holds for every keyboard layout).
#pragma once

#include <SDL_scancode.h>

#include "platform/keycodes.h"

namespace vdx::platform {

// 0 when the scancode has no DirectInput code.
KeyCode DirectInputCodeOf(SDL_Scancode scancode);

}  // namespace vdx::platform
