// A picture in memory: 32-bit pixels 0x00RRGGBB, rows top to bottom, and an
// optional colour key. Plain memory, so pixel reads are cheap and never "lost".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vdx {

namespace platform {
struct Image;
}

struct Surface {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::optional<std::uint32_t> colorKey;  // 0x00RRGGBB; matched in the 5-6-5 space
  // Per row, the first and last column that is not the colour key (first >
  // last: none), so drawing can pass over the keyed margins. Empty when not
  // worked out (MarkDrawnColumns); it must be worked out again after the
  // pixels or the key change.
  struct DrawnColumns {
    std::int32_t first, last;
  };
  std::vector<DrawnColumns> drawnColumns;
  std::uint16_t drawnColumnsKey = 0;  // the 5-6-5 key they were worked out for

  std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Surface MakeSurface(int width, int height, std::uint32_t fill = 0);

// Works out the drawn columns of every row (nothing without a colour key).
void MarkDrawnColumns(Surface& surface);

// The first and the last pixel of `row` that differ from `key` in the bits of
// `mask`; first = row.size() and last = row.size() - 1 when none does. Rows of
// sprites are mostly margin, so whole groups of pixels are passed over at once.
Surface::DrawnColumns FindDrawnSpan(std::span<const std::uint32_t> row, std::uint32_t key,
                                    std::uint32_t mask);

// The bits of a pixel that its 5-6-5 form keeps (see To565).
inline constexpr std::uint32_t k565Bits = 0x00F8FCF8u;

// The picture scaled to the given size, nearest neighbour, like the original blitter.
Surface ScaledSurface(const platform::Image& image, int width, int height);

// A colour as the 16-bit 5-6-5 display would hold it; colour keys compare this,
// so near-black pixels of content drawn for that display vanish with a black key.
inline std::uint16_t To565(std::uint32_t rgb) {
  return static_cast<std::uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x07E0) |
                                    ((rgb >> 3) & 0x001F));
}

// A content colour (0x00BBGGRR, red in the low byte) as a pixel (0x00RRGGBB).
inline std::uint32_t ContentColourToPixel(std::int32_t bgr) {
  const auto v = static_cast<std::uint32_t>(bgr);
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

}  // namespace vdx
