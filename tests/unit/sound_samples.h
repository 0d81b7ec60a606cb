// Short real sounds for tests: the backends read sounds with the mixer, so a
// header alone is no longer a sound.
#pragma once

#include <string>
#include <vector>

#include "audio.h"  // the demo content's sound encoders

namespace vdx::testing {

// A tenth of a second of a quiet tone as an 8-bit mono WAV file.
inline std::string ShortWave() {
  democontent::Samples tone(1102);
  for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = (i / 25) % 2 == 0 ? 0.2f : -0.2f;
  const auto bytes = democontent::EncodeWav8(tone, democontent::kEffectRate);
  return std::string(bytes.begin(), bytes.end());
}

// The same tone as Ogg Vorbis, as stage music is written.
inline std::string ShortOgg() {
  democontent::Samples tone(2205);
  for (std::size_t i = 0; i < tone.size(); ++i) tone[i] = (i / 25) % 2 == 0 ? 0.2f : -0.2f;
  const auto bytes = democontent::EncodeOgg(tone, democontent::kMusicRate, 7);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace vdx::testing
