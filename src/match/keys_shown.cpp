#include "match/keys_shown.h"

#include "input/player_input.h"

namespace vdx {

std::string KeysShown(std::string_view letters) {
  std::string shown;
  for (const char letter : letters) {
    switch (letter) {
      case 'R':
        shown += "\u2192";
        break;
      case 'L':
        shown += "\u2190";
        break;
      case 'U':
        shown += "\u2191";
        break;
      case 'D':
        shown += "\u2193";
        break;
      case 'P':
      case 'K':
      case 'B':
      case 'E':
        shown += letter;
        break;
      default:
        break;
    }
  }
  return shown;
}

std::string ButtonsShown(std::uint8_t buttons) {
  const bool left = (buttons & kButtonLeft) != 0 && (buttons & kButtonRight) == 0;
  const bool right = (buttons & kButtonRight) != 0 && (buttons & kButtonLeft) == 0;
  const bool up = (buttons & kButtonUp) != 0 && (buttons & kButtonDown) == 0;
  const bool down = (buttons & kButtonDown) != 0 && (buttons & kButtonUp) == 0;
  std::string shown;
  if (up && left)
    shown = "\u2196";
  else if (up && right)
    shown = "\u2197";
  else if (down && right)
    shown = "\u2198";
  else if (down && left)
    shown = "\u2199";
  else if (up)
    shown = "\u2191";
  else if (down)
    shown = "\u2193";
  else if (left)
    shown = "\u2190";
  else if (right)
    shown = "\u2192";
  if (buttons & kButtonPunch) shown += 'P';
  if (buttons & kButtonKick) shown += 'K';
  if (buttons & kButtonBlock) shown += 'B';
  return shown.empty() ? "\u00b7" : shown;
}

}  // namespace vdx
