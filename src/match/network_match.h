// A match over the network on screen: each pass reads this side's keys (or
// its computer's), lets the rollback session decide what to step, plays the
// sounds of frames stepped the first time, draws the present frame, and
// sends and takes the packets. Both sides step the same frames with the same
// inputs; where this side guessed the other's keys wrong, it goes back and
// steps again before drawing.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fight/fight_state.h"
#include "game/game.h"
#include "match/fight_loop.h"
#include "net/rollback_session.h"
#include "platform/network.h"

namespace vdx {

// Reliable messages kept for later, at most this many: a peer cannot make
// them pile up.
inline constexpr std::size_t kMostKeptMessages = 256;

// The link to the other side while the players are connected.
struct NetLink {
  explicit NetLink(platform::NetTransport& transport) : transport(transport) {}

  platform::NetTransport& transport;
  platform::PeerId peer = 0;  // the other player (0: none, this side watches)
  // Spectators and how far each has been sent the match's inputs.
  struct Watcher {
    platform::PeerId peer = 0;
    std::uint64_t sentUpTo = 0;
  };
  std::vector<Watcher> watchers;
  // Reliable messages of the other player that the match did not use (the
  // next match's start, a choice), in order.
  std::deque<std::vector<std::uint8_t>> later;
  // Events from peers that are not the other player (a spectator's hello),
  // handled by whoever set up the link.
  std::function<void(const platform::NetEvent&)> fromOthers;
  // Called once a pass with the link's clock: lets go of peers that said
  // nothing in time.
  std::function<void(std::uint32_t)> tend;
  std::uint64_t dropped = 0;  // packets that were not what they claim, or out of place
  bool otherGone = false;     // the other player said goodbye or disconnected
};

enum class NetMatchEnd {
  Finished,   // a winner, on both sides
  Desynced,   // "the two games went out of step"
  Lost,       // nothing heard for too long
  OtherLeft,  // the other player left
  Quit,       // this side closed the game
};

struct NetMatchResult {
  MatchResult match;
  NetMatchEnd end = NetMatchEnd::Finished;
  net::SessionStats stats;
  std::optional<net::Desync> desync;
  std::filesystem::path report;  // the desync report's folder, when one was written
};

struct NetMatchOptions {
  net::SessionOptions session;
  bool computerPlaysLocal = false;
  std::uint64_t computerSeed = 1;
  Integer computerLevel = kProfileDifficulty;  // 1 to 8
  // frameHashes: a line per confirmed frame; record: the confirmed inputs;
  // draw: pictures, sounds and movies. The sync test is not for this match.
  FightOutputs outputs;
  std::filesystem::path reportFolder;  // where a desync report goes
  std::uint64_t contentFingerprint = 0;  // the match's, for the report's replay
};

// The match from its set-up and the generator's state both sides agreed on.
NetMatchResult PlayNetworkMatch(Game& game, const MatchSetup& setup, std::uint64_t randomState,
                                NetLink& link, const NetMatchOptions& options);

// Watching: the confirmed inputs of both players come from the host a few
// frames late, and the match is stepped as they come.
NetMatchResult WatchNetworkMatch(Game& game, const MatchSetup& setup, std::uint64_t randomState,
                                 NetLink& link, FightOutputs outputs);

// A line of words on a dark band across the middle of the back buffer ("waiting
// for the other player").
void DrawNetworkMessage(Game& game, const std::string& text);

// The words a player reads when a network match ends otherwise than with a
// winner; empty for Finished and Quit.
std::string NetMatchEndText(NetMatchEnd end);

}  // namespace vdx
