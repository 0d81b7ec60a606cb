// Network matches in one process: two machines, each with its own game on the
// demo folder, its own fight and its own rollback session, over a simulated
// link. Whatever the link does, both must confirm the same inputs and the
// same states, and those inputs must replay to the same states without any
// rollback at all.
#include "match/rollback_fight.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "content/get_xml.h"
#include "fight/computer_keys.h"
#include "fight/fight_hash.h"
#include "match/fight_loop.h"
#include "net/rollback_session.h"
#include "platform/headless/headless_platform.h"
#include "platform/simulated_link.h"

namespace vdx {
namespace {

// One machine of the match.
struct Machine {
  explicit Machine(const std::filesystem::path& logFolder) : game(platform, VDX_DEMO_DIR) {
    game.log.path = logFolder / "log.txt";
    GetXML(game.paths, game.settings, game.content, game.loadReport);
    // Matches of up to three rounds (two wins needed).
    game.settings.Rounds = 2;
  }

  // A new match of both human players, `player` of them played here.
  void begin(int player, std::uint64_t randomState, platform::NetTransport& link, std::uint32_t now,
             std::uint64_t keySeed) {
    game.random.Restore(randomState);
    FightOutputs outputs;
    outputs.draw = false;
    session = std::make_unique<FightSession>(game, MatchSetup{"Kira", "Brann", "Harbour", 2},
                                             outputs);
    BeginRound(*session);
    rf = std::make_unique<RollbackFight>(session->fight);
    net = std::make_unique<net::RollbackSession>(
        net::SessionOptions{.localPlayer = player}, now);
    end = &link;
    computer = StartComputerAtKeys(keySeed);
    this->player = player;
    confirmed.clear();
    hashes.clear();
    over = false;
    rounds = 1;
    roundEnds.clear();
    while (end->nextEvent()) {  // the Connected event
    }
  }

  void pass(std::uint32_t now) {
    while (auto e = end->nextEvent())
      if (e->kind == platform::NetEvent::Kind::Received) net->receive(e->bytes, now);
    // Each side's computer at its own player's keys.
    const PlayerInput keys = ComputerKeys(computer, rf->fight, session->slots, player);
    const NetPass p = RunNetPass(*rf, session->slots, *net, keys, now);
    for (std::uint64_t f = p.firstConfirmed; f <= p.lastConfirmed; ++f) {
      confirmed.push_back(net->confirmedInputs(f));
      hashes.push_back(ConfirmedHash(*rf, f));
    }
    if (p.end == FightOutcome::MatchOver) over = true;
    if (p.end == FightOutcome::RoundOver) {
      session->fight = rf->fight;
      BeginRound(*session);
      rf->fight = session->fight;
      roundEnds.push_back(p.endFrame);
      RoundBegun(*rf);
      ++rounds;
    }
    for (const auto& packet : net->takePackets(now))
      end->send(1, platform::NetChannel::Unreliable, packet);
  }

  platform::HeadlessPlatform platform;
  Game game;
  std::unique_ptr<FightSession> session;
  std::unique_ptr<RollbackFight> rf;
  std::unique_ptr<net::RollbackSession> net;
  platform::NetTransport* end = nullptr;
  ComputerAtKeys computer;
  int player = 1;
  std::vector<FightInputs> confirmed;
  std::vector<std::uint64_t> hashes;  // after each confirmed frame
  bool over = false;
  int rounds = 1;
  std::vector<std::uint64_t> roundEnds;  // the frames rounds ended on
};

class RollbackMatch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = std::filesystem::temp_directory_path() / "vdx_rollback_match";
    std::filesystem::create_directories(folder);
    a = std::make_unique<Machine>(folder);
    b = std::make_unique<Machine>(folder);
  }
  static void TearDownTestSuite() {
    a.reset();
    b.reset();
  }

  // Plays until the match is over on both machines or both have confirmed
  // `frameCap` frames; player 2 joins `lateBy` passes after player 1.
  void Play(platform::SimulatedLink& link, std::uint64_t frameCap, int lateBy = 3) {
    std::uint32_t now = 1000;
    link.setClock(now);
    a->begin(1, 0x5EED, link.end(0), now, 11);
    b->begin(2, 0x5EED, link.end(1), now, 29);
    for (int pass = 0; pass < 20000; ++pass) {
      now += pass % 3 == 2 ? 17 : 16;  // 60 frames a second
      link.setClock(now);
      a->pass(now);
      if (pass >= lateBy) b->pass(now);
      const bool done = (a->over || a->confirmed.size() >= frameCap) &&
                        (b->over || b->confirmed.size() >= frameCap);
      if (done || a->net->desync() || b->net->desync()) break;
      if (a->net->health(now) == net::LinkHealth::Lost) break;
    }
  }

  // The confirmed inputs stepped straight, with no rollback: the state hash
  // after every frame.
  std::vector<std::uint64_t> Straight(const std::vector<FightInputs>& inputs) {
    Machine& m = *a;
    m.game.random.Restore(0x5EED);
    FightOutputs outputs;
    outputs.draw = false;
    FightSession s(m.game, MatchSetup{"Kira", "Brann", "Harbour", 2}, outputs);
    BeginRound(s);
    std::vector<std::uint64_t> hashes;
    for (const FightInputs& in : inputs) {
      FightEvents events;
      const FightOutcome outcome = StepFight(s.fight, s.slots, in, events);
      hashes.push_back(HashFightState(s.fight));
      if (outcome == FightOutcome::RoundOver) {
        BeginRound(s);
      }
      if (outcome == FightOutcome::MatchOver) break;
    }
    return hashes;
  }

