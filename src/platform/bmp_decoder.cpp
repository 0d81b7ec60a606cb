#include "platform/bmp_decoder.h"

#include <SDL.h>

#include <cstring>

namespace vdx::platform {

std::optional<Image> DecodeBmp(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) return std::nullopt;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (rw == nullptr) return std::nullopt;
  SDL_Surface* loaded = SDL_LoadBMP_RW(rw, /*freesrc=*/1);
  if (loaded == nullptr) return std::nullopt;
  SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  if (rgb == nullptr) return std::nullopt;

  Image image;
  image.width = rgb->w;
  image.height = rgb->h;
  image.pixels.resize(static_cast<std::size_t>(rgb->w) * static_cast<std::size_t>(rgb->h));
  SDL_LockSurface(rgb);
  for (int y = 0; y < rgb->h; ++y) {
    const auto* row =
        static_cast<const std::uint8_t*>(rgb->pixels) + static_cast<std::ptrdiff_t>(y) * rgb->pitch;
    std::memcpy(&image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(rgb->w)], row,
                static_cast<std::size_t>(rgb->w) * 4);
  }
  SDL_UnlockSurface(rgb);
  SDL_FreeSurface(rgb);
  for (std::uint32_t& p : image.pixels)
    p &= 0x00FFFFFF;
  return image;
}

}  // namespace vdx::platform
