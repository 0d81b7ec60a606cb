// The state of a match in progress as one plain value: everything a fight
// frame changes, and nothing else. Saving a frame is a copy of it, restoring
// one an assignment; it holds no pointer, string or heap container, so both
// are a copy of bytes. What it holds is visited field by field in
// fight_state_visit.h, which the state hash and the state dump use.
//
// The match's read-only part (the players' content, the pictures the pixel
// tests read, the stage) is FightSlots, beside it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>

#include "content/records.h"
#include "content/settings.h"
#include "core/random.h"
#include "core/small_text.h"
#include "effects/effect_animation.h"
#include "effects/particle_engine.h"
#include "effects/rain.h"
#include "effects/snow.h"
#include "graphics/frame_pool.h"

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
  // The computer's level for player 1 and player 2 (kLowestDifficulty to
  // kHighestDifficulty); read only for a player the computer plays.
  std::array<Integer, 2> levels{kProfileDifficulty, kProfileDifficulty};

  Integer Level(int player) const { return levels[static_cast<std::size_t>(player - 1)]; }
};

// The fight's clock: 60 frames a second (16 or 17 ms each) from a start far
// from 0, so the same inputs give the same timers on every machine at any
// speed, and the fight moves as it did on a 60 Hz display.
inline constexpr std::uint32_t kFightFramesPerSecond = 60;
inline constexpr std::uint32_t kFightClockStart = 1000000;

// A name held in the state (an action's, a move state's). Longer names are
// not loaded (the content check says so), so every name fits.
inline constexpr std::size_t kNameChars = kMostNameChars;
using Name = SmallText<kNameChars>;
// Command letters ("LRUDPKBE" at most, or an action's key sequence that the
// computer enters at once) and key sequences: an Activate longer than this
// can never be entered, by a player or by the computer.
inline constexpr std::size_t kCommandChars = 32;
using Command = SmallText<kCommandChars>;

// The effects of a fighter and the scenery of a stage that the fight runs
// (content with more has the rest skipped when it is read).
inline constexpr std::size_t kMaxFighterEffects = kMostFighterEffects;
inline constexpr std::size_t kMaxSceneryAnimations = kMostSceneryAnimations;

