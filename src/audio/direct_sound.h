// Opens the sound device at start-up; the sounds themselves are loaded per fight.
#pragma once

#include "core/log.h"
#include "platform/platform.h"

namespace vdx {

// Opens the sound device. A machine without one, or whose audio fails, plays
// on without sound: one line on standard error and in the log says so, and
// every sound, tune and movie sound is then left silent. Returns whether
// there is sound.
bool InitDirectSound(platform::Platform& platform, LogFile& log);

}  // namespace vdx
