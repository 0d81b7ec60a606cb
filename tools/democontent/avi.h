// Movies of the demo folder: Motion-JPEG AVI files, optionally with a PCM
// sound track (8-bit mono), which FFmpeg and any player decode.
#pragma once

#include <cstdint>
#include <vector>

#include "audio.h"
#include "raster.h"

namespace democontent {

std::vector<std::uint8_t> EncodeAvi(const std::vector<Image>& frames, int fps,
                                    const Samples& sound = {}, int soundRate = kEffectRate);

}  // namespace democontent
