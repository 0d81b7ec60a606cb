// Writes frames as picture files: the headless backend's screenshots (PNG or
// BMP, as the file's name asks) and the tests' PNG goldens.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/files.h"
#include "platform/platform.h"

namespace vdx::platform {

// Writes 0x00RRGGBB pixels as an 8-bit RGB PNG, whole (see WriteWholeFile);
// a failure says why.
WriteResult WritePng(const std::string& path, int width, int height,
                     std::span<const std::uint32_t> pixels);

// Reads an RGB or RGBA PNG back as 0x00RRGGBB pixels (alpha dropped).
std::optional<Image> ReadPng(const std::string& path);

// Writes 0x00RRGGBB pixels as a Windows bitmap: 24 bits, rows bottom-up, no
// compression, the form every viewer and our own DecodeBmp read.
WriteResult WriteBmp(const std::string& path, int width, int height,
                     std::span<const std::uint32_t> pixels);

enum class PictureFormat { Png, Bmp };

// The format a file name asks for by its ending (.png or .bmp, any letter case).
std::optional<PictureFormat> PictureFormatOf(std::string_view path);

// Writes the pixels in the format the name asks for; fails for any other name
// or when the file could not be written.
WriteResult WritePicture(const std::string& path, int width, int height,
                         std::span<const std::uint32_t> pixels);

}  // namespace vdx::platform
