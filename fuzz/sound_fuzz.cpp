#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "platform/headless/headless_platform.h"
#include "platform/platform.h"

namespace {

// The real backend on SDL's silent audio driver, opened once for the whole run.
vdx::platform::Platform& SdlPlatform() {
  static const std::unique_ptr<vdx::platform::Platform> platform = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto p = vdx::platform::CreateSdlPlatform();
    p->openAudio();
    return p;
  }();
  return *platform;
}

}  // namespace

// A sound file's bytes, as the sound table hands them to the platform: decoded
// whole by the mixer in the SDL backend, recognised by header in the headless one.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span bytes(data, size);
  vdx::platform::Platform& sdl = SdlPlatform();
  if (const auto sound = sdl.loadSound(bytes)) sdl.freeSound(*sound);

  vdx::platform::HeadlessPlatform headless;
  headless.openAudio();
  if (const auto sound = headless.loadSound(bytes)) headless.freeSound(*sound);
  return 0;
}
