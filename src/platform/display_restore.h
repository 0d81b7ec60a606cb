// A frame that cannot be shown because the display was lost (a graphics
// device reset, a driver restart) is shown again after the display is made
// anew: a bounded number of times, so that a display that stays lost ends in
// an error the game reports instead of a loop that never ends.
#pragma once

#include <string>

#include "platform/platform.h"

namespace vdx::platform {

inline constexpr int kDisplayRestores = 3;

// Calls `show` until it succeeds, making the display anew with `restore`
// between attempts, at most `restores` times; then throws a PlatformError
// naming the last failure `lastError()` gives.
template <typename Show, typename Restore, typename LastError>
void ShowRestoring(int restores, Show show, Restore restore, LastError lastError) {
  for (int restored = 0;; ++restored) {
    if (show()) return;
    if (restored == restores)
      throw PlatformError(1, "the display was lost and could not be made anew (" +
                                 std::to_string(restores) + " attempts): " + lastError());
    restore();
  }
}

}  // namespace vdx::platform
