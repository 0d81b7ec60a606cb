#include "match/fight_loop.h"

#include <algorithm>
#include <cstdio>
#include <span>

#include "audio/music.h"
#include "audio/sound_table.h"
#include "core/files.h"
#include "core/log.h"
#include "fight/fight_hash.h"
#include "fight/replay.h"
#include "fight/state_dump.h"
#include "game/do_events.h"
#include "game/fatal_error.h"
#include "graphics/frame_pacing.h"
#include "input/player_buttons.h"
#include "match/round_end.h"
#include "match/round_setup.h"

namespace vdx {
namespace {

// A pass runs at most this many frames to keep up with the clock.
constexpr int kMostFramesAPass = 4;

// The frame's picture, its hashes, and, when `present`, what is drawn over
// it that is not part of it, and the picture on screen.
void ShowFrame(FightSession& m, bool roundEndFrame, std::uint32_t machineTicks, bool present) {
  Game& game = m.game;
  if (roundEndFrame) {
    DrawRoundEndFrame(game, m.fight, m.slots, m.view);
  } else {
    DrawFightScene(game, m.fight, m.slots, m.view);
    if (game.ShowFps) DrawFps(game, m.fps, machineTicks);
  }
  if (m.outputs.frameHashes != nullptr)
    AppendFrameHashLine(*m.outputs.frameHashes, m.fight.frameNumber, HashFightState(m.fight),
                   &game.display.backBuffer);
  if (!present) return;
  // What is drawn from here on is not part of the fight's picture.
  if (m.debug.stepping) m.debug.shown = game.display.backBuffer;
  if (m.debug.showBoxes) DrawDebugOverlay(game.display.backBuffer, m.fight, m.slots);
  PresentFrame(game.platform, game.display);
}

}  // namespace

FrameEnd RunFightFrame(FightSession& m, const FightInputs& inputs, std::uint32_t machineTicks,
                       bool show) {
  Game& game = m.game;
  const bool roundEndFrame =
      (m.fight.fighters[1].ActionName == "KO" || m.fight.fighters[2].ActionName == "KO") &&
      m.fight.RoundLoser != 0;
  FightEvents events;
  const FightOutcome outcome = StepFight(m.fight, m.slots, inputs, events);
  if (m.outputs.draw) PlayFightSounds(game, events);
  // A frame that catches up is not shown, but is drawn when its picture's
  // hash is asked for, so a run's hashes do not hang on how its passes fell.
  if (m.outputs.draw && (show || m.outputs.frameHashes != nullptr)) {
    ShowFrame(m, roundEndFrame, machineTicks, show);
  } else if (m.outputs.frameHashes != nullptr) {
    AppendFrameHashLine(*m.outputs.frameHashes, m.fight.frameNumber, HashFightState(m.fight), nullptr);
  }
  if (m.fight.leaveGame && !game.QuitRequested) {
    // A fight nobody watches opens nothing on the desktop.
    if (m.outputs.draw)
      game.platform.openDocument((game.paths.gameDir() / "HTML" / "Vandrel.htm").string());
    game.QuitRequested = true;
  }
  switch (outcome) {
    case FightOutcome::Running:
      return FrameEnd::Running;
    case FightOutcome::RoundOver:
      if (m.outputs.draw) PlayRoundEndMovies(game, m.fight, m.slots, false);
      return FrameEnd::RoundOver;
    case FightOutcome::MatchOver:
      if (m.outputs.draw && !m.fight.leaveMatch) PlayRoundEndMovies(game, m.fight, m.slots, true);
      return FrameEnd::MatchOver;
  }
  return FrameEnd::Running;
}

void AppendFrameHashLine(std::string& out, std::uint64_t frame, std::uint64_t state,
                         const Surface* picture) {
  char line[64];
  if (picture != nullptr)
    std::snprintf(line, sizeof line, "%llu %016llx %016llx\n", static_cast<unsigned long long>(frame),
                  static_cast<unsigned long long>(state),
                  static_cast<unsigned long long>(HashPicture(*picture)));
  else
    std::snprintf(line, sizeof line, "%llu %016llx -\n", static_cast<unsigned long long>(frame),
                  static_cast<unsigned long long>(state));
  out += line;
}

void PlayFightSounds(Game& game, const FightEvents& events) {
  for (int i = 0; i < events.soundCount; ++i)
    PlaySound(game.platform, game.sounds, std::string(events.sounds[static_cast<std::size_t>(i)]),
              game.settings.SoundVolume, game.log);
}

void EndMatch(Game& game, const FightState& fight, MatchResult& result) {
  result.frames = fight.frameNumber;
  result.quit = game.QuitRequested;
  // The next match goes on from where this one left the generator.
  game.random.Restore(fight.random.state());
  StopStageMusic(game.platform, game.music);
  ReleaseSounds(game.platform, game.sounds);
}

FrameEnd RunFightFrame(FightSession& m, const FrameInput& frame) {
  const Settings& s = m.game.settings;
  return RunFightFrame(
      m, FightButtons(frame, s.Player1Keys, s.Player2Keys, s.Joystick && m.game.JoystickCount > 0),
      frame.ticks);
}

namespace {

void WriteStateRequests(FightSession& m) {
  for (const std::string& path : m.game.platform.takeStateRequests()) {
    const std::string json = FightStateJson(m.fight, m.slots, HashFightState(m.fight));
    const WriteResult written = WriteWholeFile(path, json);
    if (!written.ok)
      ReportFailedWrite(m.game.log, path,
                        "Cannot write the fight's state to " + path + ": " + written.error);
  }
}

}  // namespace

FightSession::FightSession(Game& game, MatchSetup setup, FightOutputs outputs)
    : game(game), outputs(outputs) {
  slots.setup = std::move(setup);
  slots.rules = MatchRulesOf(game.settings);
  // The match draws from the game's generator, and hands it back at its end.
  fight = StartingFightState(slots, game.random.state());
  if (!outputs.draw) return;
  const LoadContext ctx{game.platform, game.paths, game.log, &game.display};
  view.banner = MakeRoundBanner(game);
  view.hudPictures = LoadHudPictures(ctx);
  // The combo messages are bitmap text.
  if (game.font.glyphs == nullptr) LoadFontSheet(ctx, game.content.FontChars, game.font);
}

void BeginRound(FightSession& m) {
  SetUpRound(m.game, m.fight, m.slots, m.view, m.outputs.draw);
}

namespace {

// While the fight waits for F3: its last picture, with the boxes when asked.
void ShowHeldFrame(FightSession& m) {
  Display& display = m.game.display;
  if (m.debug.shown.pixels.size() != display.backBuffer.pixels.size()) return;
  Surface next = std::move(display.backBuffer);
  display.backBuffer = m.debug.shown;
  if (m.debug.showBoxes) DrawDebugOverlay(display.backBuffer, m.fight, m.slots);
  PresentFrame(m.game.platform, display);
  display.backBuffer = std::move(next);
}

// The inputs of a recorded match, and those ahead of the current frame for
// the sync test.
struct RecordedInputs {
  std::span<const FightInputs> frames;
  std::size_t next = 0;
};

// Steps `ahead` frames from the state and hashes each; stops at the end of
// the round (the next round loads its content first).
int StepAhead(FightState& fight, const FightSlots& slots, std::span<const FightInputs> ahead,
              std::array<std::uint64_t, 8>& hashes) {
  int stepped = 0;
  for (const FightInputs& inputs : ahead) {
    FightEvents events;
    const FightOutcome outcome = StepFight(fight, slots, inputs, events);
    hashes[static_cast<std::size_t>(stepped++)] = HashFightState(fight);
    if (outcome != FightOutcome::Running) break;
  }
  return stepped;
}

// Save, step ahead, restore, step ahead again: both passes must agree, frame
// for frame. Returns a description of the first difference, or nothing.
std::string SyncTestFrame(FightSession& m, std::span<const FightInputs> ahead) {
  const FightState saved = m.fight;
  std::array<std::uint64_t, 8> first{}, second{};
  const int n = StepAhead(m.fight, m.slots, ahead, first);
  m.fight = saved;
  const int again = StepAhead(m.fight, m.slots, ahead, second);
  m.fight = saved;
  for (int k = 0; k < std::min(n, again); ++k)
    if (first[static_cast<std::size_t>(k)] != second[static_cast<std::size_t>(k)]) {
      char text[160];
      std::snprintf(text, sizeof text,
                    "frame %llu stepped again from a saved state differs %d frame(s) ahead: "
                    "%016llx, then %016llx",
                    static_cast<unsigned long long>(saved.frameNumber + 1 + static_cast<unsigned>(k)),
                    k + 1, static_cast<unsigned long long>(first[static_cast<std::size_t>(k)]),
                    static_cast<unsigned long long>(second[static_cast<std::size_t>(k)]));
      return text;
    }
  if (n != again) return "the two passes stepped a different number of frames";
  return {};
}

// The rounds of a match; each frame's input comes from `nextInput`, which
// says false when there is none left; `recorded` holds them all when the
// match is a replay.
template <typename NextInput>
MatchResult RunRounds(Game& game, const MatchSetup& setup, FightOutputs outputs,
                      NextInput nextInput, RecordedInputs* recorded) {
  FightSession m(game, setup, outputs);
  if (outputs.record != nullptr) {
    outputs.record->setup = setup;
    outputs.record->settings = ReplaySettingsOf(game.settings);
    outputs.record->randomState = m.fight.random.state();
    outputs.record->frames.clear();
  }
  // The look-ahead has room for eight frames.
  outputs.syncTest = std::clamp(outputs.syncTest, 0, 8);
  m.outputs.syncTest = outputs.syncTest;
  MatchResult result;
  bool inputLeft = true;
  bool syncFailed = false;
  while (!game.QuitRequested && inputLeft && !syncFailed) {
    BeginRound(m);
    ++result.rounds;
    FramePacer pacer;
    FrameEnd end = FrameEnd::Running;
    while (!game.QuitRequested && end == FrameEnd::Running) {
      const FrameInput frame = ReadFrame(game);
      // A fight nobody watches runs as fast as it can.
      int due = outputs.draw ? FramesDue(pacer, frame.ticks, kFightFramesPerSecond,
                                         kMostFramesAPass)
                             : 1;
      // Stepped by F3, the fight takes one frame at a time.
      if (m.debug.stepping) due = std::min(due, 1);
      if (due > 0 && outputs.draw &&
          ReadDebugKeys(m.debug, frame, game.DebugMode) == DebugStep::Hold) {
        ShowHeldFrame(m);
      } else {
        for (int k = 0; k < due && end == FrameEnd::Running && !game.QuitRequested; ++k) {
          const Settings& s = game.settings;
          FightInputs inputs = FightButtons(frame, s.Player1Keys, s.Player2Keys,
                                            s.Joystick && game.JoystickCount > 0);
          if (!(inputLeft = nextInput(inputs))) break;
          if (outputs.syncTest > 0 && recorded != nullptr) {
            const std::size_t from = recorded->next - 1;
            const std::size_t count = std::min<std::size_t>(
                static_cast<std::size_t>(outputs.syncTest), recorded->frames.size() - from);
            const std::string failure = SyncTestFrame(m, recorded->frames.subspan(from, count));
            if (!failure.empty()) {
              if (outputs.syncFailure != nullptr) *outputs.syncFailure = failure;
              syncFailed = true;
              break;
            }
          }
          if (outputs.record != nullptr) {
            if (outputs.record->frames.size() < outputs.recordRoom)
              outputs.record->frames.push_back(inputs);
            else
              result.recordFull = true;
          }
          // Only the last frame a pass runs is drawn.
          end = RunFightFrame(m, inputs, frame.ticks, k + 1 == due);
          if (outputs.frameLimit != 0 && m.fight.frameNumber >= outputs.frameLimit &&
              end == FrameEnd::Running) {
            result.undecided = true;
            break;
          }
        }
      }
      if (!inputLeft || syncFailed || result.undecided) break;
      DoEvents(game);
      WriteStateRequests(m);
    }
    if (end == FrameEnd::MatchOver && !m.fight.leaveMatch) result.winner = Opponent(m.fight.RoundLoser);
    if (end != FrameEnd::RoundOver || result.undecided) break;
  }
  EndMatch(game, m.fight, result);
  return result;
}

// Whatever fails inside the fight, the content or the machine, ends the game
// with the fight's own report.
template <typename NextInput>
MatchResult RunMatch(Game& game, const MatchSetup& setup, FightOutputs outputs,
                     NextInput nextInput, RecordedInputs* recorded = nullptr) {
  try {
    return RunRounds(game, setup, outputs, nextInput, recorded);
  } catch (const GameError& e) {
    ReportFatalError(game, "PlayLoop", e);
  } catch (const platform::PlatformError& e) {
    ReportFatalError(game, "PlayLoop", GameError(e.number(), e.what()));
  }
}

}  // namespace

MatchResult PlayMatch(Game& game, const MatchSetup& setup, FightOutputs outputs) {
  return RunMatch(game, setup, outputs, [](FightInputs&) { return true; });
}

MatchResult ReplayMatchAgain(Game& game, const ReplayMatch& replay, FightOutputs outputs) {
  ApplyReplaySettings(replay.settings, game.settings);
  game.random.Restore(replay.randomState);
  RecordedInputs recorded{replay.frames, 0};
  return RunMatch(
      game, replay.setup, outputs,
      [&recorded](FightInputs& inputs) {
        if (recorded.next >= recorded.frames.size()) return false;
        inputs = recorded.frames[recorded.next++];
        return true;
      },
      &recorded);
}

}  // namespace vdx
