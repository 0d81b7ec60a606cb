// How much of the program's memory is resident now, as the system counts it.
#pragma once

#include <cstdint>
#include <optional>

namespace vdx::platform {

// Bytes; nothing where the system does not say.
std::optional<std::uint64_t> ResidentBytes();

// Gives the free pages of the heap back to the system, so that what stays
// resident is what is in use: a round's set-up frees tens of megabytes of
// frames, and where the allocator keeps them varies from match to match.
void ReturnFreeMemory();

}  // namespace vdx::platform
