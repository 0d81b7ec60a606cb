// The real backend on SDL's silent audio driver, opened once for the whole
// fuzzing run: the sound and music targets feed its mixer.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>

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

// The mixer's FLAC reader leaks an SDL audio converter on some damaged streams
// (a library bug we cannot mend). Over a long run that leak alone reaches any
// memory limit, which is there to catch our own faults, so the sound and music
// targets pass over every input that could reach that reader: one holding a
// FLAC stream's mark ("fLaC", found even behind junk) or an Ogg FLAC header.
inline bool MayReachFlacReader(std::span<const std::uint8_t> bytes) {
  for (const std::string_view mark : {std::string_view("fLaC"), std::string_view("FLAC")})
    if (std::search(bytes.begin(), bytes.end(), mark.begin(), mark.end(),
                    [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); }) !=
        bytes.end())
      return true;
  return false;
}

}  // namespace vdx::fuzz
