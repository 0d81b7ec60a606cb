#include "stages.h"

#include <algorithm>
#include <cmath>

namespace democontent {
namespace {

constexpr double kPi = 3.14159265358979323846;

AnimSpec Anim(std::string name, std::string sprites, AnimSpec::Look look, int frames, int w, int h,
              int x, int y) {
  AnimSpec a;
  a.name = std::move(name);
  a.sprites = std::move(sprites);
  a.look = look;
  a.frames = frames;
  a.width = w;
  a.height = h;
  a.animX = x;
  a.animY = y;
  a.maxLeft = x;
  a.maxRight = x;
  a.maxTop = y;
  a.maxBottom = y;
  return a;
}

// A band of hills or buildings across the picture.
void Skyline(Image& img, int baseY, double amplitude, double wavelength, Rgb colour, int seed,
             bool blocks) {
  Random rnd(static_cast<std::uint32_t>(seed));
  int x = 0;
  while (x < img.width) {
    int top = baseY;
    int w = 1;
    if (blocks) {
      w = static_cast<int>(rnd.range(30, 90));
      top = baseY - static_cast<int>(rnd.range(0.2, 1.0) * amplitude);
    } else {
      top = baseY - static_cast<int>(amplitude * (0.5 + 0.3 * std::sin(x / wavelength + seed) +
                                                  0.2 * std::sin(x / (wavelength * 0.37))));
    }
    for (int xx = x; xx < std::min(img.width, x + w); ++xx)
      for (int y = std::max(0, top); y < img.height; ++y)
        img.at(xx, y) = colour;
    x += w;
  }
}

void Windows(Image& img, int baseY, int seed, Rgb lit) {
  Random rnd(static_cast<std::uint32_t>(seed));
  for (int y = 120; y < baseY; y += 14)
    for (int x = 4; x < img.width; x += 12) {
      const Rgb here = img.at(x, y);
      if (here.r + here.g + here.b > 200 || rnd.next() > 0.18) continue;
      if (img.at(x, y - 8).b < 60 && img.at(x, y - 8).r < 60 && y - 8 > 0)
        FillRect(img, x, y, 5, 7, Mix(lit, Rgb{255, 255, 255}, rnd.range(0, 0.4)));
    }
}

void Floor(Image& img, Rgb near, Rgb far, Rgb line, int plank) {
  for (int y = 400; y < img.height; ++y) {
    const Rgb c = Mix(far, near, (y - 400) / 80.0);
    for (int x = 0; x < img.width; ++x) {
      Rgb p = c;
      if (plank > 0 && (y - 400) % plank == 0) p = line;
      img.at(x, y) = p;
    }
  }
}

void PaintHarbour(Image& img) {
  VerticalGradient(img, 0, 300, Hex(0x2A1F4A), Hex(0xF08A4A));
  Glow(img, {880, 270}, 140, Hex(0xFFC070), 0.9);
  FillCircle(img, {880, 262}, 38, Hex(0xFFE0A0));
  // Sea with the sun's reflection.
  for (int y = 300; y < 400; ++y)
    for (int x = 0; x < img.width; ++x) {
      Rgb c = Mix(Hex(0x6A4A6A), Hex(0x2A2A4A), (y - 300) / 100.0);
      if (std::abs(x - 880) < 70 - (y - 300) * 0.3 && ((y / 3 + x / 17) % 3 == 0))
        c = Mix(c, Hex(0xFFD090), 0.7);
      img.at(x, y) = c;
    }
  Skyline(img, 300, 40, 90, Hex(0x3A2A4A), 3, false);
  // Cranes.
  for (int cx : {180, 1050}) {
    const Rgb s = Hex(0x1E1628);
    FillRect(img, cx, 120, 10, 190, s);
    FillRect(img, cx - 90, 120, 200, 8, s);
    for (int i = 0; i < 9; ++i)
      Capsule(img, {cx - 80.0 + i * 20, 128}, {cx - 70.0 + i * 20, 122}, 1, 1, s, 0);
    FillRect(img, cx + 80, 128, 2, 90, s);
  }
  Floor(img, Hex(0x6A4A32), Hex(0x4A3424), Hex(0x2E2018), 12);
}

void PaintTemple(Image& img) {
  VerticalGradient(img, 0, 360, Hex(0x8AA8D0), Hex(0xE0E8F0));
  Skyline(img, 300, 180, 120, Hex(0x9AAAC4), 1, false);
  Skyline(img, 330, 120, 80, Hex(0x7A8AA8), 7, false);
  // Snow caps: lighten the tops of the far range.
  for (int x = 0; x < img.width; ++x)
    for (int y = 0; y < 330; ++y)
      if (img.at(x, y) == Hex(0x9AAAC4) && (y < 180)) img.at(x, y) = Hex(0xF0F4FA);
  // A pagoda.
  const Rgb wood = Hex(0x6A2A22), roof = Hex(0x2A3040);
  for (int tier = 0; tier < 3; ++tier) {
    const double y = 250 - tier * 55, half = 120 - tier * 28;
    FillRect(img, 640 - static_cast<int>(half * 0.6), static_cast<int>(y),
             static_cast<int>(half * 1.2), 55, wood);
    FillPolygon(img,
                {{640 - half - 20, y + 4},
                 {640 + half + 20, y + 4},
                 {640 + half * 0.6, y - 18},
                 {640 - half * 0.6, y - 18}},
                roof);
    FillPolygon(img,
                {{640 - half - 20, y + 4},
                 {640 + half + 20, y + 4},
                 {640 + half * 0.6, y - 6},
                 {640 - half * 0.6, y - 6}},
                Hex(0xF0F4FA), 0.8);
  }
  VerticalGradient(img, 360, 400, Hex(0xB0B8C8), Hex(0x9098A8));
  Floor(img, Hex(0x8A8A92), Hex(0xB4B8C4), Hex(0x6A6A74), 20);
  for (int x = 0; x < img.width; x += 64)
    for (int y = 400; y < 480; ++y)
      img.at(x, y) = Hex(0x6A6A74);
}

void PaintNeon(Image& img) {
  VerticalGradient(img, 0, 400, Hex(0x080818), Hex(0x2A1840));
  Random stars(11);
  for (int i = 0; i < 120; ++i)
    img.set(static_cast<int>(stars.range(0, 1280)), static_cast<int>(stars.range(0, 150)),
            Hex(0xC0C0E0));
  Skyline(img, 380, 260, 0, Hex(0x141028), 5, true);
  Windows(img, 380, 9, Hex(0xF0C860));
  Skyline(img, 400, 140, 0, Hex(0x1E1836), 13, true);
  Windows(img, 400, 21, Hex(0x60D0F0));
  // Wet street with reflected neon.
  for (int y = 400; y < 480; ++y)
    for (int x = 0; x < img.width; ++x) {
      Rgb c = Mix(Hex(0x1A1428), Hex(0x0E0A18), (y - 400) / 80.0);
      if ((x / 160) % 2 == 0 && (y % 6 < 2)) c = Mix(c, Hex(0xE040A0), 0.25);
      img.at(x, y) = c;
    }
  for (int x = 0; x < img.width; x += 90)
    FillRect(img, x, 436, 50, 3, Hex(0xC8C060));
}

void PaintRooftop(Image& img) {
  VerticalGradient(img, 0, 400, Hex(0x4A90C8), Hex(0xC8E0F0));
  Skyline(img, 400, 200, 0, Hex(0x8098B0), 17, true);
  Floor(img, Hex(0x505058), Hex(0x707078), Hex(0x404048), 0);
  for (int x = 100; x < 1280; x += 300) {
    FillRect(img, x, 300, 12, 100, Hex(0xD0A020));
    FillRect(img, x - 40, 300, 92, 10, Hex(0xD0A020));
  }
}

}  // namespace

std::vector<StageSpec> Stages() {
  std::vector<StageSpec> stages;

  StageSpec harbour;
  harbour.name = "Harbour";
  harbour.background = "harbour.bmp";
  harbour.music = "harbour.ogg";
  harbour.rain = true;
  harbour.look = StageSpec::Look::Harbour;
  AnimSpec clouds = Anim("HarbourClouds", "cloud", AnimSpec::Look::Cloud, 1, 256, 80, 100, 40);
  clouds.moveHorizontal = 1;
  clouds.maxLeft = -256;
  clouds.maxRight = 640;
  clouds.interval = 60;
  clouds.alpha = 0.85;
  harbour.anims.push_back(clouds);
  AnimSpec gulls = Anim("HarbourGulls", "gull", AnimSpec::Look::Gull, 3, 48, 24, 600, 110);
  gulls.moveHorizontal = -2;
  gulls.moveVertical = 0;
  gulls.maxLeft = -48;
  gulls.maxRight = 640;
  gulls.interval = 90;
  harbour.anims.push_back(gulls);
  AnimSpec beacon = Anim("HarbourBeacon", "beacon", AnimSpec::Look::Beacon, 1, 64, 64, 40, 200);
  beacon.alpha = 0.2;
  beacon.alphaChange = 0.05;
  beacon.alphaInterval = 40;
  beacon.blendMode = 1;
  harbour.anims.push_back(beacon);
  stages.push_back(harbour);

  StageSpec temple;
  temple.name = "Temple";
  temple.background = "temple.bmp";
  temple.music = "temple.ogg";
  temple.snow = true;
  temple.look = StageSpec::Look::Temple;
  AnimSpec mist = Anim("TempleMist", "mist", AnimSpec::Look::Mist, 1, 320, 60, 0, 300);
  mist.moveHorizontal = 1;
  mist.maxLeft = -320;
  mist.maxRight = 640;
  mist.interval = 80;
  mist.alpha = 0.5;
  mist.blendMode = 1;
  temple.anims.push_back(mist);
  AnimSpec lantern = Anim("TempleLantern", "lantern", AnimSpec::Look::Lantern, 2, 48, 64, 520, 250);
  lantern.alpha = 0.6;
  lantern.alphaChange = 0.03;
  lantern.alphaInterval = 50;
  lantern.interval = 300;
  temple.anims.push_back(lantern);
  stages.push_back(temple);

  StageSpec neon;
  neon.name = "Neon Street";
  neon.background = "neon.bmp";
  neon.music = "neon.WAV";
  neon.look = StageSpec::Look::Neon;
  AnimSpec sign = Anim("NeonSign", "sign", AnimSpec::Look::Sign, 1, 96, 96, 460, 120);
  sign.angleChange = 1;  // degrees: a slow turn
  sign.angleInterval = 30;
  neon.anims.push_back(sign);
  AnimSpec glow = Anim("NeonGlow", "glow", AnimSpec::Look::NeonGlow, 1, 160, 80, 120, 190);
  glow.alpha = 0.3;
  glow.alphaChange = 0.06;
  glow.alphaInterval = 60;
  glow.blendMode = 1;
  neon.anims.push_back(glow);
  AnimSpec blimp = Anim("NeonBlimp", "blimp", AnimSpec::Look::Blimp, 2, 128, 48, 640, 40);
  blimp.moveHorizontal = -1;
  blimp.maxLeft = -128;
  blimp.maxRight = 640;
  blimp.interval = 120;
  neon.anims.push_back(blimp);
  stages.push_back(neon);

  StageSpec roof;
  roof.name = "Rooftop";
  roof.background = "rooftop.bmp";
  roof.music = "harbour.ogg";
  roof.disabled = true;  // still being built
  roof.look = StageSpec::Look::Rooftop;
  stages.push_back(roof);

  return stages;
}

Image PaintStage(const StageSpec& stage) {
  Image img(kStageWidth, 480);
  switch (stage.look) {
    case StageSpec::Look::Harbour:
      PaintHarbour(img);
      break;
    case StageSpec::Look::Temple:
      PaintTemple(img);
      break;
    case StageSpec::Look::Neon:
      PaintNeon(img);
      break;
    case StageSpec::Look::Rooftop:
      PaintRooftop(img);
      break;
  }
  return img;
}

Image RenderAnimFrame(const AnimSpec& a, int k) {
  Image img(a.width, a.height);
  const double w = a.width, h = a.height;
  switch (a.look) {
    case AnimSpec::Look::Cloud:
      for (int i = 0; i < 6; ++i)
        FillEllipse(img, {w * (0.15 + 0.14 * i), h * (0.55 - 0.12 * std::sin(i * 1.3))}, w * 0.12,
                    h * 0.32, Mix(Hex(0xC8A0B8), Hex(0xF8D8C8), i / 6.0));
      break;
    case AnimSpec::Look::Gull: {
      const double flap = std::sin(k * 2.1) * 8;
      Capsule(img, {w / 2, h / 2}, {4, h / 2 - flap}, 2, 1, Hex(0xF0F0F0), 1);
      Capsule(img, {w / 2, h / 2}, {w - 4, h / 2 - flap}, 2, 1, Hex(0xF0F0F0), 1);
      break;
    }
    case AnimSpec::Look::Beacon:
    case AnimSpec::Look::NeonGlow:
      Glow(img, {w / 2, h / 2}, std::min(w, h) / 2,
           a.look == AnimSpec::Look::Beacon ? Hex(0xFFE0A0) : Hex(0xFF40C0), 1.3);
      break;
    case AnimSpec::Look::Lantern:
      Capsule(img, {w / 2, 6}, {w / 2, h - 8}, w * 0.28, w * 0.28, Hex(0xD83020), 1.5);
      Glow(img, {w / 2, h / 2}, w * 0.5, Hex(0xFFB040), k == 0 ? 0.8 : 1.1);
      break;
    case AnimSpec::Look::Mist:
      for (int i = 0; i < 8; ++i)
        FillEllipse(img, {w * (0.08 + 0.12 * i), h * 0.5}, w * 0.1, h * 0.35, Hex(0x606878), 0.7);
      break;
    case AnimSpec::Look::Sign: {
      std::vector<Vec> star;
      for (int i = 0; i < 10; ++i) {
        const double ang = kPi * i / 5;
        const double r = (i % 2 == 0) ? w * 0.46 : w * 0.2;
        star.push_back({w / 2 + std::cos(ang) * r, h / 2 + std::sin(ang) * r});
      }
      FillPolygon(img, star, Hex(0x40F0E0));
      FillCircle(img, {w / 2, h / 2}, w * 0.12, Hex(0xFF40C0));
      break;
    }
    case AnimSpec::Look::Blimp:
      FillEllipse(img, {w / 2, h / 2 - 4}, w * 0.45, h * 0.35, Hex(0x707088));
      FillRect(img, static_cast<int>(w * 0.4), static_cast<int>(h * 0.75),
               static_cast<int>(w * 0.2), 6, Hex(0x404050));
      FillRect(img, static_cast<int>(w * 0.3), static_cast<int>(h * 0.4), static_cast<int>(w * 0.4),
               4, k == 0 ? Hex(0xFFE060) : Hex(0x60E0FF));
      break;
  }
  return img;
}

}  // namespace democontent
