// The character select screen: "Random" and then every character of Game.xml
// in a row that each player's cursor walks with Left and Right (wrapping at
// both ends); Punch confirms, player 1's Escape goes back to the menu. With one
// player, player 1 picks its fighter and then, with the same keys, the
// opponent; in story mode only its own fighter. A "Random" pick becomes a real
// character at the end.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "content/content.h"
#include "core/random.h"
#include "game/game.h"
#include "graphics/sprite_loading.h"

namespace vdx {

enum class SelectFor { OnePlayer, TwoPlayers, Story };

inline constexpr std::string_view kRandomEntry = "Random";

// The screen's state. Entry 1 is "Random", entry k + 1 the k-th character.
struct CharacterSelect {
  SelectFor mode = SelectFor::TwoPlayers;
  int entries = 1;                     // "Random" and the characters
  std::array<int, 3> cursor{0, 2, 3};  // players 1 and 2 (0 unused)
  std::array<bool, 3> chosen{};
  std::array<std::string, 3> chosenName;   // "Random" until resolved
  std::array<std::string, 3> lastLetters;  // a confirmation wants Punch pressed anew
  bool back = false;                       // player 1 asked for the menu
};

// The screen as it opens: the cursors on entries 2 and 3, or the last entry
// when there are fewer.
CharacterSelect StartCharacterSelect(const Collection<cCharacter>& characters, SelectFor mode);

// One menu frame of both players' letters. A player who has chosen is held to
// the choice; in one-player mode player 2's cursor follows player 1's keys once
// player 1 has chosen. In story mode a character without a ladder in
// story.xml cannot be chosen.
void StepCharacterSelect(CharacterSelect& select, const Content& content,
                         const std::string& player1Letters, const std::string& player2Letters);

// One player's letters for a menu frame, as StepCharacterSelect steps each
// player (no Escape, nothing for the other player): for a screen where each
// machine steps only the player at its keys.
void StepCharacterSelectPlayer(CharacterSelect& select, const Content& content, int player,
                               const std::string& letters);

// Puts a player's cursor where the other machine says it stands, chosen there
// or not. Ignored (false) for an entry out of range, a choice of an entry that
// cannot be chosen, or a player who has chosen already.
bool PlaceCharacterCursor(CharacterSelect& select, const Content& content, int player, int cursor,
                          bool chosen);

// The players the mode needs have chosen.
bool SelectionDone(const CharacterSelect& select);

// The character for a "Random" pick: any character but the one the other
// player holds (disabled ones too), drawn uniformly; the same one when there is
// no other. Empty when there are no characters.
std::string ResolveRandom(RandomGenerator& random, const Collection<cCharacter>& characters,
                          const std::string& otherPlayer);

// The names both players chose, resolved.
struct ChosenFighters {
  std::string player1;
  std::string player2;  // empty in story mode
};

// The screen on the display: its background, the portraits under the cursors
// (decoded as they come on screen), and its state for a script's request.
class CharacterSelectScreen {
 public:
  explicit CharacterSelectScreen(Game& game);  // loads the background
  void draw(const CharacterSelect& select);
  std::string stateJson(const CharacterSelect& select) const;

 private:
  Game& game_;
  CharacterPortraits pictures_;
};

// The chosen names with a "Random" pick drawn from `random` as ResolveRandom
// does, player 1's first (player 2 empty in story mode).
ChosenFighters ResolveFighters(const CharacterSelect& select,
                               const Collection<cCharacter>& characters, RandomGenerator& random);

// Runs the screen; nothing when player 1 goes back to the menu, the game
// closes or there is no character to choose.
std::optional<ChosenFighters> LoadSelectScreenNew(Game& game, SelectFor mode);

}  // namespace vdx
