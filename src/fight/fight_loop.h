// A match: rounds until one player has won enough of them, each round a loop
// of 16 ms frames (input, the computer, both fighters' turns, drawing,
// presentation).
#pragma once

#include <cstdint>
#include <string>

#include "fight/debug_view.h"
#include "fight/fight_drawing.h"
#include "fight/fighter_hud.h"
#include "fight/fight_state.h"
#include "fight/round_end.h"
#include "fight/round_setup.h"
#include "game/game.h"
#include "input/frame_input.h"

namespace vdx {

struct MatchResult {
  int winner = 0;  // 1 or 2; 0 when the match was left undecided
  int rounds = 0;  // rounds fought
  std::uint64_t frames = 0;
  bool quit = false;  // the game is closing
  bool undecided = false;  // stopped at the frame limit with nobody the winner
};

struct ReplayMatch;

// What a run asks of the fight besides playing it.
struct FightOutputs {
  // One line per fight frame: "frame stateHash pictureHash" (hex), appended.
  std::string* frameHashes = nullptr;
  // The match as a replay: its start and every frame's input. The caller fills
  // in the content's fingerprint.
  ReplayMatch* record = nullptr;
  // A match still running after this many frames is stopped undecided (0: never).
  std::uint64_t frameLimit = 0;
};

// The wins that decide a match of `rounds` rounds.
int WinsNeeded(Integer rounds);

MatchResult PlayMatch(Game& game, const MatchSetup& setup, FightOutputs outputs = {});

// Plays a recorded match again: its settings and the generator's state are put
// back, and each frame runs on its recorded input instead of the machine's
// (the machine still paces the frames and may close the game). The match ends
// with its last recorded frame.
MatchResult ReplayMatchAgain(Game& game, const ReplayMatch& replay, FightOutputs outputs = {});

// A match taken frame by frame, for PlayMatch, replays and benchmarks.
struct FightSession {
  FightSession(Game& game, MatchSetup setup, FightOutputs outputs);

  Game& game;
  MatchSetup setup;
  FightOutputs outputs;
  FightState fight;
  FightSlots slots;
  StageView stage;
  RoundBanner banner;
  FpsCounter fps;
  DebugView debug;
  RoundEnd roundEnd;
  std::array<HudState, 3> hud;  // each player's meters (0 unused)
  HudPictures hudPictures;
};

// Sets up the next round: the round after those already won.
void BeginRound(FightSession& session);

enum class FrameEnd { Running, RoundOver, MatchOver };

// The player's meters, drawn each frame.
void DrawMeters(FightSession& session, int player, std::uint32_t now);

// One frame of the fight from the frame's input: everything but the pacing
// and the yield.
FrameEnd RunFightFrame(FightSession& session, const FrameInput& frame);

}  // namespace vdx
