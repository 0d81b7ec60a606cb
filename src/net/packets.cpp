#include "net/packets.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "content/settings.h"

namespace vdx::net {

namespace {

// The longest texts a message holds.
constexpr std::size_t kMostVersionBytes = 32;
constexpr std::size_t kMostReasonBytes = 200;
constexpr std::size_t kMostSetupNameBytes = kMostNameChars;  // 47
constexpr std::size_t kMostPieceBytes = kMostPacketBytes - 20;
constexpr std::uint8_t kMostInputDelay = 4;

// The settings' switches, as in a replay.
constexpr std::uint8_t kWeather = 1;
constexpr std::uint8_t kShadows = 2;
constexpr std::uint8_t kLowDetail = 4;

// Who the computer plays, by its number on the wire.
constexpr std::array<ComputerPlays, 3> kComputerPlays = {ComputerPlays::None,
                                                          ComputerPlays::Player2,
                                                          ComputerPlays::Both};

class Writer {
 public:
  explicit Writer(MessageKind kind) {
    bytes_.reserve(64);
    u8(kPacketMagic);
    u8(static_cast<std::uint8_t>(kind));
  }
  void u8(std::uint8_t v) { bytes_.push_back(v); }
  void u16(std::uint16_t v) {
    for (int i = 0; i < 2; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void u64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
  // A text longer than its limit is cut to it, and a NUL ends it: what is
  // written always reads back.
  void text(std::string_view s, std::size_t most) {
    s = s.substr(0, std::min(most, s.find('\0')));
    u8(static_cast<std::uint8_t>(s.size()));
    bytes_.insert(bytes_.end(), s.begin(), s.end());
  }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

// Reads a packet front to back; the first thing out of place makes it bad,
// and everything read after that is zero.
class Reader {
 public:
  Reader(std::span<const std::uint8_t> packet, MessageKind kind) : bytes_(packet) {
    if (bytes_.size() > kMostPacketBytes || KindOf(bytes_) != kind) bad_ = true;
    at_ = 2;
  }
  bool ok() const { return !bad_; }
  // Everything read and nothing left over.
  bool done() const { return !bad_ && at_ == bytes_.size(); }
  void fail() { bad_ = true; }

  std::uint64_t unsignedLE(int n) {
    if (bad_ || bytes_.size() - at_ < static_cast<std::size_t>(n)) {
      bad_ = true;
      return 0;
    }
    std::uint64_t v = 0;
    for (int i = 0; i < n; ++i) v |= static_cast<std::uint64_t>(bytes_[at_ + static_cast<std::size_t>(i)]) << (8 * i);
    at_ += static_cast<std::size_t>(n);
    return v;
  }
  std::uint8_t u8() { return static_cast<std::uint8_t>(unsignedLE(1)); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(unsignedLE(2)); }
  std::uint32_t u32() { return static_cast<std::uint32_t>(unsignedLE(4)); }
  std::uint64_t u64() { return unsignedLE(8); }
  std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
  bool flag() {
    const std::uint8_t v = u8();
    if (v > 1) bad_ = true;
    return v == 1;
  }
  std::string raw(std::size_t n) {
    if (bad_ || bytes_.size() - at_ < n) {
      bad_ = true;
      return {};
    }
    std::string s(reinterpret_cast<const char*>(bytes_.data() + at_), n);
    at_ += n;
    return s;
  }
  // The rest of the packet, which must be zeros up to `size` bytes in all.
  void zerosUpTo(std::size_t size) {
    if (bad_ || bytes_.size() != size) {
      bad_ = true;
      return;
    }
    for (; at_ < bytes_.size(); ++at_)
      if (bytes_[at_] != 0) bad_ = true;
  }
  std::string text(std::size_t most) {
    const std::size_t n = u8();
    if (n > most) bad_ = true;
    std::string s = raw(n);
    if (s.find('\0') != std::string::npos) bad_ = true;
    return s;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
  bool bad_ = false;
};

// Text that is printed and drawn as it came (a version, a refusal's reason):
// printable ASCII only, so no peer can send a terminal its escapes.
bool Printable(const std::string& text) {
  for (const char c : text)
    if (c < 0x20 || c > 0x7E) return false;
  return true;
}

template <typename Message>
std::optional<Message> Finish(const Reader& in, Message m) {
  if (!in.done()) return std::nullopt;
  return m;
}

void WriteSettings(Writer& out, const ReplaySettings& s) {
  out.i16(s.Rounds);
  out.u8(static_cast<std::uint8_t>((s.Weather ? kWeather : 0) | (s.Shadows ? kShadows : 0) |
                                   (s.LowDetail ? kLowDetail : 0)));
  out.i16(s.CharacterWidth);
}

ReplaySettings ReadSettings(Reader& in) {
  ReplaySettings s;
  s.Rounds = in.i16();
  if (s.Rounds < kFewestRounds || s.Rounds > kMostRounds) in.fail();
  const std::uint8_t flags = in.u8();
  if (flags > (kWeather | kShadows | kLowDetail)) in.fail();
  s.Weather = (flags & kWeather) != 0;
  s.Shadows = (flags & kShadows) != 0;
  s.LowDetail = (flags & kLowDetail) != 0;
  s.CharacterWidth = in.i16();
  return s;
}

std::string Number(long long n) { return std::to_string(n); }

std::string OnOff(bool on) { return on ? "on" : "off"; }

}  // namespace

std::optional<MessageKind> KindOf(std::span<const std::uint8_t> packet) {
  if (packet.size() < 2 || packet[0] != kPacketMagic) return std::nullopt;
  const std::uint8_t kind = packet[1];
  if (kind < static_cast<std::uint8_t>(MessageKind::Hello) ||
      kind > static_cast<std::uint8_t>(MessageKind::Watching))
    return std::nullopt;
  return static_cast<MessageKind>(kind);
}

std::vector<std::uint8_t> Encode(const HelloMessage& m) {
  Writer out(MessageKind::Hello);
  out.u16(m.protocol);
  out.u8(static_cast<std::uint8_t>(m.role));
  out.text(m.version, kMostVersionBytes);
  out.u64(m.contentFingerprint);
  WriteSettings(out, m.settings);
  out.u8(m.inputDelay);
  std::vector<std::uint8_t> bytes = out.take();
  bytes.resize(kHelloBytes, 0);
  return bytes;
}

std::vector<std::uint8_t> Encode(const WelcomeMessage& m) {
  Writer out(MessageKind::Welcome);
  out.u8(m.yourPlayer);
  out.u32(m.matches);
  out.u8(m.picks ? 1 : 0);
  return out.take();
}

std::vector<std::uint8_t> Encode(const RefusalMessage& m) {
  Writer out(MessageKind::Refusal);
  out.text(m.reason, kMostReasonBytes);
  return out.take();
}

std::vector<std::uint8_t> Encode(const InputsMessage& m) {
  Writer out(MessageKind::Inputs);
  const std::uint8_t count = static_cast<std::uint8_t>(std::min<std::size_t>(m.count, kMostInputsAPacket));
  out.u8(m.match);
  out.u32(m.firstFrame);
  out.u8(count);
  for (std::size_t i = 0; i < count; ++i) out.u8(m.inputs[i].buttons);
  out.u32(m.ackFrame);
  out.u32(m.frame);
  out.u8(static_cast<std::uint8_t>(m.advantage));
  return out.take();
}

std::vector<std::uint8_t> Encode(const StateHashMessage& m) {
  Writer out(MessageKind::StateHash);
  out.u8(m.match);
  out.u32(m.frame);
  out.u64(m.hash);
  return out.take();
}

std::vector<std::uint8_t> Encode(const SelectMessage& m) {
  Writer out(MessageKind::Select);
  out.u8(m.screen);
  out.u8(m.cursor);
  out.u8(m.chosen ? 1 : 0);
  return out.take();
}

std::vector<std::uint8_t> Encode(const MatchStartMessage& m) {
  Writer out(MessageKind::MatchStart);
  out.text(m.setup.player1, kMostSetupNameBytes);
  out.text(m.setup.player2, kMostSetupNameBytes);
  out.text(m.setup.stage, kMostSetupNameBytes);
  out.u8(static_cast<std::uint8_t>(m.setup.GameMode));
  out.u8(static_cast<std::uint8_t>(
      std::find(kComputerPlays.begin(), kComputerPlays.end(), m.setup.computer) -
      kComputerPlays.begin()));
  out.u64(m.randomState);
  return out.take();
}

std::vector<std::uint8_t> Encode(const ChoiceMessage& m) {
  Writer out(MessageKind::Choice);
  out.u8(m.rematch ? 1 : 0);
  return out.take();
}

std::vector<std::uint8_t> EncodeGoodbye() { return Writer(MessageKind::Goodbye).take(); }

std::vector<std::uint8_t> Encode(const DumpPieceMessage& m) {
  Writer out(MessageKind::DumpPiece);
  const std::size_t size = std::min(m.bytes.size(), kMostPieceBytes);
  out.u8(m.match);
  out.u32(m.frame);
  out.u32(m.offset);
  out.u32(m.total);
  out.u16(static_cast<std::uint16_t>(size));
  std::vector<std::uint8_t> bytes = out.take();
  bytes.insert(bytes.end(), m.bytes.begin(), m.bytes.begin() + static_cast<std::ptrdiff_t>(size));
  return bytes;
}

std::vector<std::uint8_t> Encode(const WatchingMessage& m) {
  Writer out(MessageKind::Watching);
  const std::uint8_t count = static_cast<std::uint8_t>(std::min<std::size_t>(m.count, kMostInputsAPacket));
  out.u32(m.firstFrame);
  out.u8(count);
  for (std::size_t i = 0; i < count; ++i) {
    out.u8(m.frames[i][0].buttons);
    out.u8(m.frames[i][1].buttons);
  }
  return out.take();
}

std::optional<HelloMessage> DecodeHello(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::Hello);
  HelloMessage m;
  m.protocol = in.u16();
  const std::uint8_t role = in.u8();
  if (role != static_cast<std::uint8_t>(PeerRole::Player) &&
      role != static_cast<std::uint8_t>(PeerRole::Spectator))
    in.fail();
  m.role = static_cast<PeerRole>(role);
  m.version = in.text(kMostVersionBytes);
  if (!Printable(m.version)) in.fail();
  m.contentFingerprint = in.u64();
  m.settings = ReadSettings(in);
  m.inputDelay = in.u8();
  if (m.inputDelay > kMostInputDelay) in.fail();
  in.zerosUpTo(kHelloBytes);
  return Finish(in, std::move(m));
}

std::optional<WelcomeMessage> DecodeWelcome(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::Welcome);
  WelcomeMessage m;
  m.yourPlayer = in.u8();
  if (m.yourPlayer > 2) in.fail();
  m.matches = in.u32();
  if (m.matches > kMostSeriesMatches) in.fail();
  m.picks = in.flag();
  return Finish(in, m);
}

std::optional<RefusalMessage> DecodeRefusal(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::Refusal);
  RefusalMessage m;
  m.reason = in.text(kMostReasonBytes);
  if (!Printable(m.reason)) in.fail();
  return Finish(in, std::move(m));
}

std::optional<InputsMessage> DecodeInputs(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::Inputs);
  InputsMessage m;
  m.match = in.u8();
  m.firstFrame = in.u32();
  m.count = in.u8();
  if (m.count > kMostInputsAPacket) in.fail();
  // Frame numbers never wrap: a run that would is made up.
  if (m.count > 0 && m.firstFrame > UINT32_MAX - (m.count - 1u)) in.fail();
  for (std::size_t i = 0; in.ok() && i < m.count; ++i) m.inputs[i].buttons = in.u8();
  m.ackFrame = in.u32();
  m.frame = in.u32();
  m.advantage = static_cast<std::int8_t>(in.u8());
  return Finish(in, m);
}

std::optional<StateHashMessage> DecodeStateHash(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::StateHash);
  StateHashMessage m;
  m.match = in.u8();
  m.frame = in.u32();
  m.hash = in.u64();
  return Finish(in, m);
}

