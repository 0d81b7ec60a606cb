// The network on ENet. One thread per transport owns the ENet host and is the
// only code that touches it: it services the host all the time (so pings and
// acknowledgements go on while the game is busy for seconds), sends what the
// game queued, and queues what arrives for nextEvent().
//
// Channel 0 carries unsequenced packets: every inputs packet repeats all the
// inputs not yet acknowledged and names its frames, so the reader needs no
// order from ENet, and a packet that arrives late (a state hash, say) is still
// worth reading, where sequenced delivery would throw it away. Channel 1 is
// reliable and ordered.
#include <enet/enet.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <utility>

#include "platform/network.h"

namespace vdx::platform {
namespace {

using Clock = std::chrono::steady_clock;

// The longest packet the game reads. The packets' codec has the same limit
// (kMostPacketBytes, 1200) for what it writes; this layer keeps its own copy
// because it cannot include the network layer above it.
constexpr std::size_t kMostReadBytes = 1200;
// The most ENet itself puts together from fragments, and the longest packet
// it sends: far above what we read, so that a longer packet still reaches us
// to be counted, and small enough that a peer cannot make us hold much.
constexpr std::size_t kMostReassembledBytes = 16 * 1024;
constexpr std::size_t kChannelCount = 2;
// ENet gives a peer up after this much silence (no acknowledgement of what it
// sent). The game says "connection lost" itself after 10 s; ENet's limit comes
// later so that the game's own word is the one the player sees.
constexpr enet_uint32 kDropAfterMinimumMs = 12000;
constexpr enet_uint32 kDropAfterMaximumMs = 20000;
// How often the thread services ENet when nothing wakes it (pings, resends).
constexpr int kServiceIntervalMs = 5;
// Calls of the service in one pass at most, so that a flood of packets does
// not keep the game's sends waiting.
constexpr int kMostEventsPerPass = 1024;
// Packets waiting for the game at most: a peer flooding us while the game is
// busy must not make the queue grow without end. Beyond it packets are dropped
// (the unreliable channel tolerates that; a reliable flood is hostile anyway).
constexpr std::size_t kMostWaitingPackets = 4096;
// How long closing a transport waits for its peers to acknowledge the
// disconnect before it lets them go.
constexpr auto kDisconnectWait = std::chrono::milliseconds(1500);

// enet_initialize and enet_deinitialize once per process, however many
// transports come and go, from whichever threads.
std::mutex libraryMutex;
int libraryUsers = 0;

class EnetLibraryUse {
 public:
  EnetLibraryUse() {
    std::lock_guard lock(libraryMutex);
    if (libraryUsers == 0 && enet_initialize() != 0) return;
    ++libraryUsers;
    held_ = true;
  }
  EnetLibraryUse(EnetLibraryUse&& other) noexcept : held_(std::exchange(other.held_, false)) {}
  EnetLibraryUse& operator=(EnetLibraryUse&&) = delete;
  ~EnetLibraryUse() {
    if (!held_) return;
    std::lock_guard lock(libraryMutex);
    if (--libraryUsers == 0) enet_deinitialize();
  }
  bool held() const { return held_; }

 private:
  bool held_ = false;
};

std::string AddressText(const ENetAddress& address) {
  char ip[64] = {};
  if (enet_address_get_host_ip(&address, ip, sizeof ip) != 0) std::strcpy(ip, "?");
  return std::string(ip) + ":" + std::to_string(address.port);
}

PeerId IdOf(const ENetPeer* peer) {
  return static_cast<PeerId>(reinterpret_cast<std::uintptr_t>(peer->data));
}

void SetId(ENetPeer* peer, PeerId id) {
  peer->data = reinterpret_cast<void*>(static_cast<std::uintptr_t>(id));
}

struct ConnectRequest {
  ENetAddress address{};
  std::uint32_t timeoutMs = 0;
};

class EnetTransport final : public NetTransport {
 public:
  EnetTransport(EnetLibraryUse use, ENetHost* host, int wakeFd,
                std::optional<ConnectRequest> connect)
      : use_(std::move(use)), host_(host), wakeFd_(wakeFd), connect_(connect) {
    thread_ = std::thread([this] { run(); });
  }

