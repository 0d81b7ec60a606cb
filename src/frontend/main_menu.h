// The main menu, the screen the game always comes back to: the items of
// Game.xml's Menu as strips of text.bmp in a column, the selected one tinted
// red; player 1 moves with Up and Down and chooses with Punch.
#pragma once

#include <optional>
#include <string_view>

#include "content/records.h"
#include "game/game.h"

namespace vdx {

// What an item's Type starts.
enum MenuType : Integer {
  kMenuOnePlayer = 1,   // player 1 against the computer
  kMenuTwoPlayers = 2,  // player 1 against player 2
  kMenuExit = 3,        // the help page, and the game ends
  kMenuStory = 4,       // a story ladder
  kMenuTraining = 5,    // training against a dummy
};

bool StartsAMode(Integer mType);

// Where item `item` (from 1) is on the menu picture: rows top to top + 42,
// columns 0 to width (150 for the fourth item, 200 for the others). None for an
// item whose strip would lie below the 512 rows of the picture.
struct MenuStrip {
  int top = 0;
  int width = 0;
};
std::optional<MenuStrip> MenuItemStrip(int item);

inline constexpr int kMenuX = 220;
inline constexpr int kMenuY = 200;  // item i at kMenuY + (i - 1) x kMenuStep
inline constexpr int kMenuStep = 45;
inline constexpr int kMenuStripHeight = 42;

// The selection after player 1's letters: "U" one up, "D" one down, kept
// between 1 and the number of items (no wrapping).
int MoveMenuSelection(int selected, std::string_view letters, int itemCount);

// Runs the menu with its tune until player 1 chooses an item whose Type starts
// a mode, and returns that Type; 0 when the game is closing. An item of any
// other Type does nothing when chosen (it is logged, and --check-content lists
// it).
Integer ShowMenu(Game& game);

}  // namespace vdx
