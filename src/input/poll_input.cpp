#include "input/poll_input.h"

namespace vdx {
namespace {

bool Held(const platform::KeyboardState& keys, Integer code) {
  return code > 0 && code < 256 && keys[static_cast<std::size_t>(code)] != 0;
}

}  // namespace

std::string KeyboardLetters(const platform::KeyboardState& keys, const cKeys& k, bool facingLeft,
                            bool withEscape) {
  std::string letters;
  if (withEscape && keys[1] != 0) letters += 'E';
  // The bindings are screen directions; the letters are the fighter's.
  if (Held(keys, k.Backward)) letters += facingLeft ? 'R' : 'L';
  if (Held(keys, k.Forward)) letters += facingLeft ? 'L' : 'R';
  if (Held(keys, k.Up)) letters += 'U';
  if (Held(keys, k.Down)) letters += 'D';
  if (Held(keys, k.Punch)) letters += 'P';
  if (Held(keys, k.Kick)) letters += 'K';
  if (Held(keys, k.Block)) letters += 'B';
  return letters;
}

std::string ControllerLetters(const platform::ControllerState& pad, bool facingLeft) {
  std::string letters;
  if (pad.x < 4000) letters += facingLeft ? 'R' : 'L';
  if (pad.x > 6000) letters += facingLeft ? 'L' : 'R';
  if (pad.y < 4000) letters += 'U';
  if (pad.y > 6000) letters += 'D';
  if (pad.buttons[0] != 0) letters += 'P';
  if (pad.buttons[1] != 0) letters += 'K';
  if (pad.buttons[2] != 0) letters += 'B';
  return letters;
}

void PollLetters(const FrameInput& frame, const cKeys& player1, const cKeys& player2,
                 bool joystickSetting, InputState& input) {
  input.HeldCommand[1] = KeyboardLetters(frame.keys, player1, input.Facing[1], true);
  input.HeldCommand[2] = KeyboardLetters(frame.keys, player2, input.Facing[2], false);
  if (joystickSetting)
    for (std::size_t player = 1; player <= frame.controllers.size(); ++player)
      if (const auto& pad = frame.controllers[player - 1])
        input.HeldCommand[player] += ControllerLetters(*pad, input.Facing[player]);
}

void PollInput(const FrameInput& frame, const cKeys& player1, const cKeys& player2,
               bool joystickSetting, InputState& input) {
  PollLetters(frame, player1, player2, joystickSetting, input);
}

}  // namespace vdx
