#include "net/rollback_session.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "net/packets.h"

namespace vdx::net {
namespace {

using Packets = std::vector<std::vector<std::uint8_t>>;

// A stand-in for the fight: its "state" after a frame is a hash of the state
// before and both inputs, so any input stepped differently shows.
struct Side {
  Side(int player, int delay = 2, std::uint32_t now = 0)
      : session(SessionOptions{.localPlayer = player, .inputDelay = delay}, now) {}

  std::uint64_t step(std::uint64_t frame) {
    const FightInputs in = session.inputsFor(frame);
    const std::uint64_t before = frame == 1 ? 0 : states.at(frame - 2);
    const std::uint64_t after = (before ^ (in[0].buttons + 256u * in[1].buttons + 1)) * 0x100000001B3u;
    states.resize(frame - 1);
    states.push_back(after + nudge);
    session.frameStepped(frame, states.back());
    return after;
  }

  // One pass: receive what came, plan, roll back, step; the packets to send.
  FramePlan pass(std::uint8_t keys, std::uint32_t now, const Packets& arrived = {}) {
    for (const auto& p : arrived) session.receive(p, now);
    const FramePlan plan = session.plan(now);
    if (plan.rollbackFrom > 0)
      for (std::uint64_t f = plan.rollbackFrom; f <= session.lastStepped(); ++f) step(f);
    if (plan.step) {
      session.addLocalInput(PlayerInput{keys});
      step(plan.frame);
    }
    out = session.takePackets(now);
    return plan;
  }

  RollbackSession session;
  std::vector<std::uint64_t> states;  // after frame 1, 2, ...
  std::uint64_t nudge = 0;
  Packets out;
};

std::vector<InputsMessage> InputsIn(const Packets& packets) {
  std::vector<InputsMessage> inputs;
  for (const auto& p : packets)
    if (auto m = DecodeInputs(p)) inputs.push_back(*m);
  return inputs;
}

TEST(RollbackSession, DelayPredictionAndRollbackFollowTheOtherSidesInputs) {
  Side a(1), b(2);
  // Nothing heard from player 2: player 1 steps 8 frames past the 2 empty
  // ones both know, then holds at the prediction limit.
  std::uint32_t now = 0;
  for (int pass = 1; pass <= 10; ++pass) EXPECT_TRUE(a.pass(kButtonPunch, now += 16).step) << pass;
  FramePlan held = a.pass(kButtonPunch, now += 16);
  EXPECT_FALSE(held.step);
  EXPECT_EQ(held.hold, Hold::PredictionLimit);
  EXPECT_EQ(held.frame, 11u);
  EXPECT_EQ(a.session.stats().predictionHolds, 1u);
  // A key pressed stepping frame 1 counts for frame 3; frames 1 and 2 are empty.
  EXPECT_EQ(a.session.inputsFor(2)[0].buttons, 0);
  EXPECT_EQ(a.session.inputsFor(3)[0].buttons, kButtonPunch);
  EXPECT_EQ(a.session.lastConfirmed(), 2u);
  // Every packet carries all the inputs the other has not acknowledged.
  const std::vector<InputsMessage> sent = InputsIn(a.out);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].firstFrame, 3u);
  EXPECT_EQ(sent[0].count, 10);  // frames 3 to 12
  EXPECT_EQ(sent[0].ackFrame, 2u);
  EXPECT_EQ(sent[0].frame, 10u);

  // Player 2 holds nothing for two frames, then Kick: player 1 guessed
  // "nothing" held, so frame 5 was wrong and the fight goes back to it.
  b.pass(0, 16);
  b.pass(0, 32);
  b.pass(kButtonKick, 48, a.out);
  EXPECT_EQ(b.session.lastStepped(), 3u);
  FramePlan back = a.pass(0, now += 16, b.out);
  EXPECT_EQ(back.rollbackFrom, 5u);
  // Player 1 is 7 frames ahead of player 2: it gives up this frame.
  EXPECT_FALSE(back.step);
  EXPECT_EQ(back.hold, Hold::TimeSync);
  EXPECT_EQ(a.session.stats().rollbacks, 1u);
  EXPECT_EQ(a.session.stats().framesRestepped, 6u);  // 5 to 10 again
  EXPECT_EQ(a.session.lastConfirmed(), 5u);
  // Past the known inputs, the other's last input is taken as held.
  EXPECT_EQ(a.session.inputsFor(9)[1].buttons, kButtonKick);
  EXPECT_EQ(a.session.inputsFor(4)[1].buttons, 0);
  // The other acknowledged frames 3 to 12: nothing is left to send but
  // the ack (a packet goes every pass, holding or not).
  EXPECT_TRUE(a.session.everythingAcknowledged());
  std::vector<InputsMessage> next = InputsIn(a.out);
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(next[0].firstFrame, 13u);
  EXPECT_EQ(next[0].count, 0);
  EXPECT_EQ(next[0].ackFrame, 5u);
  EXPECT_TRUE(a.pass(kButtonBlock, now += 16).step);
  EXPECT_FALSE(a.session.everythingAcknowledged());
  next = InputsIn(a.out);
  EXPECT_EQ(next[0].firstFrame, 13u);
  EXPECT_EQ(next[0].count, 1);
  EXPECT_EQ(next[0].inputs[0].buttons, kButtonBlock);

  // A guess that proves right costs nothing.
  Side c(1, 0), d(2, 0);
  c.pass(0, 16);
  c.pass(0, 32);
  d.pass(0, 16, c.out);
  c.pass(0, 48, d.out);
  EXPECT_EQ(c.session.stats().rollbacks, 0u);
  EXPECT_EQ(c.session.lastConfirmed(), 1u);
}

