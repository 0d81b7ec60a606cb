// The fight's sound effects: every file of Sounds (and of the fighters' own
// Sounds folders) loaded whole, found by file name in any letter case, and
// played at the effects volume.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "content/collection.h"
#include "content/paths.h"
#include "core/log.h"
#include "platform/platform.h"

namespace vdx {

struct SoundTable {
  Collection<platform::SoundId> Sounds;   // key: the file name
  std::set<std::string> reportedMissing;  // sound names already logged as missing
  std::set<std::string> reportedRefused;  // sound names already logged as not played
};

// A volume in hundredths of a decibel (0 full, -3000 is 30 dB down) as a
// linear gain: 10^(v / 2000).
double GainOf(int hundredthsOfDecibel);

// Empties the table and loads every file of \Sounds\ and then the given
// fighters' sound files (content paths). A file that is not a sound is logged
// and left out.
void LoadSounds(platform::Platform& platform, const PathResolver& paths, SoundTable& table,
                const std::vector<std::string>& fighterSounds, LogFile& log);

// Plays a sound once at the volume. A name with no sound plays nothing and is
// logged the first time; so is a sound the device could not play.
void PlaySound(platform::Platform& platform, SoundTable& table, std::string_view name,
               int soundVolume, LogFile& log);

void ReleaseSounds(platform::Platform& platform, SoundTable& table);

}  // namespace vdx