std::optional<SelectMessage> DecodeSelect(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::Select);
  SelectMessage m;
  m.screen = in.u8();
  if (m.screen != 1 && m.screen != 2) in.fail();
  m.cursor = in.u8();
  m.chosen = in.flag();
  return Finish(in, m);
}

std::optional<MatchStartMessage> DecodeMatchStart(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::MatchStart);
  MatchStartMessage m;
  m.setup.player1 = in.text(kMostSetupNameBytes);
  m.setup.player2 = in.text(kMostSetupNameBytes);
  m.setup.stage = in.text(kMostSetupNameBytes);
  m.setup.GameMode = in.u8();
  if (m.setup.GameMode != 1 && m.setup.GameMode != 2) in.fail();
  const std::uint8_t computer = in.u8();
  if (computer >= kComputerPlays.size()) {
    in.fail();
  } else {
    m.setup.computer = kComputerPlays[computer];
    // The computer plays in a match against it, and only there.
    if ((m.setup.GameMode == 2) != (m.setup.computer == ComputerPlays::None)) in.fail();
  }
  m.randomState = in.u64();
  return Finish(in, std::move(m));
}

std::optional<ChoiceMessage> DecodeChoice(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::Choice);
  ChoiceMessage m;
  m.rematch = in.flag();
  return Finish(in, m);
}

