#include "graphics/display.h"

#include <span>
#include <string>

#include "core/files.h"
#include "core/game_error.h"
#include "core/log.h"

namespace vdx {

void InitDirectDrawFullScreen(platform::Platform& platform, LogFile& log) {
  platform.openDisplay(/*fullScreen=*/true);
  WriteLog(log, LogOpening::New, {"Starting in Fullscreen mode"});
}

void InitDirectDraw(platform::Platform& platform, LogFile& log) {
  platform.openDisplay(/*fullScreen=*/false);
  const platform::PixelFormat format = platform.displayPixelFormat();
  const std::string line = "Red mask " + std::to_string(format.redMask) + " Green Mask " +
                           std::to_string(format.greenMask) + " Blue Mask " +
                           std::to_string(format.blueMask);
  WriteLog(log, LogOpening::New, {line});
}

void InitDirect3D(platform::Platform& platform, LogFile& log) {
  if (platform.presentationIsSoftware())
    WriteLog(log, LogOpening::New,
             {"Warning, starting in RGB mode.  Some Devices effects may be missing!"});
}

void PresentFrame(platform::Platform& platform, const Display& display) {
  platform.present(display.backBuffer.pixels);
}

void PaintBackground(Display& display) {
  display.backBuffer.pixels = display.background.pixels;
}

void LoadBackground(platform::Platform& platform, const PathResolver& paths, Display& display,
                    std::string_view contentPath) {
  const auto path = paths.find(contentPath);
  const auto bytes = path ? ReadWholeFile(*path) : std::nullopt;
  if (!bytes) throw GameError(kErrFileNotFound, "File not found: " + std::string(contentPath));
  const auto image = platform.decodeBmp(
      std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
  if (!image) throw GameError(kErrInvalidPicture, "Invalid picture: " + std::string(contentPath));
  display.background = ScaledSurface(*image, kScreenWidth, kScreenHeight);
}

}  // namespace vdx
