// The shared gate that paces the screens' loops.
#pragma once

#include <cstdint>

namespace vdx {

// True when the deadline has passed, and then the next deadline is set to now +
// intervalMs. A deadline of 0 is not armed: the first call arms it and says false.
// Tick counts wrap like the system's, so "passed" is judged on their difference.
bool FrameDue(std::uint32_t& deadline, std::uint32_t now, std::uint32_t intervalMs);

}  // namespace vdx
