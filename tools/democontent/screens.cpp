#include "screens.h"

#include <algorithm>
#include <cmath>

#include "fighter_frames.h"

namespace democontent {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Vignette(Image& img, double strength) {
  const double cx = img.width / 2.0, cy = img.height / 2.0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double d = std::hypot((x - cx) / cx, (y - cy) / cy);
      img.at(x, y) = Scale(img.at(x, y), 1.0 - strength * std::max(0.0, d - 0.6));
    }
}

void Rays(Image& img, Vec centre, Rgb colour, double alpha) {
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const double a = std::atan2(y - centre.y, x - centre.x);
      if (std::fmod(a + 4 * kPi, kPi / 8) < kPi / 16) img.blend(x, y, colour, alpha);
    }
}

void Panel(Image& img, int x, int y, int w, int h, Rgb edge) {
  for (int yy = y; yy < y + h; ++yy)
    for (int xx = x; xx < x + w; ++xx)
      img.blend(xx, yy, Rgb{8, 8, 16}, 0.55);
  for (int i = 0; i < 2; ++i) {
    for (int xx = x; xx < x + w; ++xx)
      img.set(xx, y + i, edge), img.set(xx, y + h - 1 - i, edge);
    for (int yy = y; yy < y + h; ++yy)
      img.set(x + i, yy, edge), img.set(x + w - 1 - i, yy, edge);
  }
}

void Title(Image& img, const Font& font, double y, double size) {
  const char* title = "VANDREL";
  const int w = font.measure(title, size);
  font.draw(img, title, (img.width - w) / 2.0, y, size, Hex(0xFFE8A0), Hex(0xE04020), 3);
}

Image Standing(const Character& c) {
  const auto actions = ActionsFor(c.fighter, c.special);
  return RenderActionFrame(c, actions.front(), 0);
}

}  // namespace

std::vector<MenuEntry> MenuEntries() {
  return {{"ONE PLAYER", 1}, {"TWO PLAYERS", 2}, {"TRAINING", 5}, {"STORY", 4}, {"EXIT", 3}};
}

FontSheet MakeFontSheet(const Font& font) {
  FontSheet sheet;
  sheet.image = Image(512, 512);
  constexpr double kSize = 44;
  constexpr int kCell = 51;
  const int ascent = font.ascent(kSize);
  int column = 0, row = 0;
  for (int code = 33; code <= 126; ++code) {
    int w, h, xo, yo, advance;
    const auto cover = font.glyph(code, kSize, w, h, xo, yo, advance);
    const int cellX = column * kCell, cellY = row * kCell;
    const int left = std::max(0, -xo) + 2;  // room for the outline
    const int width = std::min(kCell, std::max(advance, xo + w) + left + 2);
    for (int yy = 0; yy < h; ++yy)
      for (int xx = 0; xx < w; ++xx) {
        const double a = cover[std::size_t(yy) * w + xx] / 255.0;
        if (a < 0.35) continue;
        const int px = cellX + left + xo + xx, py = cellY + ascent + yo + yy + 2;
        for (int oy = -2; oy <= 2; ++oy)
          for (int ox = -2; ox <= 2; ++ox)
            if (sheet.image.at(std::clamp(px + ox, 0, 511), std::clamp(py + oy, 0, 511)) == Rgb{})
              sheet.image.set(px + ox, py + oy, kOutline);
      }
    for (int yy = 0; yy < h; ++yy)
      for (int xx = 0; xx < w; ++xx) {
        const double a = cover[std::size_t(yy) * w + xx] / 255.0;
        if (a < 0.35) continue;
        const int py = cellY + ascent + yo + yy + 2;
        const Rgb fill = Mix(Rgb{255, 255, 255}, Rgb{200, 205, 215}, double(py - cellY) / kCell);
        sheet.image.set(cellX + left + xo + xx, py, Mix(kOutline, fill, a));
      }
    sheet.glyphs.push_back({code, cellX, cellY, width, kCell});
    if (++column == 10) {
      column = 0;
      ++row;
    }
  }
  return sheet;
}

