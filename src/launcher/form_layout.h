// Where everything of the settings form sits on its 640 x 480 window, in
// pixels: the drawing and the tests' clicks use the same places.
#pragma once

#include <array>

#include "launcher/form_settings.h"
#include "launcher/form_state.h"

namespace vdxlaunch {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool contains(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
  int centreX() const { return x + width / 2; }
  int centreY() const { return y + height / 2; }
};

// The menu labels down the left side, in MenuLabel order.
inline constexpr std::array<Rect, kMenuLabelCount> kMenuLabelRects = {{
    {28, 150, 160, 28},  // "Keyboard Setup"
    {28, 190, 160, 28},  // "Audio Setup"
    {28, 230, 160, 28},  // "Other  Settings"
    {28, 330, 160, 28},  // "START"
    {28, 370, 160, 28},  // "EXIT"
}};

// The one panel shown at a time.
inline constexpr Rect kPanelRect = {200, 112, 424, 330};
inline constexpr int kPanelTitleX = 216;
inline constexpr int kPanelTitleY = 124;

// Keyboard Setup: a column per player, a caption and a key box per row.
inline constexpr std::array<int, 2> kPlayerColumnX = {214, 420};
inline constexpr int kColumnTitleY = 164;
inline constexpr int kKeyRowY = 194;
inline constexpr int kKeyRowStep = 34;
inline constexpr int kKeyBoxOffsetX = 78;
inline constexpr int kKeyBoxWidth = 112;
inline constexpr int kKeyBoxHeight = 24;

constexpr Rect KeyBoxRect(int index) {
  return {kPlayerColumnX[static_cast<std::size_t>(index / 7)] + kKeyBoxOffsetX,
          kKeyRowY + (index % 7) * kKeyRowStep, kKeyBoxWidth, kKeyBoxHeight};
}

// Audio Setup: a label and its "-" and "+" per volume, in VolumeButton order.
inline constexpr Rect kMusicLabelRect = {224, 180, 200, 24};
inline constexpr Rect kEffectsLabelRect = {224, 230, 200, 24};
inline constexpr std::array<Rect, 4> kVolumeButtonRects = {{
    {448, 178, 32, 26},  // music "-"
    {488, 178, 32, 26},  // music "+"
    {448, 228, 32, 26},  // effects "-"
    {488, 228, 32, 26},  // effects "+"
}};

// Other Settings: the two check boxes (the square; its caption follows it).
inline constexpr Rect kJoystickBoxRect = {224, 176, 19, 19};
inline constexpr Rect kFpsBoxRect = {224, 214, 19, 19};
// ... and the computer's level with its "-" and "+".
inline constexpr Rect kDifficultyLabelRect = {224, 256, 200, 24};
inline constexpr std::array<Rect, 2> kDifficultyButtonRects = {{
    {448, 254, 32, 26},  // "-"
    {488, 254, 32, 26},  // "+"
}};

// A line for notes at the foot of the form.
inline constexpr int kNoteX = 16;
inline constexpr int kNoteY = 452;

}  // namespace vdxlaunch
