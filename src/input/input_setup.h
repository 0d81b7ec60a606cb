// Brings up the keyboard and game controllers at start-up.
#pragma once

#include "platform/platform.h"

namespace vdx {

// Returns the number of attached controllers. Throws platform::PlatformError
// when there is no keyboard to read.
int InitInput(platform::Platform& platform);

}  // namespace vdx
