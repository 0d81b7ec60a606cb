#include "net/rollback_session.h"

#include <algorithm>
#include <cmath>

#include "net/packets.h"

namespace vdx::net {

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;
// The side ahead gives up a frame at most once in this many.
constexpr std::uint64_t kFramesBetweenSkips = 10;
// The lead, in frames, at which the side ahead waits for the other (2 frames,
// rounded: the estimate of the other's frame is good to about half a frame).
constexpr double kLeadToSkip = 1.5;
// Passes between sending the newest hash check again (it travels unreliably).
constexpr int kPassesBetweenCheckResends = 10;

}  // namespace

RollbackSession::RollbackSession(SessionOptions options, std::uint32_t nowMs) : options_(options) {
  options_.inputDelay = std::clamp(options_.inputDelay, 0, 4);
  options_.mostPrediction = std::clamp(options_.mostPrediction, 0, 32);
  options_.hashInterval = std::max(options_.hashInterval, 1);
  local_ = options_.localPlayer == 2 ? 1 : 0;
  remote_ = 1 - local_;
  // The first frames of both players are empty, and both sides know it.
  const auto delay = static_cast<std::uint64_t>(options_.inputDelay);
  lastLocal_ = delay;
  lastRemote_ = delay;
  remoteAck_ = delay;
  lastHeardMs_ = nowMs;
  checksToSend_.reserve(kChecks);
}

std::size_t RollbackSession::checkSlot(std::uint64_t frame) const {
  return static_cast<std::size_t>(frame / static_cast<std::uint64_t>(options_.hashInterval) % kChecks);
}

PlayerInput RollbackSession::remoteFor(std::uint64_t frame) const {
  const auto delay = static_cast<std::uint64_t>(options_.inputDelay);
  if (frame <= delay) return {};
  if (frame <= lastRemote_) return remoteInputs_[slot(frame)];
  // Not known yet: the other player is taken to hold what it last pressed.
  if (lastRemote_ > delay) return remoteInputs_[slot(lastRemote_)];
  return {};
}

FightInputs RollbackSession::inputsFor(std::uint64_t frame) const {
  FightInputs inputs{};
  if (frame > static_cast<std::uint64_t>(options_.inputDelay) && frame <= lastLocal_)
    inputs[static_cast<std::size_t>(local_)] = localInputs_[slot(frame)];
  inputs[static_cast<std::size_t>(remote_)] = remoteFor(frame);
  return inputs;
}

FightInputs RollbackSession::confirmedInputs(std::uint64_t frame) const { return inputsFor(frame); }

void RollbackSession::receive(std::span<const std::uint8_t> packet, std::uint32_t nowMs) {
  ++stats_.packetsReceived;
  const std::optional<MessageKind> kind = KindOf(packet);
  if (kind == MessageKind::Inputs) {
    if (const std::optional<InputsMessage> m = DecodeInputs(packet); m && m->match == options_.match) {
      receiveInputs(*m, nowMs);
      return;
    }
  } else if (kind == MessageKind::StateHash) {
    if (const std::optional<StateHashMessage> m = DecodeStateHash(packet);
        m && m->match == options_.match) {
      const std::uint64_t frame = m->frame;
      if (frame != 0 && frame % static_cast<std::uint64_t>(options_.hashInterval) == 0) {
        heard(nowMs);
        receiveHash(frame, m->hash);
        return;
      }
    }
  }
  ++stats_.packetsDropped;
}

void RollbackSession::receiveInputs(const InputsMessage& m, std::uint32_t nowMs) {
  const std::uint64_t first = m.firstFrame;
  const std::uint64_t last = first + m.count - (m.count > 0 ? 1 : 0);
  // The other side acknowledges only what we sent, and sends its inputs
  // from one it knows we hold: anything else is not from a side of this match.
  // Its frame is at most its last input's (the inputs run ahead of the
  // frames by the delay), which we hold or which come here.
  const std::uint64_t newest = m.count > 0 ? std::max(last, lastRemote_) : lastRemote_;
  const bool outOfPlace =
      m.ackFrame > lastLocal_ || m.frame > newest ||
      (m.count > 0 && (first == 0 || first > lastRemote_ + 1 ||
                       last > lastConfirmed_ + kRing / 2));
  if (outOfPlace) {
    ++stats_.packetsDropped;
    return;
  }
  heard(nowMs);
  for (std::size_t i = 0; i < m.count; ++i) {
    const std::uint64_t frame = first + i;
    if (frame <= lastRemote_) continue;  // known already
    const PlayerInput input = m.inputs[i];
    remoteInputs_[slot(frame)] = input;
    lastRemote_ = frame;
    // A frame stepped on a guess that proved wrong is stepped again.
    if (frame <= lastStepped_ && remoteUsed_[slot(frame)] != input &&
        (wrongFrom_ == 0 || frame < wrongFrom_))
      wrongFrom_ = frame;
  }
  if (m.ackFrame > remoteAck_) {
    const std::uint64_t acked = m.ackFrame;
    if (sent_[slot(acked)]) {
      const double sample = static_cast<double>(nowMs - firstSentMs_[slot(acked)]);
      roundTripMs_ = measured_ ? roundTripMs_ + (sample - roundTripMs_) / 8 : sample;
      measured_ = true;
    }
    remoteAck_ = acked;
  }
  if (!heardFrame_ || m.frame >= remoteFrame_) {
    remoteFrame_ = m.frame;
    remoteAdvantage_ = m.advantage;
    remoteFrameMs_ = nowMs;
    heardFrame_ = true;
  }
  advanceConfirmed();
}

