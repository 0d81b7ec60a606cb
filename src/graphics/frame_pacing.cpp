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

int FramesDue(FramePacer& pacer, std::uint32_t now, std::uint32_t perSecond, int most) {
  // A clock that went back starts the count again.
  if (!pacer.armed || TickAfter(pacer.start, now)) {
    pacer = FramePacer{true, now, 0};
    return 0;
  }
  const std::uint64_t target =
      static_cast<std::uint64_t>(TicksBetween(pacer.start, now)) * perSecond / 1000;
  if (target <= pacer.frames) return 0;
  std::uint64_t due = target - pacer.frames;
  if (due > static_cast<std::uint64_t>(most)) {
    pacer.frames = target - static_cast<std::uint64_t>(most);
    due = static_cast<std::uint64_t>(most);
  }
  pacer.frames += due;
  return static_cast<int>(due);
}

}  // namespace vdx
