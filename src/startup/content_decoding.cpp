#include "startup/content_decoding.h"

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "content/collection.h"
#include "content/content_files.h"
#include "core/files.h"
#include "graphics/surface.h"
#include "graphics/vdp_frame.h"
#include "platform/bmp_decoder.h"
#include "platform/movie_decoder.h"

namespace vdx {
namespace {

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::string Size(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

std::optional<std::string> PackedFrameProblem(const std::string& bytes, int width, int height) {
  Surface frame = MakeSurface(width, height);
  const VdpReport unpacked = UnpackVDPFrame(Bytes(bytes), frame, height, width);
  if (unpacked.ragged) return "is a packed frame that ends inside a run (cut short?)";
  if (unpacked.overflow)
    return "is a packed frame that holds more than its " + Size(width, height) + " frame";
  if (unpacked.uncovered > 0)
    return "is a packed frame that leaves " + std::to_string(unpacked.uncovered) + " of its " +
           Size(width, height) + " pixels unpainted (cut short?)";
  return std::nullopt;
}

std::optional<std::string> PictureProblem(const std::string& bytes, const NamedFile& needed) {
  const auto image = platform::DecodeBmp(Bytes(bytes));
  if (!image) return "is not a bitmap the game can read";
  // A fighter's frames line up with each other and with their hit boxes only
  // at the frame size; the game stretches any other size to it.
  if (needed.use == FileUse::FighterFrame &&
      (image->width != needed.frameWidth || image->height != needed.frameHeight))
    return "is " + Size(image->width, image->height) + " pixels, but a frame of this action is " +
           Size(needed.frameWidth, needed.frameHeight) + " (the game stretches it)";
  return std::nullopt;
}

// Why the game cannot use the file, or nothing when it can (or when no reader
// of ours looks at its kind).
std::optional<std::string> Problem(const std::filesystem::path& file, const NamedFile& needed,
                                   platform::Platform& audio) {
  // A pipe, a device or a folder is never opened: a pipe would block the check.
  std::error_code error;
  if (needed.use != FileUse::Page && !std::filesystem::is_regular_file(file, error))
    return std::string(kNotReadable);
  switch (needed.use) {
    case FileUse::Picture:
    case FileUse::FighterFrame: {
      const auto bytes = ReadWholeFile(file);
      if (!bytes) return "cannot be read";
      if (needed.use == FileUse::FighterFrame && FoldKey(needed.path).ends_with(".vdp"))
        return PackedFrameProblem(*bytes, needed.frameWidth, needed.frameHeight);
      return PictureProblem(*bytes, needed);
    }
    case FileUse::Sound: {
      const auto bytes = ReadWholeFile(file);
      if (!bytes) return "cannot be read";
      const auto sound = audio.loadSound(Bytes(*bytes));
      if (!sound) return "is not a sound the game can play";
      audio.freeSound(*sound);
      return std::nullopt;
    }
    case FileUse::Music: {
      const bool plays = audio.playMusic(file.string());
      audio.stopMusic();
      if (!plays) return "is not music the game can play";
      return std::nullopt;
    }
    case FileUse::Movie: {
      const auto movie = platform::OpenMovieFile(file.string());
      if (!movie) return "is not a movie the game can decode";
      platform::Image frame;
      double seconds = 0;
      if (!movie->nextFrame(frame, seconds)) return "has no picture that decodes";
      return std::nullopt;
    }
    case FileUse::Page:
      return std::nullopt;  // the desktop's browser reads it, not the game
  }
  return std::nullopt;
}

}  // namespace

void FindBrokenFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                     platform::Platform& audio, LoadReport& report) {
  // Each path is opened once, however many need it. What is held grows with
  // the distinct paths (the files there and the missing ones), not with the
  // owners.
  std::unordered_map<std::string, std::size_t> broken;  // folded path -> its entry
  std::unordered_set<std::string> usable;               // folded paths that decode
  ForEachNeededFile(paths, settings, content, [&](const NamedFile& needed) {
    std::string key = FoldKey(needed.path);
    if (usable.contains(key)) return;
    if (auto it = broken.find(key); it != broken.end()) {
      if (needed.listed) return;  // the owners that name it say enough
      std::string& owner = report.broken[it->second].owner;
      // The same owner names a path once (a fighter's frame repeated in a short folder).
      if (!(owner == needed.owner || owner.ends_with("; " + needed.owner)))
        owner += "; " + needed.owner;
      return;
    }
    const auto file = paths.find(needed.path);  // missing and refused ones are listed apart
    if (!file) return;
    const auto problem = Problem(*file, needed, audio);
    if (!problem) {
      usable.insert(std::move(key));
      return;
    }
    broken.emplace(std::move(key), report.broken.size());
    report.broken.push_back({needed.owner, needed.path, *problem});
  });
}

}  // namespace vdx
