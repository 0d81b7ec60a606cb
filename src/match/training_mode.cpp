#include "match/training_mode.h"

#include "core/files.h"
#include "core/log.h"
#include "fight/fight_commands.h"
#include "fight/fight_hash.h"
#include "fight/fighter_pass.h"
#include "fight/state_dump.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "graphics/frame_pacing.h"
#include "input/player_buttons.h"
#include "match/fight_drawing.h"
#include "match/training_overlay.h"
#include "platform/keycodes.h"

namespace vdx {
namespace {

// A pass runs at most this many frames to keep up with the clock.
constexpr int kMostFramesAPass = 4;
// How far apart the fighters stand in a corner.
constexpr Long kCornerGap = 200;

MatchSetup TrainingSetup(MatchSetup setup) {
  // Nobody but the training options plays the dummy: the computer comes and
  // goes with the Behaviour.
  setup.GameMode = 2;
  setup.computer = ComputerPlays::None;
  return setup;
}

FightOutputs TrainingOutputs(bool draw) {
  FightOutputs outputs;
  outputs.draw = draw;
  return outputs;
}

void PlaceInCorner(FightState& fight, const FightSlots& slots, bool left) {
  FighterState& player = fight.fighters[1];
  FighterState& dummy = fight.fighters[2];
  const Long right = RightmostFighterX(slots);
  fight.CameraX = left ? 0 : std::max(0, fight.stageWidth - 640);
  // The dummy's back is to the wall, the player faces it.
  dummy.PlayerX = left ? 0 : right;
  player.PlayerX = left ? kCornerGap : right - kCornerGap;
  dummy.Facing = !left;
  player.Facing = left;
  fight.scene.nextBackgroundCamera = fight.CameraX;
}

// Letters still held as a menu closes do nothing until they are let go: the
// Punch that chose must not punch, the Escape that closed must not pause again.
// While player 1 steers the dummy for a recording, they are the dummy's.
void IgnoreKeysHeld(TrainingSession& s, const FightInputs& machine) {
  FighterState& steered = s.match.fight.fighters[s.dummy.recording ? 2 : 1];
  steered.ignoredLetters += CommandLetters(machine[0], steered.Facing);
}

// A menu that opens takes no key already held: it waits for a new press.
void OpenMenu(TrainingSession& s) {
  s.menu.open = true;
  SwallowHeldKeys(s.menuKeys);
}

// What training changes after each step: the fight's own pause becomes
// training's pause menu; health comes back after combos; the power mode
// stays on (or goes); a knock-out is reset after a while.
void ApplyTrainingRules(TrainingSession& s, FightOutcome outcome) {
  FightState& fight = s.match.fight;
  if (fight.PauseRequested) {
    fight.PauseRequested = false;
    for (TurnPose& turn : fight.scene.turns)
      turn.pauseMenu = false;
    s.pause = TrainingPause{true, 0};
    SwallowHeldKeys(s.menuKeys);
  }
  for (int p = 1; p <= 2; ++p) {
    FighterState& f = fight.fighters[p];
    const Integer full = s.start.fighters[p].Health;
    // Standing, ducking or holding its block, with the opponent standing
    // again and its combo count run out: the string of blows is over.
    const FighterState& opponent = fight.fighters[Opponent(p)];
    const bool settled = FighterIdle(f) || f.ActionName == "Block";
    if (s.options.refillHealth && f.Health > 0 && f.Health < full && settled &&
        FighterIdle(opponent) && opponent.ComboCount == 0)
      f.Health = full;
  }
  // A player's held Block ends with its last picture and starts again on the
  // next frame, and a blow on that frame lands; a guarding dummy holds its
  // block instead, so that it blocks everything.
  FighterState& dummy = fight.fighters[2];
  if (DummyGuards(s.options, s.dummy, fight) && dummy.ActionName == "Block") dummy.holdCounter = 0;
  FighterState& player = fight.fighters[1];
  if (s.options.powerMode) {
    player.PowerMode = true;
    player.PowerModeEnds = FightClock(fight) + 1000;
    fight.fighters[2].DamageMultiplier = 2;
  } else if (s.powerModeOn) {
    player.PowerMode = false;
    player.trail = {};
    player.trailRefreshed = 0;
    fight.fighters[2].DamageMultiplier = 1;
  }
  s.powerModeOn = s.options.powerMode;
  // The round's end would wait for Punch and then start a round: training
  // has none, and waits out the knock-out before its reset.
  if (outcome != FightOutcome::Running) fight.FightStarted = true;
  s.knockedOutFrames = fight.RoundLoser != 0 ? s.knockedOutFrames + 1 : 0;
  if (s.knockedOutFrames >= kResetAfterKnockOutFrames) ResetTraining(s);
}

void DrawTraining(TrainingSession& s, std::uint32_t machineTicks) {
  Game& game = s.match.game;
  DrawFightScene(game, s.match.fight, s.match.slots, s.match.view);
  if (game.ShowFps) DrawFps(game, s.match.fps, machineTicks);
  DrawTrainingOverlay(game, s.match.fight, s.match.slots,
                      TrainingReadouts{s.options, s.dummy, s.watch, s.inputs});
  if (s.menu.open)
    DrawTrainingMenu(game, s.menu, s.options);
  else if (s.pause.open)
    DrawTrainingPause(game, s.pause, s.match.slots);
  PresentFrame(game.platform, game.display);
}

TrainingEnd TakePauseChoice(TrainingSession& s, TrainingPauseItem chosen) {
  switch (chosen) {
    case TrainingPauseItem::Continue:
      break;
    case TrainingPauseItem::Menu:
      OpenMenu(s);
      break;
    case TrainingPauseItem::Reset:
      ResetTraining(s);
      break;
    case TrainingPauseItem::ExitToMenu:
      return TrainingEnd::ToMenu;
    case TrainingPauseItem::ExitGame:
      return TrainingEnd::QuitGame;
  }
  return TrainingEnd::Running;
}

// Answers a script's "state FILE": the fight's state with what training
// adds to it.
void WriteStateRequests(TrainingSession& s) {
  Game& game = s.match.game;
  const std::vector<std::string> requests = game.platform.takeStateRequests();
  if (requests.empty()) return;
  const std::string fight =
      FightStateJson(s.match.fight, s.match.slots, HashFightState(s.match.fight));
  std::string json = "{\n  \"screen\": \"training\", \"training menu\": ";
  json += s.menu.open ? "true" : "false";
  json += ", \"training paused\": ";
  json += s.pause.open ? "true" : "false";
  json += ", \"recording\": ";
  json += s.dummy.recording ? "true" : "false";
  json += ", \"recorded frames\": " + std::to_string(s.dummy.recorded.length) + ",\n";
  json += fight.substr(fight.find('{') + 2);
  for (const std::string& path : requests) {
    const WriteResult written = WriteWholeFile(path, json);
    if (!written.ok)
      ReportFailedWrite(game.log, path,
                        "Cannot write the training's state to " + path + ": " + written.error);
  }
}

}  // namespace

TrainingKeys ReadTrainingKeys(std::array<bool, 4>& held, const FrameInput& frame) {
  const std::array<KeyCode, 4> codes{key::Tab, key::Back, key::F7, key::F8};
  std::array<bool, 4> pressed{};
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const bool down = frame.keys[codes[i]] != 0;
    pressed[i] = down && !held[i];
    held[i] = down;
  }
  return TrainingKeys{pressed[0], pressed[1], pressed[2], pressed[3]};
}

