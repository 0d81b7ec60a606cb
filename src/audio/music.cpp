#include "audio/music.h"

#include <algorithm>
#include <cctype>
#include <span>

#include "audio/sound_table.h"
#include "content/content_files.h"
#include "core/files.h"
#include "core/ticks.h"

namespace vdx {

void InitOgg(platform::Platform& platform, MusicState& music) {
  platform.stopMusic();
  (void)music;
}

void PlayOggFile(platform::Platform& platform, const std::string& path) {
  // A missing file is passed on as it is; the player simply plays nothing.
  platform.playMusic(path);
}

bool OggIsPlaying(platform::Platform& platform) {
  return platform.musicPlaying();
}

void UpdateOgg(platform::Platform& platform) {
  (void)platform;  // the mixer streams on its own thread
}

void StopOgg(platform::Platform& platform) {
  platform.stopMusic();
}

void CloseOgg(platform::Platform& platform, MusicState& music) {
  platform.stopMusic();
  music.oggOn = false;
  music.timerEnabled = false;
}

void SetOggVolume(platform::Platform& platform, int percent) {
  platform.setMusicVolume(percent);
}

void PlayOggMusic(platform::Platform& platform, MusicState& music, const std::string& path) {
  InitOgg(platform, music);
  PlayOggFile(platform, path);
  music.timerEnabled = true;
  SetOggVolume(platform, music.musicVolume);
}

void MusicTimer(platform::Platform& platform, MusicState& music, std::uint32_t now) {
  if (!music.timerEnabled) return;
  if (music.nextTimerTick != 0 && TickAfter(music.nextTimerTick, now)) return;
  music.nextTimerTick = now + kMusicTimerMs;
  const bool playing = OggIsPlaying(platform);
  if (!music.oggOn) return;
  if (playing)
    UpdateOgg(platform);
  else
    PlayOggFile(platform, music.oggFile);  // the tune loops
}

void StartMenuMusic(platform::Platform& platform, const PathResolver& paths, MusicState& music) {
  music.oggOn = true;
  music.oggFile =
      paths.find(kMenuMusic).value_or(paths.gameDir() / "Stages" / "Music" / "menu.ogg").string();
  PlayOggMusic(platform, music, music.oggFile);
}

void StopMenuMusic(platform::Platform& platform, MusicState& music) {
  music.oggOn = false;
  StopOgg(platform);
}

void StartStageMusic(platform::Platform& platform, const PathResolver& paths, MusicState& music,
                     const std::string& stageMusic, int soundVolume) {
  music.stageMusic = stageMusic;
  std::string ending = stageMusic.size() >= 3 ? stageMusic.substr(stageMusic.size() - 3) : "";
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const std::string contentPath = "\\Stages\\Music\\" + stageMusic;
  if (ending == "wav") {
    const auto path = paths.find(contentPath);
    const auto bytes = path ? ReadWholeFile(*path) : std::nullopt;
    if (bytes)
      music.musicBuffer = platform.loadSound(
          std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
    // A tune that did not start is let go: nothing would start it later.
    if (music.musicBuffer && !platform.playSound(*music.musicBuffer, GainOf(soundVolume), true)) {
      platform.freeSound(*music.musicBuffer);
      music.musicBuffer.reset();
    }
    return;
  }
  music.oggOn = true;
  music.oggFile =
      paths.find(contentPath).value_or(paths.gameDir() / "Stages" / "Music" / stageMusic).string();
  PlayOggMusic(platform, music, music.oggFile);
}

void StopStageMusic(platform::Platform& platform, MusicState& music) {
  if (music.musicBuffer) {
    platform.stopSound(*music.musicBuffer);
    platform.freeSound(*music.musicBuffer);
    music.musicBuffer.reset();
  }
  music.oggOn = false;
  StopOgg(platform);
  music.timerEnabled = true;
}

}  // namespace vdx
