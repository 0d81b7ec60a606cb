#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "fight/replay.h"

// The bytes are tried twice: as a whole file, and sealed as the body of one
// (a right header and checksum around them), so that runs reach the records
// behind the checksum. A replay that decodes is written back to the very same
// bytes, since every replay has one way of being written.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const std::string& file : {std::string(bytes), vdx::SealReplay(bytes)}) {
    const auto decoded = vdx::DecodeReplay(file);
    if (const auto* replay = std::get_if<vdx::Replay>(&decoded)) {
      if (vdx::EncodeReplay(*replay) != file) __builtin_trap();
    } else if (std::get<vdx::ReplayError>(decoded).message.empty()) {
      __builtin_trap();
    }
  }
  return 0;
}
