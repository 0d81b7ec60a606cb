// Picture files of the demo folder: Windows bitmaps (8-bit RLE when the picture
// has few colours, else 24-bit), packed .VDP frames, PNG and JPEG.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "raster.h"

namespace democontent {

std::vector<std::uint8_t> EncodeBmp(const Image& image);
// Packed frame: 4-byte runs (length, red, green, blue), bottom row first, the
// whole bottom row (and so the first two runs) in the transparent colour.
std::vector<std::uint8_t> EncodeVdp(const Image& image);
std::vector<std::uint8_t> EncodePng(const Image& image);
std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality);

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
void WriteFile(const std::filesystem::path& path, const std::string& text);

}  // namespace democontent
