#include "graphics/system_text.h"

namespace vdx {

platform::TextStyle StyleOf(const cFont& font) {
  return platform::TextStyle{font.Name, font.Size > 0 ? font.Size : 10, font.Bold, font.Italic};
}

void DrawTextImage(Surface& target, const platform::TextImage& image, std::uint32_t colour, int x,
                   int y) {
  for (int row = 0; row < image.height; ++row) {
    const int ty = y + row;
    if (ty < 0 || ty >= target.height) continue;
    for (int column = 0; column < image.width; ++column) {
      const int tx = x + column;
      if (tx < 0 || tx >= target.width) continue;
      const std::uint32_t a = image.coverage[static_cast<std::size_t>(row) * image.width + column];
      if (a == 0) continue;
      std::uint32_t& p = target.at(tx, ty);
      std::uint32_t out = 0;
      for (int shift : {16, 8, 0}) {
        const std::uint32_t c = (colour >> shift) & 0xFF, d = (p >> shift) & 0xFF;
        out |= ((c * a + d * (255 - a) + 127) / 255) << shift;
      }
      p = out;
    }
  }
}

bool DrawSystemText(platform::Platform& platform, Surface& target, const cFont& font,
                    std::string_view text, int x, int y) {
  const auto image = platform.renderText(StyleOf(font), text);
  if (!image) return false;
  DrawTextImage(target, *image, ContentColourToPixel(font.FontColor), x, y);
  return true;
}

void ShowPleaseWait(platform::Platform& platform, const Display& display, const cFont& font) {
  Surface screen = display.backBuffer;
  DrawSystemText(platform, screen, font, font.Text, font.xOffset, font.yOffset);
  platform.present(screen.pixels);
}

}  // namespace vdx
