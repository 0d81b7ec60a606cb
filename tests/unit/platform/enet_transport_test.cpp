// The ENet transport on the loopback: connecting, both channels, the limits on
// packets and peers, failed connections, and a link kept alive while its
// caller is busy.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "platform/network.h"

namespace vdx::platform {
namespace {

using Clock = std::chrono::steady_clock;
using Kind = NetEvent::Kind;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t NowMs() {
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
          .count());
}

long MsSince(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

struct Listening {
  std::unique_ptr<NetTransport> host;
  std::uint16_t port = 0;
};

// Tests run side by side: each takes a port nobody holds, from a few tried.
Listening ListenOnFreePort(int mostPeers) {
  std::mt19937 pick(static_cast<unsigned>(getpid()) ^ NowMs());
  std::uniform_int_distribution<int> ports(20000, 59999);
  std::string error;
  for (int attempt = 0; attempt < 20; ++attempt) {
    const auto port = static_cast<std::uint16_t>(ports(pick));
    if (auto host = ListenOnPort(port, mostPeers, error)) return {std::move(host), port};
  }
  ADD_FAILURE() << "no free port: " << error;
  return {};
}

// Takes events until one of `kind` comes (returned) or `withinMs` passes;
// the events taken before it go to `before`.
std::optional<NetEvent> WaitFor(NetTransport& transport, Kind kind, long withinMs,
                                std::vector<NetEvent>* before = nullptr) {
  const auto start = Clock::now();
  while (MsSince(start) < withinMs) {
    while (std::optional<NetEvent> event = transport.nextEvent()) {
      if (event->kind == kind) return event;
      if (before != nullptr) before->push_back(std::move(*event));
    }
    transport.waitForEvent(5);
  }
  return std::nullopt;
}

// The next `count` packets received, the events between them dropped.
std::vector<NetEvent> Receive(NetTransport& transport, std::size_t count, long withinMs) {
  std::vector<NetEvent> received;
  const auto start = Clock::now();
  while (received.size() < count && MsSince(start) < withinMs) {
    if (std::optional<NetEvent> event = WaitFor(transport, Kind::Received, 10)) {
      received.push_back(std::move(*event));
    }
  }
  return received;
}

struct Pair {
  Listening listening;
  std::unique_ptr<NetTransport> client;
  PeerId clientOnHost = 0;  // the client as the host names it
  PeerId hostOnClient = 0;  // and the other way round
};

Pair Connect(int mostPeers, const std::string& name = "127.0.0.1") {
  Pair pair;
  pair.listening = ListenOnFreePort(mostPeers);
  if (!pair.listening.host) return pair;
  std::string error;
  pair.client = ConnectToHost(name, pair.listening.port, 2000, error);
  if (!pair.client) {
    ADD_FAILURE() << error;
    return pair;
  }
  const std::optional<NetEvent> onClient = WaitFor(*pair.client, Kind::Connected, 2000);
  const std::optional<NetEvent> onHost = WaitFor(*pair.listening.host, Kind::Connected, 2000);
  if (!onClient || !onHost) {
    ADD_FAILURE() << "the two ends did not connect";
    return pair;
  }
  EXPECT_EQ(onClient->address, "127.0.0.1:" + std::to_string(pair.listening.port));
  EXPECT_EQ(onHost->address.rfind("127.0.0.1:", 0), 0u) << onHost->address;
  pair.hostOnClient = onClient->peer;
  pair.clientOnHost = onHost->peer;
  return pair;
}

TEST(EnetTransport, BothChannelsCarryPacketsAndLongPacketsAreDroppedAndCounted) {
  Pair pair = Connect(4, "localhost");
  ASSERT_TRUE(pair.client);
  NetTransport& host = *pair.listening.host;
  NetTransport& client = *pair.client;

  // Reliable: every packet, in order, byte for byte, up to the longest read.
  std::vector<Bytes> sent;
  for (int i = 0; i < 40; ++i) {
    Bytes bytes(static_cast<std::size_t>(1 + i * 29), static_cast<std::uint8_t>(i));
    bytes.front() = static_cast<std::uint8_t>(i);
    sent.push_back(bytes);
  }
  sent.push_back(Bytes(1200, 0xAB));
  for (const Bytes& bytes : sent)
    client.send(pair.hostOnClient, NetChannel::Reliable, bytes);
  const std::vector<NetEvent> reliable = Receive(host, sent.size(), 2000);
  ASSERT_EQ(reliable.size(), sent.size());
  for (std::size_t i = 0; i < sent.size(); ++i) {
    EXPECT_EQ(reliable[i].peer, pair.clientOnHost);
    EXPECT_EQ(reliable[i].channel, NetChannel::Reliable);
    EXPECT_EQ(reliable[i].bytes, sent[i]) << "packet " << i;
  }

  // Unreliable, on the loopback: every packet arrives, in whatever order.
  std::set<Bytes> unreliableSent;
  for (int i = 0; i < 20; ++i) {
    const Bytes bytes = Text("inputs " + std::to_string(i));
    unreliableSent.insert(bytes);
    host.send(pair.clientOnHost, NetChannel::Unreliable, bytes);
  }
  std::set<Bytes> unreliableReceived;
  for (const NetEvent& event : Receive(client, unreliableSent.size(), 2000)) {
    EXPECT_EQ(event.channel, NetChannel::Unreliable);
    EXPECT_EQ(event.peer, pair.hostOnClient);
    unreliableReceived.insert(event.bytes);
  }
  EXPECT_EQ(unreliableReceived, unreliableSent);

  // Longer than the game reads, on either channel: dropped unread, counted;
  // what follows still arrives. Sends to a peer that does not exist go nowhere.
  host.send(pair.clientOnHost, NetChannel::Reliable, Bytes(1201, 1));
  host.send(pair.clientOnHost, NetChannel::Unreliable, Bytes(5000, 2));
  host.send(pair.clientOnHost + 100, NetChannel::Reliable, Text("nobody"));
  host.send(pair.clientOnHost, NetChannel::Reliable, Text("after"));
  const std::vector<NetEvent> after = Receive(client, 1, 2000);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].bytes, Text("after"));
  const auto start = Clock::now();
  while (client.oversizedDropped() < 2 && MsSince(start) < 1000) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(client.oversizedDropped(), 2u);
  EXPECT_EQ(host.oversizedDropped(), 0u);
  EXPECT_FALSE(client.nextEvent().has_value());

