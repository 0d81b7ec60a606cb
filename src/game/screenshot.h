// F12 writes the frame on screen as a numbered PNG into screenshots/ of the
// game folder (or of the player's data folder beside a read-only one), in
// every screen. Output only: the frame's input and everything
// a fight reads stay as they were.
#pragma once

#include <string>
#include <vector>

#include "game/game.h"
#include "input/frame_input.h"

namespace vdx {

// "vdx0001.png", "vdx0002.png", ...: the lowest number whose name is not among
// a folder's entries (compared without letter case, as content paths are).
std::string FreeScreenshotName(const std::vector<std::string>& entries);

// Writes the frame on screen now and logs its name, or logs why it could not.
void TakeScreenshot(Game& game);

// Takes one picture when F12 went down since the last pass, none while it is held.
void ScreenshotOnKey(Game& game, const FrameInput& frame);

}  // namespace vdx
