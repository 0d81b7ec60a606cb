// Turns the content's picture files into surfaces for a fight or a screen:
// a fighter's action frames (bitmaps or packed .VDP) with their hit boxes, the
// stage's scenery frames, the fighters' effect frames, and the portraits.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/content.h"
#include "content/content_files.h"
#include "content/paths.h"
#include "core/log.h"
#include "graphics/display.h"
#include "graphics/frame_pool.h"
#include "graphics/surface.h"
#include "platform/platform.h"

namespace vdx {

// What the loaders need of the game.
struct LoadContext {
  platform::Platform& platform;
  const PathResolver& paths;
  LogFile& log;
  Display* display = nullptr;  // for the progress bar; none: no bar
};

inline constexpr int kFighterFrameSize = 256;
inline constexpr int kWideFighterFrame = 364;  // throws, and actions marked Large

// Loads every action's frames, in the order of the character's Actions, and
// sets their Offsets and hit boxes. A throw's frames are drawn per opponent,
// in the folder named by the opponent's Path. Failures are logged ("Error in
// loadcharacteractions " and the file, then the error) and end the loading;
// the actions not loaded still get frames (empty ones) so that every Offset
// stays valid.
void loadcharacteractions(const LoadContext& ctx, cCharacter& character, FighterFrames& out,
                          std::string_view opponentPath, bool showProgress);

void loadstageanims(const LoadContext& ctx, cStage& stage, FramePool& out);
void loadcharactereffects(const LoadContext& ctx, cCharacter& first, cCharacter& second,
                          FramePool& out);

// The select screen's portraits at the tile size: entry 1 is the random pick's
// tile, entry k + 1 the k-th character's. Each is decoded when first asked for,
// and only the last few are kept, so a roster of any length costs a few
// pictures (the screen shows two at a time).
class CharacterPortraits {
 public:
  static constexpr std::size_t kKept = 8;

  // Starts a new log ("Loading Character Portraits").
  CharacterPortraits(const LoadContext& ctx, const Collection<cCharacter>& characters, int width,
                     int height);

  // The portrait of an entry (a blank tile when its file cannot be had), or
  // nullptr for an entry past the ends.
  SharedSurface get(int entry);
  std::size_t decoded() const { return decoded_; }  // files decoded so far

 private:
  LoadContext ctx_;
  const Collection<cCharacter>& characters_;
  int width_;
  int height_;
  SharedSurface blank_;
  std::vector<std::pair<int, SharedSurface>> kept_;  // the most recently used last
  std::size_t decoded_ = 0;
};
// One per stage, 300 x 224, from Stages\Portraits or else the stage background.
std::vector<SharedSurface> LoadStagePortraits(const LoadContext& ctx,
                                              const Collection<cStage>& stages);

// Reads a picture file of the game folder scaled to the size (a size of 0 or
// less: the picture's own size) with the colour key given; nullptr when it is
// missing or not a picture.
SharedSurface LoadPicture(const LoadContext& ctx, std::string_view contentPath, int width,
                          int height, std::optional<std::uint32_t> colorKey = std::nullopt);
// The same, and a picture that cannot be had is logged ("<path>: missing or
// not a picture") for whoever wonders why something is not drawn.
SharedSurface LoadPictureOrLog(const LoadContext& ctx, std::string_view contentPath, int width,
                               int height, std::optional<std::uint32_t> colorKey = std::nullopt);

}  // namespace vdx
