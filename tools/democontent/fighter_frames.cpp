#include "fighter_frames.h"

#include <cmath>

namespace democontent {

Image RenderActionFrame(const Character& c, const ActionSpec& action, int k,
                        const Character* victim) {
  if (action.grab) {
    Image img(kGrabFrameWidth, kFrameSize);
    DrawThrowFrame(img, c.fighter, victim ? victim->fighter : c.fighter, k, action.count);
    KeepOffKeyColour(img);
    return img;
  }
  Image img(kFrameSize, kFrameSize);
  DrawFighter(img, c.fighter, PoseAt(action, k));
  KeepOffKeyColour(img);
  return img;
}

Image RenderPortrait(const Character& c, int width, int height) {
  // A close-up: the fighter drawn large over a panel in its colour.
  Image big(kFrameSize, kFrameSize);
  Pose p;
  p.torso = 4;
  p.frontUpper = 55;
  p.frontFore = 165;
  p.backUpper = 35;
  p.backFore = 170;
  DrawFighter(big, c.fighter, p);
  Image out(width, height);
  const Rgb top = Scale(c.glow, 0.55), bottom = Scale(c.fighter.outfit.top, 0.25);
  VerticalGradient(out, 0, height, top, bottom);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if ((x + y) % 6 == 0) out.at(x, y) = Mix(out.at(x, y), Rgb{255, 255, 255}, 0.06);
  // Upper body of the frame, scaled to fill the tile.
  const double scale = 1.65;
  const double srcX0 = 128 - width / (2 * scale) + 6, srcY0 = 18;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>(srcX0 + x / scale), sy = static_cast<int>(srcY0 + y / scale);
      if (sx < 0 || sy < 0 || sx >= kFrameSize || sy >= kFrameSize) continue;
      const Rgb px = big.at(sx, sy);
      if (px == Rgb{}) continue;
      out.at(x, y) = px;
    }
  // A frame around the tile.
  for (int i = 0; i < 3; ++i) {
    const Rgb edge = i == 1 ? c.glow : kOutline;
    for (int x = 0; x < width; ++x)
      out.at(x, i) = out.at(x, height - 1 - i) = edge;
    for (int y = 0; y < height; ++y)
      out.at(i, y) = out.at(width - 1 - i, y) = edge;
  }
  KeepOffKeyColour(out);
  return out;
}

}  // namespace democontent
