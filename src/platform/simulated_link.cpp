#include "platform/simulated_link.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string>

namespace vdx::platform {

namespace {

constexpr PeerId kOtherEnd = 1;
// A lost reliable packet is sent again after a round trip, at most this many
// times (more would be a link that has gone).
constexpr int kMostRetransmits = 8;

}  // namespace

class SimulatedLink::End : public NetTransport {
 public:
  End(SimulatedLink& link, int index) : link_(link), index_(index) {
    NetEvent connected;
    connected.kind = NetEvent::Kind::Connected;
    connected.peer = kOtherEnd;
    connected.address = "simulated:" + std::to_string(1 - index);
    ready_.push_back(std::move(connected));
  }

  void send(PeerId peer, NetChannel channel, std::span<const std::uint8_t> bytes) override {
    if (peer != kOtherEnd || closed_) return;
    link_.carry(index_, channel, bytes);
  }

  std::optional<NetEvent> nextEvent() override {
    const std::uint32_t nowMs = link_.clockMs_;
    std::vector<InFlight>& coming = link_.toward_[static_cast<std::size_t>(index_)];
    // What has arrived by now, earliest first.
    while (true) {
      auto due = coming.end();
      for (auto it = coming.begin(); it != coming.end(); ++it)
        if (static_cast<std::int32_t>(it->dueMs - nowMs) <= 0 &&
            (due == coming.end() || it->dueMs < due->dueMs ||
             (it->dueMs == due->dueMs && it->order < due->order)))
          due = it;
      if (due == coming.end()) break;
      NetEvent event = std::move(due->event);
      coming.erase(due);
      if (event.kind == NetEvent::Kind::Received && event.bytes.size() > link_.mostBytes_) {
        ++oversized_;
        continue;
      }
      if (event.kind == NetEvent::Kind::Disconnected) closed_ = true;
      ready_.push_back(std::move(event));
    }
    if (ready_.empty()) return std::nullopt;
    NetEvent event = std::move(ready_.front());
    ready_.pop_front();
    return event;
  }

  void disconnect(PeerId peer) override {
    if (peer != kOtherEnd || closed_) return;
    closed_ = true;
    link_.closeFrom(index_);
    NetEvent gone;
    gone.kind = NetEvent::Kind::Disconnected;
    gone.peer = kOtherEnd;
    ready_.push_back(std::move(gone));
  }

  std::uint64_t oversizedDropped() const override { return oversized_; }

  // The test moves the time; nothing happens while a side waits.
  void waitForEvent(std::uint32_t /*ms*/) override {}

  std::uint32_t clockMs() const override { return link_.clockMs_; }

 private:
  SimulatedLink& link_;
  int index_;
  bool closed_ = false;
  std::uint64_t oversized_ = 0;
  std::deque<NetEvent> ready_;
};

SimulatedLink::SimulatedLink(LinkConditions conditions, std::size_t mostBytes)
    : conditions_(conditions), mostBytes_(mostBytes), random_(conditions.seed) {
  ends_[0] = std::make_unique<End>(*this, 0);
  ends_[1] = std::make_unique<End>(*this, 1);
}

SimulatedLink::~SimulatedLink() = default;

NetTransport& SimulatedLink::end(int which) { return *ends_[which == 0 ? 0 : 1]; }

void SimulatedLink::setConditions(const LinkConditions& conditions) {
  const std::uint64_t random = random_;
  conditions_ = conditions;
  random_ = random;  // the seed counts once, at the start
}

double SimulatedLink::chance() {
  // SplitMix64: small, fast and the same everywhere.
  std::uint64_t z = (random_ += 0x9E3779B97F4A7C15u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) / static_cast<double>(1ull << 53);
}

std::uint32_t SimulatedLink::oneWay() {
  const std::uint32_t jitter =
      conditions_.jitterMs == 0
          ? 0
          : static_cast<std::uint32_t>(chance() * (conditions_.jitterMs + 1)) % (conditions_.jitterMs + 1);
  return conditions_.roundTripMs / 2 + jitter;
}

void SimulatedLink::carry(int from, NetChannel channel, std::span<const std::uint8_t> bytes) {
  const int to = 1 - from;
  const std::uint32_t sentMs = clockMs_;
  std::vector<InFlight>& way = toward_[static_cast<std::size_t>(to)];
  ++counts_.sent;
  auto put = [&](std::uint32_t dueMs) {
    InFlight packet;
    packet.dueMs = dueMs;
    packet.order = order_++;
    packet.event.kind = NetEvent::Kind::Received;
    packet.event.peer = kOtherEnd;
    packet.event.channel = channel;
    packet.event.bytes.assign(bytes.begin(), bytes.end());
    way.push_back(std::move(packet));
  };
  if (channel == NetChannel::Reliable) {
    // Once, in order; each loss on the way costs a round trip more.
    std::uint32_t due = sentMs + oneWay();
    for (int k = 0; k < kMostRetransmits && chance() < conditions_.loss; ++k) {
      due += std::max<std::uint32_t>(conditions_.roundTripMs, 1) + conditions_.jitterMs;
      ++counts_.retransmitted;
    }
    std::uint32_t& last = lastReliableDue_[static_cast<std::size_t>(to)];
    if (static_cast<std::int32_t>(due - last) < 0) due = last;
    last = due;
    put(due);
    return;
  }
  if (chance() < conditions_.loss) {
    ++counts_.lost;
    return;
  }
  std::uint32_t due = sentMs + oneWay();
  if (chance() < conditions_.reordering) {
    // Held back long enough for the next few packets to pass it.
    due += 20 + static_cast<std::uint32_t>(chance() * 40);
    ++counts_.reordered;
  }
  put(due);
  if (chance() < conditions_.duplication) {
    ++counts_.duplicated;
    put(sentMs + oneWay());
  }
}

void SimulatedLink::closeFrom(int from) {
  const int to = 1 - from;
  // The other end hears of it after what was sent before.
  std::uint32_t due = clockMs_ + conditions_.roundTripMs / 2;
  for (const InFlight& p : toward_[static_cast<std::size_t>(to)]) due = std::max(due, p.dueMs);
  InFlight gone;
  gone.dueMs = due;
  gone.order = order_++;
  gone.event.kind = NetEvent::Kind::Disconnected;
  gone.event.peer = kOtherEnd;
  toward_[static_cast<std::size_t>(to)].push_back(std::move(gone));
}

}  // namespace vdx::platform
