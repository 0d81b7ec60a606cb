// System-font text: TrueType through SDL2_ttf. In a window, the content's
// typeface names ("Arial", "MS Sans Serif", ...) are found among the installed
// fonts by fontconfig, with DejaVu Sans as the fallback. Headless, every text
// comes from DejaVu Sans of fonts-dejavu-core, whatever fontconfig would pick,
// so the same script draws the same pixels on every machine.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/platform.h"

namespace vdx::platform {

enum class FontChoice {
  Installed,  // by fontconfig, among the machine's fonts
  Fixed,      // always DejaVu Sans (its bold file for bold)
};

// The file of DejaVu Sans (or its bold face) that fixed text comes from, for
// code that draws text with its own font library.
const char* FixedFontFile(bool bold);

class TextRenderer {
 public:
  explicit TextRenderer(FontChoice choice = FontChoice::Installed);
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  std::optional<TextImage> render(const TextStyle& style, std::string_view utf8);
  // The font file that a typeface name resolves to ("" when none).
  std::string fontFileFor(const TextStyle& style);

 private:
  struct Font;
  Font* open(const TextStyle& style);

  FontChoice choice_;
  bool ready_ = false;
  bool usedFontconfig_ = false;
  std::map<std::tuple<std::string, int, bool, bool>, std::unique_ptr<Font>> fonts_;
};

}  // namespace vdx::platform
