// How much of the program's memory is resident now, as the system counts it.
#pragma once

#include <cstdint>
#include <optional>

namespace vdx::platform {

// Bytes; nothing where the system does not say.
std::optional<std::uint64_t> ResidentBytes();

}  // namespace vdx::platform
