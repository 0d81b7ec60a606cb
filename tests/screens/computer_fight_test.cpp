// Whole fights against the computer on the demo folder, frame by frame: the
// folder's files are linked into a test folder that brings its own ai.xml
// (or none), and player 1 only starts the fight and then stands.
#include <gtest/gtest.h>

#include <array>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "content/get_xml.h"
#include "content/xml_encoding.h"
#include "match/fight_loop.h"
#include "fight/state_dump.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

constexpr int kFramesPerSecond = 1000 / 16;

// A profile for Kira and one for Brann with the same numbers and moves.
std::string AiXml(const std::string& numbers, const std::string& moves) {
  std::string xml = "<AI>";
  for (const char* name : {"Kira", "Brann"})
    xml +=
        std::string("<Character Name=\"") + name + "\" " + numbers + ">" + moves + "</Character>";
  return xml + "</AI>";
}

constexpr const char* kCloseMoves =
    R"(<Move Name="Punch" Type="Close" Region="High"/><Move Name="Kick" Type="Close" Region="Mid"/>
       <Move Name="SweepKick" Type="Close" Region="Low"/>)";
constexpr const char* kAggressive =
    R"(Aggression="100" Attack="100" AttackFar="0" Block="0" Retreat="0")";
constexpr const char* kPassive =
    R"(Aggression="0" Attack="100" AttackFar="100" Block="45" Retreat="50")";

class ComputerFight : public ::testing::Test {
 protected:
  ComputerFight() { platform.openAudio(); }
  ~ComputerFight() override {
    session.reset();
    platform.closeAudio();
  }

  // The demo folder without its pick-up (nobody heals by chance) and with
  // `aiXml` as its ai.xml, or without one; in the test folder's `name`.
  void UseFolder(const std::optional<std::string>& aiXml, const std::string& name = "game") {
    session.reset();
    const auto dir = folder.path() / name;
    std::filesystem::create_directories(dir);
    for (const auto& entry : std::filesystem::directory_iterator(VDX_DEMO_DIR)) {
      const auto name = entry.path().filename();
      if (name != "ball.bmp" && name != "ai.xml")
        std::filesystem::create_symlink(entry.path(), dir / name);
    }
    if (aiXml) folder.write(name + "/ai.xml", *aiXml);
    game = std::make_unique<Game>(platform, dir);
    game->log.path = folder.path() / "log.txt";
    ASSERT_TRUE(GetXML(game->paths, game->settings, game->content, game->loadReport));
  }

  // Kira against the computer's Brann on the harbour; player 1's Block key
  // starts the fight and is let go. When the computer plays both, no key.
  void Begin(std::uint64_t randomState = RandomGenerator{}.state(), std::string* hashes = nullptr,
             ComputerPlays computer = ComputerPlays::Player2) {
    game->random.Restore(randomState);
    MatchSetup setup{"Kira", "Brann", "Harbour", 1, computer};
    session = std::make_unique<FightSession>(*game, setup, FightOutputs{hashes, nullptr});
    BeginRound(*session);
    frame = FrameInput{};
    frame.ticks = platform::kTickBase;
    Run(2);
    if (computer == ComputerPlays::Player2)
      frame.keys[static_cast<std::size_t>(game->settings.Player1Keys.Block)] = 0x80;
    Run(2);
    frame.keys.fill(0);
    ASSERT_TRUE(session->fight.FightStarted);
  }

  // Runs up to `frames` frames, or until `stop` holds; returns the frames run.
  template <typename Stop>
  int RunUntil(int frames, Stop stop) {
    for (int i = 0; i < frames; ++i) {
      frame.ticks += 16;
      if (RunFightFrame(*session, frame) == FrameEnd::RoundOver || stop()) return i + 1;
    }
    return frames;
  }
  int Run(int frames) {
    return RunUntil(frames, [] { return false; });
  }

  FighterState& Fighter(int p) { return session->fight.fighters[p]; }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  std::unique_ptr<Game> game;
  std::unique_ptr<FightSession> session;
  FrameInput frame;
};

TEST_F(ComputerFight, AnAggressiveComputerWalksUpHurtsAndKnocksOutAnIdlePlayer) {
  UseFolder(AiXml(kAggressive, kCloseMoves));
  Begin();
  const Long start = Fighter(2).PlayerX;
  const Integer full = Fighter(1).Health;
  const int frames = RunUntil(10 * kFramesPerSecond, [&] { return Fighter(1).Health < full; });
  EXPECT_LT(frames, 10 * kFramesPerSecond) << "untouched after 10 s";
  EXPECT_LT(Fighter(2).PlayerX - Fighter(1).PlayerX, start) << "Brann came closer";
  RunUntil(90 * kFramesPerSecond, [&] { return session->fight.RoundLoser != 0; });
  EXPECT_EQ(session->fight.RoundLoser, 1);
  EXPECT_EQ(Fighter(1).ActionName, "KO");
  EXPECT_EQ(session->fight.RoundWins[2], 1);
}

