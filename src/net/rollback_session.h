// One side of a network match, as frames and inputs: which inputs each fight
// frame is stepped with, when the fight must go back to a saved frame and
// step again because the other player's real input differs from the guess,
// when it must wait, and whether both machines still agree. It knows nothing
// of the fight but frame numbers, inputs and state hashes, and nothing of the
// network but the bytes of packets; the clock it is given is the machine's,
// used only for the link's health, never inside a fight frame.
//
// A pass of the match, at most once a fight frame:
//   session.receive(packet, now)  for every packet that arrived;
//   plan = session.plan(now);
//   if plan.rollbackFrom:  restore the state saved before that frame, and
//                          step again up to the current frame with
//                          inputsFor(frame) (silently), each with frameStepped();
//   if plan.step:          session.addLocalInput(keys); step frame
//                          plan.frame with inputsFor(plan.frame), then
//                          frameStepped(plan.frame, hash);
//   send every session.takePackets().
//
// Frame 1 is the match's first frame. The first `inputDelay` frames of both
// players are empty and known to both sides.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "input/player_input.h"

namespace vdx::net {

struct InputsMessage;

struct SessionOptions {
  int localPlayer = 1;   // 1 on the host, 2 on the joining side
  int inputDelay = 2;    // 0..4: a key pressed now counts that many frames later
  int mostPrediction = 8;  // frames stepped past the other side's last known input
  int hashInterval = 30;   // confirmed frames between state-hash checks
  std::uint8_t match = 1;  // the match's number in the session (modulo 256), in every packet
  std::uint32_t waitingAfterMs = 1000;  // no packet this long: the fight freezes
  std::uint32_t lostAfterMs = 10000;    // no packet this long: the match ends
};

enum class LinkHealth { Fine, Waiting, Lost };

// Why the next frame is not stepped in this pass.
enum class Hold {
  None,
  PredictionLimit,  // the other side's inputs are too far behind
  TimeSync,         // this side runs ahead: it waits one frame
  Waiting,          // nothing heard for a while
  Lost,             // nothing heard for too long: the match is over
  Desynced,         // the machines disagree: the match is over
};

struct FramePlan {
  std::uint64_t rollbackFrom = 0;  // > 0: step again from this frame up to lastStepped()
  bool step = false;               // step frame `frame` now
  std::uint64_t frame = 0;         // lastStepped() + 1
  Hold hold = Hold::None;
};

struct Desync {
  std::uint64_t frame = 0;
  std::uint64_t localHash = 0;
  std::uint64_t remoteHash = 0;
};

// What a match's rollbacks cost, for the tests' and the benchmark's figures.
struct SessionStats {
  std::uint64_t rollbacks = 0;        // times the fight went back
  std::uint64_t framesRestepped = 0;  // frames stepped again in all
  std::uint64_t longestRollback = 0;  // frames stepped again at once, at most
  std::uint64_t predictionHolds = 0;  // passes held at the prediction limit
  std::uint64_t timeSyncHolds = 0;    // frames given up to let the other side catch up
  std::uint64_t packetsSent = 0;
  std::uint64_t packetsReceived = 0;
  std::uint64_t packetsDropped = 0;   // malformed, oversized or out of place
  std::uint64_t largestInputsPayload = 0;  // bytes, of an inputs packet we sent
};

class RollbackSession {
 public:
  RollbackSession(SessionOptions options, std::uint32_t nowMs);

  // A packet of the other player (inputs or a state hash). Anything else, or
  // anything malformed, is dropped and counted; it never throws.
  void receive(std::span<const std::uint8_t> packet, std::uint32_t nowMs);

  FramePlan plan(std::uint32_t nowMs);

  // This side's keys for the frame being stepped: they count for frame
  // plan.frame + inputDelay. Called once for each frame stepped the first time.
  void addLocalInput(PlayerInput input);

  // Both players' inputs for `frame`: the real ones where known, else the
  // other player's last known input, held.
  FightInputs inputsFor(std::uint64_t frame) const;

  // `frame` was stepped (first time or again) with inputsFor(frame); `hash`
  // is the state's hash after it. Frames on the hash interval keep their hash
  // until both sides have compared it.
  void frameStepped(std::uint64_t frame, std::uint64_t stateHash);

  // Stepping again after a rollback, the fight stopped at `frame` (a round
  // ended sooner than it did on the guess): the frames after it count as
  // never stepped. This side's inputs for them stay as sent.
  void rewind(std::uint64_t frame);

