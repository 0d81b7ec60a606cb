// The settings read from the root of Game.xml and its screen elements.
#pragma once

#include <string>

#include "content/records.h"

namespace vdx {

// The rounds a match can have: what --rounds accepts and what Game.xml's Rounds
// is held to. Without a Rounds attribute the setting is 0, played as 1.
inline constexpr Integer kFewestRounds = 1;
inline constexpr Integer kMostRounds = 7;

// The computer's levels: what --difficulty accepts and what Game.xml's
// Difficulty is held to. The middle level plays the ai.xml profiles as they
// are written; it is what a folder without the setting gets.
inline constexpr Integer kLowestDifficulty = 1;
inline constexpr Integer kHighestDifficulty = 8;
inline constexpr Integer kProfileDifficulty = 4;

struct Settings {
  std::string GameTitle;   // caption of the window
  bool LowDetail = false;  // actions over 3 frames load at half their frames
  bool Weather = false;
  bool Shadows = false;
  Integer Rounds = 0;
  Integer Difficulty = kProfileDifficulty;  // the computer's level in the menu's matches
  bool Joystick = false;
  Integer MusicVolume = 0;  // percent 0..100
  Integer SoundVolume = 0;  // hundredths of a decibel: 0 full, -3000 is 30 dB down
  Integer CharacterHeight = 0;
  Integer CharacterWidth = 0;
  Integer PortraitWidth = 0;
  Integer PortraitHeight = 0;
  Long MenuHighlightColor = 0;  // 0x00BBGGRR
  Long MenuColor = 0;
  Integer StageSelectWidth = 0;
  Integer StageSelectHeight = 0;
  std::string StageSelectBackground;
  std::string SelectScreenBackground;
  std::string SelectScreenMusic;
  std::string SelectScreenSound;
  std::string SplashScreen;
  std::string MenuBack;
  cFont PleaseWaitFont;
  cFont GameOverFont;
  cFont RoundLossFont;
  cFont HealthMeterFont;
  cFont MenuFont;
  cKeys Player1Keys;
  cKeys Player2Keys;
};

}  // namespace vdx
