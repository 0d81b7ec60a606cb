// Packed fighter frames (".VDP"): 4-byte runs of (length, red, green, blue),
// laid left to right from the bottom row up; the second run's colour is the
// frame's transparent colour.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "graphics/surface.h"
#include "platform/platform.h"

namespace vdx {

// The display value of a colour: the bit widths of the three fields follow the
// display's pixel format (8-8-8 above 16 bits; else 5-5-6, 5-6-5, 6-5-5 or 5-5-5
// by the masks), each field rounded halves to even.
std::uint32_t VdpPixelValue(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                            const platform::PixelFormat& format);

struct VdpReport {
  bool ragged = false;    // the length is not a multiple of 4: the last run was left out
  bool overflow = false;  // runs went past the top of the frame: they were not painted
  long uncovered = 0;     // pixels of the frame that no run reached (a file cut short)
};

// Paints the frame into `surface` (already Width x Height); every run is one
// rectangle fill. Our surfaces are 32-bit, so the 8-8-8 value is stored.
VdpReport UnpackVDPFrame(std::span<const std::uint8_t> bytes, Surface& surface, int height,
                         int width);

}  // namespace vdx
