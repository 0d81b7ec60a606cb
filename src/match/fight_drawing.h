// A fight frame on screen, drawn from the fight's state alone and changing
// nothing of it: the stage and its scenery behind, then each player's turn
// back to front (trail, shadow, fighter, meters, pick-up, pause menu,
// bubbles, effects), then flashes, sparks, weather and the opening banner.
// At the round's end the last fight frame stands still under the result.
#pragma once

#include <array>
#include <cstdint>

#include "fight/fight_state.h"
#include "game/game.h"
#include "graphics/sprite_loading.h"
#include "match/fighter_hud.h"

namespace vdx {

// The stage's whole picture, its Width x 480, and its scenery's frames.
struct StageView {
  SharedSurface background;
  FramePool scenery;
};

// The round's opening banner, shrinking until the fight starts.
struct RoundBanner {
  Surface text;  // the banner's words, 512 wide, keyed on black
};
RoundBanner MakeRoundBanner(Game& game);

// The frame-rate counter of SHOWFPS: frames counted over one-second windows.
struct FpsCounter {
  int frames = 0;
  int rate = 0;
  std::uint32_t windowEnds = 0;
};
void DrawFps(Game& game, FpsCounter& fps, std::uint32_t now);

// The round's result over the still fight.
struct RoundEndView {
  std::uint64_t frozenFrame = 0;  // the fight frame whose picture `still` holds; 0: none
  Surface still;
  bool bannerMade = false;
  Surface banner;  // the result's text, keyed on black
};

// What the drawing keeps besides the fight: pictures, and the meters'
// messages, which fade as they are drawn.
struct FightView {
  StageView stage;
  RoundBanner banner;
  HudPictures hudPictures;
  std::array<HudState, 3> hud;  // each player's meters (0 unused)
  RoundEndView roundEnd;
  std::uint64_t drawnFrame = 0;  // the fight frame the back buffer shows; 0: none
};

// Draws the state's fight frame into the back buffer (the round's end draws
// its own, round_end.h). The meters' fading messages move on as drawn.
void DrawFightScene(Game& game, const FightState& fight, const FightSlots& slots,
                    FightView& view);

// Draws the part of the stage the camera sees into the back buffer.
void DrawStageView(Game& game, Long cameraX, const StageView& stage);

}  // namespace vdx
