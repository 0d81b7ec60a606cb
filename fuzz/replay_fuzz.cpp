#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fight/replay.h"

// The bytes are tried twice: as a whole file, and sealed as the body of one
// (a right header and checksum around them), so that runs reach the records
// behind the checksum. A replay that decodes is written back to the very same
// bytes, since every replay has one way of being written, and holds no more
// frames than a replay may: a few bytes never make a huge replay.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& file : {std::string(bytes), vdx::SealReplay(bytes)}) {
    const auto decoded = vdx::DecodeReplay(file);
    if (const auto* replay = std::get_if<vdx::Replay>(&decoded)) {
      std::size_t frames = 0;
      for (const vdx::ReplayMatch& match : replay->matches)
        frames += match.frames.size();
      if (frames > vdx::kMostReplayFrames) __builtin_trap();
      if (vdx::EncodeReplay(*replay) != file) __builtin_trap();
    } else if (std::get<vdx::ReplayError>(decoded).message.empty()) {
      __builtin_trap();
    }
  }
  return 0;
}
