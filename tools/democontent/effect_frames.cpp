#include "effect_frames.h"

#include <algorithm>
#include <cmath>

namespace democontent {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Flame(Image& img, Rgb colour, int k) {
  const double w = img.width, h = img.height;
  // A hot core with a tail of licking flames behind it.
  for (int i = 0; i < 7; ++i) {
    const double t = i / 6.0;
    const double x = w * (0.72 - 0.55 * t);
    const double y = h * 0.5 + std::sin(k * 1.7 + i * 1.3) * h * 0.12 * t;
    Glow(img, {x, y}, h * (0.42 - 0.25 * t), colour, 1.1 - 0.6 * t);
  }
  Glow(img, {w * 0.72, h * 0.5}, h * 0.3, Rgb{255, 240, 200}, 1.0);
  FillCircle(img, {w * 0.74, h * 0.5}, h * 0.14, Rgb{255, 252, 235});
}

void Burst(Image& img, Rgb colour, int k, int frames) {
  const double c = img.width / 2.0, t = (k + 1.0) / frames;
  Glow(img, {c, c}, c * (0.3 + 0.7 * t), colour, 1.2 - 0.6 * t);
  for (int i = 0; i < 10; ++i) {
    const double a = 2 * kPi * i / 10 + k * 0.2;
    const Vec p = Vec{c, c} + Vec{std::cos(a), std::sin(a)} * (c * (0.25 + 0.6 * t));
    Glow(img, p, c * 0.18, Rgb{255, 255, 220}, 1.0 - 0.5 * t);
  }
}

void Ring(Image& img, Rgb colour, int k) {
  const double c = img.width / 2.0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c;
      const double r = std::sqrt(dx * dx + dy * dy) / c;
      const double a = std::atan2(dy, dx);
      // A ring with eight bright spokes; the effect's rotation turns it.
      const double ring = std::exp(-std::pow((r - 0.72) / 0.08, 2));
      const double spokes =
          std::pow(std::max(0.0, std::cos(8 * a + k * 0.6)), 6) * std::max(0.0, 1 - r) * 0.8;
      const double v = std::clamp(ring + spokes, 0.0, 1.0);
      if (v > 0.02) img.add(x, y, colour, v);
    }
}

void Star(Image& img, Rgb colour, int k) {
  const double c = img.width / 2.0;
  std::vector<Vec> pts;
  for (int i = 0; i < 8; ++i) {
    const double a = kPi * i / 4 + k * kPi / 16;
    const double r = (i % 2 == 0) ? c * 0.92 : c * 0.3;
    pts.push_back({c + std::cos(a) * r, c + std::sin(a) * r});
  }
  Glow(img, {c, c}, c, Rgb{40, 120, 140}, 0.8);
  FillPolygon(img, pts, kOutline);
  std::vector<Vec> inner;
  for (const Vec& p : pts)
    inner.push_back(Vec{c, c} + (p - Vec{c, c}) * 0.86);
  FillPolygon(img, inner, colour);
  FillCircle(img, {c, c}, c * 0.12, kOutline);
}

void Rock(Image& img, Rgb colour, int k) {
  const double c = img.width / 2.0;
  Random rnd(77);
  std::vector<Vec> pts;
  for (int i = 0; i < 11; ++i) {
    const double a = 2 * kPi * i / 11 + k * 0.1;
    pts.push_back(
        {c + std::cos(a) * c * rnd.range(0.75, 0.95), c + std::sin(a) * c * rnd.range(0.75, 0.95)});
  }
  FillPolygon(img, pts, kOutline);
  std::vector<Vec> inner;
  for (const Vec& p : pts)
    inner.push_back(Vec{c, c} + (p - Vec{c, c}) * 0.9);
  FillPolygon(img, inner, colour);
  // Light from the upper left, cracks.
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (img.at(x, y) == colour)
        img.at(x, y) = Shade(colour, std::clamp(0.8 - (x + y - c) / (2.5 * c), 0.1, 1.0));
  Capsule(img, {c - 10, c - 6}, {c + 4, c + 2}, 1, 1, kOutline, 0);
  Capsule(img, {c + 4, c + 2}, {c + 8, c + 14}, 1, 1, kOutline, 0);
}

void Dust(Image& img, Rgb colour, int k, int frames) {
  const double c = img.width / 2.0, t = (k + 1.0) / frames;
  Random rnd(5 + k);
  for (int i = 0; i < 9; ++i) {
    const double a = 2 * kPi * i / 9;
    const Vec p = Vec{c, c * 1.2} + Vec{std::cos(a) * c * 0.6 * t, std::sin(a) * c * 0.3 * t};
    FillCircle(img, p, c * (0.2 + 0.2 * t) * rnd.range(0.8, 1.2), Scale(colour, 0.9 - 0.3 * t));
  }
}

void Bubble(Image& img, Rgb colour, int k) {
  const double c = img.width / 2.0;
  const double r = c * (0.9 + 0.04 * std::sin(k * 1.6));
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double dx = x + 0.5 - c, dy = y + 0.5 - c;
      const double d = std::sqrt(dx * dx + dy * dy) / r;
      if (d > 1) continue;
      // Bright rim, clear middle.
      img.add(x, y, colour, std::pow(d, 6) * 0.9 + 0.08);
    }
  Glow(img, {c - r * 0.4, c - r * 0.4}, r * 0.3, Rgb{255, 255, 255}, 0.9);
}

