#include "platform/simulated_link.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vdx::platform {
namespace {

struct Arrival {
  std::uint32_t ms;
  NetChannel channel;
  std::uint8_t first;
  friend bool operator==(const Arrival&, const Arrival&) = default;
};

// The next event of an end once the link's clock is at `ms`.
std::optional<NetEvent> EventAt(SimulatedLink& link, int end, std::uint32_t ms) {
  link.setClock(ms);
  return link.end(end).nextEvent();
}

// Sends packet k (its first byte k) from end 0 every 16 ms for 200 frames,
// alternating channels when asked, and lists what end 1 receives.
std::vector<Arrival> SendAndList(const LinkConditions& conditions, bool reliableToo) {
  SimulatedLink link(conditions);
  std::vector<Arrival> arrived;
  for (std::uint32_t now = 0; now < 200 * 16 + 2000; now += 16) {
    link.setClock(now);
    while (auto e = link.end(0).nextEvent()) {
    }
    if (now < 200 * 16) {
      const std::uint8_t k = static_cast<std::uint8_t>(now / 16);
      const std::vector<std::uint8_t> bytes = {k, 0, 0};
      const bool reliable = reliableToo && k % 2 == 1;
      link.end(0).send(1, reliable ? NetChannel::Reliable : NetChannel::Unreliable, bytes);
    }
    while (auto e = link.end(1).nextEvent())
      if (e->kind == NetEvent::Kind::Received) arrived.push_back({now, e->channel, e->bytes[0]});
  }
  return arrived;
}

TEST(SimulatedLink, DeliversLateLosesOnlyUnreliablePacketsAndRepeatsItself) {
  // Both ends start connected.
  SimulatedLink link({});
  for (int end = 0; end < 2; ++end) {
    auto e = EventAt(link, end, 0);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->kind, NetEvent::Kind::Connected);
    EXPECT_EQ(e->peer, 1u);
    EXPECT_FALSE(EventAt(link, end, 0));
  }

  // 100 ms there and back: every packet arrives 50 ms after it went, in order.
  const std::vector<Arrival> clean = SendAndList({.roundTripMs = 100}, false);
  ASSERT_EQ(clean.size(), 200u);
  for (std::size_t k = 0; k < clean.size(); ++k) {
    EXPECT_EQ(clean[k].first, k);
    // Received at the first pass at or after its arrival.
    const std::size_t due = k * 16 + 50;
    EXPECT_EQ(clean[k].ms, (due + 15) / 16 * 16);
  }

  // A bad link: a fifth of the unreliable packets lost, some twice, some
  // overtaken; the reliable ones all arrive once and in their order.
  const LinkConditions bad{.roundTripMs = 150, .jitterMs = 20, .loss = 0.2, .duplication = 0.05,
                           .reordering = 0.1, .seed = 7};
  const std::vector<Arrival> rough = SendAndList(bad, true);
  int unreliable = 0, outOfOrder = 0;
  std::vector<int> seen(256, 0);
  std::uint8_t lastReliable = 0;
  std::uint8_t lastUnreliable = 0;
  for (const Arrival& a : rough) {
    ++seen[a.first];
    if (a.channel == NetChannel::Reliable) {
      EXPECT_TRUE(lastReliable == 0 || a.first > lastReliable);
      lastReliable = a.first;
      EXPECT_GE(a.ms, a.first * 16u + 75);
    } else {
      ++unreliable;
      if (a.first < lastUnreliable) ++outOfOrder;
      lastUnreliable = std::max(lastUnreliable, a.first);
    }
  }
  for (int k = 1; k < 200; k += 2) EXPECT_EQ(seen[k], 1) << "reliable packet " << k;
  EXPECT_GT(unreliable, 70);   // of 100, a fifth lost, a few twice
  EXPECT_LT(unreliable, 95);
  EXPECT_GT(outOfOrder, 0);
  // The same seed and the same calls: the same deliveries; another seed, not.
  EXPECT_EQ(SendAndList(bad, true), rough);
  LinkConditions other = bad;
  other.seed = 8;
  EXPECT_NE(SendAndList(other, true), rough);

  // Too long to read: dropped and counted at the receiving end. Leaving
  // tells the other end after what was sent before.
  SimulatedLink small({.roundTripMs = 20}, 4);
  EventAt(small, 0, 0);
  EventAt(small, 1, 0);
  small.end(0).send(1, NetChannel::Unreliable, std::vector<std::uint8_t>(5, 1));
  small.end(0).send(1, NetChannel::Reliable, std::vector<std::uint8_t>(4, 2));
  small.end(0).disconnect(1);
  EXPECT_EQ(EventAt(small, 0, 0)->kind, NetEvent::Kind::Disconnected);
  EXPECT_FALSE(EventAt(small, 1, 9));
  auto got = EventAt(small, 1, 10);
  ASSERT_TRUE(got);
  EXPECT_EQ(got->bytes, std::vector<std::uint8_t>(4, 2));
  EXPECT_EQ(small.end(1).oversizedDropped(), 1u);
  EXPECT_EQ(EventAt(small, 1, 10)->kind, NetEvent::Kind::Disconnected);
}

}  // namespace
}  // namespace vdx::platform
