// Training on the demo folder, frame by frame through the session the window
// plays: the dummy's stance, guard and recordings, resets, health refills,
// the frame data as counted, and what is drawn over the fight.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "content/get_xml.h"
#include "fight/fight_hash.h"
#include "fight/frame_data.h"
#include "match/keys_shown.h"
#include "match/move_list.h"
#include "match/training_mode.h"
#include "match/training_overlay.h"
#include "platform/headless/headless_platform.h"

namespace vdx {
namespace {

constexpr std::uint8_t kNone = 0;

class Training : public ::testing::Test {
 protected:
  Training() : game(platform, VDX_DEMO_DIR) {
    EXPECT_TRUE(GetXML(game.paths, game.settings, game.content, game.loadReport));
  }

  void Begin(bool draw = false, const std::string& p1 = "Kira", const std::string& p2 = "Brann") {
    session = std::make_unique<TrainingSession>(game, MatchSetup{p1, p2, "Harbour"}, draw);
  }

  // Steps `frames` frames with player 1 holding `buttons` (player 2 nothing).
  void Step(int frames, std::uint8_t buttons = kNone, TrainingKeys keys = {}) {
    for (int i = 0; i < frames; ++i) {
      StepTraining(*session, FightInputs{PlayerInput{buttons}, PlayerInput{}}, keys);
      keys = {};
    }
  }
  // Steps until `stop` holds (at most `most` frames); returns the frames stepped.
  template <typename Stop>
  int StepUntil(int most, Stop stop, std::uint8_t buttons = kNone) {
    for (int i = 1; i <= most; ++i) {
      Step(1, buttons);
      if (stop()) return i;
    }
    return most + 1;
  }

  // Holds `buttons` until player 1's fighter starts `action` (a standing
  // fighter reads its keys only when its standing picture steps), then lets go.
  void PressUntil(std::uint8_t buttons, const char* action) {
    for (int f = 0; f < 20 && Fighter(1).ActionName != action; ++f)
      Step(1, buttons);
    ASSERT_EQ(Fighter(1).ActionName, action);
  }

  // Both fighters close enough for a punch to land, facing each other.
  void StandClose() {
    FightState& fight = session->match.fight;
    fight.fighters[1].PlayerX = 150;
    fight.fighters[2].PlayerX = 230;
    session->start = fight;
  }

  FightState& Fight() { return session->match.fight; }
  FighterState& Fighter(int p) { return Fight().fighters[p]; }

