// What two machines say to each other, as bytes: every message is one packet
// that starts with kPacketMagic and its kind. Decoding never trusts the bytes:
// a packet that is cut, too long, of an unknown kind, or holds a value out of
// range decodes to nothing, and the caller counts it as dropped.
//
// Numbers are little-endian. Text is a length byte and that many bytes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fight/fight_state.h"
#include "fight/replay.h"
#include "input/player_input.h"

namespace vdx::net {

inline constexpr std::uint8_t kPacketMagic = 0xD7;
// Bumped whenever a message changes; both sides must speak the same one.
inline constexpr std::uint16_t kProtocolVersion = 2;
// No packet we read or write is longer (a desync dump travels in pieces).
inline constexpr std::size_t kMostPacketBytes = 1200;
// An inputs packet carries at most this many frames of one player.
inline constexpr std::size_t kMostInputsAPacket = 40;

enum class MessageKind : std::uint8_t {
  Hello = 1,        // joining side -> host: who I am (reliable)
  Welcome = 2,      // host -> joining side: accepted, and the match set-up if known (reliable)
  Refusal = 3,      // either way: what differs; the connection ends (reliable)
  Inputs = 4,       // a player's inputs not yet acknowledged, and an ack (unreliable)
  StateHash = 5,    // the state hash of a confirmed frame (unreliable)
  Select = 6,       // a player's cursor and choice on a select screen (reliable)
  MatchStart = 7,   // host -> joining side: fighters, stage, generator (reliable)
  Choice = 8,       // after a match: rematch or menu (reliable)
  Goodbye = 9,      // the side leaves on purpose (reliable)
  DumpPiece = 10,   // a piece of a desync's state dump (reliable)
  Watching = 11,    // host -> spectator: confirmed inputs of both players (reliable)
};

enum class PeerRole : std::uint8_t { Player = 1, Spectator = 2 };

// A hello is always this long, its fields then zeros: every answer before the
// handshake (a refusal names what differs in at most 200 bytes) is shorter
// than the hello that asked for it, so nobody can make a host send more than
// it was sent.
inline constexpr std::size_t kHelloBytes = 256;

struct HelloMessage {
  std::uint16_t protocol = kProtocolVersion;
  PeerRole role = PeerRole::Player;
  std::string version;                  // the program's version, at most 32 bytes
  std::uint64_t contentFingerprint = 0; // the game folder's files a fight reads
  ReplaySettings settings;              // the settings that change play
  std::uint8_t inputDelay = 2;          // 0..4
};

struct WelcomeMessage {
  std::uint8_t yourPlayer = 2;  // the player the joining side plays (2; 0 for a spectator)
  // Matches the host plays back to back before both runs end (at most
  // kMostSeriesMatches); 0: after each match the players choose a rematch
  // or the menu.
  std::uint32_t matches = 0;
  bool picks = false;  // both players pick on the select screens (the host set no match)
};
inline constexpr std::uint32_t kMostSeriesMatches = 1000000;

struct RefusalMessage {
  std::string reason;  // "the content differs: ..." (at most 200 bytes)
};

struct InputsMessage {
  // Which match of the session (counted from 1, modulo 256): a late packet
  // of the match before is not taken for this one's.
  std::uint8_t match = 1;
  std::uint32_t firstFrame = 0;  // the frame of inputs[0]
  std::uint8_t count = 0;        // 0..kMostInputsAPacket
  std::array<PlayerInput, kMostInputsAPacket> inputs{};
  std::uint32_t ackFrame = 0;    // the last frame of the receiver's inputs the sender holds, in a row
  std::uint32_t frame = 0;       // the last frame the sender has stepped
  std::int8_t advantage = 0;     // how many frames the sender thinks it runs ahead (time sync)
};

struct StateHashMessage {
  std::uint8_t match = 1;  // as in InputsMessage
  std::uint32_t frame = 0;
  std::uint64_t hash = 0;
};

struct SelectMessage {
  std::uint8_t screen = 0;  // 1 the character select, 2 the stage select
  std::uint8_t cursor = 0;  // the entry the cursor is on
  bool chosen = false;
};

struct MatchStartMessage {
  MatchSetup setup;              // names at most 47 bytes each
  std::uint64_t randomState = 0;
};

struct ChoiceMessage {
  bool rematch = false;  // false: back to the menu
};

struct DumpPieceMessage {
  std::uint32_t frame = 0;   // the frame the dump is of
  std::uint32_t offset = 0;  // where this piece goes in the dump
  std::uint32_t total = 0;   // the dump's length (at most kMostDumpBytes)
  std::string bytes;         // the piece (at most kMostPacketBytes - 20)
  std::uint8_t match = 1;    // as in InputsMessage: a dump of the match before is not this one's
};
inline constexpr std::uint32_t kMostDumpBytes = 4 * 1024 * 1024;

struct WatchingMessage {
  std::uint32_t firstFrame = 0;
  std::uint8_t count = 0;
  std::array<FightInputs, kMostInputsAPacket> frames{};
};

// The kind of a packet, when it starts as one of ours.
std::optional<MessageKind> KindOf(std::span<const std::uint8_t> packet);

std::vector<std::uint8_t> Encode(const HelloMessage&);
std::vector<std::uint8_t> Encode(const WelcomeMessage&);
std::vector<std::uint8_t> Encode(const RefusalMessage&);
std::vector<std::uint8_t> Encode(const InputsMessage&);
std::vector<std::uint8_t> Encode(const StateHashMessage&);
std::vector<std::uint8_t> Encode(const SelectMessage&);
std::vector<std::uint8_t> Encode(const MatchStartMessage&);
std::vector<std::uint8_t> Encode(const ChoiceMessage&);
std::vector<std::uint8_t> EncodeGoodbye();
std::vector<std::uint8_t> Encode(const DumpPieceMessage&);
std::vector<std::uint8_t> Encode(const WatchingMessage&);

std::optional<HelloMessage> DecodeHello(std::span<const std::uint8_t> packet);
std::optional<WelcomeMessage> DecodeWelcome(std::span<const std::uint8_t> packet);
std::optional<RefusalMessage> DecodeRefusal(std::span<const std::uint8_t> packet);
std::optional<InputsMessage> DecodeInputs(std::span<const std::uint8_t> packet);
std::optional<StateHashMessage> DecodeStateHash(std::span<const std::uint8_t> packet);
std::optional<SelectMessage> DecodeSelect(std::span<const std::uint8_t> packet);
std::optional<MatchStartMessage> DecodeMatchStart(std::span<const std::uint8_t> packet);
std::optional<ChoiceMessage> DecodeChoice(std::span<const std::uint8_t> packet);
bool DecodeGoodbye(std::span<const std::uint8_t> packet);
std::optional<DumpPieceMessage> DecodeDumpPiece(std::span<const std::uint8_t> packet);
std::optional<WatchingMessage> DecodeWatching(std::span<const std::uint8_t> packet);

// What differs between the host's hello and the joining side's, as a player
// reads it ("the content differs (the game folders are not the same)", "the
// rounds differ: 3 here, 5 there"); empty when they may play.
std::string HelloMismatch(const HelloMessage& here, const HelloMessage& there);

}  // namespace vdx::net
