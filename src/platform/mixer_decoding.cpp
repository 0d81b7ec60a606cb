#include "platform/mixer_decoding.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>

#include "core/files.h"
#include "platform/sound_headers.h"

namespace vdx::platform {
namespace {

// The mixer's first guess of a music file's format, by the ending of its name
// as it makes it for a file it opens itself; others are known by their bytes.
Mix_MusicType MusicTypeOf(const std::string& path) {
  std::string ending = std::filesystem::path(path).extension().string();
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (!ending.empty()) ending.erase(0, 1);  // the dot
  if (ending == "wav" || ending == "aif" || ending == "aiff") return MUS_WAV;
  if (ending == "ogg") return MUS_OGG;
  if (ending == "flac") return MUS_FLAC;
  if (ending == "opus") return MUS_OPUS;
  if (ending == "mp3" || ending == "mpg" || ending == "mpeg" || ending == "mad") return MUS_MP3;
  if (ending == "mid" || ending == "midi" || ending == "kar") return MUS_MID;
  return MUS_NONE;
}

}  // namespace

bool OpenMixer(bool silent, std::string& error) {
  // The driver is chosen by a hint SDL reads when its audio starts; the
  // system's choice is put back at once, so nothing else of the process
  // inherits the silent one.
  if (silent) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  const bool audio = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  if (silent) SDL_ResetHint(SDL_HINT_AUDIODRIVER);
  if (!audio) {
    error = SDL_GetError();
    return false;
  }
  if (Mix_OpenAudio(kMixerRate, AUDIO_S16SYS, kMixerChannels, kMixerBufferSamples) != 0) {
    error = Mix_GetError();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  return true;
}

void CloseMixer() {
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

Mix_Chunk* DecodeSoundChunk(std::span<const std::uint8_t> bytes) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) return nullptr;
  std::vector<std::uint8_t> patched;
  const auto checked = SoundBytesForMixer(bytes, patched);
  if (!checked) return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(checked->data(), static_cast<int>(checked->size()));
  // The stream is closed here: the mixer does not always close it when the
  // bytes are not a sound.
  Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, /*freesrc=*/0) : nullptr;
  if (rw != nullptr) SDL_RWclose(rw);
  return chunk;
}

Mix_Music* OpenMusicFromBytes(std::vector<std::uint8_t>& bytes, const std::string& path) {
  if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX) ||
      !ReadyMusicForMixer(bytes))
    return nullptr;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  return rw ? Mix_LoadMUSType_RW(rw, MusicTypeOf(path), /*freesrc=*/1) : nullptr;
}

bool ReadMusicFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  // Only a regular file: a pipe named like the music would wait for a writer
  // for ever. A stage's tune is read whole at every fight start, so it is held
  // to what any other file may weigh (256 MiB: 25 minutes of CD-quality WAV).
  FileRead read = ReadFile(path);
  if (!read.bytes || read.bytes->empty()) return false;
  bytes.assign(read.bytes->begin(), read.bytes->end());
  read.bytes.reset();
  return true;
}

}  // namespace vdx::platform
