#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "platform/headless/headless_platform.h"
#include "platform/platform.h"
#include "silent_sdl_platform.h"

// A sound file's bytes, as the sound table hands them to the platform: decoded
// whole by the mixer in the SDL backend, recognised by header in the headless one.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span bytes(data, size);
  if (vdx::fuzz::MayReachFlacReader(bytes)) return -1;  // not added to the corpus
  vdx::platform::Platform& sdl = vdx::fuzz::SilentSdlPlatform();
  if (const auto sound = sdl.loadSound(bytes)) sdl.freeSound(*sound);

  vdx::platform::HeadlessPlatform headless;
  headless.openAudio();
  if (const auto sound = headless.loadSound(bytes)) headless.freeSound(*sound);
  return 0;
}
