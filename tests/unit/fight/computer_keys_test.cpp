// The computer at a player's keys on the demo folder: its letters as buttons,
// a special move keyed in a letter a frame, and whole matches of two players
// whose keys two computers press.
#include "fight/computer_keys.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "content/get_xml.h"
#include "fight/fight_commands.h"
#include "fight/fight_hash.h"
#include "fight/fight_step.h"
#include "match/fight_loop.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

constexpr std::uint8_t kNone = 0;

TEST(ComputerKeysLetters, LettersBecomeTheButtonsOfTheWayTheFighterFaces) {
  struct Row {
    const char* letters;
    bool facingLeft;
    std::uint8_t buttons;
    bool heldTogether;
  };
  const Row rows[] = {
      {"R", false, kButtonRight, true},
      {"R", true, kButtonLeft, true},
      {"L", false, kButtonLeft, true},
      {"L", true, kButtonRight, true},
      {"U", true, kButtonUp, true},
      {"B", false, kButtonBlock, true},
      {"RU", false, kButtonRight | kButtonUp, true},
      {"RU", true, kButtonLeft | kButtonUp, true},
      {"LK", false, kButtonLeft | kButtonKick, true},
      {"LK", true, kButtonRight | kButtonKick, true},
      {"DP", true, kButtonDown | kButtonPunch, true},
      {"DK", false, kButtonDown | kButtonKick, true},
      // Not in the keyboard's order, or a letter twice: only as a sequence.
      {"DRP", false, kButtonDown | kButtonRight | kButtonPunch, false},
      {"DLK", true, kButtonDown | kButtonRight | kButtonKick, false},
      {"PD", false, kButtonDown | kButtonPunch, false},
      {"RR", false, kButtonRight, false},
      // A letter no key gives has no button.
      {"X", false, kNone, false},
      {"", false, kNone, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.letters) + (row.facingLeft ? " facing left" : " facing right"));
    const PlayerInput input = ButtonsOfLetters(row.letters, row.facingLeft);
    EXPECT_EQ(input.buttons, row.buttons);
    EXPECT_EQ(HeldTogether(row.letters, row.facingLeft), row.heldTogether);
    // Held together, the fight reads back the very letters.
    if (row.heldTogether) {
      EXPECT_EQ(CommandLetters(input, row.facingLeft).view(), row.letters);
    }
  }
}

// The demo folder without its pick-up, so nobody heals by chance.
class ComputerKeysMatch : public ::testing::Test {
 protected:
  ComputerKeysMatch() {
    platform.openAudio();
    const auto dir = folder.path() / "game";
    std::filesystem::create_directories(dir);
    for (const auto& entry : std::filesystem::directory_iterator(VDX_DEMO_DIR))
      if (entry.path().filename() != "ball.bmp")
        std::filesystem::create_symlink(entry.path(), dir / entry.path().filename());
    game = std::make_unique<Game>(platform, dir);
    game->log.path = folder.path() / "log.txt";
    loaded = GetXML(game->paths, game->settings, game->content, game->loadReport);
  }
  ~ComputerKeysMatch() override {
    session.reset();
    platform.closeAudio();
  }

  // Kira against Brann on the harbour, two players at the keys, undrawn.
  void Begin() {
    ASSERT_TRUE(loaded);
    game->random.Restore(RandomGenerator{}.state());
    FightOutputs outputs;
    outputs.draw = false;
    session = std::make_unique<FightSession>(*game, MatchSetup{"Kira", "Brann", "Harbour"}, outputs);
    BeginRound(*session);
  }

  FightOutcome Step(PlayerInput one, PlayerInput two) {
    FightEvents events;
    return StepFight(session->fight, session->slots, FightInputs{one, two}, events);
  }

  FightState& fight() { return session->fight; }
  const FighterState& Fighter(int p) { return session->fight.fighters[p]; }

  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  std::unique_ptr<Game> game;
  bool loaded = false;
  std::unique_ptr<FightSession> session;
};