bool DecodeGoodbye(std::span<const std::uint8_t> packet) {
  return Reader(packet, MessageKind::Goodbye).done();
}

std::optional<DumpPieceMessage> DecodeDumpPiece(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::DumpPiece);
  DumpPieceMessage m;
  m.match = in.u8();
  m.frame = in.u32();
  m.offset = in.u32();
  m.total = in.u32();
  const std::size_t size = in.u16();
  if (m.total > kMostDumpBytes || size > kMostPieceBytes || m.offset > m.total ||
      size > m.total - m.offset)
    in.fail();
  m.bytes = in.raw(size);
  return Finish(in, std::move(m));
}

std::optional<WatchingMessage> DecodeWatching(std::span<const std::uint8_t> packet) {
  Reader in(packet, MessageKind::Watching);
  WatchingMessage m;
  m.firstFrame = in.u32();
  m.count = in.u8();
  if (m.count > kMostInputsAPacket) in.fail();
  if (m.count > 0 && m.firstFrame > UINT32_MAX - (m.count - 1u)) in.fail();
  for (std::size_t i = 0; in.ok() && i < m.count; ++i) {
    m.frames[i][0].buttons = in.u8();
    m.frames[i][1].buttons = in.u8();
  }
  return Finish(in, m);
}

std::string HelloMismatch(const HelloMessage& here, const HelloMessage& there) {
  std::vector<std::string> differences;
  if (here.protocol != there.protocol)
    differences.push_back("the programs speak different network versions: " +
                          Number(here.protocol) + " here, " + Number(there.protocol) + " there");
  if (here.version != there.version)
    differences.push_back("the program versions differ: " + here.version + " here, " +
                          there.version + " there");
  if (here.contentFingerprint != there.contentFingerprint)
    differences.push_back("the content differs (the game folders are not the same)");
  if (here.settings.Rounds != there.settings.Rounds)
    differences.push_back("the rounds differ: " + Number(here.settings.Rounds) + " here, " +
                          Number(there.settings.Rounds) + " there");
  if (here.settings.Weather != there.settings.Weather)
    differences.push_back("the weather differs: " + OnOff(here.settings.Weather) + " here, " +
                          OnOff(there.settings.Weather) + " there");
  // Low detail loads actions with half their frames: the fight differs.
  if (here.settings.LowDetail != there.settings.LowDetail)
    differences.push_back("the low detail setting differs: " + OnOff(here.settings.LowDetail) +
                          " here, " + OnOff(there.settings.LowDetail) + " there");
  // Shadows change the pictures, not the fight, but a replay keeps them: both
  // sides' replays are the same only with the same.
  if (here.settings.Shadows != there.settings.Shadows)
    differences.push_back("the shadows differ: " + OnOff(here.settings.Shadows) + " here, " +
                          OnOff(there.settings.Shadows) + " there");
  if (here.settings.CharacterWidth != there.settings.CharacterWidth)
    differences.push_back("the character width differs: " + Number(here.settings.CharacterWidth) +
                          " here, " + Number(there.settings.CharacterWidth) + " there");
  // A spectator takes confirmed inputs: the players' delay is nothing to it.
  if (here.role == PeerRole::Player && there.role == PeerRole::Player &&
      here.inputDelay != there.inputDelay)
    differences.push_back("the input delay differs: " + Number(here.inputDelay) + " here, " +
                          Number(there.inputDelay) + " there");
  std::string text;
  for (const std::string& d : differences) {
    if (!text.empty()) text += "; ";
    text += d;
  }
  return text;
}

}  // namespace vdx::net