  ~EnetTransport() override {
    stopping_.store(true);
    wake();
    thread_.join();
    close(wakeFd_);
  }

  void send(PeerId peer, NetChannel channel, std::span<const std::uint8_t> bytes) override {
    push(Command{Command::Kind::Send, peer, channel, {bytes.begin(), bytes.end()}});
  }

  std::optional<NetEvent> nextEvent() override {
    std::lock_guard lock(mutex_);
    if (events_.empty()) return std::nullopt;
    NetEvent event = std::move(events_.front());
    events_.pop_front();
    if (event.kind == NetEvent::Kind::Received) --waitingPackets_;
    return event;
  }

  void waitForEvent(std::uint32_t ms) override {
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !events_.empty(); });
  }

  std::uint32_t clockMs() const override {
    const auto since = std::chrono::steady_clock::now() - started_;
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }

  void disconnect(PeerId peer) override {
    push(Command{Command::Kind::Disconnect, peer, NetChannel::Reliable, {}});
  }

  std::uint64_t oversizedDropped() const override { return oversized_.load(); }

 private:
  struct Command {
    enum class Kind { Send, Disconnect } kind;
    PeerId peer;
    NetChannel channel;
    std::vector<std::uint8_t> bytes;
  };

  void push(Command command) {
    {
      std::lock_guard lock(mutex_);
      commands_.push_back(std::move(command));
    }
    wake();
  }

