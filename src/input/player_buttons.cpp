#include "input/player_buttons.h"

namespace vdx {
namespace {

bool Held(const platform::KeyboardState& keys, Integer code) {
  return code > 0 && code < 256 && keys[static_cast<std::size_t>(code)] != 0;
}

}  // namespace

PlayerInput PlayerButtons(const FrameInput& frame, const cKeys& k, int player, bool controllers) {
  std::uint8_t b = 0;
  const auto& keys = frame.keys;
  if (player == 1 && keys[1] != 0) b |= kButtonPause;  // Escape
  // The bindings are screen directions: Backward is the left key.
  if (Held(keys, k.Backward)) b |= kButtonLeft;
  if (Held(keys, k.Forward)) b |= kButtonRight;
  if (Held(keys, k.Up)) b |= kButtonUp;
  if (Held(keys, k.Down)) b |= kButtonDown;
  if (Held(keys, k.Punch)) b |= kButtonPunch;
  if (Held(keys, k.Kick)) b |= kButtonKick;
  if (Held(keys, k.Block)) b |= kButtonBlock;
  const std::size_t index = static_cast<std::size_t>(player - 1);
  if (controllers && index < frame.controllers.size() && frame.controllers[index]) {
    const platform::ControllerState& pad = *frame.controllers[index];
    if (pad.x < 4000) b |= kButtonLeft;
    if (pad.x > 6000) b |= kButtonRight;
    if (pad.y < 4000) b |= kButtonUp;
    if (pad.y > 6000) b |= kButtonDown;
    if (pad.buttons[0] != 0) b |= kButtonPunch;
    if (pad.buttons[1] != 0) b |= kButtonKick;
    if (pad.buttons[2] != 0) b |= kButtonBlock;
  }
  return PlayerInput{b};
}

FightInputs FightButtons(const FrameInput& frame, const cKeys& player1, const cKeys& player2,
                         bool controllers) {
  return {PlayerButtons(frame, player1, 1, controllers),
          PlayerButtons(frame, player2, 2, controllers)};
}

}  // namespace vdx