TEST_F(ComputerKeysMatch, ASpecialIsKeyedInALetterAFrameAndFires) {
  Begin();
  // Player 1's Block starts the fight and is let go; the history empties.
  Step({}, {});
  Step({kButtonBlock}, {});
  for (int i = 0; i < 40; ++i) Step({}, {});
  ASSERT_TRUE(fight().FightStarted);
  ASSERT_EQ(Fighter(1).history.count, 0);

  // Kira (facing right) walks forward: her "R" is in the history for 500 ms.
  for (int i = 0; i < 5; ++i) Step({kButtonRight}, {});
  ASSERT_EQ(Fighter(1).history.KeySequence.view(), "R");

  // Her FlameWave, Down, forward, Punch, handed to a computer at her keys.
  ComputerAtKeys computer = StartComputerAtKeys(7);
  computer.step = KeyingStep::Clearing;
  computer.sequence = "DRP";
  std::string keyed;  // one letter a frame, "." for nothing
  std::set<std::string> actions;
  for (int frame = 0; frame < 60 && Fighter(1).ActionName != "FlameWave"; ++frame) {
    const PlayerInput input = ComputerKeys(computer, fight(), session->slots, 1);
    const Command letters = CommandLetters(input, Fighter(1).Facing);
    keyed += letters.empty() ? "." : std::string(letters.view());
    Step(input, {});
  }
  EXPECT_EQ(Fighter(1).ActionName, "FlameWave") << keyed;
  // Nothing while the walk's "R" is in the history (until it is 500 ms old:
  // 30 or 31 frames after the first of the 5 walking frames), then the
  // letters, then Punch held until she throws it.
  const auto first = keyed.find_first_not_of('.');
  ASSERT_NE(first, std::string::npos);
  EXPECT_GE(first, 25U) << keyed;
  EXPECT_LE(first, 28U) << keyed;
  EXPECT_EQ(keyed.substr(first, 3), "DRP") << keyed;
  EXPECT_EQ(keyed.find_first_not_of('P', first + 2), std::string::npos) << keyed;
  EXPECT_EQ(computer.step, KeyingStep::Holding);

  // Two equal letters have a frame of nothing between them, and a first
  // letter still held is let go first: Brann (facing left) dashes while
  // walking forward.
  for (int i = 0; i < 40; ++i) Step({}, {});
  for (int i = 0; i < 40; ++i) Step({}, {kButtonLeft});  // the "R" entry grows old, still held
  ASSERT_EQ(Fighter(2).history.count, 0);
  ASSERT_EQ(Fighter(2).history.lastCommand.view(), "R");
  ComputerAtKeys dasher = StartComputerAtKeys(8);
  dasher.step = KeyingStep::Clearing;
  dasher.sequence = "RR";
  std::vector<std::uint8_t> pressed;
  for (int frame = 0; frame < 30 && Fighter(2).ActionName != "Dash"; ++frame) {
    const PlayerInput input = ComputerKeys(dasher, fight(), session->slots, 2);
    pressed.push_back(input.buttons);
    Step({}, input);
  }
  EXPECT_EQ(Fighter(2).ActionName, "Dash");
  ASSERT_GE(pressed.size(), 4U);
  EXPECT_EQ(std::vector<std::uint8_t>(pressed.begin(), pressed.begin() + 4),
            (std::vector<std::uint8_t>{kNone, kButtonLeft, kNone, kButtonLeft}));
}

struct MatchRecord {
  std::vector<FightInputs> inputs;
  std::array<int, 3> hits{};  // blows that took health from the opponent, by player
  std::set<std::string> specials;
  int winner = 0;
  std::uint64_t lastHash = 0;
};

