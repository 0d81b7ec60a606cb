// The network as the game sees it: packets to and from peers over UDP, on an
// unreliable channel (inputs, state hashes) and a reliable, ordered one (the
// handshake, the select screens, the match set-up). The real one runs on
// ENet; tests put a simulated link in its place.
//
// A transport keeps its link alive by itself between calls (a movie or a
// loading round may keep the game from calling for seconds), and buffers what
// arrives until nextEvent() takes it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vdx::platform {

inline constexpr std::uint16_t kDefaultNetPort = 7777;

enum class NetChannel : std::uint8_t { Unreliable = 0, Reliable = 1 };

using PeerId = std::uint32_t;

struct NetEvent {
  enum class Kind { Connected, Received, Disconnected } kind = Kind::Received;
  PeerId peer = 0;
  NetChannel channel = NetChannel::Unreliable;
  std::vector<std::uint8_t> bytes;  // Received only; never longer than the transport's limit
  std::string address;              // Connected: "host:port" of the peer, for messages
};

class NetTransport {
 public:
  virtual ~NetTransport() = default;
  // Queues a packet for a connected peer; a peer that is gone is ignored.
  virtual void send(PeerId peer, NetChannel channel, std::span<const std::uint8_t> bytes) = 0;
  // The next thing that happened, oldest first; nothing when there is none.
  virtual std::optional<NetEvent> nextEvent() = 0;
  // Waits until something has happened or `ms` have passed (the simulated
  // link does not wait: its time moves only when its test moves it).
  virtual void waitForEvent(std::uint32_t ms) = 0;
  // The link's clock in milliseconds: what the session times silence and
  // paces frames by. Real time on ENet (also in a headless run, whose game
  // clock is virtual); the test's time on the simulated link.
  virtual std::uint32_t clockMs() const = 0;
  // Ends the link with a peer, after what is queued for it has gone.
  virtual void disconnect(PeerId peer) = 0;
  // Packets that arrived longer than the largest we read, dropped unread.
  virtual std::uint64_t oversizedDropped() const = 0;
};

// A host that waits on `port` (all addresses) for up to `mostPeers` peers;
// nothing and `error` set when the port cannot be had.
std::unique_ptr<NetTransport> ListenOnPort(std::uint16_t port, int mostPeers, std::string& error);

// A connection attempt to host:port; it shows as a Connected event, or as
// Disconnected when nobody answers within `timeoutMs`. Nothing and `error`
// set when the name cannot be resolved.
std::unique_ptr<NetTransport> ConnectToHost(const std::string& host, std::uint16_t port,
                                            std::uint32_t timeoutMs, std::string& error);

}  // namespace vdx::platform
