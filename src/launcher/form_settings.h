// The settings the launcher edits, as Game.xml holds them: the two volumes, the
// controller flag and the computer's level on the root element, both players' keys in the
// Player1Keys and Player2Keys elements beneath it.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vdxlaunch {

inline constexpr int kKeyBoxCount = 14;
// The computer's levels, as the game reads Difficulty.
inline constexpr int kLowestLevel = 1;
inline constexpr int kHighestLevel = 8;

struct FormSettings {
  int MusicVolumePct = 100;    // percent, the root's MusicVolume
  int EffectsVolumePct = 100;  // percent, the root's SoundVolume
  bool JoystickOn = false;     // the root's Joystick
  int Difficulty = 4;          // the root's Difficulty: the computer's level, 1 to 8
  // 0 Up, 1 Down, 2 Backward, 3 Forward, 4 Punch, 5 Kick, 6 Block of player 1,
  // 7..13 the same for player 2: DirectInput key codes, 0 for none.
  std::array<int, kKeyBoxCount> KeyCodes{};

  bool operator==(const FormSettings&) const = default;
};

// The element and attribute that hold key box `index`: Player1Keys or
// Player2Keys, and Up, Down, Backword (the file's spelling), Forward, Punch,
// Kick or Block.
const char* KeyElementOf(int index);
const char* KeyAttributeOf(int index);

struct GameXmlSettings {
  bool readable = false;  // well-formed XML with a root element
  std::string problem;    // why not: "Game.xml line 3: the file is not well-formed XML (...)"
  FormSettings settings;  // as read; the defaults where absent or not a number
};

// Reads the file's bytes as the game does: an absent attribute, or one that
// does not convert, leaves the default (100, 100, False, level 4, keys 0); a
// level outside 1..8 is held to the nearest, as the game holds it; a second
// Player1Keys element is read over the first.
GameXmlSettings ReadFormSettings(std::string_view bytes);

// One attribute to write: on the root element (`element` empty) or on every
// child of the root with that name.
struct AttributeEdit {
  std::string element;
  std::string attribute;
  std::string value;

  bool operator==(const AttributeEdit&) const = default;
};

// The attributes whose value the player changed from `loaded` to `now`, in the
// file's order: MusicVolume, SoundVolume, Joystick ("True" or "False"), Difficulty, then
// the keys of player 1 and player 2. Nothing else is written, so a value the
// player left alone keeps its text, however it is spelled.
std::vector<AttributeEdit> ChangedAttributes(const FormSettings& loaded, const FormSettings& now);

}  // namespace vdxlaunch
