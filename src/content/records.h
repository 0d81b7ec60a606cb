// The content records: plain structs whose fields keep the content format's names,
// types and order. Behaviour lives in the subsystems' free functions.
//
// Field types follow the content format: Integer is 16-bit, Long 32-bit, Single
// and Double floating point. A new record has every number 0, every Boolean false,
// every String empty, unless a field says otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "content/collection.h"

namespace vdx {

using Integer = std::int16_t;
using Long = std::int32_t;
using Single = float;
using Double = double;

// What a fight keeps of content in its state, which has a fixed size: names
// of actions up to this long, and this many effects of a fighter and pieces
// of scenery of a stage. Content beyond is skipped when it is read (and
// reported).
inline constexpr std::size_t kMostNameChars = 47;
inline constexpr std::size_t kMostFighterEffects = 64;
inline constexpr std::size_t kMostSceneryAnimations = 64;

// One hit box of a frame, in frame pixels.
struct cCol {
  Integer xLeft = 0;
  Integer xRight = 0;
  Integer yTop = 0;
  Integer yBottom = 0;
};

// One action (move, pose) of a character.
struct cAction {
  std::string Name;
  Long Offset = 0;      // index of the first frame among the fighter's loaded frames
  std::string Sprites;  // base name of the frame files
  std::string AlternateSprites;
  std::string AlternateSprites2;
  Integer Count = 0;  // number of frames (halved in low detail)
  Integer AnimationSpeed = 0;
  std::string AnimationType;  // XML AnimType
  std::string Activate;       // command letters that start the action
  std::string Motion;         // movement per step, a number kept as text
  Integer Speed = 0;
  bool FlipSprites = false;
  Integer Damage = 0;
  std::string Performed;
  std::string SFX;
  Integer HoldLastFrame = 0;
  Integer JumpSpeed = 0;
  Long TopJumpFrame = 0;
  Long NextFire = 0;
  std::string NextAction;
  std::string NextActionOccurs;
  bool ShowParticles = false;
  bool HardHit = false;
  bool HighHit = false;
  bool MidHit = false;
  std::vector<std::string> EffectList;  // names of effects started with this action, may repeat
  std::string Alias;                    // action whose frames are shown; its own Name by default
  bool StopMovement = false;
  bool bCanHit = true;  // XML CanHit
  bool bLarge = false;  // XML Large: 364-pixel-wide frames
  Integer aStep = 0;    // frame file step: 1, or 2 in low detail
  Integer xOffset = 0;
  Integer yOffset = 0;
  std::vector<std::vector<cCol>> smartCollisions;  // per frame, its hit boxes
};

// One effect or projectile of a character.
struct cEffect {
  bool bFlip = false;
  std::string Name;
  Integer animX = 0;
  Integer animY = 0;
  Integer Frames = 0;
  Integer Height = 0;
  Integer Width = 0;
  Integer MoveHorizontal = 0;
  Integer MoveVertical = 0;
  Integer MaxLeft = 0;
  Integer MaxRight = 0;
  Integer MaxTop = 0;
  Integer MaxBottom = 0;
  bool ReverseMotion = false;
  Integer DisplayRate = 0;
  std::string SFX;
  Long TransColor = 0;  // colour key, 0x00BBGGRR
  std::string Sprites;
  Long Interval = 0;  // ms per frame
  Integer SpriteType = 0;
  Double Angle = 0;
  Double AngleChange = 0;
  Long AngleInterval = 0;  // ms per rotation step
  Double Alpha = 0;
  Double AlphaChange = 0;
  Long AlphaInterval = 0;
  Double ScaleChange = 0;
  Long ScaleInterval = 0;
  Integer BlendMode = 0;
  bool bReverse = true;  // XML Reverse
  std::string AltEffect;
  Single Red = 0;
  Single Blue = 0;
  Single Green = 0;
  std::string NextEffect;
  Integer Damage = 0;
  Long StartDelay = 0;  // ms before the effect starts
  std::string Alias;
  bool HardHit = false;
  bool ShowParticles = false;
  bool bActive = false;
  Integer Offset = 0;  // index of the first frame among the loaded effect frames
  Integer X = 0;
  Integer Y = 0;
  Integer CurFrame = 0;
  Long LastAngleTick = 0;
  Long LastAlphaTick = 0;
  Long LastScaleTick = 0;
  Long LastTickCount = 0;
  Long Duration = 0;
  bool bFirst = false;
  Double oAlpha = 0;  // load-time copies, used to reset the effect
  Double oAlphaChange = 0;
  Double oAngle = 0;
  Long oHeight = 0;
  Long oWidth = 0;
  Double oAngleChange = 0;
  std::string ActionName;  // the action that starts this effect, or "None"
  Long DelayCount = 0;
  bool HasHit = false;
};

// One fighter.
struct cCharacter {
  std::string Name;
  std::string Number;
  Integer Health = 0;
  Collection<cAction> Actions;
  std::string Path;  // folder under Characters
  std::string Portrait;
  Long pX = 0;
  Long pY = 0;
  std::string OnSelectAnim;
  std::string SelectSound;
  Long TransColor = 0;
  Long yOffset = 0;
  bool UseVDP = false;  // frames come as packed .VDP files
  Collection<cEffect> Effects;
  Integer ShadowOffset = 0;
  Integer CharCount = 0;  // 1-based position among all Character elements of the file
  bool Hidden = false;
  std::string GlowColor;
  bool Disabled = false;
};

// One scenery animation of a stage.
struct cAnim {
  std::string Name;
  Integer animX = 0;
  Integer animY = 0;
  Integer Frames = 0;
  Integer Height = 0;
  Integer Width = 0;
  Integer MoveHorizontal = 0;
  Integer MoveVertical = 0;
  Integer MaxLeft = 0;
  Integer MaxRight = 0;
  Integer MaxTop = 0;
  Integer MaxBottom = 0;
  bool ReverseMotion = false;
  Integer DisplayRate = 0;
  std::string SFX;
  Long TransColor = 0;
  std::string Sprites;
  Long Interval = 0;
  Integer SpriteType = 0;
  Double Angle = 0;
  Double AngleChange = 0;
  Long AngleInterval = 0;
  Double Alpha = 0;
  Double AlphaChange = 0;
  Long AlphaInterval = 0;
  Integer BlendMode = 0;
  Single Red = 0;
  Single Green = 0;
  Single Blue = 0;
  std::string Alias;
  bool bLoop = false;  // XML Loop
  Integer Offset = 0;
  Integer X = 0;
  Integer Y = 0;
  Long Duration = 0;
  Integer CurFrame = 0;
  Long LastTickCount = 0;
  Long LastAngleTick = 0;
  Long LastAlphaTick = 0;
  bool bFirst = false;
};

struct cStage {
  std::string Name;
  std::string Background;
  Integer Width = 0;  // pixels
  Collection<cAnim> Animations;
  Integer pX = 0;
  Integer pY = 0;
  std::string Music;
  bool bSnow = false;
  bool bRain = false;
  bool Disabled = false;
};

struct cEvent {
  std::string EventType;  // XML Type: "OnWinRound", "OnLoseGame", ...
  std::string Action;
  std::string File;
};

struct cMenu {
  std::string Name;
  Integer mType = 0;  // XML Type
  Integer X = 0;
  Integer Y = 0;
};

// A text style.
struct cFont {
  std::string Name;  // typeface
  Integer Size = 0;
  bool Italic = false;
  bool Bold = false;
  Integer xOffset = 0;
  Integer yOffset = 0;
  Long FontColor = 0;  // 0x00BBGGRR
  std::string Text;
};

// One player's keyboard binding, DirectInput key codes. Backward is the key for
// the left of the screen and Forward the key for the right.
struct cKeys {
  Integer Up = 0;
  Integer Down = 0;
  Integer Forward = 0;
  Integer Backward = 0;
  Integer Punch = 0;
  Integer Kick = 0;
  Integer Block = 0;
};

// One entry of a player's recent-input history.
struct cSpecialKeys {
  std::string Key;
  Long Timestamp = 0;
};

// One move the computer opponent may choose.
struct cMoves {
  std::string Name;   // action name
  std::string mType;  // XML Type
  std::string Region;
  bool Attack = true;
};

// A computer-opponent profile.
struct cAI {
  Integer Aggression = 0;
  Integer Block = 0;
  Integer Attack = 0;
  Integer AttackFar = 0;
  Integer Retreat = 0;
  Collection<cMoves> Moves;
};

// One rung of a story ladder.
struct cOpponents {
  std::string Name;        // a character's Name
  std::string stage;       // XML Stage: a stage's Name
  std::string beforefile;  // XML BeforeFile: movie played before the fight
};

struct cStory {
  std::string Character;             // XML Name
  Integer OpponentCount = 0;         // XML Opponents
  std::string WinFile;               // movie played after the whole ladder
  Collection<cOpponents> Opponents;  // in ladder order
};

// A glyph of the bitmap font, in pixels of the font picture.
struct cRect {
  Integer Left = 0;
  Integer Right = 0;
  Integer Top = 0;
  Integer Bottom = 0;
};

// A screen flash.
struct cFlash {
  Integer mType = 0;
  Long mColor = 0;
  Long mDuration = 0;
  Single rX = 0;
  Single rY = 0;
  Single mStart = 0;
  Single mAngle = 0;
  Long lastFlash = 0;
};

}  // namespace vdx
