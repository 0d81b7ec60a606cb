// The game's only source of random numbers. Game owns one; nothing else draws.
//
// Where the game "reseeds from the clock" before a roll, the tick count is mixed
// into the generator's state instead of restarting the sequence: restarting
// would make every draw inside one millisecond equal (a spark burst launched in
// one frame would draw all its particles alike, and a second roll right after a
// first would repeat it). Mixing keeps the draws apart, and the same seed and
// the same ticks still give the same sequence, so recorded fights replay.
#pragma once

#include <cstdint>

namespace vdx {

class RandomGenerator {
 public:
  static constexpr std::uint64_t kDefaultSeed = 0x5644584741u;  // "VDXGA"

  explicit RandomGenerator(std::uint64_t seed = kDefaultSeed) { Seed(seed); }

  // Starts the sequence of this seed again.
  void Seed(std::uint64_t seed);
  // Stirs a tick count into the state, where the game reseeds from the clock.
  void MixTicks(std::uint32_t ticks);

  // A uniform value in [0, 1) of single precision, as the game's rolls use:
  // a multiple of 2^-24, so it converts to float exactly and never reaches 1.
  double Uniform();
  // A uniform integer in [low, high], both included; low when high < low.
  std::int32_t Range(std::int32_t low, std::int32_t high);

  // The whole state, for replays and for tests that compare two generators.
  std::uint64_t state() const { return state_; }
  // Goes back to a state that state() gave, as a replay does at a match's start.
  void Restore(std::uint64_t state) { state_ = state; }
  // The field itself, for the fight state's visitor.
  std::uint64_t& stateRef() { return state_; }
  const std::uint64_t& stateRef() const { return state_; }

 private:
  std::uint64_t Next64();

  std::uint64_t state_ = 0;
};

}  // namespace vdx
