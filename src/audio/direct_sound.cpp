#include "audio/direct_sound.h"

#include <iostream>
#include <string>

namespace vdx {

bool InitDirectSound(platform::Platform& platform, LogFile& log) {
  try {
    platform.openAudio();
    return true;
  } catch (const platform::PlatformError& e) {
    const std::string said = std::string("no sound: ") + e.what() + "; the game plays without it";
    std::cerr << "vdx: " << said << "\n";
    WriteLog(log, LogOpening::Append, {said});
    return false;
  }
}

}  // namespace vdx
