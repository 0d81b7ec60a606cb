// The animation step of a fighter's action: which of the fighter's frames
// shows next.
#pragma once

#include "content/records.h"

namespace vdx {

// Advances `counter` (the player's frame counter) within the action's frames
// Offset .. Offset + Count - 1 and returns it. A counter outside them (the
// fighter comes from another action) starts at the first frame going forward,
// or past the last going back, and then steps, so a new action shows Offset + 1
// first. At the end: a "StaticHold" action stays; else loop back, or hold the
// end. An action without frames leaves the counter where it is.
Long NextFrameIndex(const cAction& action, bool reverse, bool loop, Long& counter,
                    bool reset = false);

// Whether the counter is on one of the action's frames.
bool FrameInAction(const cAction& action, Long frame);

}  // namespace vdx
