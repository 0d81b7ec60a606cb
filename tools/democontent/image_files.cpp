#include "image_files.h"

#include "little_endian.h"

#include <fstream>
#include <map>
#include <stdexcept>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb/stb_image_write.h>

namespace democontent {
namespace {


std::vector<std::uint8_t> Header(const Image& img, int bits, std::uint32_t compression,
                                 std::uint32_t paletteSize, std::uint32_t dataSize) {
  std::vector<std::uint8_t> out;
  const std::uint32_t offset = 14 + 40 + paletteSize * 4;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + dataSize);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(img.width));
  Put32(out, static_cast<std::uint32_t>(img.height));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, compression);
  Put32(out, dataSize);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, paletteSize);
  Put32(out, 0);
  return out;
}

std::vector<std::uint8_t> EncodeBmp24(const Image& img) {
  const int rowBytes = (img.width * 3 + 3) / 4 * 4;
  auto out = Header(img, 24, 0, 0, static_cast<std::uint32_t>(rowBytes * img.height));
  for (int y = img.height - 1; y >= 0; --y) {
    for (int x = 0; x < img.width; ++x) {
      const Rgb c = img.at(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (int p = img.width * 3; p < rowBytes; ++p)
      out.push_back(0);
  }
  return out;
}

std::uint32_t Key(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Image& img) {
  std::map<std::uint32_t, std::uint8_t> palette;
  for (const Rgb& c : img.pixels) {
    if (palette.size() > 256) break;
    palette.emplace(Key(c), 0);
  }
  if (palette.size() > 256) return EncodeBmp24(img);
  std::uint8_t index = 0;
  for (auto& [colour, i] : palette)
    i = index++;

  // RLE8 in encoded mode only: (count, index) pairs, end of line, end of bitmap.
  std::vector<std::uint8_t> data;
  for (int y = img.height - 1; y >= 0; --y) {
    int x = 0;
    while (x < img.width) {
      const std::uint8_t i = palette[Key(img.at(x, y))];
      int n = 1;
      while (x + n < img.width && n < 255 && palette[Key(img.at(x + n, y))] == i)
        ++n;
      data.push_back(static_cast<std::uint8_t>(n));
      data.push_back(i);
      x += n;
    }
    data.push_back(0);
    data.push_back(y == 0 ? 1 : 0);
  }
  auto out = Header(img, 8, 1, static_cast<std::uint32_t>(palette.size()),
                    static_cast<std::uint32_t>(data.size()));
  for (const auto& [colour, i] : palette) {
    out.push_back(colour & 0xFF);
    out.push_back((colour >> 8) & 0xFF);
    out.push_back((colour >> 16) & 0xFF);
    out.push_back(0);
  }
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

std::vector<std::uint8_t> EncodeVdp(const Image& img) {
  std::vector<std::uint8_t> out;
  // Runs stay within a row; a black bottom row gives two black runs first, and
  // the second run's colour is what the reader takes as transparent.
  for (int y = img.height - 1; y >= 0; --y) {
    int x = 0;
    while (x < img.width) {
      const Rgb c = img.at(x, y);
      int n = 1;
      while (x + n < img.width && n < 255 && img.at(x + n, y) == c)
        ++n;
      out.push_back(static_cast<std::uint8_t>(n));
      out.push_back(c.r);
      out.push_back(c.g);
      out.push_back(c.b);
      x += n;
    }
  }
  return out;
}

namespace {
void Collect(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(context);
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}
}  // namespace

std::vector<std::uint8_t> EncodePng(const Image& img) {
  std::vector<std::uint8_t> out;
  stbi_write_png_to_func(Collect, &out, img.width, img.height, 3, img.pixels.data(), img.width * 3);
  return out;
}

std::vector<std::uint8_t> EncodeJpeg(const Image& img, int quality) {
  std::vector<std::uint8_t> out;
  stbi_write_jpg_to_func(Collect, &out, img.width, img.height, 3, img.pixels.data(), quality);
  return out;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  WriteFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace democontent