struct Rect {
  Long Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// One value for each player, looked up by the player's number (1 or 2).
template <typename T>
struct PerPlayer {
  std::array<T, 2> players{};
  T& operator[](std::size_t player) { return players[player - 1]; }
  const T& operator[](std::size_t player) const { return players[player - 1]; }
  auto begin() { return players.begin(); }
  auto end() { return players.end(); }
  auto begin() const { return players.begin(); }
  auto end() const { return players.end(); }
};

// A remembered pose of the afterimage trail.
struct TrailImage {
  Long frame = 0;  // CurrentFrame; 0: none yet
  Long x = 0, y = 0;
  int width = 256;
  bool facing = false;
};

// One letter entered into the special-move history, and when.
struct KeyEntry {
  char key = 0;
  std::uint32_t time = 0;
};

// A player's special-move input: the single letters entered during the last
// half second, in order. Only changes of the command count, so a letter held
// for many frames is entered once, and two letters held together are never
// entered (they still match an action's Activate directly). A frame enters at
// most one letter, so the half second holds at most 32.
inline constexpr std::size_t kKeyHistoryEntries = 32;
inline constexpr std::uint32_t kKeyHistoryMs = 500;
struct KeyHistory {
  std::array<KeyEntry, kKeyHistoryEntries> entries{};
  std::uint8_t count = 0;
  Command lastCommand;  // the command of the previous frame
  Command KeySequence;  // the entries' letters joined
};

// What a fighter shows this frame, taken where its turn draws it.
struct FighterPose {
  bool drawn = false;
  bool held = false;  // held in the opponent's grab: the grab's frames show it
  Long frame = 0;     // CurrentFrame
  Rect rect;
  bool facing = false;
  bool trail = false;  // the power mode's afterimages are drawn behind it
  std::array<TrailImage, 3> trailImages{};
};

// What one player's meters show this frame.
struct MetersPose {
  bool drawn = false;
  Integer health = 0;
  int comboCount = 0;
  int roundWins = 0;
  bool finisher = false;  // the fighter plays the finisher ("Sexuality")
};

// The falling pick-up where a turn draws it.
struct BallPose {
  bool drawn = false;
  Rect rect;  // on screen
  bool power = false;
};

// Each player's turn draws, back to front: its fighter, its meters, the
// pick-up, the pause menu (while paused) and its effects.
struct TurnPose {
  FighterPose fighter;
  MetersPose meters;
  BallPose ball;
  bool pauseMenu = false;
  int pauseItem = 1;
  bool bubbles = false;  // the player's bubbles are drawn with its effects
};

// What the frame shows besides the state as it ends: the turns in their
// order, and the stage behind them, which is the camera and scenery of the
// end of the frame before. The round's end leaves the poses of its last
// fight frame as they were.
struct ScenePose {
  bool fight = false;  // a fight frame was stepped (not the round's end)
  std::array<int, 2> order{1, 2};
  std::array<TurnPose, 3> turns{};  // players 1 and 2 (0 unused)
  bool sparks = false;              // the sparks are drawn over both turns
  bool background = false;          // the stage view is drawn
  Long backgroundCamera = 0;
  bool nextBackground = false;
  Long nextBackgroundCamera = 0;
  // The round's end shows the last fight frame still, and over it the result,
  // both meters and, while paused, the menu.
  std::array<MetersPose, 3> endMeters{};
  bool endPauseMenu = false;
  int endPauseItem = 1;
};

// One fighter's run-time state.
struct FighterState {
  Name ActionName = "Standing";
  Name MoveState = "Standing";
  Name previousAction;     // ActionName at the last pass, to see a change
  Long CurrentFrame = 1;   // the frame drawn, 1-based among the fighter's frames
  Long frameCounter = 0;   // NextFrameIndex's counter
  std::uint32_t AnimDue = 0;  // when the next step is due; 0: not set
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
  Rect FighterRect;          // where the fighter was last drawn
  Command ignoredLetters;    // letters held since the round began, ignored until let go
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
  std::array<TrailImage, 3> trail{};
  std::uint32_t trailRefreshed = 0;
  // This frame's command letters and the special-move history.
  Command HeldCommand;
  KeyHistory history;
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

enum class ComputerStep : std::uint8_t {
  Decide, Approach, CloseAttack, FarAttack, React, BackOff, Wait, JumpIn
};

// What the computer remembers between frames, for a player it plays. A match
// starts with a fresh one (nothing is carried from the match before); it goes
// on through the rounds.
struct ComputerState {
  bool plays = false;               // the computer plays this player
  std::uint32_t decisionDelay = 0;  // ms from lastDecision until the state falls back to Decide
  std::uint32_t lastDecision = 0;   // tick count when the delay was drawn
  ComputerStep state = ComputerStep::Decide;
  Name lastSeenAction;            // the opponent's action the computer last took note of
  bool wantsCloseAttack = false;  // the last offensive decision's Attack roll
  bool wantsFarAttack = false;    // its AttackFar roll
  std::int16_t backOffMark = 0;  // the player's x while backing off, 0 otherwise (nothing reads it)
};

// The end of a round: the fight stands still under the result until Punch.
struct RoundEndState {
  bool active = false;
  bool matchOver = false;
  std::uint32_t began = 0;        // the fight's clock at its first frame
  std::uint64_t firstFrame = 0;   // its first frame
};

// One player's effects as they run, in the order of the character's Effects.
struct EffectRuns {
  std::array<EffectRun, kMaxFighterEffects> runs{};
  std::uint8_t count = 0;  // the character's effects, within the room above
};

struct SceneryRuns {
  std::array<AnimRun, kMaxSceneryAnimations> runs{};
  std::uint8_t count = 0;
};

struct FightState {
  std::uint64_t frameNumber = 0;  // fight frames since the match began
  RandomGenerator random{};       // the only source of the fight's rolls
  std::array<FighterState, 3> fighters{};  // players 1 and 2 (0 unused)
  std::array<int, 3> RoundWins{};
  int round = 1;
  int RoundLoser = 0;
  bool FightStarted = false;
  bool PauseRequested = false;
  Command pauseCommand;  // player 1's command while paused, for the menu
  PauseMenu pauseMenu;
  bool leaveMatch = false;   // "Exit to Menu" was chosen
  bool leaveGame = false;    // "Exit Game" was chosen
  Long CameraX = 0;
  int stageWidth = 640;
  int firstPlayer = 1;  // the processing order: first, then the other
  PickUp pickUp;
  std::array<Flash, kMaxFlashes> flashes{};
  int flashCount = 0;
  PerPlayer<cParticle> sparks;   // each player's hit sparks
  PerPlayer<cParticle> bubbles;  // each player's bubbles, started by a "BUBBLE" effect
  PerPlayer<EffectRuns> effects;  // each player's effects
  SceneryRuns scenery;
  // The round's weather, when the stage has it and the Weather setting is on.
  bool raining = false;
  bool snowing = false;
  clsRain rain;
  Snow snow;
  bool roundBegins = true;  // the round's first frame is still to come
  double bannerScale = 1.7;
  std::uint32_t bannerStep = 0;
  RoundEndState roundEnd;
  // The computer's memory for each player (0 unused).
  std::array<ComputerState, 3> computer{};
  ScenePose scene;
};

static_assert(std::is_trivially_copyable_v<FightState>,
              "a save is a copy of bytes: no pointer, string or container in the state");

// The fight's clock at a frame, in ms.
inline std::uint32_t FightClockAt(std::uint64_t frame) {
  return kFightClockStart + static_cast<std::uint32_t>(frame * 1000 / kFightFramesPerSecond);
}
// The fight's clock of the state's current frame.
inline std::uint32_t FightClock(const FightState& fight) {
  return FightClockAt(fight.frameNumber);
}

// The settings a fight's rules read.
struct MatchRules {
  Integer rounds = 1;
  int characterWidth = 256;  // the frame width the stage bounds use
  bool weather = false;
  bool pickUps = true;  // the power and health balls fall (training takes them away)
};

// The per-player copies of the content a fight reads (frame offsets are set
// per round), so both players may be the same character; read-only while a
// round runs.
struct FighterSlot {
  cCharacter character;
  FighterFrames frames;
  const cAI* profile = nullptr;  // its computer profile in ai.xml; none: neutral
};

struct FightSlots {
  MatchSetup setup;
  MatchRules rules;
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
