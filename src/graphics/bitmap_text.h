// Text drawn glyph by glyph from the font sheet through the sprite renderer, so
// it can be tinted, scaled, blended and faded like any sprite.
#pragma once

#include <cstdint>
#include <string_view>

#include "content/collection.h"
#include "content/records.h"
#include "graphics/sprite_loading.h"
#include "graphics/surface.h"

namespace vdx {

// The font sheet (512 x 512, keyed black), its glyph table and the 128 x 128
// scratch surface every glyph is copied into before it is drawn.
struct BitmapFont {
  Surface sheet;
  const Collection<cRect>* glyphs = nullptr;  // keyed by the character code in decimal
  Surface scratch = [] {
    Surface s = MakeSurface(128, 128);
    s.colorKey = 0;
    return s;
  }();
};

// Loads the font sheet "\VDXFont.bmp" (512 x 512, keyed on black) and takes
// the glyph table, which must outlive the font. Returns false, and leaves the
// font drawing nothing, when the sheet is missing or not a picture.
bool LoadFontSheet(const LoadContext& ctx, const Collection<cRect>& glyphs, BitmapFont& font);

// Draws `text` with the top-left of its first glyph at (X, Y). A space advances
// the pen by Scale x 20; every glyph is a 128 x 128 piece drawn Scale x 128 and
// advances the pen by Scale x its width. A character with no glyph draws nothing.
void DrawBitmapText(Surface& target, BitmapFont& font, std::string_view text, std::int16_t X,
                    std::int16_t Y, float Red, float Green, float Blue, std::int16_t BlendMode,
                    float Scale, float Alpha);

}  // namespace vdx
