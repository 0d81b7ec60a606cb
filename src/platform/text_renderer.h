// System-font text: TrueType through SDL2_ttf, the content's typeface names
// ("Arial", "MS Sans Serif", ...) found among the installed fonts by
// fontconfig, with DejaVu Sans as the fallback. Used by both backends.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/platform.h"

namespace vdx::platform {

class TextRenderer {
 public:
  TextRenderer();
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  std::optional<TextImage> render(const TextStyle& style, std::string_view utf8);
  // The font file that a typeface name resolves to ("" when none).
  std::string fontFileFor(const TextStyle& style);

 private:
  struct Font;
  Font* open(const TextStyle& style);

  bool ready_ = false;
  bool usedFontconfig_ = false;
  std::map<std::tuple<std::string, int, bool, bool>, std::unique_ptr<Font>> fonts_;
};

}  // namespace vdx::platform