  std::uint64_t lastStepped() const;
  // Every frame up to this one was stepped with both players' real inputs.
  std::uint64_t lastConfirmed() const;
  // Both players' real inputs of a confirmed frame (for the replay, the frame
  // hashes and a spectator). The inputs of the last 200 frames are kept: take
  // them as the frames are confirmed.
  FightInputs confirmedInputs(std::uint64_t frame) const;

  // The packets to send now, in order (at most one inputs packet a pass).
  std::vector<std::vector<std::uint8_t>> takePackets(std::uint32_t nowMs);

  // The other side holds every input this side has sent (a finished match
  // waits for this before it lets go of the link).
  bool everythingAcknowledged() const;
  // This side has the other's hash of its newest checked frame (and so has
  // compared them).
  bool newestCheckCompared() const;

  // This side was busy for a while (a round's movies and loading) and so may
  // the other be: silence counts from now, and until the other is heard
  // again it is waited for up to `graceMs` before the link counts as lost
  // (a dead link still shows as the transport's disconnection).
  void resume(std::uint32_t nowMs, std::uint32_t graceMs);

  LinkHealth health(std::uint32_t nowMs) const;
  std::optional<Desync> desync() const;
  const SessionStats& stats() const;

 private:
  // Fixed rings of inputs and hashes: a frame allocates nothing but the
  // packets it sends.
  static constexpr std::size_t kRing = 256;  // frames of inputs and hashes kept
  static constexpr std::size_t kChecks = 16;  // hash checks awaiting the other side's

  struct Check {
    std::uint64_t frame = 0;  // 0: none
    std::uint64_t hash = 0;
  };

  static std::size_t slot(std::uint64_t frame) { return static_cast<std::size_t>(frame % kRing); }
  std::size_t checkSlot(std::uint64_t frame) const;
  PlayerInput remoteFor(std::uint64_t frame) const;
  void receiveInputs(const InputsMessage& m, std::uint32_t nowMs);
  void receiveHash(std::uint64_t frame, std::uint64_t hash);
  void advanceConfirmed();
  void heard(std::uint32_t nowMs);  // a packet of the other side came
  void compareCheck(std::uint64_t frame);
  double aheadFrames(std::uint32_t nowMs) const;  // this side's lead, as it sees it

  SessionOptions options_;
  int local_ = 0;   // 0 or 1: this side's index in FightInputs
  int remote_ = 1;
  std::array<PlayerInput, kRing> localInputs_{};
  std::array<PlayerInput, kRing> remoteInputs_{};
  std::array<PlayerInput, kRing> remoteUsed_{};   // the other's input a stepped frame used
  std::array<std::uint64_t, kRing> hashes_{};     // the state after a stepped frame
  std::array<std::uint32_t, kRing> firstSentMs_{};  // when a local input first went out
  std::array<bool, kRing> sent_{};
  std::uint64_t lastLocal_ = 0;    // the last frame with this side's input
  std::uint64_t lastRemote_ = 0;   // the last frame of the other's inputs, in a row
  std::uint64_t remoteAck_ = 0;    // the last frame of ours the other holds, in a row
  std::uint64_t lastStepped_ = 0;
  std::uint64_t lastConfirmed_ = 0;
  std::uint64_t wrongFrom_ = 0;    // > 0: the earliest stepped frame whose guess proved wrong
  std::uint64_t restepNext_ = 0;   // > 0: a rollback runs; the next frame to step again
  std::uint64_t restepEnd_ = 0;
  // The other side's pace, from its newest packet.
  std::uint64_t remoteFrame_ = 0;
  int remoteAdvantage_ = 0;
  std::uint32_t remoteFrameMs_ = 0;
  bool heardFrame_ = false;
  double roundTripMs_ = 0;
  bool measured_ = false;
  std::uint32_t lastHeardMs_ = 0;
  bool lost_ = false;  // once lost, the link stays lost
  std::uint32_t graceMs_ = 0;  // > 0: silence allowed until the other is heard again
  std::uint64_t framesSinceSkip_ = 0;
  std::array<Check, kChecks> localChecks_{};
  std::array<Check, kChecks> remoteChecks_{};
  Check latestCheck_;           // the newest confirmed check, sent again now and then
  int checkResend_ = 0;         // passes until it goes again
  std::vector<Check> checksToSend_;
  std::optional<Desync> desync_;
  SessionStats stats_;
};

}  // namespace vdx::net
