#include "game/screenshot.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

#include "core/files.h"
#include "core/log.h"
#include "game/player_files.h"
#include "platform/keycodes.h"
#include "platform/picture_files.h"

namespace vdx {
namespace {

constexpr std::string_view kFolder = "screenshots";

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// The number of a name "vdxN.png" (any letter case), or 0.
unsigned long NumberOf(std::string_view name) {
  const std::string lower = Lower(name);
  std::string_view digits = lower;
  if (!digits.starts_with("vdx") || !digits.ends_with(".png")) return 0;
  digits = digits.substr(3, digits.size() - 7);
  if (digits.empty() || digits.size() > 9) return 0;
  for (const char c : digits)
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
  return std::stoul(std::string(digits));
}

}  // namespace

std::string FreeScreenshotName(const std::vector<std::string>& entries) {
  std::set<unsigned long> taken;
  for (const std::string& entry : entries)
    taken.insert(NumberOf(entry));
  unsigned long number = 1;
  while (taken.contains(number))
    ++number;
  char name[32];
  std::snprintf(name, sizeof name, "vdx%04lu.png", number);
  return name;
}

void TakeScreenshot(Game& game) {
  // In the game folder: the folder as the player may have named it
  // ("Screenshots"), else made anew. Beside a read-only one: in the player's
  // data folder.
  const bool own = !game.folders.inGameFolder;
  const auto found =
      own ? std::nullopt : game.paths.find("\\" + std::string(kFolder));
  const std::filesystem::path base = own ? game.folders.data : game.paths.gameDir();
  const std::filesystem::path folder = found.value_or(base / kFolder);
  const std::string unusable =
      "Screenshot folder " + (own ? folder.string() : folder.filename().string()) +
      " cannot be used: ";
  // Pictures go into the game folder, never through a link out of it.
  if (found && !LiesWithin(folder, game.paths.gameDir())) {
    std::error_code ignored;
    ReportFailedWrite(game.log, folder,
                      unusable + "it is a link that leads out of the game folder (to " +
                          std::filesystem::weakly_canonical(folder, ignored).string() + ")");
    return;
  }
  if (own && !ReadyPlayerFolder(game, base)) return;
  std::error_code error;
  if (!found) std::filesystem::create_directory(folder, error);
  std::vector<std::string> entries;
  if (!error)
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
      entries.push_back(it->path().filename().string());
  if (error) {
    ReportFailedWrite(game.log, folder, unusable + error.message());
    return;
  }
  const std::string name = FreeScreenshotName(entries);
  const std::string shown =
      own ? (folder / name).string() : folder.filename().string() + "\\" + name;
  const WriteResult written =
      platform::WritePng((folder / name).string(), platform::kFrameWidth, platform::kFrameHeight,
                         game.platform.presentedFrame());
  if (written.ok)
    WriteLog(game.log, LogOpening::Append, {"Screenshot " + shown});
  else
    ReportFailedWrite(game.log, folder / name,
                      "Screenshot " + shown + " could not be written: " + written.error);
}

void ScreenshotOnKey(Game& game, const FrameInput& frame) {
  const bool down = frame.keys[key::F12] != 0;
  if (down && !game.screenshotKeyHeld) TakeScreenshot(game);
  game.screenshotKeyHeld = down;
}

}  // namespace vdx