  // The client leaves: both ends hear of it, the host under the client's id.
  client.disconnect(pair.hostOnClient);
  const std::optional<NetEvent> left = WaitFor(host, Kind::Disconnected, 2000);
  ASSERT_TRUE(left);
  EXPECT_EQ(left->peer, pair.clientOnHost);
  const std::optional<NetEvent> gone = WaitFor(client, Kind::Disconnected, 2000);
  ASSERT_TRUE(gone);
  EXPECT_EQ(gone->peer, pair.hostOnClient);
}

TEST(EnetTransport, AHostTakesNoMorePeersThanItsLimitAndAClosedPeerFreesItsPlace) {
  Pair pair = Connect(1);
  ASSERT_TRUE(pair.client);
  NetTransport& host = *pair.listening.host;

  std::string error;
  auto refused = ConnectToHost("127.0.0.1", pair.listening.port, 400, error);
  ASSERT_TRUE(refused) << error;
  const auto start = Clock::now();
  const std::optional<NetEvent> noAnswer = WaitFor(*refused, Kind::Disconnected, 3000);
  ASSERT_TRUE(noAnswer) << "a peer beyond the limit was let in";
  EXPECT_GE(MsSince(start), 350);
  std::vector<NetEvent> onHost;
  EXPECT_FALSE(WaitFor(host, Kind::Connected, 50, &onHost).has_value());
  EXPECT_TRUE(onHost.empty());

  // Closing the client says goodbye at once: the host need not wait for the
  // silence to grow long.
  pair.client.reset();
  const std::optional<NetEvent> left = WaitFor(host, Kind::Disconnected, 1000);
  ASSERT_TRUE(left);
  EXPECT_EQ(left->peer, pair.clientOnHost);

  auto next = ConnectToHost("127.0.0.1", pair.listening.port, 2000, error);
  ASSERT_TRUE(next) << error;
  ASSERT_TRUE(WaitFor(*next, Kind::Connected, 2000));
  const std::optional<NetEvent> joined = WaitFor(host, Kind::Connected, 2000);
  ASSERT_TRUE(joined);
  EXPECT_NE(joined->peer, pair.clientOnHost) << "a new peer has a new id";
}

