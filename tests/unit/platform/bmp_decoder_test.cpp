#include "platform/bmp_decoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vdx::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

struct Header {
  std::int32_t width = 0;
  std::int32_t height = 0;  // negative: rows top to bottom
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
};

// A bitmap with the 40-byte info header; `extra` goes between the header and the
// palette (the bit-field masks), `palette` is 0x00RRGGBB.
Bytes Bmp(const Header& h, const std::vector<std::uint32_t>& palette, const Bytes& data,
          const std::vector<std::uint32_t>& masks = {}) {
  const auto offset = static_cast<std::uint32_t>(14 + 40 + masks.size() * 4 + palette.size() * 4);
  Bytes out = {'B', 'M'};
  Put32(out, offset + static_cast<std::uint32_t>(data.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(h.width));
  Put32(out, static_cast<std::uint32_t>(h.height));
  Put16(out, 1);
  Put16(out, h.bits);
  Put32(out, h.compression);
  Put32(out, static_cast<std::uint32_t>(data.size()));
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, static_cast<std::uint32_t>(palette.size()));
  Put32(out, 0);
  for (std::uint32_t m : masks)
    Put32(out, m);
  for (std::uint32_t c : palette)
    Put32(out, c);  // stored blue, green, red, 0: the same bytes as 0x00RRGGBB little-endian
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

constexpr std::uint32_t kRle8 = 1, kRle4 = 2, kBitfields = 3;
const Bytes kEndOfBitmap = {0, 1};

using Pixels = std::vector<std::uint32_t>;

TEST(DecodeBmp, RefusesAHugePictureClaimedByAFewBytes) {
  // Run-length files hold no rows to check against the file's length: a few
  // bytes can claim any size, and SDL would build the whole picture first.
  const Bytes hugeRle8 = Bmp({16384, 16384, 8, kRle8}, {0, 0xFFFFFF}, kEndOfBitmap);
  EXPECT_LT(hugeRle8.size(), 100u);
  EXPECT_FALSE(DecodeBmp(hugeRle8)) << "16384 x 16384 from " << hugeRle8.size() << " bytes";
  EXPECT_FALSE(DecodeBmp(Bmp({16384, -16384, 4, kRle4}, {0, 0xFFFFFF}, kEndOfBitmap)));
  EXPECT_FALSE(DecodeBmp(Bmp({8193, 1, 8, kRle8}, {0}, kEndOfBitmap))) << "wider than 8192";
  EXPECT_FALSE(DecodeBmp(Bmp({1, 8193, 8, kRle8}, {0}, kEndOfBitmap))) << "taller than 8192";
  EXPECT_FALSE(DecodeBmp(Bmp({4097, 4096, 8, kRle8}, {0}, kEndOfBitmap)))
      << "more than 16 M pixels";

  // The largest picture still decodes: 8192 wide and 16 M pixels.
  const auto largest = DecodeBmp(Bmp({8192, 2048, 8, kRle8}, {0x123456}, kEndOfBitmap));
  ASSERT_TRUE(largest.has_value());
  EXPECT_EQ(largest->width, 8192);
  EXPECT_EQ(largest->height, 2048);
  EXPECT_EQ(largest->pixels.back(), 0x123456u) << "pixels no run paints take colour 0";
}

TEST(DecodeBmp, RefusesCompressionsItCannotDecode) {
  // A sound 2 x 2 24-bit picture under other compression codes: SDL would read
  // the bytes as plain rows and show noise.
  const Bytes rows = {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
  ASSERT_TRUE(DecodeBmp(Bmp({2, 2, 24, 0}, {}, rows))) << "the plain picture decodes";
  for (std::uint32_t code : {4u, 5u, 6u, 11u, 0xFFFFFFFFu})
    EXPECT_FALSE(DecodeBmp(Bmp({2, 2, 24, code}, {}, rows))) << "compression " << code;
  // Run-length codes belong to one depth each.
  EXPECT_FALSE(DecodeBmp(Bmp({2, 2, 24, kRle8}, {}, rows)));
  EXPECT_FALSE(DecodeBmp(Bmp({2, 2, 8, kRle4}, {0}, kEndOfBitmap)));
  EXPECT_FALSE(DecodeBmp(Bmp({2, 2, 4, kRle8}, {0}, kEndOfBitmap)));
}

TEST(DecodeBmp, DecodesTheVariantsTheGameReads) {
  {
    // RLE8, 4 x 2: the bottom row one run of red; the top row two black, two red.
    const auto image =
        DecodeBmp(Bmp({4, 2, 8, kRle8}, {0x000000, 0xFF0000}, {4, 1, 0, 0, 2, 0, 2, 1, 0, 1}));
    ASSERT_TRUE(image.has_value()) << "RLE8";
    EXPECT_EQ(image->pixels,
              (Pixels{0, 0, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}));
  }
  {
    // RLE4, 4 x 1: one run alternating colours 1 and 2.
    const auto image = DecodeBmp(Bmp({4, 1, 4, kRle4}, {0, 0x00FF00, 0x0000FF}, {4, 0x12, 0, 1}));
    ASSERT_TRUE(image.has_value()) << "RLE4";
    EXPECT_EQ(image->pixels, (Pixels{0x00FF00, 0x0000FF, 0x00FF00, 0x0000FF}));
  }
  {
    // 1 bit, 8 x 2, rows bottom-up, each padded to 4 bytes.
    const auto image = DecodeBmp(Bmp({8, 2, 1, 0}, {0, 0xFFFFFF}, {0xA5, 0, 0, 0, 0x0F, 0, 0, 0}));
    ASSERT_TRUE(image.has_value()) << "1 bit";
    const std::uint32_t k = 0, w = 0xFFFFFF;
    EXPECT_EQ(image->pixels, (Pixels{k, k, k, k, w, w, w, w, w, k, w, k, k, w, k, w}));
  }
  {
    const auto image = DecodeBmp(Bmp({3, 1, 4, 0}, {0, 0x112233, 0x445566}, {0x21, 0x00, 0, 0}));
    ASSERT_TRUE(image.has_value()) << "4 bits";
    EXPECT_EQ(image->pixels, (Pixels{0x445566, 0x112233, 0}));
  }
  {
    const auto image = DecodeBmp(Bmp({2, 1, 8, 0}, {0, 0xABCDEF}, {1, 0, 0, 0}));
    ASSERT_TRUE(image.has_value()) << "8 bits";
    EXPECT_EQ(image->pixels, (Pixels{0xABCDEF, 0}));
  }
  {
    // 16 bits with no masks are 5-5-5.
    const auto image = DecodeBmp(Bmp({2, 1, 16, 0}, {}, {0x00, 0x7C, 0xE0, 0x03}));
    ASSERT_TRUE(image.has_value()) << "16 bits";
    EXPECT_EQ(image->pixels, (Pixels{0xFF0000, 0x00FF00}));
  }
  {
    // Read as 5-5-5, 0xF800 would not be pure red.
    const auto image = DecodeBmp(
        Bmp({2, 1, 16, kBitfields}, {}, {0x00, 0xF8, 0x1F, 0x00}, {0xF800, 0x07E0, 0x001F}));
    ASSERT_TRUE(image.has_value()) << "16 bits 5-6-5";
    EXPECT_EQ(image->pixels, (Pixels{0xFF0000, 0x0000FF}));
  }
  {
    // 32 bits, top-down: the first row in the file is the top one.
    const auto image =
        DecodeBmp(Bmp({1, -2, 32, 0}, {}, {0x03, 0x02, 0x01, 0, 0x06, 0x05, 0x04, 0}));
    ASSERT_TRUE(image.has_value()) << "32 bits top-down";
    EXPECT_EQ(image->pixels, (Pixels{0x010203, 0x040506}));
  }
  {
    // The old OS/2 core header: 16-bit sizes, 3-byte palette entries.
    const Bytes core = {'B', 'M', 36, 0, 0, 0,    0, 0, 0, 0, 32, 0, 0, 0,  // file header
                        12,  0,   0,  0, 2, 0,    1, 0, 1, 0, 8,  0,        // core header
                        0,   0,   0,  0, 0, 0xFF,                           // palette: black, red
                        0,   1,   0,  0};
    const auto image = DecodeBmp(core);
    ASSERT_TRUE(image.has_value()) << "core header";
    EXPECT_EQ(image->pixels, (Pixels{0, 0xFF0000}));
  }
}

}  // namespace
}  // namespace vdx::platform