void RollbackSession::receiveHash(std::uint64_t frame, std::uint64_t hash) {
  Check& check = remoteChecks_[checkSlot(frame)];
  if (check.frame > frame) return;  // a late copy of a check long done
  check = {frame, hash};
  compareCheck(frame);
}

void RollbackSession::compareCheck(std::uint64_t frame) {
  const std::size_t s = checkSlot(frame);
  const Check& here = localChecks_[s];
  const Check& there = remoteChecks_[s];
  if (desync_ || here.frame != frame || there.frame != frame) return;
  if (here.hash != there.hash) desync_ = Desync{frame, here.hash, there.hash};
}

void RollbackSession::advanceConfirmed() {
  std::uint64_t limit = std::min({lastStepped_, lastRemote_, lastLocal_});
  if (wrongFrom_ > 0) limit = std::min(limit, wrongFrom_ - 1);
  if (restepNext_ > 0) limit = std::min(limit, restepNext_ - 1);
  while (lastConfirmed_ < limit) {
    const std::uint64_t frame = lastConfirmed_ + 1;
    if (remoteUsed_[slot(frame)] != remoteFor(frame)) {
      if (wrongFrom_ == 0 || frame < wrongFrom_) wrongFrom_ = frame;
      break;
    }
    lastConfirmed_ = frame;
    if (frame % static_cast<std::uint64_t>(options_.hashInterval) != 0) continue;
    const Check check{frame, hashes_[slot(frame)]};
    localChecks_[checkSlot(frame)] = check;
    if (checksToSend_.size() == kChecks) checksToSend_.erase(checksToSend_.begin());
    checksToSend_.push_back(check);
    latestCheck_ = check;
    checkResend_ = kPassesBetweenCheckResends;
    compareCheck(frame);
  }
}

double RollbackSession::aheadFrames(std::uint32_t nowMs) const {
  if (!heardFrame_) return 0;
  // Where the other side is now: its frame when it sent, and the frames it
  // has stepped since (half the round trip, and the time since it arrived).
  const double remoteNow = static_cast<double>(remoteFrame_) +
                           (static_cast<double>(nowMs - remoteFrameMs_) + roundTripMs_ / 2) / kFrameMs;
  return static_cast<double>(lastStepped_) - remoteNow;
}

FramePlan RollbackSession::plan(std::uint32_t nowMs) {
  FramePlan plan;
  plan.frame = lastStepped_ + 1;
  if (desync_) {
    plan.hold = Hold::Desynced;
    return plan;
  }
  const LinkHealth link = health(nowMs);
  if (link == LinkHealth::Lost) {
    lost_ = true;
    plan.hold = Hold::Lost;
    return plan;
  }
  if (wrongFrom_ > 0) {
    plan.rollbackFrom = wrongFrom_;
    const std::uint64_t frames = lastStepped_ - wrongFrom_ + 1;
    ++stats_.rollbacks;
    stats_.framesRestepped += frames;
    stats_.longestRollback = std::max(stats_.longestRollback, frames);
    restepNext_ = wrongFrom_;
    restepEnd_ = lastStepped_;
    wrongFrom_ = 0;
  }
  if (link == LinkHealth::Waiting) {
    plan.hold = Hold::Waiting;
    return plan;
  }
  if (plan.frame > lastRemote_ + static_cast<std::uint64_t>(options_.mostPrediction)) {
    plan.hold = Hold::PredictionLimit;
    ++stats_.predictionHolds;
    return plan;
  }
  // Both sides see the same lead from opposite ends: the one ahead waits.
  const double lead = (aheadFrames(nowMs) - remoteAdvantage_) / 2;
  if (heardFrame_ && framesSinceSkip_ >= kFramesBetweenSkips && lead >= kLeadToSkip) {
    plan.hold = Hold::TimeSync;
    framesSinceSkip_ = 0;
    ++stats_.timeSyncHolds;
    return plan;
  }
  plan.step = true;
  return plan;
}