  static inline std::filesystem::path folder;
  static inline std::unique_ptr<Machine> a, b;
};

TEST_F(RollbackMatch, BothMachinesConfirmTheSameMatchOnAnyLink) {
  constexpr std::uint64_t kFrameCap = 15000;
  std::uint64_t seed = 100;
  for (const std::uint32_t roundTrip : {0u, 60u, 150u, 250u}) {
    for (const double loss : {0.0, 0.05, 0.2}) {
      const platform::LinkConditions conditions{.roundTripMs = roundTrip,
                                                .jitterMs = roundTrip / 10,
                                                .loss = loss,
                                                .duplication = loss / 4,
                                                .reordering = loss / 2,
                                                .seed = ++seed};
      platform::SimulatedLink link(conditions);
      Play(link, kFrameCap);
      const std::string where = std::to_string(roundTrip) + " ms, " +
                                std::to_string(static_cast<int>(loss * 100)) + " % lost";
      SCOPED_TRACE(where);
      ASSERT_FALSE(a->net->desync());
      ASSERT_FALSE(b->net->desync());
      const std::size_t frames = std::min(a->confirmed.size(), b->confirmed.size());
      ASSERT_TRUE(frames >= kFrameCap || (a->over && b->over)) << frames << " frames";
      // Rounds end on the same frames on both machines, whatever either
      // guessed on the way.
      EXPECT_EQ(a->roundEnds, b->roundEnds);
      EXPECT_GE(a->rounds, 2);
      EXPECT_TRUE(a->over && b->over);
      EXPECT_EQ(a->confirmed.size(), b->confirmed.size());
      // The same replay, the same states, and the states of a fight never
      // rolled back.
      const std::vector<FightInputs> replay(a->confirmed.begin(), a->confirmed.begin() + frames);
      EXPECT_TRUE(std::equal(replay.begin(), replay.end(), b->confirmed.begin()));
      const std::vector<std::uint64_t> straight = Straight(replay);
      ASSERT_EQ(straight.size(), frames);
      for (std::size_t f = 0; f < frames; ++f) {
        ASSERT_EQ(a->hashes[f], straight[f]) << "frame " << f + 1;
        ASSERT_EQ(b->hashes[f], straight[f]) << "frame " << f + 1;
      }
      for (const Machine* m : {a.get(), b.get()}) {
        const net::SessionStats& s = m->net->stats();
        std::printf(
            "%-16s player %d: %d rounds, %5zu frames, %4llu rollbacks, longest %2llu, %5llu frames again, "
            "%4llu prediction holds, %3llu time-sync holds, largest inputs packet %2llu bytes\n",
            where.c_str(), m->player, m->rounds, m->confirmed.size(),
            static_cast<unsigned long long>(s.rollbacks),
            static_cast<unsigned long long>(s.longestRollback),
            static_cast<unsigned long long>(s.framesRestepped),
            static_cast<unsigned long long>(s.predictionHolds),
            static_cast<unsigned long long>(s.timeSyncHolds),
            static_cast<unsigned long long>(s.largestInputsPayload));
        EXPECT_LE(s.largestInputsPayload, 64u);
        // Never further back than the prediction limit.
        EXPECT_LE(s.longestRollback, 8u);
        // A late joiner is caught up with in its first frames; then, on a
        // perfect link, every input arrives before it is needed.
        if (roundTrip == 0 && loss == 0) {
          EXPECT_LE(s.rollbacks, 10u);
        }
        if (roundTrip >= 150) {
          EXPECT_GT(s.rollbacks, 0u);
        }
      }
    }
  }
}

TEST_F(RollbackMatch, ANudgedStateIsADesyncOnBothMachinesWithinAHashInterval) {
  platform::SimulatedLink link({});
  std::uint32_t now = 1000;
  link.setClock(now);
  a->begin(1, 0x5EED, link.end(0), now, 5);
  b->begin(2, 0x5EED, link.end(1), now, 6);
  std::uint64_t nudged = 0;
  for (int pass = 0; pass < 400 && !(a->net->desync() && b->net->desync()); ++pass) {
    now += 16;
    link.setClock(now);
    a->pass(now);
    b->pass(now);
    if (pass == 100) {
      b->rf->fight.fighters[1].PlayerX += 1;
      nudged = b->net->lastStepped();
    }
  }
  ASSERT_GT(nudged, 0u);
  ASSERT_TRUE(a->net->desync());
  ASSERT_TRUE(b->net->desync());
  EXPECT_GT(a->net->desync()->frame, nudged);
  EXPECT_LE(a->net->desync()->frame, nudged + 30);
  EXPECT_EQ(a->net->desync()->frame, b->net->desync()->frame);
  EXPECT_EQ(a->net->desync()->remoteHash, b->net->desync()->localHash);
  EXPECT_EQ(a->net->plan(now).hold, net::Hold::Desynced);
  EXPECT_EQ(b->net->plan(now).hold, net::Hold::Desynced);
}

}  // namespace
}  // namespace vdx
