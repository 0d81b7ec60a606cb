#include "image_files.h"

#include <gtest/gtest.h>

#include "platform/bmp_decoder.h"

namespace democontent {
namespace {

Image Sample(int w, int h, int colours) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int i = (x / 3 + y * 7) % colours;
      img.at(x, y) = i == 0
                         ? Rgb{}
                         : Rgb{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(i * 11),
                               static_cast<std::uint8_t>(255 - i)};
    }
  return img;
}

void ExpectSame(const Image& img, const vdx::platform::Image& decoded) {
  ASSERT_EQ(decoded.width, img.width);
  ASSERT_EQ(decoded.height, img.height);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const Rgb c = img.at(x, y);
      const std::uint32_t want = (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
      ASSERT_EQ(decoded.pixels[static_cast<std::size_t>(y) * img.width + x], want)
          << "pixel " << x << "," << y;
    }
}

TEST(DemoBitmaps, FewColoursPackAsRle8AndReadBackExactly) {
  const Image img = Sample(300, 37, 40);  // rows of odd length, runs over 255
  const auto bytes = EncodeBmp(img);
  EXPECT_EQ(bytes[28], 8) << "8 bits per pixel";
  EXPECT_EQ(bytes[30], 1) << "RLE8";
  const auto decoded = vdx::platform::DecodeBmp(bytes);
  ASSERT_TRUE(decoded.has_value());
  ExpectSame(img, *decoded);
  EXPECT_LT(bytes.size(), std::size_t(300 * 37)) << "smaller than the raw 8-bit picture";
}

TEST(DemoBitmaps, ManyColoursStay24Bit) {
  Image img(20, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      img.at(x, y) = Rgb{static_cast<std::uint8_t>(x * 12), static_cast<std::uint8_t>(y * 12), 7};
  const auto bytes = EncodeBmp(img);
  EXPECT_EQ(bytes[28], 24);
  const auto decoded = vdx::platform::DecodeBmp(bytes);
  ASSERT_TRUE(decoded.has_value());
  ExpectSame(img, *decoded);
}

TEST(DemoPackedFrames, RunsCoverTheFrameAndStartTransparent) {
  Image img(256, 256);
  for (int y = 40; y < 200; ++y)
    for (int x = 100; x < 160; ++x)
      img.at(x, y) = Rgb{200, 30, 40};
  const auto bytes = EncodeVdp(img);
  ASSERT_EQ(bytes.size() % 4, 0u);
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(bytes[5], 0);
  EXPECT_EQ(bytes[6], 0);
  EXPECT_EQ(bytes[7], 0) << "the second run is the transparent colour";
  std::size_t pixels = 0;
  for (std::size_t i = 0; i < bytes.size(); i += 4) {
    EXPECT_GE(bytes[i], 1);
    pixels += bytes[i];
  }
  EXPECT_EQ(pixels, 256u * 256u);
}

}  // namespace
}  // namespace democontent