TEST(EnetTransport, FailedConnectionsAndPortsAreSaid) {
  std::string error;
  // A port nobody listens on: no answer within the time given.
  std::uint16_t port = 0;
  {
    Listening taken = ListenOnFreePort(1);
    ASSERT_TRUE(taken.host);
    port = taken.port;

    auto again = ListenOnPort(port, 1, error);
    EXPECT_EQ(again, nullptr) << "a port already held";
    EXPECT_NE(error.find(std::to_string(port)), std::string::npos) << error;
  }
  auto client = ConnectToHost("127.0.0.1", port, 300, error);
  ASSERT_TRUE(client) << error;
  const auto start = Clock::now();
  const std::optional<NetEvent> noAnswer = WaitFor(*client, Kind::Disconnected, 3000);
  ASSERT_TRUE(noAnswer);
  EXPECT_GE(MsSince(start), 250);
  EXPECT_LE(MsSince(start), 1500);

  error.clear();
  EXPECT_EQ(ConnectToHost("no-such-host.invalid", kDefaultNetPort, 300, error), nullptr);
  EXPECT_NE(error.find("no-such-host.invalid"), std::string::npos) << error;
  error.clear();
  EXPECT_EQ(ConnectToHost("", kDefaultNetPort, 300, error), nullptr);
  EXPECT_FALSE(error.empty());
  error.clear();
  EXPECT_EQ(ListenOnPort(port, 0, error), nullptr);
  EXPECT_FALSE(error.empty());
}

TEST(EnetTransport, TheLinkLivesWhileItsCallerIsBusyForSeconds) {
  Listening listening = ListenOnFreePort(1);
  ASSERT_TRUE(listening.host);
  NetTransport& host = *listening.host;
  std::string error;
  const std::unique_ptr<NetTransport> connecting =
      ConnectToHost("127.0.0.1", listening.port, 2000, error);
  ASSERT_TRUE(connecting) << error;
  NetTransport& client = *connecting;

  // The handshake completes with nobody calling the client.
  const std::optional<NetEvent> joined = WaitFor(host, Kind::Connected, 2000);
  ASSERT_TRUE(joined);
  const std::optional<NetEvent> connected = WaitFor(client, Kind::Connected, 100);
  ASSERT_TRUE(connected);

  // The client's caller queues a packet and then does not call for 3 s (a
  // movie, a loading round); the host's caller goes on and sends meanwhile.
  client.send(connected->peer, NetChannel::Reliable, Text("before"));
  const auto start = Clock::now();
  long firstArrivalMs = -1;
  int sent = 0;
  while (MsSince(start) < 3000) {
    while (std::optional<NetEvent> event = host.nextEvent()) {
      ASSERT_NE(event->kind, Kind::Disconnected);
      if (event->kind == Kind::Received && event->bytes == Text("before")) {
        firstArrivalMs = MsSince(start);
      }
    }
    if (MsSince(start) >= sent * 100) {
      host.send(joined->peer, NetChannel::Reliable, Text(std::to_string(sent++)));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_GE(firstArrivalMs, 0) << "what the busy side queued was never sent";
  EXPECT_LT(firstArrivalMs, 500);

  const std::vector<NetEvent> caughtUp = Receive(client, static_cast<std::size_t>(sent), 1000);
  ASSERT_EQ(caughtUp.size(), static_cast<std::size_t>(sent));
  for (int i = 0; i < sent; ++i)
    EXPECT_EQ(caughtUp[i].bytes, Text(std::to_string(i)));

  client.send(connected->peer, NetChannel::Unreliable, Text("after"));
  const std::vector<NetEvent> after = Receive(host, 1, 1000);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].bytes, Text("after"));
}

}  // namespace
}  // namespace vdx::platform
