#include "platform/text_renderer.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>

namespace vdx::platform {
namespace {

constexpr const char* kFallbackFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kFallbackBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// The old Windows faces, by what they look like.
std::string FamilyFor(std::string typeface) {
  std::transform(typeface.begin(), typeface.end(), typeface.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (typeface.empty() || typeface == "ms sans serif" || typeface == "microsoft sans serif" ||
      typeface == "tahoma" || typeface == "verdana")
    return "sans-serif";
  if (typeface == "times new roman" || typeface == "ms serif") return "serif";
  if (typeface == "courier new" || typeface == "courier") return "monospace";
  return typeface;
}

}  // namespace

const char* FixedFontFile(bool bold) {
  return bold ? kFallbackBold : kFallbackFont;
}

struct TextRenderer::Font {
  TTF_Font* font = nullptr;
  ~Font() {
    if (font != nullptr) TTF_CloseFont(font);
  }
};

TextRenderer::TextRenderer(FontChoice choice) : choice_(choice) {
  ready_ = TTF_Init() == 0;
}

TextRenderer::~TextRenderer() {
  fonts_.clear();
  if (ready_) TTF_Quit();
  // Fontconfig keeps its configuration until told; every look-up starts with
  // FcInit(), which loads it again when needed.
  if (usedFontconfig_) FcFini();
}

std::string TextRenderer::fontFileFor(const TextStyle& style) {
  std::string file;
  if (choice_ == FontChoice::Installed && FcInit()) {
    usedFontconfig_ = true;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(FamilyFor(style.typeface).c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, style.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, style.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
      FcChar8* path = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr)
        file = reinterpret_cast<const char*>(path);
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  if (file.empty()) file = style.bold ? kFallbackBold : kFallbackFont;
  return file;
}

TextRenderer::Font* TextRenderer::open(const TextStyle& style) {
  if (!ready_) return nullptr;
  const int size = std::clamp(style.pointSize, 1, 400);
  const auto key = std::make_tuple(style.typeface, size, style.bold, style.italic);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second.get();
  auto font = std::make_unique<Font>();
  // Point sizes were meant for a 96 dpi desktop.
  font->font = TTF_OpenFontDPI(fontFileFor(style).c_str(), size, 96, 96);
  if (font->font == nullptr) font->font = TTF_OpenFontDPI(kFallbackFont, size, 96, 96);
  if (font->font == nullptr) return nullptr;
  int flags = TTF_STYLE_NORMAL;
  if (style.bold && !(TTF_GetFontStyle(font->font) & TTF_STYLE_BOLD) &&
      std::string(TTF_FontFaceStyleName(font->font) ? TTF_FontFaceStyleName(font->font) : "")
              .find("Bold") == std::string::npos)
    flags |= TTF_STYLE_BOLD;
  if (style.italic &&
      std::string(TTF_FontFaceStyleName(font->font) ? TTF_FontFaceStyleName(font->font) : "")
              .find("Oblique") == std::string::npos &&
      std::string(TTF_FontFaceStyleName(font->font) ? TTF_FontFaceStyleName(font->font) : "")
              .find("Italic") == std::string::npos)
    flags |= TTF_STYLE_ITALIC;
  TTF_SetFontStyle(font->font, flags);
  return fonts_.emplace(key, std::move(font)).first->second.get();
}

std::optional<TextImage> TextRenderer::render(const TextStyle& style, std::string_view utf8) {
  if (utf8.empty()) return TextImage{};
  Font* font = open(style);
  if (font == nullptr) return std::nullopt;
  const std::string text(utf8);
  SDL_Surface* rendered =
      TTF_RenderUTF8_Blended(font->font, text.c_str(), SDL_Color{255, 255, 255, 255});
  if (rendered == nullptr) return std::nullopt;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (argb == nullptr) return std::nullopt;
  TextImage image;
  image.width = argb->w;
  image.height = argb->h;
  image.coverage.resize(static_cast<std::size_t>(argb->w) * argb->h);
  SDL_LockSurface(argb);
  for (int y = 0; y < argb->h; ++y) {
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                               static_cast<std::ptrdiff_t>(y) * argb->pitch);
    for (int x = 0; x < argb->w; ++x)
      image.coverage[static_cast<std::size_t>(y) * argb->w + x] =
          static_cast<std::uint8_t>(row[x] >> 24);
  }
  SDL_UnlockSurface(argb);
  SDL_FreeSurface(argb);
  return image;
}

}  // namespace vdx::platform