Image MakeMenuStrips(const Font& font) {
  // Item i is the strip of rows (i - 1) * 45 to + 42; the fourth is 150 wide.
  // The game draws every strip from x 220, so each label is centred on column
  // 100, the middle of a 200-wide strip (and of the menu's panel), and all are
  // drawn at the one size at which the widest fits.
  Image img(512, 512);
  const auto entries = MenuEntries();
  constexpr int kStripWidth = 200, kFourthWidth = 150, kCentre = kStripWidth / 2;
  double size = 34;
  const auto fits = [&](double s) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const int room = i == 3 ? 2 * (kFourthWidth - kCentre) : kStripWidth;
      if (font.measure(entries[i].label, s) > room - 10) return false;
    }
    return true;
  };
  while (size > 10 && !fits(size))
    size -= 1;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int top = static_cast<int>(i) * 45;
    const int w = font.measure(entries[i].label, size);
    font.draw(img, entries[i].label, kCentre - w / 2.0, top + (42 - size * 1.15) / 2, size,
              Rgb{255, 255, 255}, Rgb{190, 195, 210}, 2);
  }
  return img;
}

Image MakeMenuBackground(const Font& font, const std::vector<Character>& roster) {
  Image img(640, 480);
  VerticalGradient(img, 0, 480, Hex(0x1A1030), Hex(0x602030));
  Rays(img, {320, 120}, Hex(0xFF9040), 0.08);
  Glow(img, {320, 110}, 260, Hex(0xFF7030), 0.5);
  Title(img, font, 40, 96);
  const std::string tagline = "a fighting game";
  font.draw(img, tagline, (640 - font.measure(tagline, 22)) / 2.0, 150, 22, Hex(0xF0E0D0),
            Hex(0xC0A090), 1);
  // The fighters at the sides, facing the menu.
  const Rgb black{};
  if (!roster.empty()) Paste(img, Standing(roster[0]), -40, 230, &black);
  if (roster.size() > 1) Paste(img, Standing(roster[1]), 424, 230, &black, true);
  // The panel holds the items, 45 rows apart from y 200.
  const int items = static_cast<int>(MenuEntries().size());
  Panel(img, 200, 188, 240, 45 * items + 16, Hex(0xE06030));
  Vignette(img, 0.7);
  return img;
}

Image MakeSelectBackground(const Font& font) {
  // Also the versus screen's picture, where the game writes "VERSUS" between
  // the portraits itself.
  Image img(640, 480);
  VerticalGradient(img, 0, 480, Hex(0x101830), Hex(0x301830));
  Rays(img, {320, 280}, Hex(0x4060C0), 0.08);
  // Frames round the visible part of each portrait tile, and whose it is.
  struct Side {
    int x;  // where the game draws the tile
    Rgb colour;
    const char* who;
    const char* keys;
  };
  const Side sides[] = {{20, Hex(0x4080FF), "PLAYER 1", "arrows choose, A picks"},
                        {440, Hex(0xFF5040), "PLAYER 2", "J and L choose, Q picks"}};
  for (const Side& side : sides) {
    const int left = side.x + kPortraitMargin, width = kPortraitWidth - 2 * kPortraitMargin;
    Panel(img, left - 6, 154, width + 12, kPortraitHeight + 12, side.colour);
    const double centre = left + width / 2.0;
    font.draw(img, side.who, centre - font.measure(side.who, 22) / 2.0, 104, 22, side.colour,
              Mix(side.colour, Rgb{255, 255, 255}, 0.5), 2);
    font.draw(img, side.keys, centre - font.measure(side.keys, 13) / 2.0, 132, 13, Hex(0xD0D0E0),
              Hex(0xA0A0B0), 1);
  }
  Title(img, font, 14, 64);
  const std::string hint = "Against the computer, player 1 picks both fighters";
  font.draw(img, hint, (640 - font.measure(hint, 15)) / 2.0, 418, 15, Hex(0xD0D0E0), Hex(0xA0A0B0),
            1);
  Vignette(img, 0.6);
  return img;
}

