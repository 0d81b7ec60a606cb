#include "graphics/frame_pacing.h"

namespace vdx {

bool FrameDue(std::uint32_t& deadline, std::uint32_t now, std::uint32_t intervalMs) {
  if (deadline == 0) deadline = now + intervalMs;
  if (static_cast<std::int32_t>(deadline - now) >= 0) return false;
  deadline = now + intervalMs;
  return true;
}

}  // namespace vdx
