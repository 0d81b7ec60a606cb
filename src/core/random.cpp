#include "core/random.h"

namespace vdx {
namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15u;

// SplitMix64's output function: every bit of the input moves every bit of the output.
std::uint64_t Mix64(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

}  // namespace

void RandomGenerator::Seed(std::uint64_t seed) {
  state_ = Mix64(seed);
}

void RandomGenerator::MixTicks(std::uint32_t ticks) {
  // Not a plain XOR: stirring the same tick twice must not undo itself.
  state_ = Mix64(state_ ^ Mix64(kGolden + ticks));
}

std::uint64_t RandomGenerator::Next64() {
  state_ += kGolden;
  return Mix64(state_);
}

double RandomGenerator::Uniform() {
  return static_cast<double>(Next64() >> 40) * (1.0 / 16777216.0);
}

std::int32_t RandomGenerator::Range(std::int32_t low, std::int32_t high) {
  if (high <= low) return low;
  const std::uint64_t span = static_cast<std::uint64_t>(std::int64_t{high} - low) + 1;
  // Draws past the last whole multiple of the span are thrown back, so every
  // value is equally likely.
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % span;
  std::uint64_t draw = Next64();
  while (draw >= limit)
    draw = Next64();
  return static_cast<std::int32_t>(std::int64_t{low} + static_cast<std::int64_t>(draw % span));
}

}  // namespace vdx
