// A match on screen: rounds until one player has won enough of them, each
// round a loop of 16 ms frames: read the machine, step the fight, play the
// step's sounds, draw the state, present.
#pragma once

#include <cstdint>
#include <string>

#include "fight/fight_state.h"
#include "fight/fight_step.h"
#include "game/game.h"
#include "input/frame_input.h"
#include "input/player_input.h"
#include "match/debug_view.h"
#include "match/fight_drawing.h"

namespace vdx {

struct MatchResult {
  int winner = 0;  // 1 or 2; 0 when the match was left undecided
  int rounds = 0;  // rounds fought
  std::uint64_t frames = 0;
  bool quit = false;  // the game is closing
  bool undecided = false;  // stopped at the frame limit with nobody the winner
  bool recordFull = false;  // the replay had no room for the match's later frames
};

struct ReplayMatch;

// What a run asks of the fight besides playing it.
struct FightOutputs {
  // One line per fight frame: "frame stateHash pictureHash" (hex), appended;
  // a frame not drawn has "-" for its picture.
  std::string* frameHashes = nullptr;
  // The match as a replay: its start and every frame's input, as many as
  // `recordRoom` leaves room for (a replay file holds kMostReplayFrames in
  // all). The caller fills in the content's fingerprint.
  ReplayMatch* record = nullptr;
  std::uint64_t recordRoom = 0;
  // A match still running after this many frames is stopped undecided (0: never).
  std::uint64_t frameLimit = 0;
  // False: the fight runs without drawing or presenting (nothing looks at it).
  bool draw = true;
  // 1 to 8: every frame is also stepped that many frames ahead from a saved
  // state, restored and stepped again, and both passes must agree; the first
  // frame where they do not is reported (syncFailure) and the match stops.
  int syncTest = 0;
  std::string* syncFailure = nullptr;
};

MatchResult PlayMatch(Game& game, const MatchSetup& setup, FightOutputs outputs = {});

// Plays a recorded match again: its settings and the generator's state are put
// back, and each frame runs on its recorded input instead of the machine's
// (the machine still paces drawn frames and may close the game). The match
// ends with its last recorded frame.
MatchResult ReplayMatchAgain(Game& game, const ReplayMatch& replay, FightOutputs outputs = {});

// A match taken frame by frame, for PlayMatch, replays, tests and benchmarks.
struct FightSession {
  FightSession(Game& game, MatchSetup setup, FightOutputs outputs);

  Game& game;
  FightOutputs outputs;
  FightSlots slots;  // slots.setup: the fighters, the stage and the mode
  FightState fight;
  FightView view;
  FpsCounter fps;
  DebugView debug;
};

// Sets up the next round: the round after those already won.
void BeginRound(FightSession& session);

enum class FrameEnd { Running, RoundOver, MatchOver };

// One fight frame on the players' buttons: the step, its sounds, and, when
// the session draws and `show` asks, the picture; `machineTicks` only times
// the frame-rate counter.
FrameEnd RunFightFrame(FightSession& session, const FightInputs& inputs,
                       std::uint32_t machineTicks, bool show = true);

// The same from a reading of the machine, through the key bindings.
FrameEnd RunFightFrame(FightSession& session, const FrameInput& frame);

// Plays a frame's sounds at the game's volume.
void PlayFightSounds(Game& game, const FightEvents& events);

// Appends a frame's line of the frame hashes: "frame stateHash pictureHash"
// in hex, "-" for the picture of a frame not drawn (`picture` null).
void AppendFrameHashLine(std::string& out, std::uint64_t frame, std::uint64_t stateHash,
                         const Surface* picture);

// What every match does as it ends: its frames and whether the game closes
// in the result, the generator handed back to the game for the next match,
// the music stopped and the sounds let go.
void EndMatch(Game& game, const FightState& fight, MatchResult& result);

}  // namespace vdx
