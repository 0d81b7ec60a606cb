#include "graphics/bitmap_text.h"

#include "graphics/rounding.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "graphics/sprite_renderer.h"

namespace vdx {
namespace {

// A pen position: the float sum rounded halves to even into 16 bits; nullopt
// when it leaves them.
std::optional<std::int16_t> Pen(float value) {
  const float rounded = RoundEven(value);
  if (!(rounded >= -32768.0f && rounded <= 32767.0f)) return std::nullopt;
  return static_cast<std::int16_t>(rounded);
}

}  // namespace

bool LoadFontSheet(const LoadContext& ctx, const Collection<cRect>& glyphs, BitmapFont& font) {
  const SharedSurface sheet = LoadPicture(ctx, "\\VDXFont.bmp", 512, 512, 0u);
  if (!sheet) {
    font.glyphs = nullptr;
    return false;
  }
  font.sheet = *sheet;
  font.glyphs = &glyphs;
  return true;
}

void DrawBitmapText(Surface& target, BitmapFont& font, std::string_view text, std::int16_t X,
                    std::int16_t Y, float Red, float Green, float Blue, std::int16_t BlendMode,
                    float Scale, float Alpha) {
  if (font.glyphs == nullptr) return;
  const auto size = Pen(Scale * 128.0f);
  if (!size) return;
  std::int16_t pen = X;
  for (const char ch : text) {
    const unsigned char code = static_cast<unsigned char>(ch);
    if (code == 32) {
      const auto next = Pen(static_cast<float>(pen) + Scale * 20.0f);
      if (!next) return;
      pen = *next;
      continue;
    }
    const cRect* glyph = font.glyphs->find(std::to_string(code));
    if (glyph == nullptr) continue;  // no glyph: nothing drawn, the pen stays
    // Copy the glyph into the top-left of the cleared scratch piece (cut at 128).
    std::fill(font.scratch.pixels.begin(), font.scratch.pixels.end(), 0u);
    const int width = glyph->Right - glyph->Left, height = glyph->Bottom - glyph->Top;
    // The scratch piece's drawn columns are the glyph's (the rest is the key).
    font.scratch.drawnColumns.assign(128, Surface::DrawnColumns{128, -1});
    font.scratch.drawnColumnsKey = 0;
    for (int y = 0; y < std::min(height, 128); ++y) {
      const int sy = glyph->Top + y;
      if (sy < 0 || sy >= font.sheet.height) continue;
      auto& drawn = font.scratch.drawnColumns[static_cast<std::size_t>(y)];
      for (int x = 0; x < std::min(width, 128); ++x) {
        const int sx = glyph->Left + x;
        if (sx < 0 || sx >= font.sheet.width) continue;
        const std::uint32_t texel = font.sheet.at(sx, sy);
        font.scratch.at(x, y) = texel;
        if (To565(texel) != 0) {
          drawn.first = std::min(drawn.first, x);
          drawn.last = std::max(drawn.last, x);
        }
      }
    }
    SpriteArgs args;
    args.X = pen;
    args.Y = Y;
    args.Width = 128;
    args.Height = 128;
    args.Alpha = Alpha;
    args.DestWidth = *size;
    args.DestHeight = *size;
    args.Red = Red;
    args.Green = Green;
    args.Blue = Blue;
    args.BlendMode = BlendMode;
    DrawSprite(target, font.scratch, args);
    const auto next = Pen(static_cast<float>(pen) + Scale * static_cast<float>(width));
    if (!next) return;
    pen = *next;
  }
}

}  // namespace vdx
