// Tick counts are milliseconds of a 32-bit counter that wraps after 49 days, so
// they are compared by their difference, never by their size.
#pragma once

#include <cstdint>

namespace vdx {

// True when `moment` is after `reference` (by less than 2^31 ms).
constexpr bool TickAfter(std::uint32_t moment, std::uint32_t reference) {
  return static_cast<std::int32_t>(moment - reference) > 0;
}

// Milliseconds from `earlier` to `later`, across a wrap too.
constexpr std::uint32_t TicksBetween(std::uint32_t earlier, std::uint32_t later) {
  return later - earlier;
}

static_assert(TickAfter(5u, 0xFFFFFFF0u), "a moment past the wrap is after one before it");
static_assert(!TickAfter(0xFFFFFFF0u, 5u));
static_assert(!TickAfter(7u, 7u));
static_assert(TicksBetween(0xFFFFFFFEu, 3u) == 5u);

}  // namespace vdx
