// The real backend on SDL's silent audio driver, opened once for the whole
// fuzzing run: the sound and music targets feed its mixer.
#pragma once

#include <cstdlib>
#include <memory>

#include "platform/platform.h"

namespace vdx::fuzz {

inline platform::Platform& SilentSdlPlatform() {
  static const std::unique_ptr<platform::Platform> sdl = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto p = platform::CreateSdlPlatform();
    p->openAudio();
    return p;
  }();
  return *sdl;
}

}  // namespace vdx::fuzz