TrainingSession::TrainingSession(Game& game, MatchSetup setup, bool draw)
    : match(game, TrainingSetup(std::move(setup)), TrainingOutputs(draw)) {
  match.slots.rules.pickUps = false;
  options.computerLevel = game.settings.Difficulty;
  BeginRound(match);
  // No banner and no first key to wait for: training starts at once. The
  // start that resets go back to is the fight after its first frame, which
  // starts the weather and takes note of the keys held as the round begins:
  // from a reset on, keys held (the dummy's crouch, its guard) count at once.
  match.fight.FightStarted = true;
  FightEvents events;
  StepFight(match.fight, match.slots, FightInputs{}, events);
  start = match.fight;
}

void ResetTraining(TrainingSession& s) {
  FightState& fight = s.match.fight;
  fight = s.start;
  if (s.options.resetPlace != ResetPlace::Start)
    PlaceInCorner(fight, s.match.slots, s.options.resetPlace == ResetPlace::LeftCorner);
  ForgetContacts(s.watch);
  s.dummy.guardUp = false;
  s.dummy.idleFrames = 0;
  s.dummy.lettingGo = false;
  s.knockedOutFrames = 0;
  s.powerModeOn = false;
  if (s.options.behaviour == DummyBehaviour::Recording) StartPlayback(s.dummy);
}

