#include "platform/bmp_decoder.h"

#include <SDL.h>

#include <cstring>

namespace vdx::platform {
namespace {

// The largest picture we decode. The game's biggest pictures are stage
// backgrounds (1280 wide in the demo) and sprite sheets (512 x 512); 8192 a side
// leaves room for wide panoramas and tall sheets. The pixel count matters more:
// a compressed file of a hundred bytes can claim any size, and SDL builds the
// whole picture before it reads a pixel, then we convert it once, so a header
// we let through can cost about three copies of it. 16 M pixels (64 MiB at
// 32 bits; 4096 x 4096 or 8192 x 2048) is twelve times a 1280 x 1024 stage.
constexpr std::int64_t kMaxSide = 8192;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 24;

// The compression values SDL's reader decodes. It reads any other value (JPEG,
// PNG, Huffman, alpha bit fields...) as if the rows were plain, which gives
// noise at best, so those files are refused.
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;

std::uint32_t Read32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}

std::uint16_t Read16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

// SDL trusts the header's size and bit depth; a damaged file could make it ask
// for gigabytes or read far past the data, so the header is checked first.
bool HeaderIsSound(std::span<const std::uint8_t> b) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return false;
  const std::uint32_t headerSize = Read32(b, 14);
  std::int64_t width = 0, height = 0;
  std::uint16_t bits = 0;
  std::uint32_t compression = 0;
  if (headerSize == 12) {
    width = Read16(b, 18);
    height = Read16(b, 20);
    bits = Read16(b, 24);
  } else if (headerSize >= 40 && b.size() >= 14 + 40) {
    width = static_cast<std::int32_t>(Read32(b, 18));
    height = static_cast<std::int32_t>(Read32(b, 22));
    bits = Read16(b, 28);
    compression = Read32(b, 30);
  } else {
    return false;
  }
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  if (width * height > kMaxPixels) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  // Run-length codes only exist for their own depth; SDL would lay 8-bit runs
  // byte by byte into a deeper picture.
  if (compression == kBiRle8) return bits == 8;
  if (compression == kBiRle4) return bits == 4;
  if (compression != kBiRgb && compression != kBiBitfields) return false;
  // Plain rows must all be in the file.
  const std::int64_t rowBytes = ((width * bits + 31) / 32) * 4;
  const std::int64_t dataOffset = Read32(b, 10);
  return dataOffset + rowBytes * height <= static_cast<std::int64_t>(b.size());
}

}  // namespace

std::optional<Image> DecodeBmp(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > static_cast<std::size_t>(INT32_MAX) || !HeaderIsSound(bytes))
    return std::nullopt;
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