  platform::HeadlessPlatform platform;
  Game game;
  std::unique_ptr<TrainingSession> session;
};

TEST_F(Training, TheDummyTakesItsStanceAndARecordingPlaysBackFrameForFrame) {
  Begin();
  session->options.stance = DummyStance::Crouch;
  Step(10);
  EXPECT_EQ(Fighter(2).ActionName, "Duck") << "the crouching dummy holds down";

  // F7: player 1's keys now steer the dummy; player 1 stands.
  const std::vector<std::uint8_t> script = {kButtonLeft,
                                            kButtonLeft,
                                            kButtonDown,
                                            kButtonDown | kButtonRight,
                                            kButtonRight | kButtonPunch,
                                            kNone,
                                            kButtonKick,
                                            kButtonKick};
  Step(1, kNone, TrainingKeys{false, false, true, false});
  ASSERT_TRUE(session->dummy.recording);
  std::vector<std::uint8_t> pressed;  // what the dummy got, as the screen sees it
  for (int loop = 0; loop < 5; ++loop)
    for (const std::uint8_t buttons : script) {
      Step(1, buttons);
      EXPECT_EQ(Fighter(1).HeldCommand, "") << "player 1 stands while the dummy is steered";
      pressed.push_back(
          session->inputs[2]
              .entries[static_cast<std::size_t>((session->inputs[2].next + kInputLogEntries - 1) %
                                                kInputLogEntries)]
              .buttons);
    }
  Step(1, kNone, TrainingKeys{false, false, true, false});
  ASSERT_FALSE(session->dummy.recording);
  EXPECT_EQ(session->options.behaviour, DummyBehaviour::Recording) << "what was recorded plays";
  const std::size_t recorded = session->dummy.recorded.length;
  EXPECT_EQ(recorded, 1 + script.size() * 5 + 0) << "the frame of F7 and the script";

  // Played back (looped) twice, the dummy's inputs are those recorded, frame
  // for frame, both times; the dummy faces left as it did.
  session->options.loopPlayback = true;
  ResetTraining(*session);
  for (int pass = 0; pass < 2; ++pass) {
    const FightInputs machine{};
    for (std::size_t f = 0; f < recorded; ++f) {
      const FightInputs inputs =
          TrainingInputs(session->options, session->dummy, Fight(), session->match.slots, machine);
      const std::uint8_t want = f == 0 ? kNone : pressed[f - 1];
      ASSERT_EQ(inputs[1].buttons, want) << "pass " << pass << ", frame " << f;
    }
  }

  // Once: after its end the dummy is still again.
  session->options.loopPlayback = false;
  ASSERT_TRUE(StartPlayback(session->dummy));
  for (std::size_t f = 0; f < recorded; ++f)
    TrainingInputs(session->options, session->dummy, Fight(), session->match.slots, FightInputs{});
  EXPECT_FALSE(session->dummy.playing);
  session->options.stance = DummyStance::Stand;
  EXPECT_EQ(TrainingInputs(session->options, session->dummy, Fight(), session->match.slots,
                           FightInputs{})[1]
                .buttons,
            kNone);

  // Facing the other way, forward is the other screen side.
  Fight().fighters[2].Facing = false;
  ASSERT_TRUE(StartPlayback(session->dummy));
  TrainingInputs(session->options, session->dummy, Fight(), session->match.slots, FightInputs{});
  EXPECT_EQ(TrainingInputs(session->options, session->dummy, Fight(), session->match.slots,
                           FightInputs{})[1]
                .buttons,
            kButtonRight)
      << "recorded as back (screen left while facing left), played facing right";

  // A recording stops by itself after ten seconds.
  ToggleRecording(session->dummy);
  for (std::size_t f = 0; f < kMostRecordedFrames + 5; ++f)
    TrainingInputs(session->options, session->dummy, Fight(), session->match.slots,
                   FightInputs{PlayerInput{kButtonUp}, {}});
  EXPECT_FALSE(session->dummy.recording);
  EXPECT_EQ(session->dummy.recorded.length, kMostRecordedFrames);
}

TEST_F(Training, AResetIsARestoreAndACornerPutsTheDummyAgainstTheWall) {
  Begin();
  // The first frame from the start, as training began.
  Step(1, kButtonDown);
  const std::uint64_t firstFrame = HashFightState(Fight());
  Step(30, kButtonRight);
  Step(20, kButtonPunch);
  ASSERT_NE(HashFightState(Fight()), firstFrame);
  // Backspace: the same first frame again, though the fight went on.
  Step(1, kButtonDown, TrainingKeys{false, true, false, false});
  EXPECT_EQ(HashFightState(Fight()), firstFrame);

  session->options.resetPlace = ResetPlace::LeftCorner;
  ResetTraining(*session);
  EXPECT_EQ(Fight().CameraX, 0);
  EXPECT_EQ(Fighter(2).PlayerX, 0);
  EXPECT_FALSE(Fighter(2).Facing) << "the dummy faces right, out of the corner";
  EXPECT_GT(Fighter(1).PlayerX, Fighter(2).PlayerX);
  EXPECT_TRUE(Fighter(1).Facing);
  session->options.resetPlace = ResetPlace::RightCorner;
  ResetTraining(*session);
  EXPECT_EQ(Fight().CameraX, Fight().stageWidth - 640);
  EXPECT_LT(Fighter(1).PlayerX, Fighter(2).PlayerX);
  Step(10);
  EXPECT_EQ(Fight().CameraX, Fight().stageWidth - 640) << "the camera stays at the stage's end";
}

TEST_F(Training, HealthComesBackWhenTheComboIsOverOrStaysDownAsInAMatch) {
  Begin();
  StandClose();
  ResetTraining(*session);
  const Integer full = Fighter(2).Health;
  StepUntil(
      60, [&] { return Fighter(2).Health < full; }, kButtonPunch);
  ASSERT_LT(Fighter(2).Health, full) << "the punch landed";
  // The combo lasts a second after its last blow; then the dummy is healed.
  const int frames = StepUntil(120, [&] { return Fighter(2).Health == full; });
  EXPECT_GE(frames, 45) << "not while the combo still counts";
  EXPECT_LE(frames, 75);

  session->options.refillHealth = false;
  StepUntil(
      60, [&] { return Fighter(2).Health < full; }, kButtonPunch);
  const Integer hurt = Fighter(2).Health;
  Step(180);
  EXPECT_EQ(Fighter(2).Health, hurt) << "as in a match";
}

TEST_F(Training, TheGuardBlocksAsSet) {
  Begin();
  StandClose();
  const auto punches = [&](int count) {
    // Punch, let go, wait for Kira to stand: `count` times; the dummy's
    // reactions in order.
    std::vector<std::string> reactions;
    for (int i = 0; i < count; ++i) {
      const Integer before = Fighter(2).Health;
      bool hit = false, blocked = false;
      PressUntil(kButtonPunch, "Punch");
      for (int f = 0; f < 40; ++f) {
        Step(1);
        hit = hit || Fighter(2).ActionName == "Hit";
        blocked = blocked || (Fighter(2).MoveState == "Block" && session->watch.contact &&
                              session->watch.contact->blocked);
      }
      reactions.push_back(hit                          ? "hit"
                          : blocked                    ? "blocked"
                          : Fighter(2).Health < before ? "?"
                                                       : "missed");
    }
    return reactions;
  };
  session->options.refillHealth = false;
  session->options.guard = DummyGuard::None;
  ResetTraining(*session);
  EXPECT_EQ(punches(2), (std::vector<std::string>{"hit", "hit"}));
  session->options.guard = DummyGuard::All;
  ResetTraining(*session);
  Step(15);  // the dummy's first turn to read its keys
  EXPECT_EQ(punches(4), (std::vector<std::string>{"blocked", "blocked", "blocked", "blocked"}))
      << "a held guard has no gap between two blocks";
  session->options.guard = DummyGuard::AfterFirstHit;
  ResetTraining(*session);
  EXPECT_EQ(punches(3), (std::vector<std::string>{"hit", "blocked", "blocked"}));
  Step(kGuardDownAfterIdleFrames + 5);
  EXPECT_EQ(punches(1), (std::vector<std::string>{"hit"})) << "a calm second lowers the guard";

  // A blocked blow chips, and the chip comes back as any damage does.
  session->options.refillHealth = true;
  session->options.guard = DummyGuard::All;
  ResetTraining(*session);
  Step(15);
  const Integer full = Fighter(2).Health;
  PressUntil(kButtonPunch, "Punch");
  EXPECT_LT(Fighter(2).Health, full) << "the punch's chip";
  Step(15);
  EXPECT_EQ(Fighter(2).Health, full) << "refilled once Kira stands, the dummy still blocking";
}

TEST_F(Training, KeysHeldAsAMenuOpensOrClosesDoNothingThere) {
  Begin();
  // Walking right, Tab: the menu opens on its first line and stays there.
  Step(30, kButtonRight);
  Step(1, kButtonRight, TrainingKeys{true, false, false, false});
  ASSERT_TRUE(session->menu.open);
  const TrainingOptions before = session->options;
  Step(60, kButtonRight);
  EXPECT_EQ(session->menu.selected, 0);
  EXPECT_EQ(session->options.stance, before.stance) << "the held Right did not change it";
  // A new press does.
  Step(1);
  Step(1, kButtonRight);
  EXPECT_EQ(session->options.stance, DummyStance::Crouch);
  // Closed with Kick still held: Kira does not kick.
  Step(1, kButtonKick);
  EXPECT_FALSE(session->menu.open);
  Step(30, kButtonKick);
  EXPECT_NE(Fighter(1).ActionName, "Kick");
  Step(1);
  PressUntil(kButtonKick, "Kick");
}

TEST_F(Training, TheComputerPlaysTheDummyAtItsKeys) {
  Begin();
  session->options.behaviour = DummyBehaviour::Computer;
  session->options.computerLevel = 8;
  const Integer full = Fighter(1).Health;
  session->options.refillHealth = false;
  int pressed = 0;
  for (int f = 0; f < 20 * 60 && Fighter(1).Health == full; ++f) {
    Step(1);
    if (NewestEntry(session->inputs[2], 0).buttons != 0) ++pressed;
  }
  EXPECT_LT(Fighter(1).Health, full) << "the computer came and hurt Kira";
  EXPECT_GT(pressed, 0) << "its keys are in the dummy's input display";
}

// The frame advantage as the demo's actions give it. Each step of an action
// waits until its Motion in ms has passed on the 60-a-second clock (frames
// 16.7 ms apart): 55 or 60 ms take 4 frames, 70 or 80 ms take 5. A new action
// takes its second step on the frame after it starts (its name changed), and
// its end frame is held HoldLastFrame steps before the fighter stands.
TEST_F(Training, TheFrameAdvantageIsCountedAsTheActionsTimingsGiveIt) {
  struct Case {
    std::uint8_t press;
    std::string move, reaction;  // the dummy's reaction; "Block" when it guards
    int advantage;
    const char* arithmetic;
  };
  const std::vector<Case> cases = {
      {kButtonPunch, "Punch", "Hit", 1,
       "Punch: 4 pictures at 55 ms, 1 hold: starts at S, steps at S+1, S+5, holds at S+9 and "
       "stands. It lands at S; Hit: 3 pictures at 70 ms, 1 hold: steps at S (the dummy's turn "
       "comes after Kira's), S+5, holds at S+10 and stands. (S+10) - (S+9) = +1"},
      {kButtonKick, "Kick", "MidHit", 12,
       "Kick: 5 pictures at 60 ms, 1 hold: S, S+1, S+5, S+9, stands at S+13. It lands at S; "
       "MidHit: 3 pictures at 80 ms, 1 hold: S, S+5, holds at S+10 and stands, but the kick's "
       "last picture is out from S+9 to S+13, so the dummy is kicked again at S+10: MidHit from "
       "its first picture, its clock going on from that step: S+15, S+20, holds at S+25 and "
       "stands. (S+25) - (S+13) = +12"},
      {kButtonPunch, "Punch", "Block", 11,
       "Punch against a dummy that guards: blocked at S; Kira stands at S+9. The dummy holds "
       "its block while the punch lasts; its block's end picture steps every 4 frames (60 ms), "
       "here on S+4k. Let go once Kira stands, it counts its 3 holds on S+12, S+16, S+20 and "
       "stands at S+20. (S+20) - (S+9) = +11"},
      {kButtonLeft | kButtonKick, "SweepKick", "HardHit", 12,
       "SweepKick (back and kick): 5 pictures at 60 ms, 1 hold, then Duck: S, S+1, S+5, S+9, "
       "ducks (free) at S+13. It lands at S; HardHit: 6 pictures at 80 ms, 1 hold: S, S+5, "
       "S+10, S+15, S+20, holds at S+25 and stands. (S+25) - (S+13) = +12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arithmetic);
    Begin();
    StandClose();
    const bool guards = c.reaction == "Block";
    session->options.guard = guards ? DummyGuard::All : DummyGuard::None;
    ResetTraining(*session);
    Step(guards ? 15 : 3);
    PressUntil(c.press, c.move.c_str());
    const std::uint64_t started = Fight().frameNumber;
    const auto lands = [&] {
      return guards ? session->watch.contact.has_value()
                    : Fighter(2).ActionName == c.reaction.c_str();
    };
    std::uint64_t landed = lands() ? started : 0;
    for (int f = 0; f < 60; ++f) {
      Step(1);
      if (landed == 0 && lands()) landed = Fight().frameNumber;
    }
    ASSERT_NE(landed, 0u) << c.move << " did not land";
    ASSERT_TRUE(session->watch.advantage);
    EXPECT_EQ(*session->watch.advantage, c.advantage)
        << c.move << " landed " << landed - started << " frames after it started";
    EXPECT_EQ(session->watch.advantageOnBlock, guards);
    const ActionFacts facts = CurrentActionFacts(session->watch, Fight(), session->match.slots, 1);
    EXPECT_EQ(facts.name, "Standing");
    EXPECT_TRUE(facts.loops) << "standing has no length";
  }
  // Worked out from its timing before it is played, measured after: the
  // punch lasts its 9 frames.
  PressUntil(kButtonPunch, "Punch");
  const ActionFacts planned = CurrentActionFacts(session->watch, Fight(), session->match.slots, 1);
  EXPECT_FALSE(planned.measured);
  EXPECT_EQ(planned.lasts, 9);
  Step(30);
  PressUntil(kButtonPunch, "Punch");
  const ActionFacts punch = CurrentActionFacts(session->watch, Fight(), session->match.slots, 1);
  EXPECT_EQ(punch.name, "Punch");
  EXPECT_TRUE(punch.measured);
  EXPECT_EQ(punch.lasts, 9);
  EXPECT_EQ(punch.damage, 6);
  EXPECT_EQ(punch.frames, 4);
}

TEST_F(Training, TheMoveListShowsTheSequencesInTheContentsOrder) {
  const cCharacter* kira = game.content.Characters.find("Kira");
  ASSERT_NE(kira, nullptr);
  std::vector<std::string> shown;
  for (const MoveListEntry& move : MoveList(*kira))
    shown.push_back(move.name + " " + KeysShown(move.keys));
  EXPECT_EQ(shown, (std::vector<std::string>{"Flip \u2192\u2191", "DuckPunch \u2193P",
                                             "DuckKick \u2193K", "SweepKick \u2190K",
                                             "FlameWave \u2193\u2192P", "Dash \u2192\u2192",
                                             "Throw \u2193\u2192K", "Sexuality \u2193\u2190K"}));
  EXPECT_EQ(ButtonsShown(kButtonDown | kButtonRight | kButtonPunch), "\u2198P");
  EXPECT_EQ(ButtonsShown(kButtonLeft | kButtonRight), "\u00b7") << "both sides cancel";
}

// What the player sees: the read-outs over the fight and, when paused, the
// move lists beside the menu, on the pale panel.
TEST_F(Training, TheReadoutsAndTheMoveListsAreDrawn) {
  Begin(true);
  StandClose();
  ResetTraining(*session);
  Step(12, kButtonDown);
  Step(3, kButtonDown | kButtonRight);
  Step(20);
  PressUntil(kButtonPunch, "Punch");
  Step(40);
  const Surface& shown = game.display.backBuffer;
  const auto lines = FrameDataLines(
      Fight(), session->match.slots,
      TrainingReadouts{session->options, session->dummy, session->watch, session->inputs});
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[2].rfind("Advantage ", 0), 0u) << lines[2];
  // The input display's column is darkened and written on.
  int light = 0;
  for (int y = 160; y < 400; ++y)
    for (int x = 6; x < 76; ++x)
      if ((shown.at(x, y) & 0xFF) > 0xC0 && ((shown.at(x, y) >> 8) & 0xFF) > 0xC0) ++light;
  EXPECT_GT(light, 100) << "the inputs' numbers and arrows";

  // Escape pauses: the fight stands still under the menu and both lists.
  StepUntil(
      20, [&] { return session->pause.open; }, kButtonPause);
  ASSERT_TRUE(session->pause.open);
  const std::uint64_t frame = Fight().frameNumber;
  Step(5, kButtonPause);
  EXPECT_EQ(Fight().frameNumber, frame) << "paused, the fight does not step";
  int ink = 0;
  for (int y = kMoveListTop + 20; y < kMoveListTop + 140; ++y)
    for (int x = MoveListLeft(1) + 4; x < MoveListLeft(1) + kMoveListWidth - 4; ++x)
      if (shown.at(x, y) != 0x00FFC8C8u) ++ink;
  EXPECT_GT(ink, 300) << "player 1's moves are written on the panel";
  EXPECT_EQ(shown.at(MoveListLeft(2) + 2, kMoveListTop + 2), 0x00FFC8C8u) << "player 2's panel";
  // Down twice and Punch: Reset; then the fight goes on from the start.
  Step(1);
  Step(1, kButtonDown);
  Step(1);
  Step(1, kButtonDown);
  Step(1);
  Step(1, kButtonPunch);
  EXPECT_FALSE(session->pause.open);
  EXPECT_EQ(Fight().frameNumber, session->start.frameNumber);
}

}  // namespace
}  // namespace vdx
