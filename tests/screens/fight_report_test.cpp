// What ends a fight from inside: the machine failing under it.
#include <gtest/gtest.h>

#include "content/get_xml.h"
#include "match/fight_loop.h"
#include "game/fatal_error.h"
#include "platform/display_restore.h"
#include "platform/headless/headless_platform.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

// A display lost for good while a match is shown: made anew a few times, then
// the fight's own report ends the game, instead of a retry that never ends.
TEST(FightReport, ADisplayThatStaysLostEndsTheGameWithTheFightsReport) {
  testing::TestFolder folder;
  platform::HeadlessPlatform platform;
  Game game(platform, VDX_DEMO_DIR);
  game.log.path = folder.path() / "log.txt";
  GetXML(game.paths, game.settings, game.content, game.loadReport);
  platform.failures().displayLost = true;
  MatchSetup setup;
  setup.player1 = "Kira";
  setup.player2 = "Brann";
  setup.stage = "Harbour";
  try {
    PlayMatch(game, setup);
    ADD_FAILURE() << "the match must end the game";
  } catch (const ProgramExit& exit) {
    EXPECT_EQ(exit.status, 1);
  }
  EXPECT_EQ(platform.displayRestores(), platform::kDisplayRestores);
  EXPECT_TRUE(game.QuitRequested);
  EXPECT_EQ(folder.read("log.txt"),
            "\"Error in PlayLoop\"\r\n"
            "\"1 the display was lost and could not be made anew (3 attempts): the device is "
            "gone\"\r\n");
  ASSERT_FALSE(platform.messageBoxes().empty());
  EXPECT_EQ(platform.messageBoxes().back().title, "Vandrel Error");
}

}  // namespace
}  // namespace vdx
