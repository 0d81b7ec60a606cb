#include "fight/fight_loop.h"

#include <algorithm>
#include <cstdio>

#include "audio/music.h"
#include "content/xml_values.h"
#include "core/files.h"
#include "core/log.h"
#include "fight/computer_opponent.h"
#include "fight/debug_view.h"
#include "fight/effect_step.h"
#include "fight/fight_drawing.h"
#include "fight/fight_hash.h"
#include "fight/fighter_pass.h"
#include "fight/flashes.h"
#include "fight/hit_step.h"
#include "fight/pause_menu.h"
#include "fight/pick_up.h"
#include "fight/replay.h"
#include "fight/round_end.h"
#include "fight/round_setup.h"
#include "fight/sparks.h"
#include "fight/stage_animations.h"
#include "fight/state_dump.h"
#include "fight/weather.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "graphics/frame_pacing.h"

namespace vdx {
namespace {

constexpr std::uint32_t kFrameMs = 16;

void ClearCommands(InputState& input) {
  for (int p = 1; p <= 2; ++p) {
    input.HeldCommand[p].clear();
    ClearKeyHistory(input.history[p]);
  }
}

// Letters held since the round began (or since the key that started the
// fight) do nothing until they are let go.
void IgnoreHeldLetters(FighterState& f, std::string& command) {
  std::string stillHeld;
  for (const char letter : f.ignoredLetters) {
    const auto at = command.find(letter);
    if (at == std::string::npos) continue;
    stillHeld += letter;
    command.erase(at, 1);
  }
  f.ignoredLetters = stillHeld;
}

void Poll(FightSession& m, const FrameInput& frame) {
  Game& game = m.game;
  InputState& input = game.input;
  for (int p = 1; p <= 2; ++p)
    input.Facing[p] = m.fight.fighters[p].Facing;
  PollLetters(frame, game.settings.Player1Keys, game.settings.Player2Keys,
              game.settings.Joystick && game.JoystickCount > 0, input);
  for (int p = 1; p <= 2; ++p) {
    if (m.fight.roundBegins) m.fight.fighters[p].ignoredLetters = input.HeldCommand[p];
    IgnoreHeldLetters(m.fight.fighters[p], input.HeldCommand[p]);
  }
  UpdateKeyHistories(input, frame.ticks);
}

// The frame's hashes, then what is drawn over the fight's picture, and the
// picture on screen.
void ShowFrame(FightSession& m) {
  Game& game = m.game;
  if (m.outputs.frameHashes != nullptr) {
    char line[64];
    std::snprintf(line, sizeof line, "%llu %016llx %016llx\n",
                  static_cast<unsigned long long>(m.fight.frameNumber),
                  static_cast<unsigned long long>(HashFightState(m.fight, m.slots, game.input, game.random)),
                  static_cast<unsigned long long>(HashPicture(game.display.backBuffer)));
    *m.outputs.frameHashes += line;
  }
  // What is drawn from here on is not part of the fight's picture.
  if (m.debug.stepping) m.debug.shown = game.display.backBuffer;
  if (m.debug.showBoxes) DrawDebugOverlay(game.display.backBuffer, m.fight, m.slots);
  PresentFrame(game.platform, game.display);
}

}  // namespace

// The player's meters. Health below 0 is shown, and kept, as 0.
void DrawMeters(FightSession& m, int player, std::uint32_t now) {
  for (int p = 1; p <= 2; ++p)
    m.fight.fighters[p].Health = std::max<Integer>(0, m.fight.fighters[p].Health);
  const FighterState& f = m.fight.fighters[player];
  const cCharacter& c = m.slots.players[player].character;
  DrawFighterHud(m.game, m.hud[player], m.hudPictures,
                 HudInputs{player, c.Name, c.Health, f.Health, f.ComboCount,
                           m.fight.RoundWins[player], f.ActionName, now});
}

FrameEnd RunFightFrame(FightSession& m, const FrameInput& frame) {
  Game& game = m.game;
  FightState& fight = m.fight;
  InputState& input = game.input;
  const std::uint32_t now = frame.ticks;
  ++fight.frameNumber;
  game.random.MixTicks(now);
  if (fight.roundBegins) StartWeather(game, fight, m.slots, now);

  // The block marker holds only while the player blocks an opponent in action.
  for (int p = 1; p <= 2; ++p)
    if (input.HeldCommand[p] != "B" || fight.fighters[Opponent(p)].ActionName == "Standing")
      fight.fighters[p].blockMarker = false;

  Poll(m, frame);
  fight.roundBegins = false;
  if (!fight.FightStarted) {
    // The first key only starts the fight; it stays ignored until let go.
    // With nobody at the keys (the computer plays both) it starts at once.
    if (!input.HeldCommand[1].empty() || !input.HeldCommand[2].empty() ||
        (fight.computer[1] && fight.computer[2])) {
      fight.FightStarted = true;
      for (int p = 1; p <= 2; ++p)
        fight.fighters[p].ignoredLetters += input.HeldCommand[p];
    }
    ClearCommands(input);
  }
  // The menu steers by player 1's keys, which the fighters do not see meanwhile.
  fight.pauseCommand = fight.PauseRequested ? input.HeldCommand[1] : std::string();
  if (fight.PauseRequested) {
    // Both fighters stand while the pause is taken; a knocked-out one stays down.
    for (int p = 1; p <= 2; ++p)
      if (fight.fighters[p].ActionName != "KO") fight.fighters[p].ActionName = "Standing";
    ClearCommands(input);
  }
  if (fight.FightStarted && !fight.PauseRequested) {
    for (int p = 1; p <= 2; ++p)
      if (fight.computer[p]) ChooseComputerMove(game, fight, m.slots, p, now);
  }
  if ((fight.fighters[1].ActionName == "KO" || fight.fighters[2].ActionName == "KO") &&
      fight.RoundLoser != 0) {
    DrawRoundEnd(m, now);
    ShowFrame(m);
    if (fight.leaveMatch) return FrameEnd::MatchOver;
    switch (FinishRoundEnd(m, now)) {
      case RoundEndStep::Waiting: return FrameEnd::Running;
      case RoundEndStep::NextRound: return FrameEnd::RoundOver;
      case RoundEndStep::MatchOver: return FrameEnd::MatchOver;
    }
  }

  // The fighter being hit goes first.
  if (NameHolds(fight.fighters[2].ActionName, "HIT") || NameHolds(fight.fighters[2].ActionName, "KO"))
    fight.firstPlayer = 2;
  if (NameHolds(fight.fighters[1].ActionName, "HIT") || NameHolds(fight.fighters[1].ActionName, "KO"))
    fight.firstPlayer = 1;
  FighterPassContext ctx{game, fight, m.slots, now};
  for (const int p : {fight.firstPlayer, Opponent(fight.firstPlayer)}) {
    FighterPass(ctx, p);
    TestHits(game, fight, m.slots, p, now);
    DrawFighter(game, fight, m.slots, p, now);
    DrawMeters(m, p, now);
    PickUpStep(game, fight, m.slots, p, now);
    if (fight.PauseRequested) OpenPauseMenu(game, fight, now);
    UpdateCharacterEffects(game, fight, m.slots, p, now);
  }
  DrawFlashes(game, fight, m.slots.flash.get(), now);
  DrawSparks(game, fight);
  DrawWeather(game, fight, m.slots, now);
  DrawRoundBanner(game, fight, m.banner, now);
  if (game.ShowFps) DrawFps(game, m.fps, now);

  ShowFrame(m);
  if (fight.leaveMatch) return FrameEnd::MatchOver;
  const bool knockedOut = (fight.fighters[1].ActionName == "KO" ||
                           fight.fighters[2].ActionName == "KO") &&
                          fight.RoundLoser != 0;
  if (!knockedOut) {
    DrawStageView(game, fight, m.stage);
    DrawStageAnimations(game, m.slots, m.stage, now);
  }
  return FrameEnd::Running;
}

namespace {

void WriteStateRequests(FightSession& m) {
  for (const std::string& path : m.game.platform.takeStateRequests()) {
    const std::uint64_t hash = HashFightState(m.fight, m.slots, m.game.input, m.game.random);
    const std::string json = FightStateJson(m.fight, m.slots, m.game.input, hash);
    const WriteResult written = WriteWholeFile(path, json);
    if (!written.ok)
      ReportFailedWrite(m.game.log, path,
                        "Cannot write the fight's state to " + path + ": " + written.error);
  }
}

}  // namespace

int WinsNeeded(Integer rounds) {
  return std::max(1, static_cast<int>(RoundHalfEven(rounds / 2.0 + 0.5)));
}

FightSession::FightSession(Game& game, MatchSetup setup, FightOutputs outputs)
    : game(game),
      setup(std::move(setup)),
      outputs(outputs),
      banner(MakeRoundBanner(game)),
      hudPictures(
          LoadHudPictures(LoadContext{game.platform, game.paths, game.log, &game.display})) {
  // Nothing of the computer's last match is carried into this one.
  StartComputerPlayers(fight, this->setup);
  // The combo messages are bitmap text.
  if (game.font.glyphs == nullptr)
    LoadFontSheet(LoadContext{game.platform, game.paths, game.log, &game.display},
                  game.content.FontChars, game.font);
}

void BeginRound(FightSession& m) {
  m.fight.round = m.fight.RoundWins[1] + m.fight.RoundWins[2] + 1;
  SetUpRound(m.game, m.setup, m.fight, m.slots, m.stage);
}

namespace {

// While the fight waits for F3: its last picture, with the boxes when asked.
void ShowHeldFrame(FightSession& m) {
  Display& display = m.game.display;
  if (m.debug.shown.pixels.size() != display.backBuffer.pixels.size()) return;
  Surface next = std::move(display.backBuffer);  // the next frame's background
  display.backBuffer = m.debug.shown;
  if (m.debug.showBoxes) DrawDebugOverlay(display.backBuffer, m.fight, m.slots);
  PresentFrame(m.game.platform, display);
  display.backBuffer = std::move(next);
}

// The rounds of a match; each frame's input comes from `nextInput`, which
// says false when there is none left.
template <typename NextInput>
MatchResult RunRounds(Game& game, const MatchSetup& setup, FightOutputs outputs,
                      NextInput nextInput) {
  FightSession m(game, setup, outputs);
  if (outputs.record != nullptr) {
    outputs.record->setup = setup;
    outputs.record->settings = ReplaySettingsOf(game.settings);
    outputs.record->randomState = game.random.state();
    outputs.record->frames.clear();
  }
  MatchResult result;
  // A match starts with no rounds won, whoever called it (FightState starts so).
  bool inputLeft = true;
  while (!game.QuitRequested && inputLeft) {
    BeginRound(m);
    ++result.rounds;
    game.display.pacingDeadline = 0;
    FrameEnd end = FrameEnd::Running;
    while (!game.QuitRequested && end == FrameEnd::Running) {
      FrameInput frame = ReadFrame(game);
      if (FrameDue(game.display.pacingDeadline, frame.ticks, kFrameMs)) {
        if (ReadDebugKeys(m.debug, frame, game.DebugMode) == DebugStep::Hold) {
          ShowHeldFrame(m);
        } else {
          if (!(inputLeft = nextInput(frame))) break;
          if (outputs.record != nullptr) outputs.record->frames.push_back(frame);
          end = RunFightFrame(m, frame);
          if (outputs.frameLimit != 0 && m.fight.frameNumber >= outputs.frameLimit &&
              end == FrameEnd::Running) {
            result.undecided = true;
            break;
          }
        }
      }
      DoEvents(game);
      WriteStateRequests(m);
    }
    if (end == FrameEnd::MatchOver && !m.fight.leaveMatch) result.winner = Opponent(m.fight.RoundLoser);
    if (end != FrameEnd::RoundOver || result.undecided) break;
  }
  result.frames = m.fight.frameNumber;
  result.quit = game.QuitRequested;
  StopStageMusic(game.platform, game.music);
  ReleaseSounds(game.platform, game.sounds);
  return result;
}

// Whatever fails inside the fight, the content or the machine, ends the game
// with the fight's own report.
template <typename NextInput>
MatchResult RunMatch(Game& game, const MatchSetup& setup, FightOutputs outputs,
                     NextInput nextInput) {
  try {
    return RunRounds(game, setup, outputs, nextInput);
  } catch (const GameError& e) {
    ReportFatalError(game, "PlayLoop", e);
  } catch (const platform::PlatformError& e) {
    ReportFatalError(game, "PlayLoop", GameError(e.number(), e.what()));
  }
}

}  // namespace

MatchResult PlayMatch(Game& game, const MatchSetup& setup, FightOutputs outputs) {
  return RunMatch(game, setup, outputs, [](FrameInput&) { return true; });
}

MatchResult ReplayMatchAgain(Game& game, const ReplayMatch& replay, FightOutputs outputs) {
  ApplyReplaySettings(replay.settings, game.settings);
  game.random.Restore(replay.randomState);
  std::size_t next = 0;
  return RunMatch(game, replay.setup, outputs, [&replay, &next](FrameInput& frame) {
    if (next >= replay.frames.size()) return false;
    frame = replay.frames[next++];
    return true;
  });
}

}  // namespace vdx
