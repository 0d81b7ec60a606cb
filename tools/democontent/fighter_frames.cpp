#include "fighter_frames.h"

#include <cctype>
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

void PortraitFrame(Image& out, const Font& font, const std::string& name, Rgb nameColour,
                   Rgb edge) {
  const int left = kPortraitMargin, right = kPortraitWidth - kPortraitMargin;
  // The band: darker, so the white "SELECTED" reads on it.
  for (int y = kPortraitBandTop; y < kPortraitBandBottom; ++y)
    for (int x = left; x < right; ++x)
      out.at(x, y) = Mix(out.at(x, y), Rgb{10, 8, 16}, 0.7);
  constexpr double kNameSize = 26;
  double size = kNameSize;
  while (size > 12 && font.measure(name, size) > right - left - 12)
    size -= 1;
  font.draw(out, name, (kPortraitWidth - font.measure(name, size)) / 2.0, 16, size, nameColour,
            Mix(nameColour, Rgb{255, 255, 255}, 0.4), 2);
  for (int i = 0; i < 3; ++i) {
    const Rgb c = i == 1 ? edge : kOutline;
    for (int x = left; x < right; ++x)
      out.at(x, i) = out.at(x, kPortraitHeight - 1 - i) = c;
    for (int y = 0; y < kPortraitHeight; ++y)
      out.at(left + i, y) = out.at(right - 1 - i, y) = c;
  }
  // The margins are the key colour: nothing is drawn there.
  for (int y = 0; y < kPortraitHeight; ++y)
    for (int x = 0; x < kPortraitWidth; ++x)
      if (x < left || x >= right) out.at(x, y) = Rgb{};
}

Image RenderPortrait(const Character& c, const Font& font) {
  // A close-up: the fighter's upper body drawn large over a panel in its
  // colour, below its name and the band.
  Image big(kFrameSize, kFrameSize);
  Pose p;
  p.torso = 4;
  p.frontUpper = 55;
  p.frontFore = 165;
  p.backUpper = 35;
  p.backFore = 170;
  DrawFighter(big, c.fighter, p);
  const int width = kPortraitWidth, height = kPortraitHeight;
  Image out(width, height);
  const Rgb top = Scale(c.glow, 0.55), bottom = Scale(c.fighter.outfit.top, 0.25);
  VerticalGradient(out, 0, height, top, bottom);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if ((x + y) % 6 == 0) out.at(x, y) = Mix(out.at(x, y), Rgb{255, 255, 255}, 0.06);
  // The head starts just below the band.
  const double scale = 1.65;
  const double srcX0 = 128 - width / (2 * scale) + 6, srcY0 = 18;
  for (int y = kPortraitBandBottom; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int sx = static_cast<int>(srcX0 + x / scale);
      const int sy = static_cast<int>(srcY0 + (y - kPortraitBandBottom - 4) / scale);
      if (sx < 0 || sy < 0 || sx >= kFrameSize || sy >= kFrameSize) continue;
      const Rgb px = big.at(sx, sy);
      if (px == Rgb{}) continue;
      out.at(x, y) = px;
    }
  std::string name = c.fighter.name;
  for (char& ch : name)
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  PortraitFrame(out, font, name, Rgb{255, 255, 255}, c.glow);
  KeepOffKeyColour(out);  // near black inside the tile, exact black (the key) in the margins
  return out;
}

}  // namespace democontent
