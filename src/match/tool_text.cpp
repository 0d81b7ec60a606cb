#include "match/tool_text.h"

#include "graphics/system_text.h"

namespace vdx {

cFont ToolFont(int size, bool bold, Long colour) {
  cFont font;
  font.Name = "DejaVu Sans";
  font.Size = size;
  font.Bold = bold;
  font.FontColor = colour;
  return font;
}

int TextWidth(Game& game, const cFont& font, const std::string& text) {
  const auto image = game.platform.renderText(StyleOf(font), text);
  return image ? image->width : 0;
}

}  // namespace vdx
