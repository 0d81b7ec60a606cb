#include "game/do_events.h"

#include "game/screenshot.h"

namespace vdx {

FrameInput ReadFrame(Game& game) {
  FrameInput frame = ReadFrameInput(game.platform, game.JoystickCount);
  ScreenshotOnKey(game, frame);
  return frame;
}

FrameInput ReadFrameAndPoll(Game& game) {
  FrameInput frame = ReadFrame(game);
  PollInput(frame, game.settings.Player1Keys, game.settings.Player2Keys, game.settings.Joystick,
            game.input);
  return frame;
}

void DoEvents(Game& game) {
  if (game.platform.pumpEvents()) game.QuitRequested = true;
  // The music timer runs while the loops yield, as window timers did.
  MusicTimer(game.platform, game.music, game.platform.ticks());
}

void WaitForKeysReleased(Game& game) {
  while (!game.QuitRequested) {
    ReadFrameAndPoll(game);
    DoEvents(game);
    if (game.input.HeldCommand[1].empty() && game.input.HeldCommand[2].empty()) break;
  }
}

}  // namespace vdx

namespace vdx {

FrameInput WithKeysTappedSinceLastLook(Game& game, FrameInput frame) {
  const platform::KeyboardState taps = game.platform.takeKeyPresses();
  for (std::size_t key = 0; key < taps.size(); ++key)
    if (taps[key] != 0) frame.keys[key] = taps[key];
  return frame;
}

void ForgetKeyTaps(Game& game) {
  game.platform.takeKeyPresses();
}

}  // namespace vdx
