#include <cstddef>
#include <cstdint>
#include <string_view>

#include "frontend/story_progress.h"

// Any bytes read as save.dat: four are taken as they are, anything else is
// damaged, counts as no story finished and says so; marking every position
// never touches byte 0.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vdx::StoryProgressRead read = vdx::ReadStoryProgress(bytes);
  const bool damaged = size != vdx::kStoryProgressSize;
  if (damaged == read.problem.empty()) __builtin_trap();
  if (damaged && read.progress.bytes != vdx::StoryProgress{}.bytes) __builtin_trap();
  const std::uint8_t first = read.progress.bytes[0];
  for (vdx::Integer position = -1; position <= 26; ++position) {
    const bool marked = vdx::MarkLadderFinished(read.progress, position);
    if (marked != vdx::LadderFinished(read.progress, position)) __builtin_trap();
  }
  if (read.progress.bytes[0] != first) __builtin_trap();
  return 0;
}
