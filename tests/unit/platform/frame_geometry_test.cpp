#include "platform/frame_geometry.h"

#include <gtest/gtest.h>

namespace vdx::platform {
namespace {

TEST(FrameGeometry, LetterboxKeepsTheFourToThreeShapeCentred) {
  struct Case {
    int w, h;
    FrameRect expected;
  };
  for (const Case& c : {
           Case{640, 480, {0, 0, 640, 480}}, Case{1280, 960, {0, 0, 1280, 960}},
           Case{1920, 1080, {240, 0, 1440, 1080}},  // bars left and right
           Case{800, 1000, {0, 200, 800, 600}},     // bars above and below
           Case{641, 480, {0, 0, 640, 480}},        // an odd pixel goes to the right bar
       }) {
    const FrameRect r = LetterboxRect(c.w, c.h);
    EXPECT_EQ(r.x, c.expected.x) << c.w << " x " << c.h;
    EXPECT_EQ(r.y, c.expected.y) << c.w << " x " << c.h;
    EXPECT_EQ(r.width, c.expected.width) << c.w << " x " << c.h;
    EXPECT_EQ(r.height, c.expected.height) << c.w << " x " << c.h;
  }
}

TEST(FrameGeometry, FindsTheFramePixelUnderAWindowPoint) {
  auto at = [](int x, int y, int ww, int wh, int ow, int oh) {
    const auto p = FramePixelAt(x, y, ww, wh, ow, oh);
    return p ? std::to_string(p->x) + "," + std::to_string(p->y) : std::string("none");
  };
  EXPECT_EQ(at(0, 0, 640, 480, 640, 480), "0,0");
  EXPECT_EQ(at(639, 479, 640, 480, 640, 480), "639,479");
  EXPECT_EQ(at(640, 10, 640, 480, 640, 480), "none") << "off the window";
  EXPECT_EQ(at(-1, 10, 640, 480, 640, 480), "none");
  // Twice the size: two window pixels a frame pixel.
  EXPECT_EQ(at(1279, 959, 1280, 960, 1280, 960), "639,479");
  EXPECT_EQ(at(101, 51, 1280, 960, 1280, 960), "50,25");
  // Wide: the bars are 240 pixels on each side.
  EXPECT_EQ(at(239, 500, 1920, 1080, 1920, 1080), "none") << "on the left bar";
  EXPECT_EQ(at(240, 0, 1920, 1080, 1920, 1080), "0,0");
  EXPECT_EQ(at(1679, 1079, 1920, 1080, 1920, 1080), "639,479");
  EXPECT_EQ(at(1680, 500, 1920, 1080, 1920, 1080), "none") << "on the right bar";
  // A high-density display: window units are two output pixels each.
  EXPECT_EQ(at(320, 240, 640, 480, 1280, 960), "320,240");
  EXPECT_EQ(at(10, 10, 0, 0, 640, 480), "none") << "a window of no size";
}

}  // namespace
}  // namespace vdx::platform
