// Windows bitmap decoding shared by both backends (SDL's reader needs no window).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/platform.h"

namespace vdx::platform {

std::optional<Image> DecodeBmp(std::span<const std::uint8_t> bytes);

}  // namespace vdx::platform
