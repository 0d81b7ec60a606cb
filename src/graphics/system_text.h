// Text in a system font (the content's text styles): the wait message, the
// meters' names, the result banners, the pause menu and the stage names.
#pragma once

#include <string_view>

#include "content/records.h"
#include "graphics/display.h"
#include "graphics/surface.h"
#include "platform/platform.h"

namespace vdx {

platform::TextStyle StyleOf(const cFont& font);

// Draws one line with its top-left at (x, y) in the style's colour; returns
// false when no font could be had.
bool DrawSystemText(platform::Platform& platform, Surface& target, const cFont& font,
                    std::string_view text, int x, int y);

// Draws text rendered before (a line drawn every frame is rendered once) with
// its top-left at (x, y) in the colour (0x00RRGGBB).
void DrawTextImage(Surface& target, const platform::TextImage& image, std::uint32_t colour, int x,
                   int y);

// Shows the wait message over the picture on screen: the style's Text at its
// offsets from the top-left of the play field. The back buffer is not changed;
// the message stays until the next presentation.
void ShowPleaseWait(platform::Platform& platform, const Display& display, const cFont& font);

}  // namespace vdx
