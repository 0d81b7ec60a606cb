// Comparing rendered frames with reviewed golden PNGs in tests/fixtures/golden.
// Set VDX_UPDATE_GOLDENS=1 to write new goldens (then look at them before
// committing); a mismatch writes the frame into the run's picture folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "graphics/surface.h"
#include "platform/picture_files.h"

namespace vdx::testing {

// A folder of this test run for the pictures it writes for people to look at
// (frames that missed their golden, scenes): made once, under the system's
// temporary folder, and kept after the run. Never the current folder.
inline const std::filesystem::path& PictureFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "vdx-pictures-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return std::filesystem::temp_directory_path();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

inline ::testing::AssertionResult MatchesGolden(const Surface& frame, const std::string& name) {
  const std::string golden = std::string(VDX_FIXTURES_DIR) + "/golden/" + name + ".png";
  if (const char* update = std::getenv("VDX_UPDATE_GOLDENS");
      update && std::string(update) == "1") {
    if (!platform::WritePng(golden, frame.width, frame.height, frame.pixels))
      return ::testing::AssertionFailure() << "cannot write " << golden;
    return ::testing::AssertionSuccess() << "wrote " << golden;
  }
  const auto expected = platform::ReadPng(golden);
  const std::string actual = (PictureFolder() / (name + ".actual.png")).string();
  if (!expected) {
    platform::WritePng(actual, frame.width, frame.height, frame.pixels);
    return ::testing::AssertionFailure()
           << "no golden " << golden << "; the frame is in " << actual;
  }
  if (expected->width != frame.width || expected->height != frame.height)
    return ::testing::AssertionFailure()
           << "the golden is " << expected->width << " x " << expected->height;
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < frame.height; ++y)
    for (int x = 0; x < frame.width; ++x)
      if (expected->pixels[static_cast<std::size_t>(y) * frame.width + x] != frame.at(x, y)) {
        if (differing++ == 0) firstX = x, firstY = y;
      }
  if (differing == 0) return ::testing::AssertionSuccess();
  platform::WritePng(actual, frame.width, frame.height, frame.pixels);
  return ::testing::AssertionFailure()
         << differing << " pixels differ from " << golden << ", the first at (" << firstX << ", "
         << firstY << "); the frame is in " << actual;
}

}  // namespace vdx::testing
