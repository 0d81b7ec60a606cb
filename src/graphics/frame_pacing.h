// The shared gate that paces the screens' loops.
#pragma once

#include <cstdint>

namespace vdx {

// True when the deadline has passed, and then the next deadline is set to now +
// intervalMs. A deadline of 0 is not armed: the first call arms it and says false.
// Tick counts wrap like the system's, so "passed" is judged on their difference.
bool FrameDue(std::uint32_t& deadline, std::uint32_t now, std::uint32_t intervalMs);

// A fixed step of `perSecond` frames a second, counted from when it was armed.
struct FramePacer {
  bool armed = false;
  std::uint32_t start = 0;   // tick count when armed
  std::uint64_t frames = 0;  // frames counted since
};

// How many frames are due by now, at most `most`, so that frames keep to
// their rate however the passes fall (a pass may take two now and then). A
// machine more than `most` frames behind lets the rest go: the frames slow
// down rather than rush. The first call arms the pacer and says 0.
int FramesDue(FramePacer& pacer, std::uint32_t now, std::uint32_t perSecond, int most);

}  // namespace vdx
