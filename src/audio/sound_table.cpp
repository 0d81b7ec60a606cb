#include "audio/sound_table.h"

#include <cmath>
#include <span>

#include "core/files.h"
#include "core/log.h"

namespace vdx {
namespace {

void LoadOne(platform::Platform& platform, const PathResolver& paths, SoundTable& table,
             const std::string& contentPath, const std::string& name, LogFile& log) {
  const auto path = paths.find(contentPath);
  const auto bytes = path ? ReadWholeFile(*path) : std::nullopt;
  const auto sound = bytes
                         ? platform.loadSound(std::span(
                               reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()))
                         : std::nullopt;
  if (!sound) {
    WriteLog(log, LogOpening::Append, {contentPath + " is not a sound; it is left out"});
    return;
  }
  // A name already taken (a fighter's file named like a shared one) keeps the first.
  if (!table.Sounds.add(*sound, name)) platform.freeSound(*sound);
}

}  // namespace

double GainOf(int hundredthsOfDecibel) {
  return std::pow(10.0, hundredthsOfDecibel / 2000.0);
}

void ReleaseSounds(platform::Platform& platform, SoundTable& table) {
  for (platform::SoundId id : table.Sounds)
    platform.freeSound(id);
  table.Sounds = Collection<platform::SoundId>();
}

void LoadSounds(platform::Platform& platform, const PathResolver& paths, SoundTable& table,
                const std::vector<std::string>& fighterSounds, LogFile& log) {
  ReleaseSounds(platform, table);
  paths.forget();  // the folder may have changed since the last fight
  for (const std::string& name : paths.list("\\Sounds"))
    LoadOne(platform, paths, table, "\\Sounds\\" + name, name, log);
  for (const std::string& contentPath : fighterSounds) {
    const auto slash = contentPath.find_last_of("\\/");
    LoadOne(platform, paths, table, contentPath,
            slash == std::string::npos ? contentPath : contentPath.substr(slash + 1), log);
  }
}

void PlaySound(platform::Platform& platform, SoundTable& table, std::string_view name,
               int soundVolume, LogFile& log) {
  if (name.empty()) return;
  if (const platform::SoundId* sound = table.Sounds.find(name)) {
    // A refusal (every channel busy) is usually over a moment later; one record
    // per name tells the content's author without filling the log in a busy fight.
    if (!platform.playSound(*sound, GainOf(soundVolume), false) &&
        table.reportedRefused.insert(FoldKey(name)).second)
      WriteLog(log, LogOpening::Append, {std::string(name) + " could not be played"});
    return;
  }
  // Content that names a sound it lacks must not stop a fight.
  if (table.reportedMissing.insert(FoldKey(name)).second)
    WriteLog(log, LogOpening::Append, {"No sound named " + std::string(name)});
}

}  // namespace vdx