void RollbackSession::addLocalInput(PlayerInput input) {
  const std::uint64_t frame = lastLocal_ + 1;
  // Once for each frame stepped the first time.
  if (frame > lastStepped_ + 1 + static_cast<std::uint64_t>(options_.inputDelay)) return;
  localInputs_[slot(frame)] = input;
  sent_[slot(frame)] = false;
  lastLocal_ = frame;
}

void RollbackSession::frameStepped(std::uint64_t frame, std::uint64_t stateHash) {
  if (frame == 0 || frame > lastStepped_ + 1) return;
  remoteUsed_[slot(frame)] = remoteFor(frame);
  hashes_[slot(frame)] = stateHash;
  if (frame == lastStepped_ + 1) {
    lastStepped_ = frame;
    ++framesSinceSkip_;
  }
  if (restepNext_ > 0 && frame == restepNext_) {
    restepNext_ = frame >= restepEnd_ ? 0 : frame + 1;
  }
  advanceConfirmed();
}

void RollbackSession::rewind(std::uint64_t frame) {
  if (frame >= lastStepped_ || frame < lastConfirmed_) return;
  lastStepped_ = frame;
  restepNext_ = 0;
  restepEnd_ = 0;
  if (wrongFrom_ > frame) wrongFrom_ = 0;
  advanceConfirmed();
}

std::uint64_t RollbackSession::lastStepped() const { return lastStepped_; }

std::uint64_t RollbackSession::lastConfirmed() const { return lastConfirmed_; }

std::vector<std::vector<std::uint8_t>> RollbackSession::takePackets(std::uint32_t nowMs) {
  std::vector<std::vector<std::uint8_t>> packets;
  InputsMessage m;
  const std::uint64_t first = remoteAck_ + 1;
  const std::uint64_t count = std::min<std::uint64_t>(lastLocal_ - remoteAck_, kMostInputsAPacket);
  m.firstFrame = static_cast<std::uint32_t>(first);
  m.count = static_cast<std::uint8_t>(count);
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::size_t s = slot(first + i);
    m.inputs[static_cast<std::size_t>(i)] = localInputs_[s];
    if (!sent_[s]) {
      sent_[s] = true;
      firstSentMs_[s] = nowMs;
    }
  }
  m.match = options_.match;
  m.ackFrame = static_cast<std::uint32_t>(lastRemote_);
  m.frame = static_cast<std::uint32_t>(lastStepped_);
  const double ahead = std::round(aheadFrames(nowMs));
  m.advantage = static_cast<std::int8_t>(std::clamp(ahead, -127.0, 127.0));
  packets.push_back(Encode(m));
  stats_.largestInputsPayload =
      std::max<std::uint64_t>(stats_.largestInputsPayload, packets.back().size());
  // A check goes out when its frame is confirmed, and the newest again now
  // and then, since either copy may be lost.
  if (!checksToSend_.empty()) {
    for (const Check& check : checksToSend_)
      packets.push_back(Encode(
          StateHashMessage{options_.match, static_cast<std::uint32_t>(check.frame), check.hash}));
    checksToSend_.clear();
  } else if (latestCheck_.frame != 0 && --checkResend_ <= 0) {
    packets.push_back(
        Encode(StateHashMessage{options_.match, static_cast<std::uint32_t>(latestCheck_.frame),
                                latestCheck_.hash}));
    checkResend_ = kPassesBetweenCheckResends;
  }
  stats_.packetsSent += packets.size();
  return packets;
}

bool RollbackSession::everythingAcknowledged() const { return remoteAck_ >= lastLocal_; }

bool RollbackSession::newestCheckCompared() const {
  return latestCheck_.frame == 0 ||
         remoteChecks_[checkSlot(latestCheck_.frame)].frame == latestCheck_.frame;
}

void RollbackSession::heard(std::uint32_t nowMs) {
  if (nowMs - lastHeardMs_ >= std::max(options_.lostAfterMs, graceMs_)) lost_ = true;
  lastHeardMs_ = nowMs;
  graceMs_ = 0;
}

void RollbackSession::resume(std::uint32_t nowMs, std::uint32_t graceMs) {
  if (lost_) return;
  lastHeardMs_ = nowMs;
  graceMs_ = graceMs;
}

LinkHealth RollbackSession::health(std::uint32_t nowMs) const {
  const std::uint32_t silent = nowMs - lastHeardMs_;
  if (lost_ || silent >= std::max(options_.lostAfterMs, graceMs_)) return LinkHealth::Lost;
  if (silent >= options_.waitingAfterMs) return LinkHealth::Waiting;
  return LinkHealth::Fine;
}

std::optional<Desync> RollbackSession::desync() const { return desync_; }

const SessionStats& RollbackSession::stats() const { return stats_; }

}  // namespace vdx::net