TrainingEnd StepTraining(TrainingSession& s, const FightInputs& machine, TrainingKeys keys,
                         std::uint32_t machineTicks, bool show) {
  const bool drawn = show && s.match.outputs.draw;
  const MenuKey key = ReadMenuKey(s.menuKeys, machine[0]);
  // Tab opens the training menu (the fight stands still under it) or closes
  // it (the fight goes on this frame).
  if (keys.menu && !s.pause.open && !s.menu.open) {
    OpenMenu(s);
    if (drawn) DrawTraining(s, machineTicks);
    return TrainingEnd::Running;
  }
  if (keys.menu && s.menu.open) {
    s.menu.open = false;
    IgnoreKeysHeld(s, machine);
  } else if (s.menu.open || s.pause.open) {
    TrainingEnd end = TrainingEnd::Running;
    if (s.menu.open)
      StepTrainingMenu(s.menu, s.options, key);
    else if (const auto chosen = StepTrainingPause(s.pause, key))
      end = TakePauseChoice(s, *chosen);
    if (!s.menu.open && !s.pause.open) IgnoreKeysHeld(s, machine);
    if (drawn) DrawTraining(s, machineTicks);
    return end;
  }
  if (keys.reset) ResetTraining(s);
  if (keys.record) {
    ToggleRecording(s.dummy);
    // What was just recorded is the dummy's behaviour from now on.
    if (!s.dummy.recording) s.options.behaviour = DummyBehaviour::Recording;
  }
  if (keys.play) {
    s.options.behaviour = DummyBehaviour::Recording;
    StartPlayback(s.dummy);
  }
  FightState& fight = s.match.fight;
  const bool wasRecording = s.dummy.recording;
  const FightInputs inputs = TrainingInputs(s.options, s.dummy, fight, s.match.slots, machine);
  // A recording that filled its ten seconds stopped by itself.
  if (wasRecording && !s.dummy.recording) s.options.behaviour = DummyBehaviour::Recording;
  for (int p = 1; p <= 2; ++p)
    LogInput(s.inputs[static_cast<std::size_t>(p)], inputs[static_cast<std::size_t>(p - 1)]);
  const FightState before = fight;
  FightEvents events;
  const FightOutcome outcome = StepFight(fight, s.match.slots, inputs, events);
  if (s.match.outputs.draw) PlayFightSounds(s.match.game, events);
  WatchFrame(s.watch, before, fight);
  ApplyTrainingRules(s, outcome);
  if (drawn) DrawTraining(s, machineTicks);
  return TrainingEnd::Running;
}

void PlayTraining(Game& game, const MatchSetup& setup) {
  try {
    TrainingSession session(game, setup, true);
    FramePacer pacer;
    std::array<bool, 4> held{};
    TrainingKeys pending;
    TrainingEnd end = TrainingEnd::Running;
    while (!game.QuitRequested && end == TrainingEnd::Running) {
      const FrameInput frame = ReadFrame(game);
      const Settings& settings = game.settings;
      const FightInputs machine = FightButtons(frame, settings.Player1Keys, settings.Player2Keys,
                                               settings.Joystick && game.JoystickCount > 0);
      const TrainingKeys keys = ReadTrainingKeys(held, frame);
      // A press between two due frames waits for the next one.
      pending = TrainingKeys{pending.menu || keys.menu, pending.reset || keys.reset,
                             pending.record || keys.record, pending.play || keys.play};
      const int due = FramesDue(pacer, frame.ticks, kFightFramesPerSecond, kMostFramesAPass);
      for (int k = 0; k < due && end == TrainingEnd::Running; ++k) {
        end = StepTraining(session, machine, pending, frame.ticks, k + 1 == due);
        pending = TrainingKeys{};
      }
      WriteStateRequests(session);
      if (end == TrainingEnd::QuitGame) {
        game.platform.openDocument((game.paths.gameDir() / "HTML" / "Vandrel.htm").string());
        game.QuitRequested = true;
      }
      DoEvents(game);
    }
    MatchResult result;
    EndMatch(game, session.match.fight, result);
  } catch (const GameError& e) {
    ReportFatalError(game, "PlayLoop", e);
  } catch (const platform::PlatformError& e) {
    ReportFatalError(game, "PlayLoop", GameError(e.number(), e.what()));
  }
}

}  // namespace vdx
