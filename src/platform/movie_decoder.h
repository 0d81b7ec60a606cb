// Movie decoding with FFmpeg (libavformat, libavcodec, libswscale), shared by
// both backends so that scripts and tests see the same frames as players.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace vdx::platform {

std::unique_ptr<Movie> OpenMovieFile(const std::string& path);

}  // namespace vdx::platform