Image MakeStageSelectBackground(const Font& font) {
  Image img(640, 480);
  VerticalGradient(img, 0, 480, Hex(0x102028), Hex(0x183040));
  Rays(img, {320, 240}, Hex(0x40C0A0), 0.06);
  const std::string heading = "CHOOSE THE STAGE";
  font.draw(img, heading, (640 - font.measure(heading, 40)) / 2.0, 40, 40, Hex(0xFFFFFF),
            Hex(0xA0E0D0), 2);
  Panel(img, 160, 118, 320, 244, Hex(0x40C0A0));
  Vignette(img, 0.6);
  return img;
}

Image MakeSplash(const Font& font, const std::vector<Character>& roster) {
  Image img(640, 480);
  VerticalGradient(img, 0, 480, Hex(0x000000), Hex(0x301010));
  const Rgb black{};
  for (std::size_t i = 0; i < roster.size(); ++i)
    Paste(img, Standing(roster[i]), 70 + static_cast<int>(i) * 170, 150, &black);
  Title(img, font, 40, 80);
  return img;
}

Image MakeLauncherBackground(const Font& font) {
  Image img(640, 480);
  VerticalGradient(img, 0, 480, Hex(0x140C28), Hex(0x4A1828));
  Rays(img, {110, 480}, Hex(0xFF8040), 0.06);
  Glow(img, {110, 430}, 300, Hex(0xC04020), 0.35);
  Title(img, font, 14, 72);
  const std::string tagline = "settings";
  font.draw(img, tagline, (640 - font.measure(tagline, 20)) / 2.0, 86, 20, Hex(0xF0E0D0),
            Hex(0xC0A090), 1);
  Vignette(img, 0.6);
  return img;
}

Image MakeRandomTile(const Font& font) {
  const int width = kPortraitWidth, height = kPortraitHeight;
  Image img(width, height);
  VerticalGradient(img, 0, height, Hex(0x404858), Hex(0x202430));
  const std::string q = "?";
  const int below = kPortraitBandBottom;
  font.draw(img, q, (width - font.measure(q, 110)) / 2.0, below + (height - below - 110) / 2.0, 110,
            Hex(0xFFFFFF), Hex(0xB0B8D0), 3);
  PortraitFrame(img, font, "RANDOM", Hex(0xFFE080), Hex(0xC0C8E0));
  return img;
}

Image MakeStagePortrait(const Image& background, int width, int height) {
  // The middle of the stage, as the fight's camera first sees it.
  Image view(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x)
      view.at(x, y) = background.at(x + (background.width - 640) / 2, y);
  Image out = Resized(view, width, height);
  for (int x = 0; x < width; ++x)
    out.at(x, 0) = out.at(x, height - 1) = Rgb{240, 240, 240};
  for (int y = 0; y < height; ++y)
    out.at(0, y) = out.at(width - 1, y) = Rgb{240, 240, 240};
  return out;
}

Image MakeTitleFrame(const Font& font, const std::vector<Character>& roster, double t) {
  Image img(320, 240);
  VerticalGradient(img, 0, 240, Hex(0x0A0614), Mix(Hex(0x0A0614), Hex(0x602030), t));
  Rays(img, {160, 100}, Hex(0xFF9040), 0.05 + 0.08 * t);
  // Fighters slide in from the sides, then the title drops and settles.
  const Rgb black{};
  const double in = std::min(1.0, t * 2.2);
  if (roster.size() > 1) {
    const Image a = Resized(Standing(roster[0]), 128, 128);
    const Image b = Resized(Standing(roster[1]), 128, 128);
    Paste(img, a, static_cast<int>(-128 + in * 120), 110, &black);
    Paste(img, b, static_cast<int>(320 - in * 120), 110, &black, true);
  }
  const double drop = std::clamp((t - 0.3) / 0.4, 0.0, 1.0);
  const double size = 60 + 40 * (1 - drop);
  const char* title = "VANDREL";
  const int w = font.measure(title, size);
  font.draw(img, title, (320 - w) / 2.0, 40 - 60 * (1 - drop), size, Hex(0xFFE8A0), Hex(0xE04020),
            2, drop);
  if (t > 0.75) {
    const std::string press = "press a key";
    font.draw(img, press, (320 - font.measure(press, 14)) / 2.0, 192, 14, Hex(0xFFFFFF),
              Hex(0xC0C0C0), 1, std::fabs(std::sin(t * 20)));
  }
  return img;
}

}  // namespace democontent
