#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace {

// The real backend on SDL's silent audio driver, opened once for the whole run.
vdx::platform::Platform& SdlPlatform() {
  static const std::unique_ptr<vdx::platform::Platform> platform = [] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    auto p = vdx::platform::CreateSdlPlatform();
    p->openAudio();
    return p;
  }();
  return *platform;
}

// Music is streamed from a file, so every input is written to one. The stage
// tunes are .ogg files; the mixer takes the name's ending as its first guess
// of the format, so the name matters.
struct MusicFile {
  std::string path = (std::filesystem::temp_directory_path() /
                      ("vdx_fuzz_music_" + std::to_string(getpid()) + ".ogg"))
                         .string();
  ~MusicFile() { std::remove(path.c_str()); }
};

const std::string& MusicPath() {
  static const MusicFile file;
  return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vdx::platform::Platform& sdl = SdlPlatform();
  const std::string& path = MusicPath();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) std::abort();
  if (sdl.playMusic(path)) (void)sdl.musicPlaying();
  sdl.stopMusic();
  return 0;
}
