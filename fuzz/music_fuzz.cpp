#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <memory>
#include <span>
#include <string>

#include "platform/platform.h"
#include "silent_sdl_platform.h"

namespace {

// Music is streamed from a file, so every input is written to one, in a
// folder of its own that is removed at the end of the run.
struct MusicFolder {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("vdx_fuzz_music_" + std::to_string(getpid()));
  MusicFolder() { std::filesystem::create_directories(path); }
  ~MusicFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

// The mixer takes the name's ending as its first guess of the format (the
// stage tunes are .ogg, some .wav) and goes by the bytes for an ending it does
// not know, so the first byte of the input picks the ending. No ".flac": that
// would send any bytes to the leaking FLAC reader (see MayReachFlacReader).
constexpr const char* kEndings[] = {".ogg", ".wav", ".aiff", ".mp3", ".tune"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  if (vdx::fuzz::MayReachFlacReader(std::span(data, size))) return -1;  // not added to the corpus
  static const MusicFolder folder;
  vdx::platform::Platform& sdl = vdx::fuzz::SilentSdlPlatform();
  const std::string path =
      (folder.path / (std::string("tune") + kEndings[data[0] % std::size(kEndings)])).string();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  const bool written = std::fwrite(data + 1, 1, size - 1, file) == size - 1;
  if (std::fclose(file) != 0 || !written) std::abort();
  if (sdl.playMusic(path)) (void)sdl.musicPlaying();
  sdl.stopMusic();
  std::remove(path.c_str());
  return 0;
}
