// The end of a round: the fight stands still under the result banner and both
// meters until player 1 (or, with two players, player 2) presses Punch; then
// the event movies, and the next round or the end of the match.
#pragma once

#include <cstdint>
#include <string>

#include "fight/fight_state.h"
#include "graphics/surface.h"

namespace vdx {

struct FightSession;

// A computer playing both sides presses nothing: its banners go on by
// themselves after this long.
inline constexpr std::uint32_t kUnattendedBannerMs = 3000;

struct RoundEnd {
  bool active = false;
  bool matchOver = false;
  std::uint32_t began = 0;
  Surface picture;  // the last fight picture, under the banner every frame
  Surface banner;   // the result's text, keyed on black
};

// The text of the match's result: against the computer "You Win" or "You
// Lose", with two players the winner's name and " wins".
std::string MatchResultText(const FightState& fight, int gameMode, const std::string& winnerName);

// Whether the match is decided: one round, or a player has the wins needed.
bool MatchDecided(const FightState& fight, int rounds);

enum class RoundEndStep { Waiting, NextRound, MatchOver };

// Draws a frame of the round end (in place of the fighters' turns): the last
// fight picture, the result banner and both meters.
void DrawRoundEnd(FightSession& session, std::uint32_t now);

// After the frame is shown: waits for Punch, or goes on with the event movies
// to the next round or the end of the match.
RoundEndStep FinishRoundEnd(FightSession& session, std::uint32_t now);

}  // namespace vdx
