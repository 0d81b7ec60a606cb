// The pause menu's item colours: the content's menu colours, or white and red
// for a Game.xml that gives none.
#include <gtest/gtest.h>

#include "match/pause_menu.h"

namespace vdx {
namespace {

TEST(PauseMenu, ItemsTakeTheMenuColoursOfTheContentWhenItGivesTwo) {
  struct Case {
    Long colour, highlight;  // the Menu's Color and HighlightColor (0x00BBGGRR)
    Long plain, chosen;      // what the items are drawn in
  };
  const Case cases[] = {
      {0, 0, 0xFFFFFF, 0x0000FF},                // neither given: white and pure red
      {0x402030, 0x402030, 0xFFFFFF, 0x0000FF},  // the same twice: no way to see the choice
      {0x401830, 0x0000A0, 0x401830, 0x0000A0},
      {0xFFFFFF, 0x0000FF, 0xFFFFFF, 0x0000FF},
      {0x000000, 0x00FFFF, 0x000000, 0x00FFFF},  // black is a colour like any other
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.MenuColor = c.colour;
    settings.MenuHighlightColor = c.highlight;
    const auto [plain, chosen] = PauseMenuColours(settings);
    EXPECT_EQ(plain, c.plain) << std::hex << c.colour << " " << c.highlight;
    EXPECT_EQ(chosen, c.chosen) << std::hex << c.colour << " " << c.highlight;
  }
}

}  // namespace
}  // namespace vdx