TEST(RollbackSession, SilenceWaitsAfterASecondAndLosesTheLinkAfterTen) {
  Side a(1, 2, 5000);
  EXPECT_EQ(a.session.health(5999), LinkHealth::Fine);
  EXPECT_EQ(a.session.health(6000), LinkHealth::Waiting);
  EXPECT_EQ(a.pass(0, 6000).hold, Hold::Waiting);
  // A packet of the match brings it back; a malformed one does not.
  Side b(2);
  b.pass(0, 6000);
  const std::vector<std::uint8_t> junk = {kPacketMagic, 4, 1, 2};
  a.session.receive(junk, 6500);
  EXPECT_EQ(a.session.stats().packetsDropped, 1u);
  EXPECT_EQ(a.session.health(6500), LinkHealth::Waiting);
  // An ack of inputs never sent is not from this match either.
  InputsMessage stranger;
  stranger.ackFrame = 900;
  a.session.receive(Encode(stranger), 6500);
  EXPECT_EQ(a.session.stats().packetsDropped, 2u);
  a.session.receive(b.out[0], 6500);
  EXPECT_EQ(a.session.health(6500), LinkHealth::Fine);
  EXPECT_TRUE(a.pass(0, 6500).step);
  EXPECT_EQ(a.session.health(16499), LinkHealth::Waiting);
  EXPECT_EQ(a.session.health(16500), LinkHealth::Lost);
  EXPECT_EQ(a.pass(0, 16500).hold, Hold::Lost);
  // Lost stays lost.
  a.session.receive(b.out[0], 16600);
  EXPECT_EQ(a.session.health(16600), LinkHealth::Lost);

  // Back from a round's movies and loading, a side waits for the other's
  // as long as the grace, then the first packet ends the grace.
  Side c(1, 2, 0), d(2, 2, 0);
  d.pass(0, 0);
  c.pass(0, 0, d.out);
  c.session.resume(20000, 60000);
  EXPECT_EQ(c.session.health(50000), LinkHealth::Waiting);
  EXPECT_EQ(c.session.health(80000), LinkHealth::Lost);
  d.pass(0, 50000);
  c.session.receive(d.out[0], 50000);
  EXPECT_EQ(c.session.health(50000), LinkHealth::Fine);
  EXPECT_EQ(c.session.health(60000), LinkHealth::Lost);
  // A packet of another match of the series is not this one's.
  Side e(1, 2, 0);
  Side f(2, 2, 0);
  f.pass(0, 0);
  InputsMessage late = InputsIn(f.out).at(0);
  late.match = 2;
  e.session.receive(Encode(late), 10);
  EXPECT_EQ(e.session.stats().packetsDropped, 1u);
  late.match = 1;
  e.session.receive(Encode(late), 10);
  EXPECT_EQ(e.session.stats().packetsDropped, 1u);
  // Nor one whose sender claims a frame past every input it sent.
  late.frame = late.firstFrame + late.count + 5;
  e.session.receive(Encode(late), 20);
  EXPECT_EQ(e.session.stats().packetsDropped, 2u);
}

TEST(RollbackSession, TheSideAheadGivesUpAFrameAtMostOnceInTen) {
  // Player 1 starts 10 frames before player 2 and both then run at the same
  // pace over a link with no delay: player 1 holds now and then until
  // they are within 2 frames of each other.
  Side a(1), b(2);
  std::uint32_t now = 0;
  for (int i = 0; i < 10; ++i) a.pass(0, now += 16);
  std::vector<int> skips;
  for (int pass = 0; pass < 200; ++pass) {
    now += 16;
    Packets fromA = a.out, fromB = b.out;
    if (a.pass(0, now, fromB).hold == Hold::TimeSync) skips.push_back(pass);
    EXPECT_NE(b.pass(0, now, fromA).hold, Hold::TimeSync);
  }
  ASSERT_GE(skips.size(), 3u);
  for (std::size_t i = 1; i < skips.size(); ++i) EXPECT_GE(skips[i] - skips[i - 1], 10);
  const auto lead = static_cast<std::int64_t>(a.session.lastStepped()) -
                    static_cast<std::int64_t>(b.session.lastStepped());
  EXPECT_LE(lead, 2);
  EXPECT_GE(lead, 0);
}

TEST(RollbackSession, BothSidesSeeADesyncAtTheNextHashCheck) {
  Side a(1), b(2);
  std::uint32_t now = 0;
  for (int pass = 0; pass < 100; ++pass) {
    now += 16;
    if (pass == 40) b.nudge = 1;  // from frame 41 on, player 2's state differs
    Packets fromA = a.out, fromB = b.out;
    a.pass(static_cast<std::uint8_t>(pass % 3), now, fromB);
    b.pass(static_cast<std::uint8_t>(pass % 5), now, fromA);
  }
  ASSERT_TRUE(a.session.desync());
  ASSERT_TRUE(b.session.desync());
  EXPECT_EQ(a.session.desync()->frame, 60u);
  EXPECT_EQ(b.session.desync()->frame, 60u);
  EXPECT_EQ(a.session.desync()->localHash, b.session.desync()->remoteHash);
  EXPECT_EQ(a.pass(0, now + 16).hold, Hold::Desynced);
  // Frame 30 agreed: the check passed.
  Side c(1), d(2);
  now = 0;
  for (int pass = 0; pass < 100; ++pass) {
    now += 16;
    Packets fromC = c.out, fromD = d.out;
    c.pass(static_cast<std::uint8_t>(pass % 3), now, fromD);
    d.pass(static_cast<std::uint8_t>(pass % 5), now, fromC);
  }
  EXPECT_FALSE(c.session.desync());
  EXPECT_GE(c.session.lastConfirmed(), 90u);
  EXPECT_EQ(c.states.at(89), d.states.at(89));
}

}  // namespace
}  // namespace vdx::net
