// Opens the sound device at start-up; the sounds themselves are loaded per fight.
#pragma once

#include "platform/platform.h"

namespace vdx {

// Throws platform::PlatformError when no sound device can be opened.
void InitDirectSound(platform::Platform& platform);

}  // namespace vdx
