// Finding the game folder without --game-dir: beside the program, else the
// installed one, else the installation's own relative to the program.
#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include "unit/test_folder.h"

namespace vdx::platform {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolder, TheGameIsLookedForBesideTheProgramThenInstalledThenRelative) {
  testing::TestFolder folder;
  const fs::path prefix = folder.path() / "prefix";
  const fs::path programs = prefix / "games";
  const fs::path relative = prefix / "share" / "games" / "vdx";
  const fs::path installed = folder.path() / "usr" / "share" / "games" / "vdx";
  fs::create_directories(programs);

  GameFolderSearch none = FindGameFolder(programs, installed);
  EXPECT_EQ(none.found, std::nullopt);
  EXPECT_EQ(none.tried, (std::vector<fs::path>{programs, installed, relative}));
  const std::string message = NoGameFolderMessage(none, "vdx");
  EXPECT_EQ(message, "no game folder found (looked for Game.xml in " + programs.string() + ", " +
                         installed.string() + " and " + relative.string() +
                         "); name the game's folder with vdx --game-dir DIR");

  folder.write("prefix/share/games/vdx/Game.xml", "<Vandrel/>");
  EXPECT_EQ(FindGameFolder(programs, installed).found, relative) << "a moved installation";
  folder.write("usr/share/games/vdx/game.XML", "<Vandrel/>");
  EXPECT_EQ(FindGameFolder(programs, installed).found, installed) << "any letter case";
  folder.write("prefix/games/Game.xml", "<Vandrel/>");
  EXPECT_EQ(FindGameFolder(programs, installed).found, programs) << "a built or unpacked game";

  // A folder named Game.xml is not a game; a folder tried twice is named once.
  fs::create_directories(folder.path() / "odd" / "Game.xml");
  EXPECT_FALSE(HoldsGameXml(folder.path() / "odd"));
  const GameFolderSearch twice = FindGameFolder(folder.path() / "odd", folder.path() / "odd");
  EXPECT_EQ(twice.tried.size(), 2u);
}

}  // namespace
}  // namespace vdx::platform
