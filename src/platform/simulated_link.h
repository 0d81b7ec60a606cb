// Two ends of a network link in one process, for tests and benchmarks: what
// one end sends arrives at the other after the link's delay, and unreliable
// packets may be lost, duplicated or overtaken on the way. There is no clock
// but the one the test sets (setClock, for both ends): a packet sent goes out
// at that time, and the other end's nextEvent() gives it once the clock is at
// or past its arrival. Nothing runs by itself.
//
// The same conditions, seed and calls give the same deliveries.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/network.h"

namespace vdx::platform {

struct LinkConditions {
  std::uint32_t roundTripMs = 0;  // there and back, without jitter
  std::uint32_t jitterMs = 0;     // each packet takes up to this much longer one way
  double loss = 0;                // of unreliable packets, the share lost
  double duplication = 0;         // of unreliable packets, the share that arrives twice
  double reordering = 0;          // of unreliable packets, the share held back behind later ones
  std::uint64_t seed = 1;
};

struct LinkCounts {
  std::uint64_t sent = 0;
  std::uint64_t lost = 0;
  std::uint64_t duplicated = 0;
  std::uint64_t reordered = 0;
  std::uint64_t retransmitted = 0;  // reliable packets that came late, as sent again
};

class SimulatedLink {
 public:
  // Packets longer than `mostBytes` are dropped at the receiving end, unread.
  explicit SimulatedLink(LinkConditions conditions, std::size_t mostBytes = 1200);
  ~SimulatedLink();
  SimulatedLink(const SimulatedLink&) = delete;
  SimulatedLink& operator=(const SimulatedLink&) = delete;

  // End 0 and end 1. Each knows the other as peer 1, and starts with a
  // Connected event.
  NetTransport& end(int which);

  // Conditions may change mid-match (a link cut: loss 1 both ways holds
  // every unreliable packet back; reliable ones still arrive).
  void setConditions(const LinkConditions& conditions);
  // The time of both ends, in milliseconds; it moves only here.
  void setClock(std::uint32_t ms) { clockMs_ = ms; }
  const LinkConditions& conditions() const { return conditions_; }
  const LinkCounts& counts() const { return counts_; }

 private:
  class End;
  friend class End;

  struct InFlight {
    std::uint32_t dueMs = 0;
    std::uint64_t order = 0;  // sending order, for packets due at once
    NetEvent event;
  };

  void carry(int from, NetChannel channel, std::span<const std::uint8_t> bytes);
  void closeFrom(int from);
  double chance();
  std::uint32_t oneWay();

  LinkConditions conditions_;
  std::uint32_t clockMs_ = 0;
  std::size_t mostBytes_;
  std::uint64_t random_;
  std::uint64_t order_ = 0;
  LinkCounts counts_;
  std::array<std::unique_ptr<End>, 2> ends_;
  std::array<std::vector<InFlight>, 2> toward_;          // packets on the way to end 0, 1
  std::array<std::uint32_t, 2> lastReliableDue_{};      // reliable ones keep their order
};

}  // namespace vdx::platform
