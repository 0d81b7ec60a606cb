#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/surface.h"
#include "platform/bmp_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (auto image = vdx::platform::DecodeBmp(std::span(data, size))) {
    // Scaling reads every row the decoder claims to have.
    const vdx::Surface scaled = vdx::ScaledSurface(*image, 64, 48);
    (void)scaled;
  }
  return 0;
}