void Splash(Image& img, Rgb colour, int k, int frames) {
  const double c = img.width / 2.0, t = (k + 1.0) / frames;
  for (int i = 0; i < 12; ++i) {
    const double a = 2 * kPi * i / 12;
    const Vec from = Vec{c, c} + Vec{std::cos(a), std::sin(a)} * (c * 0.2 * t);
    const Vec to = Vec{c, c} + Vec{std::cos(a), std::sin(a)} * (c * (0.3 + 0.6 * t));
    Capsule(img, from, to, 3 * (1 - t) + 1, 1, colour, 0);
  }
  Glow(img, {c, c}, c * 0.5, colour, 0.8 * (1 - t));
}

}  // namespace

Image RenderEffectFrame(const EffectSpec& e, int k) {
  Image img(e.width, e.height);
  switch (e.look) {
    case EffectSpec::Look::Flame:
      Flame(img, e.colour, k);
      break;
    case EffectSpec::Look::Burst:
      Burst(img, e.colour, k, e.frames);
      break;
    case EffectSpec::Look::Ring:
      Ring(img, e.colour, k);
      break;
    case EffectSpec::Look::Star:
      Star(img, e.colour, k);
      break;
    case EffectSpec::Look::Rock:
      Rock(img, e.colour, k);
      break;
    case EffectSpec::Look::Dust:
      Dust(img, e.colour, k, e.frames);
      break;
    case EffectSpec::Look::Bubble:
      Bubble(img, e.colour, k);
      break;
    case EffectSpec::Look::Splash:
      Splash(img, e.colour, k, e.frames);
      break;
  }
  return img;
}

// A spark is drawn blended over the fight, so it has no dark glow at its rim:
// a bright four-pointed star on the black that is left out.
Image SparkPicture() {
  Image img(16, 16);
  FillPolygon(img, {{8, 0.5}, {9.3, 6.7}, {15.5, 8}, {9.3, 9.3}, {8, 15.5}, {6.7, 9.3}, {0.5, 8},
                    {6.7, 6.7}},
              Rgb{255, 214, 90});
  FillCircle(img, {8, 8}, 2.6, Rgb{255, 240, 150});
  FillCircle(img, {8, 8}, 1.4, Rgb{255, 255, 245});
  return img;
}

Image FlashPicture() {
  Image img(64, 64);
  Glow(img, {32, 32}, 32, Rgb{255, 255, 255}, 1.3);
  for (int i = 0; i < 4; ++i) {
    const double a = kPi * i / 4;
    Capsule(img, Vec{32, 32} + Vec{std::cos(a), std::sin(a)} * 30,
            Vec{32, 32} - Vec{std::cos(a), std::sin(a)} * 30, 1.5, 1.5, Rgb{255, 255, 255}, 0);
  }
  return img;
}

Image BubblePicture() {
  EffectSpec e;
  e.width = e.height = 32;
  e.look = EffectSpec::Look::Bubble;
  e.colour = Hex(0x90E8FF);
  return RenderEffectFrame(e, 0);
}

Image SnowPicture(int n) {
  const int size = 4 + 2 * n;
  Image img(size, size);
  Glow(img, {size / 2.0, size / 2.0}, size / 2.0, Rgb{255, 255, 255}, 1.6);
  return img;
}

Image RainPicture() {
  Image img(2, 16);
  for (int y = 0; y < 16; ++y) {
    const Rgb c = Mix(Rgb{60, 70, 90}, Rgb{190, 210, 240}, y / 15.0);
    img.at(0, y) = img.at(1, y) = c;
  }
  return img;
}

Image BallPicture() {
  Image img(40, 40);
  Ball(img, {20, 20}, 17, Rgb{235, 235, 240}, 1.6);
  // A ring round it, so the tint shows.
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const double d = std::hypot(x + 0.5 - 20, y + 0.5 - 20);
      if (d > 11 && d < 13) img.at(x, y) = Rgb{250, 250, 250};
    }
  return img;
}

Image BallHighlight() {
  Image img(40, 40);
  Glow(img, {14, 13}, 10, Rgb{255, 255, 255}, 1.2);
  return img;
}

Image BulletPicture() {
  Image img(16, 16);
  Ball(img, {8, 8}, 6, Rgb{250, 200, 60}, 1.2);
  return img;
}

Image HealthMeterPicture() {
  Image img(130, 10);
  for (int x = 0; x < 130; ++x) {
    const Rgb c = Mix(Rgb{220, 40, 30}, Rgb{250, 210, 50}, x / 129.0);
    for (int y = 0; y < 10; ++y) {
      const double shade = 1.15 - 0.5 * std::abs(y - 3) / 6.0;
      img.at(x, y) = y == 0 || y == 9 ? kOutline : Scale(c, shade);
    }
  }
  return img;
}

}  // namespace democontent
