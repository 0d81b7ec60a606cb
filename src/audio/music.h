// Background music: Ogg tunes streamed by the platform and restarted when they
// end (checked every 250 ms while the loops yield), or a WAV stage tune played
// as a looping sound.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "content/paths.h"
#include "platform/platform.h"

namespace vdx {

struct MusicState {
  std::string oggFile;     // the Ogg file now wanted (a real path)
  bool oggOn = false;      // the timer restarts the file only while this is set
  int musicVolume = 100;   // percent
  std::string stageMusic;  // the stage's Music file name
  std::optional<platform::SoundId> musicBuffer;  // a WAV stage tune
  bool timerEnabled = false;
  std::uint32_t nextTimerTick = 0;
};

inline constexpr std::uint32_t kMusicTimerMs = 250;

// The player's operations in place of the outside library.
void InitOgg(platform::Platform& platform, MusicState& music);
void PlayOggFile(platform::Platform& platform, const std::string& path);
bool OggIsPlaying(platform::Platform& platform);
void UpdateOgg(platform::Platform& platform);
void StopOgg(platform::Platform& platform);
void CloseOgg(platform::Platform& platform, MusicState& music);
void SetOggVolume(platform::Platform& platform, int percent);

// Starts a file and the timer, at the music volume.
void PlayOggMusic(platform::Platform& platform, MusicState& music, const std::string& path);

// The music timer: when due, restarts a finished tune while Ogg on is set.
void MusicTimer(platform::Platform& platform, MusicState& music, std::uint32_t now);

// The menus' tune.
void StartMenuMusic(platform::Platform& platform, const PathResolver& paths, MusicState& music);
// The menus' tune stopped and not restarted.
void StopMenuMusic(platform::Platform& platform, MusicState& music);
// A fight's tune: a name ending in "wav" (any letter case) is a looping sound.
void StartStageMusic(platform::Platform& platform, const PathResolver& paths, MusicState& music,
                     const std::string& stageMusic, int soundVolume);
// The end of a fight: the WAV tune stopped, the Ogg tune stopped and not restarted.
void StopStageMusic(platform::Platform& platform, MusicState& music);

}  // namespace vdx