  void wake() {
    const std::uint64_t one = 1;
    // A full counter (never, in practice) still leaves the thread readable.
    [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
  }

  void queueEvent(NetEvent event) {
    std::lock_guard lock(mutex_);
    if (event.kind == NetEvent::Kind::Received) {
      if (waitingPackets_ >= kMostWaitingPackets) return;
      ++waitingPackets_;
    }
    events_.push_back(std::move(event));
    arrived_.notify_all();
  }

  // --- Everything below runs on the thread only. ---

  void run() {
    if (connect_) startConnect();
    pollfd waits[2] = {{host_->socket, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    for (;;) {
      // Read before taking the commands: whatever the game queued before it
      // asked us to stop is still sent.
      const bool stop = stopping_.load();
      runCommands();
      if (stop) break;
      service();
      checkConnectDeadline();
      waits[0].revents = waits[1].revents = 0;
      if (poll(waits, 2, kServiceIntervalMs) > 0 && (waits[1].revents & POLLIN)) {
        std::uint64_t count = 0;
        [[maybe_unused]] const ssize_t read_ = read(wakeFd_, &count, sizeof count);
      }
    }
    shutDown();
  }

  void startConnect() {
    ENetPeer* peer = enet_host_connect(host_, &connect_->address, kChannelCount, 0);
    const PeerId id = nextId_++;
    if (peer == nullptr) {  // no free peer: cannot happen on a host of one
      queueEvent(NetEvent{NetEvent::Kind::Disconnected, id, NetChannel::Reliable, {}, {}});
      return;
    }
    SetId(peer, id);
    peers_[id] = peer;
    connecting_ = peer;
    // ENet's own give-up comes after ours, however long the caller waits.
    const enet_uint32 wait = std::min<enet_uint32>(connect_->timeoutMs, 0xFFFF0000u) + 1000;
    enet_peer_timeout(peer, ENET_PEER_TIMEOUT_LIMIT, std::max(kDropAfterMinimumMs, wait),
                      std::max(kDropAfterMaximumMs, wait));
    connectDeadline_ = Clock::now() + std::chrono::milliseconds(connect_->timeoutMs);
  }

  void runCommands() {
    std::deque<Command> commands;
    {
      std::lock_guard lock(mutex_);
      commands.swap(commands_);
    }
    for (Command& command : commands) {
      const auto found = peers_.find(command.peer);
      if (found == peers_.end()) continue;
      ENetPeer* peer = found->second;
      if (command.kind == Command::Kind::Send) {
        if (peer->state != ENET_PEER_STATE_CONNECTED) continue;
        const bool reliable = command.channel == NetChannel::Reliable;
        ENetPacket* packet =
            enet_packet_create(command.bytes.data(), command.bytes.size(),
                               reliable ? ENET_PACKET_FLAG_RELIABLE : ENET_PACKET_FLAG_UNSEQUENCED);
        if (packet == nullptr) continue;
        // ENet keeps the packet when it takes it, and leaves it to us when not.
        if (enet_peer_send(peer, static_cast<enet_uint8>(command.channel), packet) != 0) {
          enet_packet_destroy(packet);
        }
      } else {
        enet_peer_disconnect_later(peer, 0);
        // A peer still connecting is let go at once, and ENet says nothing.
        if (peer->state == ENET_PEER_STATE_DISCONNECTED) forget(peer);
      }
    }
  }

  void service() {
    ENetEvent event;
    for (int n = 0; n < kMostEventsPerPass && enet_host_service(host_, &event, 0) > 0; ++n) {
      handle(event);
    }
  }

  void handle(ENetEvent& event) {
    ENetPeer* peer = event.peer;
    switch (event.type) {
      case ENET_EVENT_TYPE_CONNECT: {
        if (peer == connecting_) {
          connecting_ = nullptr;  // the peer we called: its id is set
        } else if (connect_) {
          // A caller's socket answers whoever writes to it: once its own
          // peer has gone, a stranger could take the free place. Refused.
          enet_peer_disconnect_now(peer, 0);
          break;
        } else {
          SetId(peer, nextId_++);
          peers_[IdOf(peer)] = peer;
        }
        enet_peer_timeout(peer, ENET_PEER_TIMEOUT_LIMIT, kDropAfterMinimumMs, kDropAfterMaximumMs);
        queueEvent(NetEvent{NetEvent::Kind::Connected,
                            IdOf(peer),
                            NetChannel::Reliable,
                            {},
                            AddressText(peer->address)});
        break;
      }
      case ENET_EVENT_TYPE_RECEIVE: {
        ENetPacket* packet = event.packet;
        if (packet->dataLength > kMostReadBytes) {
          oversized_.fetch_add(1);
        } else if (IdOf(peer) != 0 && event.channelID < kChannelCount) {
          queueEvent(NetEvent{NetEvent::Kind::Received,
                              IdOf(peer),
                              static_cast<NetChannel>(event.channelID),
                              {packet->data, packet->data + packet->dataLength},
                              {}});
        }
        enet_packet_destroy(packet);
        break;
      }
      case ENET_EVENT_TYPE_DISCONNECT:
        forget(peer);
        break;
      case ENET_EVENT_TYPE_NONE:
        break;
    }
  }

  // The peer is gone: the game hears of it once, and its slot may serve a
  // new peer under a new id.
  void forget(ENetPeer* peer) {
    if (peer == connecting_) connecting_ = nullptr;
    const PeerId id = IdOf(peer);
    if (id == 0) return;
    peers_.erase(id);
    SetId(peer, 0);
    queueEvent(NetEvent{NetEvent::Kind::Disconnected, id, NetChannel::Reliable, {}, {}});
  }

  void checkConnectDeadline() {
    if (connecting_ == nullptr || Clock::now() < connectDeadline_) return;
    ENetPeer* peer = connecting_;
    forget(peer);
    enet_peer_reset(peer);
  }

  // Sends what is queued, tells every peer goodbye, waits a little for them
  // to acknowledge it, and closes the host.
  void shutDown() {
    enet_host_flush(host_);
    // After what is queued for it has gone and been taken (a desync's last
    // pieces, a goodbye): a plain disconnect would drop it.
    for (const auto& [id, peer] : peers_) {
      enet_peer_disconnect_later(peer, 0);
    }
    enet_host_flush(host_);
    const auto until = Clock::now() + kDisconnectWait;
    ENetEvent event;
    while (Clock::now() < until) {
      bool waiting = false;
      for (const auto& [id, peer] : peers_) {
        if (peer->state != ENET_PEER_STATE_DISCONNECTED) waiting = true;
      }
      if (!waiting) break;
      if (enet_host_service(host_, &event, 5) > 0 && event.type == ENET_EVENT_TYPE_RECEIVE) {
        enet_packet_destroy(event.packet);
      }
    }
    enet_host_destroy(host_);
  }

  EnetLibraryUse use_;  // released last, after the host is gone
  ENetHost* host_;
  const int wakeFd_;
  const std::optional<ConnectRequest> connect_;

  // The thread's own.
  std::unordered_map<PeerId, ENetPeer*> peers_;
  PeerId nextId_ = 1;
  ENetPeer* connecting_ = nullptr;
  Clock::time_point connectDeadline_;

  // Shared with the game's calls.
  std::mutex mutex_;
  std::deque<Command> commands_;
  std::deque<NetEvent> events_;
  std::condition_variable arrived_;  // an event was queued
  const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::size_t waitingPackets_ = 0;
  std::atomic<std::uint64_t> oversized_{0};
  std::atomic<bool> stopping_{false};

  std::thread thread_;  // started last, when everything it reads is set
};

// The thread starts on a host already made: what is common to both ends.
std::unique_ptr<NetTransport> Start(EnetLibraryUse use, ENetHost* host,
                                    std::optional<ConnectRequest> connect, std::string& error) {
  const int wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wakeFd < 0) {
    error = std::string("cannot start the network: ") + std::strerror(errno);
    enet_host_destroy(host);
    return nullptr;
  }
  host->maximumPacketSize = kMostReassembledBytes;
  return std::make_unique<EnetTransport>(std::move(use), host, wakeFd, connect);
}

}  // namespace

std::unique_ptr<NetTransport> ListenOnPort(std::uint16_t port, int mostPeers, std::string& error) {
  if (mostPeers < 1 || mostPeers > ENET_PROTOCOL_MAXIMUM_PEER_ID) {
    error = "a host takes 1 to " + std::to_string(ENET_PROTOCOL_MAXIMUM_PEER_ID) + " peers";
    return nullptr;
  }
  EnetLibraryUse use;
  if (!use.held()) {
    error = "cannot start the network (ENet)";
    return nullptr;
  }
  ENetAddress address{};
  address.host = ENET_HOST_ANY;
  address.port = port;
  errno = 0;
  ENetHost* host =
      enet_host_create(&address, static_cast<std::size_t>(mostPeers), kChannelCount, 0, 0);
  if (host == nullptr) {
    const int cause = errno;
    error = "cannot listen on UDP port " + std::to_string(port);
    if (cause != 0) error += std::string(": ") + std::strerror(cause);
    return nullptr;
  }
  return Start(std::move(use), host, std::nullopt, error);
}

std::unique_ptr<NetTransport> ConnectToHost(const std::string& host, std::uint16_t port,
                                            std::uint32_t timeoutMs, std::string& error) {
  EnetLibraryUse use;
  if (!use.held()) {
    error = "cannot start the network (ENet)";
    return nullptr;
  }
  ConnectRequest request;
  request.timeoutMs = timeoutMs;
  request.address.port = port;
  if (host.empty() || enet_address_set_host(&request.address, host.c_str()) != 0) {
    error = "cannot find the host \"" + host + "\"";
    return nullptr;
  }
  errno = 0;
  ENetHost* local = enet_host_create(nullptr, 1, kChannelCount, 0, 0);
  if (local == nullptr) {
    const int cause = errno;
    error = "cannot open a UDP socket";
    if (cause != 0) error += std::string(": ") + std::strerror(cause);
    return nullptr;
  }
  return Start(std::move(use), local, request, error);
}

}  // namespace vdx::platform
