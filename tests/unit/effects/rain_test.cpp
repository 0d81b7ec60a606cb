#include "effects/rain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <type_traits>

#include "effects/snow.h"
#include "effects/weather_drawing.h"

namespace vdx {
namespace {

constexpr std::uint32_t kT = 50000;

// A value's bytes, to show that something left it as it was.
template <typename T>
std::array<unsigned char, sizeof(T)> Bytes(const T& value) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::array<unsigned char, sizeof(T)> bytes{};
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

TEST(Rain, InitFillsDropsZeroToTheCountInclusiveAndCapsTheCountAtTheArray) {
  RandomGenerator random(7);
  auto rain = std::make_unique<clsRain>();
  rain->Init(400, 2.0f, random, kT);
  EXPECT_EQ(rain->nRainDrops(), 400) << "401 drops, 0 to 400";
  EXPECT_EQ(rain->CTick, kT);
  EXPECT_EQ(rain->Wind, 2.0f);
  for (int i = 0; i <= 400; ++i) {
    const RainDrop& d = rain->drop(i);
    ASSERT_EQ(d.state, 1) << i;
    EXPECT_GE(d.x, 0);
    EXPECT_LT(d.x, 1280);
    EXPECT_EQ(d.x, static_cast<float>(static_cast<int>(d.x))) << "whole pixels";
    EXPECT_GE(d.y, 0);
    EXPECT_LT(d.y, 480);
    EXPECT_GE(d.speed, 50);
    EXPECT_LT(d.speed, 100);
    EXPECT_GE(d.length, 1);
    EXPECT_LE(d.length, 10);
    EXPECT_GE(d.ground, 0);
    EXPECT_LT(d.ground, 480);
    EXPECT_EQ(d.splash, 0);
  }
  // The generator took five draws a drop, and nothing else.
  RandomGenerator same(7);
  for (int i = 0; i < 5 * 401; ++i)
    same.Uniform();
  EXPECT_EQ(random.state(), same.state());

  rain->Init(5000, 2.0f, random, kT);
  EXPECT_EQ(rain->nRainDrops(), clsRain::kMaxDrop) << "never more than the array holds";
  rain->Init(-3, 2.0f, random, kT);
  EXPECT_EQ(rain->nRainDrops(), -1) << "no rain";
  rain->Update(random, kT + 300);
}

TEST(Rain, DropsFallAndDriftByTheTimePassedThenSplashAndStartAgainNearTheTop) {
  RandomGenerator random(3);
  auto rain = std::make_unique<clsRain>();
  rain->Init(2, 2.0f, random, kT);
  RainDrop& d = rain->drop(0);
  d = RainDrop{1, 100, 10, 5, 60, 400, 0};
  RainDrop& high = rain->drop(1);
  high = RainDrop{1, 200, 300, 5, 60, 100, 0};  // its ground above it
  const std::uint64_t before = random.state();
  rain->Update(random, kT);
  EXPECT_EQ(d.y, 10) << "nothing moves within the same millisecond";
  rain->Update(random, kT + 150);  // half a time step
  EXPECT_FLOAT_EQ(d.x, 101);
  EXPECT_FLOAT_EQ(d.y, 40);
  EXPECT_EQ(d.state, 1);
  EXPECT_EQ(high.state, 2) << "splashes on its first update";
  EXPECT_EQ(random.state(), before) << "falling and splashing draw nothing";
  EXPECT_EQ(rain->CTick, kT + 150);
  rain->Update(random, kT + 450);  // one step: splash 0 + 4 x 1
  EXPECT_EQ(high.state, 0) << "the splash has spread";
  rain->Update(random, kT + 451);
  EXPECT_EQ(high.state, 1) << "started again";
  EXPECT_LT(high.y, 50) << "near the top";
  EXPECT_EQ(high.splash, 0);
  EXPECT_NE(random.state(), before);
}

TEST(Rain, FallingDropsAreDrawnWhereTheCameraSeesThemAndASplashOfNothingIsNot) {
  RandomGenerator random(3);
  auto rain = std::make_unique<clsRain>();
  rain->Init(3, 0, random, kT);
  auto picture = std::make_shared<Surface>(MakeSurface(2, 16, 0x00C0D0F0u));
  picture->colorKey = 0;
  MarkDrawnColumns(*picture);
  rain->drop(0) = RainDrop{1, 700, 100, 3, 60, 470, 0};  // on screen at camera 320
  rain->drop(1) = RainDrop{1, 100, 100, 3, 60, 470, 0};  // left of the view
  rain->drop(2) = RainDrop{2, 500, 300, 3, 60, 300, 0};  // a splash just begun: size 0
  rain->drop(3) = RainDrop{2, 600, 300, 3, 60, 300, 2};  // size round(2 / 3.14 x 16) = 10
  Surface target = MakeSurface(640, 480);
  const auto before = Bytes(*rain);
  DrawRain(*rain, target, picture.get(), 320);
  EXPECT_EQ(Bytes(*rain), before) << "drawing changes nothing";
  const auto lit = [&](int x0, int x1, int y0, int y1) {
    long n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x)
        n += target.at(x, y) != 0;
    return n;
  };
  // The renderer maps a piece's texels across its drawn size, so a streak two
  // texels wide may come out one pixel wide: what counts is where it is.
  const long streak = lit(380, 382, 100, 110);
  EXPECT_GT(streak, 4) << "a streak of 4 + 2 x 3 rows at x 700 - 320";
  EXPECT_EQ(lit(0, 640, 0, 200), streak) << "the drop at x 100 is off screen";
  EXPECT_EQ(lit(175, 185, 299, 303), 0) << "a splash of size 0 draws nothing";
  EXPECT_EQ(SplashSize(2), 10);
  const long splash = lit(275, 285, 300, 302);
  EXPECT_GT(splash, 5) << "10 wide, 2 high, centred on its x";
  EXPECT_EQ(lit(0, 640, 0, 480), streak + splash) << "nothing anywhere else";
  Surface scalar = MakeSurface(640, 480);
  DrawRain(*rain, scalar, picture.get(), 320, RasterPath::Scalar);
  EXPECT_EQ(scalar.pixels, target.pixels);
  Surface none = MakeSurface(640, 480);
  DrawRain(*rain, none, nullptr, 320);
  EXPECT_EQ(none.pixels, MakeSurface(640, 480).pixels) << "no picture, no rain";
}

TEST(Snow, FlakesFallSwayAndStartAgainAboveTheScreenWithTheCameraCarryingThem) {
  RandomGenerator random(5);
  Snow snow;
  InitSnow(snow, random, 1280);
  for (const SnowFlake& f : snow.flakes) {
    EXPECT_GE(f.x, 0);
    EXPECT_LT(f.x, 1280);
    EXPECT_GE(f.fall, 0.6f);
    EXPECT_LE(f.fall, 1.8f);
    EXPECT_GE(f.kind, 0);
    EXPECT_LE(f.kind, 2);
  }
  SnowPictures pictures;
  for (int k = 0; k < 3; ++k) {
    auto s = std::make_shared<Surface>(MakeSurface(6 + 2 * k, 6 + 2 * k, 0x00FFFFFFu));
    s->colorKey = 0;
    MarkDrawnColumns(*s);
    pictures[static_cast<std::size_t>(k)] = s;
  }
  snow.flakes[0] = SnowFlake{700, 479.5f, 1, 0, 0};
  snow.flakes[1] = SnowFlake{400, 100, 1, 0, 1};
  StepSnow(snow, pictures, random);
  EXPECT_EQ(snow.flakes[0].y, -6) << "fallen past the bottom: above the screen by its height";
  EXPECT_EQ(snow.flakes[1].y, 101);
  Surface target = MakeSurface(640, 480);
  const auto before = Bytes(snow);
  DrawSnow(snow, pictures, target, 320);
  EXPECT_EQ(Bytes(snow), before) << "drawing changes nothing";
  // Flake 1 is at stage x 400 + sway, on screen at about 80.
  long near = 0;
  for (int y = 101; y < 109; ++y)
    for (int x = 70; x < 100; ++x)
      near += target.at(x, y) != 0;
  EXPECT_GT(near, 0);
  Surface scalar = MakeSurface(640, 480);
  DrawSnow(snow, pictures, scalar, 320, RasterPath::Scalar);
  EXPECT_EQ(scalar.pixels, target.pixels);
  Surface none = MakeSurface(640, 480);
  DrawSnow(snow, SnowPictures{}, none, 320);
  EXPECT_EQ(std::count(none.pixels.begin(), none.pixels.end(), 0u), 640 * 480)
      << "without pictures nothing is drawn";
  // Without its picture a flake starts again 8 above the screen.
  snow.flakes[2] = SnowFlake{10, 479.5f, 1, 0, 2};
  StepSnow(snow, SnowPictures{}, random);
  EXPECT_EQ(snow.flakes[2].y, -8);
}

}  // namespace
}  // namespace vdx
