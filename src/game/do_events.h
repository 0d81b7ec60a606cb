// A loop pass's two contacts with the machine: at its top, one read of the
// clock, keys and controllers (the pass works from that alone); when it
// "yields", the platform handles window and device events, a request to close
// is noted and the music timer runs.
#pragma once

#include "game/game.h"
#include "input/frame_input.h"

namespace vdx {

// F12 in the frame takes a screenshot (game/screenshot.h); the frame is
// returned as it was read.
FrameInput ReadFrame(Game& game);

// Reads the frame and turns it into both players' command letters (game.input).
FrameInput ReadFrameAndPoll(Game& game);

void DoEvents(Game& game);

// For screens that look at the keys only every so often: the frame with every
// key that went down since the last look counted as held, so that a tap let
// go between two looks is not lost. A key held on still repeats at the
// screen's pace.
FrameInput WithKeysTappedSinceLastLook(Game& game, FrameInput frame);

// Forgets the keys that went down before a screen opened.
void ForgetKeyTaps(Game& game);

// Reads and yields until neither player holds a key that makes a letter (or
// the game is closing), so a key held from the screen before does nothing here.
void WaitForKeysReleased(Game& game);

}  // namespace vdx