TEST_F(ComputerFight, AheadByARoundTheComputerFinishesAWeakenedPlayer) {
  UseFolder(AiXml(kAggressive, kCloseMoves));
  Begin();
  session->fight.RoundWins[2] = 1;
  Fighter(1).Health = 20;
  RunUntil(20 * kFramesPerSecond, [&] { return Fighter(2).ActionName == "Sexuality"; });
  EXPECT_EQ(Fighter(2).ActionName, "Sexuality");
}

TEST_F(ComputerFight, PlayingBothSidesTheComputerStartsTheFightAndFightsItself) {
  UseFolder(AiXml(kAggressive, kCloseMoves));
  Begin(RandomGenerator{}.state(), nullptr, ComputerPlays::Both);
  // Both attack and both are hurt, in a round or the next (who lands first,
  // and may keep the other reeling, is the generator's choice).
  std::array<bool, 3> attacked{}, hurt{};
  const auto both = [](const std::array<bool, 3>& a) { return a[1] && a[2]; };
  for (int round = 0; round < 3 && !(both(attacked) && both(hurt)); ++round) {
    if (round > 0) BeginRound(*session);
    RunUntil(20 * kFramesPerSecond, [&] {
      for (int p = 1; p <= 2; ++p) {
        for (const char* attack : {"Punch", "Kick", "SweepKick"})
          attacked[p] = attacked[p] || Fighter(p).ActionName == attack;
        hurt[p] = hurt[p] || Fighter(p).Health < session->slots.players[p].character.Health;
      }
      return both(attacked) && both(hurt);
    });
  }
  EXPECT_TRUE(both(attacked));
  EXPECT_TRUE(both(hurt));
}

TEST_F(ComputerFight, APassiveComputerNeverHurtsAnIdlePlayer) {
  UseFolder(AiXml(kPassive, kCloseMoves));
  Begin();
  const Integer full = Fighter(1).Health;
  Long nearest = 10000;
  RunUntil(20 * kFramesPerSecond, [&] {
    nearest = std::min(nearest, std::abs(Fighter(2).PlayerX - Fighter(1).PlayerX));
    return false;
  });
  EXPECT_EQ(Fighter(1).Health, full);
  EXPECT_GE(nearest, 150) << "it never came close";
  // The state dump shows the computer's state for player 2 alone.
  const std::string dump = FightStateJson(session->fight, session->slots, 0);
  // The summary; the whole state follows it.
  const std::string json = dump.substr(0, dump.find("\"state\": "));
  const auto computer = json.find("\"computer\": ");
  EXPECT_GT(computer, json.find("\"player\": 2")) << json;
  EXPECT_NE(computer, std::string::npos) << json;
  EXPECT_EQ(json.find("\"computer\"", computer + 1), std::string::npos) << json;
}

TEST_F(ComputerFight, TheStateDumpIsValidUtf8WhateverTheNamesHold) {
  UseFolder(AiXml(kPassive, kCloseMoves));
  Begin();
  Run(kFramesPerSecond);
  // Names as content from anyone may hold them: a stray Latin-1 byte, a cut
  // sequence, a control character.
  session->slots.players[1].character.Name = "K\xE9ra\x01";
  Fighter(2).ActionName = "Punch\xE2\x82";
  const std::string json = FightStateJson(session->fight, session->slots, 0);
  EXPECT_EQ(FirstInvalidUtf8(json), std::string::npos) << json;
  EXPECT_NE(json.find("\"character\": \"K\xEF\xBF\xBDra\\u0001\""), std::string::npos) << json;
}

TEST_F(ComputerFight, TheSameGeneratorStateGivesTheSameFightFrameForFrame) {
  UseFolder(AiXml(kAggressive, kCloseMoves));
  std::string runs[3];
  const std::uint64_t states[3] = {RandomGenerator{1}.state(), RandomGenerator{1}.state(),
                                   RandomGenerator{2}.state()};
  for (int i = 0; i < 3; ++i) {
    Begin(states[i], &runs[i]);
    Run(8 * kFramesPerSecond);
  }
  EXPECT_GT(runs[0].size(), 0u);
  EXPECT_EQ(runs[0], runs[1]);
  EXPECT_NE(runs[0], runs[2]) << "the computer's rolls shape the fight";
}

TEST_F(ComputerFight, WithoutAProfileTheComputerStillPlaysAndNeverAttacks) {
  // No ai.xml; no moves; no profile for Brann; a move Brann lacks.
  const std::optional<std::string> files[] = {
      std::nullopt, AiXml(kAggressive, ""),
      std::string("<AI><Character Name=\"Kira\" ") + kAggressive + "/></AI>",
      AiXml(kAggressive, R"(<Move Name="Uppercut" Type="Close" Region="High"/>)")};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    SCOPED_TRACE(files[i].value_or("no ai.xml"));
    UseFolder(files[i], "game" + std::to_string(i));
    Begin();
    const Long start = Fighter(2).PlayerX;
    bool moved = false;
    RunUntil(8 * kFramesPerSecond, [&] {
      moved = moved || Fighter(2).PlayerX != start;
      return false;
    });
    EXPECT_EQ(Fighter(1).Health, session->slots.players[1].character.Health);
    EXPECT_TRUE(moved) << "Brann walked";
  }
}

}  // namespace
}  // namespace vdx
