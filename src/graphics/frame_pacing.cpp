#include "graphics/frame_pacing.h"

#include "core/ticks.h"

namespace vdx {

namespace {

// A deadline that lands on 0 as the clock wraps would read as "not armed";
// one millisecond later does no harm.
std::uint32_t Armed(std::uint32_t deadline) {
  return deadline == 0 ? 1 : deadline;
}

}  // namespace

bool FrameDue(std::uint32_t& deadline, std::uint32_t now, std::uint32_t intervalMs) {
  if (deadline == 0) deadline = Armed(now + intervalMs);
  if (!TickAfter(now, deadline)) return false;
  deadline = Armed(now + intervalMs);
  return true;
}

}  // namespace vdx
