#include "platform/frame_geometry.h"

#include <cstdint>

#include "platform/platform.h"

namespace vdx::platform {

FrameRect LetterboxRect(int outputWidth, int outputHeight) {
  int width = outputWidth;
  int height = outputHeight;
  if (std::int64_t{width} * kFrameHeight > std::int64_t{height} * kFrameWidth)
    width = static_cast<int>(std::int64_t{height} * kFrameWidth / kFrameHeight);
  else
    height = static_cast<int>(std::int64_t{width} * kFrameHeight / kFrameWidth);
  return FrameRect{(outputWidth - width) / 2, (outputHeight - height) / 2, width, height};
}

std::optional<FramePixel> FramePixelAt(int x, int y, int windowWidth, int windowHeight,
                                       int outputWidth, int outputHeight) {
  if (windowWidth <= 0 || windowHeight <= 0 || outputWidth <= 0 || outputHeight <= 0)
    return std::nullopt;
  if (x < 0 || y < 0 || x >= windowWidth || y >= windowHeight) return std::nullopt;
  const FrameRect frame = LetterboxRect(outputWidth, outputHeight);
  if (frame.width <= 0 || frame.height <= 0) return std::nullopt;
  // The pixel of the output under the point, then its place in the frame.
  const std::int64_t px = std::int64_t{x} * outputWidth / windowWidth - frame.x;
  const std::int64_t py = std::int64_t{y} * outputHeight / windowHeight - frame.y;
  if (px < 0 || py < 0 || px >= frame.width || py >= frame.height) return std::nullopt;
  return FramePixel{static_cast<int>(px * kFrameWidth / frame.width),
                    static_cast<int>(py * kFrameHeight / frame.height)};
}

}  // namespace vdx::platform
