// The 640 x 480 back buffer every screen draws into, its presentation, the
// current screen's background picture and the pacing gate.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

#include "content/paths.h"
#include "core/log.h"
#include "graphics/sprite_rasterizer.h"
#include "graphics/surface.h"
#include "platform/platform.h"

namespace vdx {

inline constexpr int kScreenWidth = platform::kFrameWidth;
inline constexpr int kScreenHeight = platform::kFrameHeight;

struct Display {
  Surface backBuffer = MakeSurface(kScreenWidth, kScreenHeight);
  Surface background = MakeSurface(kScreenWidth, kScreenHeight);  // the current screen's picture
  std::uint32_t pacingDeadline = 0;  // FrameDue's deadline, 0 when not armed
  // The drawing code the screens use: the best the processor has, unless a
  // benchmark asks for another.
  RasterPath raster = RasterPath::Best;
};

// Full-screen set-up: starts a new log with "Starting in Fullscreen mode".
void InitDirectDrawFullScreen(platform::Platform& platform, LogFile& log);
// Windowed set-up: starts a new log with the display's colour masks.
void InitDirectDraw(platform::Platform& platform, LogFile& log);
// Checks how frames reach the screen; a software-only presentation is logged.
void InitDirect3D(platform::Platform& platform, LogFile& log);

void PresentFrame(platform::Platform& platform, const Display& display);
void PaintBackground(Display& display);
// Loads a bitmap of the game folder as the background, scaled to 640 x 480.
// Throws GameError when the file is missing or is not a picture.
void LoadBackground(platform::Platform& platform, const PathResolver& paths, Display& display,
                    std::string_view contentPath);

}  // namespace vdx
