// The state of a match in progress, as plain data: what every frame reads and
// writes, what a replay reproduces and what the state hash covers. The
// fighters' pictures and their content records live beside it (FightSlots).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "content/records.h"
#include "effects/particle_engine.h"
#include "effects/rain.h"
#include "effects/snow.h"
#include "fight/computer_opponent.h"
#include "graphics/sprite_loading.h"

namespace vdx {

// Who the computer plays (the command line's --cpu).
enum class ComputerPlays { None, Player2, Both };

// The choices that start a match.
struct MatchSetup {
  std::string player1;  // character keys
  std::string player2;
  std::string stage;    // stage key
  int GameMode = 2;     // 1 against the computer, 2 two players
  ComputerPlays computer = ComputerPlays::None;
};

struct Rect {
  Long Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// A remembered pose of the afterimage trail.
struct TrailImage {
  Long frame = 0;  // CurrentFrame; 0: none yet
  Long x = 0, y = 0;
  int width = 256;
  bool facing = false;
};

// One fighter's run-time state.
struct FighterState {
  std::string ActionName = "Standing";
  std::string MoveState = "Standing";
  std::string previousAction;  // ActionName at the last pass, to see a change
  Long CurrentFrame = 1;       // the frame drawn, 1-based among the fighter's frames
  Long frameCounter = 0;       // NextFrameIndex's counter
  std::uint32_t AnimDue = 0;   // when the next step is due; 0: not set
  Long PlayerX = 0;
  Long PlayerY = 0;
  bool Facing = false;  // false: faces right
  Integer Health = 0;
  int holdCounter = 0;       // steps spent on an action's end frame
  bool turnedBack = false;   // an ActiveReverse action plays back now
  bool specialMatched = false;
  bool HitFlag = false;
  bool blockMarker = false;
  int DamageMultiplier = 1;
  Rect FighterRect;
  std::string ignoredLetters;  // letters held since the round began, ignored until let go
  // Hits landed in the current combo, until the deadline passes.
  int ComboCount = 0;
  std::uint32_t ComboDeadline = 0;
  bool attackBlocked = false;  // the current attack was blocked (and chipped) once
  // The current grab caught the opponent: until it ends, its frames show both
  // fighters, so the opponent is not drawn on its own.
  bool grabCaught = false;
  // The power pick-up: double damage against the opponent, and the trail.
  bool PowerMode = false;
  std::uint32_t PowerModeEnds = 0;
  std::array<TrailImage, 3> trail;
  std::uint32_t trailRefreshed = 0;
};

// A white flash where a blow landed.
struct Flash {
  Long x = 0, y = 0;  // its centre; x on the stage, so it stays where it hit
  std::uint32_t start = 0;
  std::uint32_t duration = 0;
  float angle = 0;
  std::uint32_t lastTurn = 0;
};
inline constexpr int kMaxFlashes = 4;

// The falling pick-up.
struct PickUp {
  int PowerUpKind = 0;  // 0 none, 1 power, 2 health
  bool falling = false;
  Long x = 0;  // on the stage
  Long y = 0;
  std::uint32_t lifeEnds = 0;
  std::uint32_t nextFall = 0;
};

// The pause menu's choice, kept from one pause to the next.
struct PauseMenu {
  int selected = 1;  // 1 Continue, 2 Exit to Menu, 3 Exit Game
  bool chosen = false;
  bool polled = false;
  std::uint32_t lastPoll = 0;
};

struct FightState {
  std::uint64_t frameNumber = 0;  // fight frames since the match began
  std::array<FighterState, 3> fighters;  // players 1 and 2 (0 unused)
  std::array<int, 3> RoundWins{};
  int round = 1;
  int RoundLoser = 0;
  bool FightStarted = false;
  bool PauseRequested = false;
  std::string pauseCommand;  // player 1's command while paused, for the menu
  PauseMenu pauseMenu;
  bool leaveMatch = false;   // "Exit to Menu" was chosen
  Long CameraX = 0;
  int stageWidth = 640;
  int firstPlayer = 1;  // the processing order: first, then the other
  PickUp pickUp;
  std::array<Flash, kMaxFlashes> flashes;
  int flashCount = 0;
  std::array<cParticle, 3> sparks;  // each player's hit sparks (0 unused)
  std::array<cParticle, 3> bubbles;  // each player's bubbles, started by a "BUBBLE" effect
  // The round's weather, when the stage has it and the Weather setting is on.
  bool raining = false;
  bool snowing = false;
  clsRain rain;
  Snow snow;
  bool roundBegins = true;  // the round's first frame is still to come
  double bannerScale = 1.7;
  std::uint32_t bannerStep = 0;
  // The computer's memory for each player it plays (0 unused; empty for a
  // player at the keys).
  std::array<std::optional<ComputerState>, 3> computer;
};

// The per-player copies of what the fight changes in content records (frame
// offsets, effect positions), so both players may be the same character.
struct FighterSlot {
  cCharacter character;
  FighterFrames frames;
};

struct FightSlots {
  std::array<FighterSlot, 3> players;  // 1 and 2
  cStage stage;
  FramePool effects;  // both players' effect frames
  std::shared_ptr<const Surface> ball;
  std::shared_ptr<const Surface> ballHighlight;
  std::shared_ptr<const Surface> flash;  // where a blow landed
  std::shared_ptr<const Surface> spark;  // one particle of a burst
  std::shared_ptr<const Surface> bubble;  // one bubble of a "BUBBLE" effect
  std::shared_ptr<const Surface> rain;    // one falling drop
  SnowPictures snow;                      // the three flakes
};

inline int Opponent(int player) {
  return 3 - player;
}

}  // namespace vdx
