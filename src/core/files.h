// Whole-file reads and writes. Files the game writes are written to a temporary
// file in the same folder and renamed over the old one, so a crash or a full
// disk never leaves half a file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vdx {

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path);
bool WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace vdx
