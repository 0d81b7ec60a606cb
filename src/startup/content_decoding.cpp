#include "startup/content_decoding.h"

#include <map>
#include <optional>
#include <span>
#include <string>

#include "content/collection.h"
#include "content/content_files.h"
#include "core/files.h"
#include "graphics/sprite_loading.h"
#include "graphics/surface.h"
#include "graphics/vdp_frame.h"
#include "platform/bmp_decoder.h"
#include "platform/movie_decoder.h"

namespace vdx {
namespace {

bool EndsWith(const std::string& path, std::string_view ending) {
  return FoldKey(path).ends_with(FoldKey(ending));
}

// Why the game cannot use the file, or nothing when it can (or when no reader
// of ours looks at its kind here).
std::optional<std::string> Problem(const std::filesystem::path& file, const NamedFile& needed) {
  const std::string& path = needed.path;
  if (EndsWith(path, ".vdp")) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes) return "cannot be read";
    const int width = needed.frameWidth > 0 ? needed.frameWidth : kFighterFrameSize;
    const int height = needed.frameHeight > 0 ? needed.frameHeight : kFighterFrameSize;
    Surface frame = MakeSurface(width, height);
    const VdpReport unpacked = UnpackVDPFrame(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()), frame,
        height, width);
    const std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (unpacked.ragged) return "is a packed frame that ends inside a run (cut short?)";
    if (unpacked.overflow) return "is a packed frame that holds more than its " + size + " frame";
    if (unpacked.uncovered > 0)
      return "is a packed frame that leaves " + std::to_string(unpacked.uncovered) + " of its " +
             size + " pixels unpainted (cut short?)";
    return std::nullopt;
  }
  if (EndsWith(path, ".bmp")) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes) return "cannot be read";
    if (!platform::DecodeBmp(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size())))
      return "is not a bitmap the game can read";
    return std::nullopt;
  }
  if (EndsWith(path, ".avi")) {
    const auto movie = platform::OpenMovieFile(file.string());
    if (!movie) return "is not a movie the game can decode";
    platform::Image frame;
    double seconds = 0;
    if (!movie->nextFrame(frame, seconds)) return "has no picture that decodes";
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace

void FindBrokenFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                     LoadReport& report) {
  std::map<std::string, std::size_t> index;  // folded path -> its entry in report.broken
  std::map<std::string, bool> checked;       // folded path -> usable
  for (const NamedFile& needed : FilesNeededByContent(settings, content)) {
    const std::string key = FoldKey(needed.path);
    if (auto it = checked.find(key); it != checked.end()) {
      if (!it->second) report.broken[index[key]].owner += "; " + needed.owner;
      continue;
    }
    const auto file = paths.find(needed.path);  // missing and refused ones are listed apart
    const auto problem = file ? Problem(*file, needed) : std::nullopt;
    checked[key] = !problem;
    if (!problem) continue;
    index[key] = report.broken.size();
    report.broken.push_back({needed.owner, needed.path, *problem});
  }
}

}  // namespace vdx
