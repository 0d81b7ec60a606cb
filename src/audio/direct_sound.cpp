#include "audio/direct_sound.h"

namespace vdx {

void InitDirectSound(platform::Platform& platform) {
  platform.openAudio();
}

}  // namespace vdx
