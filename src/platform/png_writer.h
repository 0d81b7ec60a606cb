// Writes frames as PNG files: the headless backend's captures and the tests' goldens.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/platform.h"

namespace vdx::platform {

// Writes 0x00RRGGBB pixels as an 8-bit RGB PNG; false when the file could not be written.
bool WritePng(const std::string& path, int width, int height,
              std::span<const std::uint32_t> pixels);

// Reads an RGB or RGBA PNG back as 0x00RRGGBB pixels (alpha dropped).
std::optional<Image> ReadPng(const std::string& path);

}  // namespace vdx::platform
