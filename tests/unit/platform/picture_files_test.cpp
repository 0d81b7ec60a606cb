#include "platform/picture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <span>
#include <string>

#include "platform/bmp_decoder.h"
#include "unit/fifo.h"
#include "unit/test_folder.h"

namespace vdx::platform {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::uint32_t Read32(const std::string& s, std::size_t at) {
  return std::uint32_t{static_cast<std::uint8_t>(s[at])} |
         std::uint32_t{static_cast<std::uint8_t>(s[at + 1])} << 8 |
         std::uint32_t{static_cast<std::uint8_t>(s[at + 2])} << 16 |
         std::uint32_t{static_cast<std::uint8_t>(s[at + 3])} << 24;
}

TEST(WriteBmp, WritesA24BitBottomUpBitmapThatReadsBack) {
  testing::TestFolder folder;
  // 3 x 2: rows of 9 bytes are padded to 12, so the padding is tested too.
  const std::vector<std::uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF,
                                             0x123456, 0xFFFFFF, 0x000001};
  const std::string path = (folder.path() / "p.bmp").string();
  ASSERT_TRUE(WriteBmp(path, 3, 2, pixels));
  const std::string file = folder.read("p.bmp");
  ASSERT_EQ(file.size(), 14u + 40u + 2 * 12u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(Read32(file, 2), file.size()) << "file size";
  EXPECT_EQ(Read32(file, 10), 54u) << "rows start after the headers";
  EXPECT_EQ(Read32(file, 22), 2u) << "a positive height: bottom row first";
  EXPECT_EQ(static_cast<std::uint8_t>(file[28]), 24) << "bits per pixel";
  EXPECT_EQ(Read32(file, 30), 0u) << "no compression";
  // The first row in the file is the bottom one, blue green red.
  EXPECT_EQ(static_cast<std::uint8_t>(file[54]), 0x56);
  EXPECT_EQ(static_cast<std::uint8_t>(file[55]), 0x34);
  EXPECT_EQ(static_cast<std::uint8_t>(file[56]), 0x12);

  const auto image = DecodeBmp(Bytes(file));
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 3);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->pixels, pixels);

  EXPECT_FALSE(WriteBmp(path, 4, 2, pixels)) << "fewer pixels than the size asks";
  EXPECT_FALSE(WriteBmp((folder.path() / "no" / "p.bmp").string(), 3, 2, pixels));
}

TEST(WritePicture, PicksTheFormatByTheName) {
  testing::TestFolder folder;
  const std::vector<std::uint32_t> pixels = {0x102030, 0x405060};
  ASSERT_TRUE(WritePicture((folder.path() / "a.PNG").string(), 2, 1, pixels));
  EXPECT_EQ(folder.read("a.PNG").substr(1, 3), "PNG");
  ASSERT_TRUE(WritePicture((folder.path() / "b.Bmp").string(), 2, 1, pixels));
  EXPECT_EQ(folder.read("b.Bmp").substr(0, 2), "BM");
  const auto png = ReadPng((folder.path() / "a.PNG").string());
  ASSERT_TRUE(png.has_value());
  EXPECT_EQ(png->pixels, pixels);

  EXPECT_FALSE(WritePicture((folder.path() / "c.jpg").string(), 2, 1, pixels));
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "c.jpg")) << "nothing written";
  EXPECT_EQ(PictureFormatOf("shots/x.bmp"), PictureFormat::Bmp);
  EXPECT_EQ(PictureFormatOf("x.png"), PictureFormat::Png);
  EXPECT_FALSE(PictureFormatOf("shots.png/x"));
  EXPECT_FALSE(PictureFormatOf("x.bmp.txt"));
  EXPECT_FALSE(PictureFormatOf("png"));
  EXPECT_FALSE(PictureFormatOf(".bmp")) << "no name before the ending";
}

TEST(ReadPng, NeverWaitsOnAPipe) {
  testing::TestFolder folder;
  const auto fifo = folder.path() / "golden.png";
  testing::MakeFifo(fifo);
  testing::ExpectNoWaitOnPipe(
      fifo, [&] { EXPECT_FALSE(ReadPng(fifo.string())); }, "ReadPng");
}

}  // namespace
}  // namespace vdx::platform
