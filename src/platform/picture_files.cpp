#include "platform/picture_files.h"

#include <png.h>

#include <cctype>
#include <string_view>
#include <vector>

#include "core/files.h"

namespace vdx::platform {
namespace {

bool PixelsFit(int width, int height, std::span<const std::uint32_t> pixels) {
  return width > 0 && height > 0 &&
         pixels.size() >= static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

bool EndsWithNoCase(std::string_view s, std::string_view ending) {
  if (s.size() < ending.size()) return false;
  s.remove_prefix(s.size() - ending.size());
  for (std::size_t i = 0; i < s.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != ending[i]) return false;
  return true;
}

// Pictures are written whole, like every file the game writes: a screenshot
// cut short by a full disk never replaces a good one.
WriteResult WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  return WriteWholeFile(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

WriteResult NotEncoded(const std::string& path, std::string_view why) {
  return WriteResult{false, false, "encode " + path + ": " + std::string(why)};
}

}  // namespace

WriteResult WritePng(const std::string& path, int width, int height,
                     std::span<const std::uint32_t> pixels) {
  if (!PixelsFit(width, height, pixels)) return NotEncoded(path, "fewer pixels than the size");
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    rgb[i * 3 + 0] = static_cast<std::uint8_t>(pixels[i] >> 16);
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(pixels[i]);
  }
  // The first call measures, the second encodes.
  png_alloc_size_t size = 0;
  if (png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return NotEncoded(path, "the PNG encoder failed");
  }
  std::vector<std::uint8_t> encoded(size);
  const bool ok =
      png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr) != 0;
  png_image_free(&image);
  if (!ok) return NotEncoded(path, "the PNG encoder failed");
  encoded.resize(size);
  return WriteBytes(path, encoded);
}

std::optional<Image> ReadPng(const std::string& path) {
  // Read by us first: only a regular file, never a pipe that would block.
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, bytes->data(), bytes->size()) == 0)
    return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return std::nullopt;
  }
  Image out;
  out.width = static_cast<int>(image.width);
  out.height = static_cast<int>(image.height);
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  for (std::size_t i = 0; i < out.pixels.size(); ++i)
    out.pixels[i] =
        (std::uint32_t{rgb[i * 3]} << 16) | (std::uint32_t{rgb[i * 3 + 1]} << 8) | rgb[i * 3 + 2];
  return out;
}

WriteResult WriteBmp(const std::string& path, int width, int height,
                     std::span<const std::uint32_t> pixels) {
  if (!PixelsFit(width, height, pixels)) return NotEncoded(path, "fewer pixels than the size");
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * 3 + 3) / 4 * 4;
  const std::uint64_t dataBytes = rowBytes * static_cast<std::uint64_t>(height);
  constexpr std::uint32_t kHeaderBytes = 14 + 40;
  // The file's size is a 32-bit field.
  if (dataBytes > UINT32_MAX - kHeaderBytes) return NotEncoded(path, "too large for a bitmap");

  std::vector<std::uint8_t> out;
  out.reserve(kHeaderBytes + dataBytes);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<std::uint32_t>(kHeaderBytes + dataBytes));
  Put32(out, 0);             // reserved
  Put32(out, kHeaderBytes);  // where the rows start
  Put32(out, 40);            // info header size
  Put32(out, static_cast<std::uint32_t>(width));
  Put32(out, static_cast<std::uint32_t>(height));  // positive: bottom row first
  Put16(out, 1);                                   // planes
  Put16(out, 24);                                  // bits per pixel
  Put32(out, 0);                                   // no compression
  Put32(out, static_cast<std::uint32_t>(dataBytes));
  Put32(out, 2835);  // 72 dots per inch, in dots per metre
  Put32(out, 2835);
  Put32(out, 0);  // no palette
  Put32(out, 0);
  for (int y = height - 1; y >= 0; --y) {
    const std::uint32_t* row =
        &pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)];
    for (int x = 0; x < width; ++x) {
      out.push_back(static_cast<std::uint8_t>(row[x]));        // blue
      out.push_back(static_cast<std::uint8_t>(row[x] >> 8));   // green
      out.push_back(static_cast<std::uint8_t>(row[x] >> 16));  // red
    }
    for (std::uint64_t pad = static_cast<std::uint64_t>(width) * 3; pad < rowBytes; ++pad)
      out.push_back(0);
  }

  return WriteBytes(path, out);
}

std::optional<PictureFormat> PictureFormatOf(std::string_view path) {
  // Only the file's own name counts, not a folder called "shots.png/".
  if (const auto slash = path.find_last_of('/'); slash != std::string_view::npos)
    path.remove_prefix(slash + 1);
  if (path.size() > 4 && EndsWithNoCase(path, ".png")) return PictureFormat::Png;
  if (path.size() > 4 && EndsWithNoCase(path, ".bmp")) return PictureFormat::Bmp;
  return std::nullopt;
}

WriteResult WritePicture(const std::string& path, int width, int height,
                         std::span<const std::uint32_t> pixels) {
  const auto format = PictureFormatOf(path);
  if (!format) return NotEncoded(path, "the name ends in neither .png nor .bmp");
  return *format == PictureFormat::Png ? WritePng(path, width, height, pixels)
                                       : WriteBmp(path, width, height, pixels);
}

}  // namespace vdx::platform