TEST_F(ComputerKeysMatch, TwoComputersAtThePlayersKeysFightAMatchOut) {
  // Moves only a key sequence starts (the finisher, too, keyed in).
  const std::set<std::string> sequenceMoves = {"FlameWave", "BoulderToss", "Throw", "Sexuality",
                                               "Dash"};
  constexpr int kFrameCap = 60 * 60 * 6;
  const auto playMatch = [&](std::uint64_t seed1, std::uint64_t seed2) {
    MatchRecord record;
    Begin();
    ComputerAtKeys one = StartComputerAtKeys(seed1);
    ComputerAtKeys two = StartComputerAtKeys(seed2);
    for (int frame = 0; frame < kFrameCap; ++frame) {
      const FightInputs inputs{ComputerKeys(one, fight(), session->slots, 1),
                               ComputerKeys(two, fight(), session->slots, 2)};
      record.inputs.push_back(inputs);
      const Integer before[3] = {0, Fighter(1).Health, Fighter(2).Health};
      const FightOutcome outcome = Step(inputs[0], inputs[1]);
      for (int p = 1; p <= 2; ++p) {
        if (Fighter(Opponent(p)).Health < before[Opponent(p)]) ++record.hits[p];
        if (sequenceMoves.count(std::string(Fighter(p).ActionName.view())))
          record.specials.insert(std::string(Fighter(p).ActionName.view()));
      }
      if (outcome == FightOutcome::MatchOver) {
        record.winner = fight().RoundWins[1] > fight().RoundWins[2] ? 1 : 2;
        break;
      }
      if (outcome == FightOutcome::RoundOver) BeginRound(*session);
    }
    record.lastHash = HashFightState(fight());
    return record;
  };

  const MatchRecord first = playMatch(1, 2);
  EXPECT_NE(first.winner, 0) << "no winner within " << kFrameCap << " frames";
  EXPECT_GT(first.hits[1], 0);
  EXPECT_GT(first.hits[2], 0);
  EXPECT_FALSE(first.specials.empty()) << "no move keyed in as a sequence fired";
  // Both sides' buttons are the players' own: the computer in the step never plays.
  EXPECT_FALSE(fight().computer[1].plays);
  EXPECT_FALSE(fight().computer[2].plays);

  // The same seeds press the same buttons, frame for frame.
  const MatchRecord again = playMatch(1, 2);
  ASSERT_EQ(again.inputs.size(), first.inputs.size());
  for (std::size_t i = 0; i < first.inputs.size(); ++i)
    ASSERT_EQ(again.inputs[i], first.inputs[i]) << "frame " << i;
  EXPECT_EQ(again.lastHash, first.lastHash);

  // Other seeds play another match.
  const MatchRecord other = playMatch(3, 4);
  EXPECT_NE(other.inputs, first.inputs);
}

TEST_F(ComputerKeysMatch, AComputerAtTheKeysPlaysAtItsLevel) {
  EXPECT_EQ(StartComputerAtKeys(5).level, kProfileDifficulty);
  // The same seeds at other levels press other buttons.
  const auto buttons = [&](Integer level) {
    Begin();
    ComputerAtKeys one = StartComputerAtKeys(5, level);
    ComputerAtKeys two = StartComputerAtKeys(6, level);
    EXPECT_EQ(one.level, level);
    std::vector<FightInputs> pressed;
    for (int frame = 0; frame < 20 * 60; ++frame) {
      const FightInputs inputs{ComputerKeys(one, fight(), session->slots, 1),
                               ComputerKeys(two, fight(), session->slots, 2)};
      pressed.push_back(inputs);
      if (Step(inputs[0], inputs[1]) != FightOutcome::Running) break;
    }
    return pressed;
  };
  const auto profile = buttons(kProfileDifficulty);
  EXPECT_EQ(buttons(kProfileDifficulty), profile);
  EXPECT_NE(buttons(8), profile);
  EXPECT_NE(buttons(1), profile);
}

}  // namespace
}  // namespace vdx
