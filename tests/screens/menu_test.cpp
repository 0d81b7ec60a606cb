// The game from a cold start, played through its menus by scripts on the
// headless platform: the title, the main menu, the select screens, matches
// and story ladders, read back through the screens' state dumps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <variant>

#include "content/content_files.h"
#include "content/get_xml.h"
#include "platform/headless/headless_platform.h"
#include "platform/picture_files.h"
#include "screens/json_scan.h"
#include "startup/main_routine.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

// A state dump's "key": value pairs (of a fight's dump, its first level:
// "frame", "CameraX", ...; a player's fields as "p1 key", "p2 key").
std::map<std::string, std::string> ParseFlat(const std::string& json) {
  std::map<std::string, std::string> fields;
  std::string prefix;
  const auto players = json.find("\"players\"");
  const auto playersEnd = players == std::string::npos ? players : json.find(']', players);
  testing::ScanJsonFields(json,
                          [&](std::size_t at, const std::string& key, const std::string& value) {
                            if (key == "player") prefix = "p" + value + " ";
                            if (playersEnd != std::string::npos && at > playersEnd) prefix.clear();
                            fields[prefix + key] = value;
                          });
  return fields;
}

// Holding a key for one menu frame (menus look at the keys every 101 ms), then
// letting it go long enough for the next frame to see it gone.
std::string Hold(const std::string& key, int ms = 100) {
  return "press " + key + "\nwait " + std::to_string(ms) + "\nrelease " + key + "\nwait 250\n";
}
std::string Confirm(const std::string& key) {
  return Hold(key, 150);
}

// From a cold start the title movie plays; Escape ends it.
const std::string kToTheMenu = "wait 800\n" + Confirm("Escape") + "wait 300\n";
// An event movie ignores keys for two seconds; then Kick ends it.
const std::string kSkipMovie = "wait 2100\ntap S\nwait 300\n";

// Kira starts the fight (its first key does nothing else), walks up to the
// opponent and punches until it falls (with a weak opponent the first blow
// does it).
std::string PunchOut(int punches) {
  std::string script = "tap D\nwait 300\npress Right\nwait 2500\n";
  for (int i = 0; i < punches; ++i)
    script += "press A\nwait 110\nrelease A\nwait 240\n";
  return script + "release Right\n";
}

class Menus : public ::testing::Test {
 protected:
  // Runs vdx with `script`; "state NAME" lines write NAME.json into the test
  // folder. Returns the exit status.
  int run(std::string script, const std::filesystem::path& gameDir = VDX_DEMO_DIR,
          const char* commandLine = "1", RunRequest request = {}) {
    std::string written;
    std::size_t at = 0;
    while (at < script.size()) {
      const auto lineEnd = std::min(script.find('\n', at), script.size());
      const std::string line = script.substr(at, lineEnd - at);
      if (line.rfind("state ", 0) == 0)
        written += "state " + (folder.path() / (line.substr(6) + ".json")).string() + "\n";
      else if (line.rfind("screenshot ", 0) == 0)
        written += "screenshot " + (folder.path() / line.substr(11)).string() + "\n";
      else
        written += line + "\n";
      at = lineEnd + 1;
    }
    auto parsed = platform::ParseScript(written);
    EXPECT_TRUE(std::holds_alternative<platform::Script>(parsed));
    machine = std::make_unique<platform::HeadlessPlatform>();
    machine->runScript(std::get<platform::Script>(std::move(parsed)));
    Game game(*machine, gameDir);
    game.log.path = folder.path() / "log.txt";
    if (prepare) prepare(game);
    return Main(game, commandLine, request);
  }

  std::map<std::string, std::string> state(const std::string& name) {
    return ParseFlat(folder.read(name + ".json"));
  }

  std::vector<std::string> moviesOpened() const {
    std::vector<std::string> movies;
    for (const std::string& call : machine->audioCalls())
      if (call.rfind("openMovie ", 0) == 0)
        movies.push_back(std::filesystem::path(call.substr(10)).filename().string());
    return movies;
  }

  // The demo folder with some files of its own (the rest linked).
  std::filesystem::path DemoWith(const std::map<std::string, std::string>& files) {
    const auto dir = folder.path() / "demo";
    std::filesystem::create_directories(dir);
    for (const auto& entry : std::filesystem::directory_iterator(VDX_DEMO_DIR))
      if (!files.contains(entry.path().filename().string()) &&
          entry.path().filename() != "save.dat")
        std::filesystem::create_symlink(entry.path(), dir / entry.path().filename());
    for (const auto& [name, bytes] : files)
      folder.write("demo/" + name, bytes);
    return dir;
  }

  std::string DemoGameXml(const std::string& from, const std::string& to) {
    std::ifstream in(std::filesystem::path(VDX_DEMO_DIR) / "Game.xml", std::ios::binary);
    std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto at = xml.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return xml.replace(at, from.size(), to);
  }

  testing::TestFolder folder;
  std::unique_ptr<platform::HeadlessPlatform> machine;
  std::function<void(Game&)> prepare;  // run before Main, on the new game
};

// Pixels of a menu strip (item i, 200 x 42 at (220, 200 + 45 (i - 1))) that
// are bright red, and those that are bright white.
struct StripColours {
  int red = 0;
  int white = 0;
};
StripColours CountStrip(const platform::Image& shot, int item) {
  StripColours c;
  for (int y = 200 + 45 * (item - 1); y < 242 + 45 * (item - 1); ++y)
    for (int x = 220; x < 420; ++x) {
      const std::uint32_t p = shot.pixels[static_cast<std::size_t>(y) * shot.width + x];
      const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
      if (r > 200 && g < 40 && b < 40) ++c.red;
      if (r > 230 && g > 230 && b > 230) ++c.white;
    }
  return c;
}

TEST_F(Menus, TheTitleLeadsToTheMenuWhereUpAndDownMoveTheRedItem) {
  EXPECT_EQ(run(kToTheMenu + "state menu\nscreenshot menu.png\n" + Hold("Down") + "state down\n" +
                "screenshot down.png\n" + Hold("Down") + Hold("Down") + Hold("Down") +
                Hold("Down") + "state last\n" + Hold("Up", 600) + "state top\nquit\n"),
            0);
  EXPECT_EQ(state("menu")["screen"], "menu");
  EXPECT_EQ(state("menu")["selected"], "1");
  EXPECT_EQ(state("down")["selected"], "2");
  EXPECT_EQ(state("last")["selected"], "5") << "no wrapping past the last item";
  EXPECT_EQ(state("top")["selected"], "1") << "a held key walks up, 10 steps a second";
  EXPECT_EQ(moviesOpened(), std::vector<std::string>{"VDTitle.avi"});
  const auto menu = platform::ReadPng((folder.path() / "menu.png").string());
  const auto down = platform::ReadPng((folder.path() / "down.png").string());
  ASSERT_TRUE(menu && down);
  EXPECT_GT(CountStrip(*menu, 1).red, 300) << "the selected item is red";
  EXPECT_EQ(CountStrip(*menu, 1).white, 0);
  EXPECT_GT(CountStrip(*menu, 2).white, 300) << "the others are white";
  EXPECT_EQ(CountStrip(*menu, 2).red, 0);
  EXPECT_GT(CountStrip(*down, 2).red, 300);
  EXPECT_GT(CountStrip(*down, 1).white, 300);
}

TEST_F(Menus, AQuickTapBetweenTwoLooksAtTheKeysStillCountsOnce) {
  // The menu looks at the keys 10 times a second; taps of 20 ms fall between.
  const std::string tap = "wait 30\npress Down\nwait 20\nrelease Down\nwait 150\n";
  EXPECT_EQ(run(kToTheMenu + tap + "state one\n" + tap + "state two\nquit\n"), 0);
  EXPECT_EQ(state("one")["selected"], "2");
  EXPECT_EQ(state("two")["selected"], "3");
}

TEST_F(Menus, ReturnEndsTheTitleAndAPunchHeldIntoTheMenuChoosesNothing) {
  EXPECT_EQ(run("wait 800\n" + Confirm("Return") + "state afterReturn\nquit\n"), 0);
  EXPECT_EQ(state("afterReturn")["screen"], "menu");
  EXPECT_EQ(run("wait 800\npress A\nwait 1000\nstate held\nrelease A\nwait 300\n" + Confirm("A") +
                "wait 300\nstate chosen\nquit\n"),
            0);
  EXPECT_EQ(state("held")["screen"], "menu") << "the Punch that ended the title chooses nothing";
  EXPECT_EQ(state("chosen")["screen"], "characterSelect");
}

TEST_F(Menus, TwoPlayersPickAStageFightOneRoundAndComeBackToTheMenu) {
  RunRequest oneRound;
  oneRound.rounds = 1;
  EXPECT_EQ(
      run(kToTheMenu + Hold("Down") + Confirm("A") + "wait 300\nstate select\n" + Confirm("A") +
              "state onePicked\n" + Confirm("Q") + "wait 300\nstate stage\n" + Confirm("A") +
              "wait 1000\nstate fight\n" + PunchOut(24) + "wait 500\nstate ko\n" + Confirm("A") +
              kSkipMovie + kSkipMovie + "wait 500\nstate back\nquit\n",
          VDX_DEMO_DIR, "1", oneRound),
      0);
  EXPECT_EQ(state("select")["screen"], "characterSelect");
  EXPECT_EQ(state("select")["entry1"], "Kira");
  EXPECT_EQ(state("select")["entry2"], "Brann");
  EXPECT_EQ(state("onePicked")["chosen1"], "Kira");
  EXPECT_EQ(state("onePicked")["chosen2"], "");
  EXPECT_EQ(state("stage")["screen"], "stageSelect");
  EXPECT_EQ(state("fight")["p1 character"], "Kira");
  EXPECT_EQ(state("fight")["p2 character"], "Brann");
  EXPECT_EQ(state("fight").count("p2 computer"), 0u) << "player 2 is at the keys";
  EXPECT_EQ(state("ko")["RoundLoser"], "2");
  EXPECT_EQ(state("back")["screen"], "menu");
  EXPECT_EQ(state("back")["selected"], "1") << "the menu starts again on its first item";
}

TEST_F(Menus, OnePlayerPicksBothFightersAndTheComputerPlaysTheOpponent) {
  EXPECT_EQ(run(kToTheMenu + Confirm("A") + "wait 300\n" + Confirm("A") + Hold("Right") +
                "state opponent\n" + Confirm("A") + "wait 300\n" + Confirm("A") +
                "wait 1000\nstate fight\nquit\n"),
            0);
  EXPECT_EQ(state("opponent")["chosen1"], "Kira");
  EXPECT_EQ(state("opponent")["cursor1"], "2") << "player 1's pick stays";
  EXPECT_EQ(state("opponent")["entry2"], "Vex") << "the same keys move the second cursor";
  EXPECT_EQ(state("fight")["p1 character"], "Kira");
  EXPECT_EQ(state("fight")["p2 character"], "Vex");
  EXPECT_EQ(state("fight").count("p2 computer"), 1u) << "the computer plays player 2";
  EXPECT_EQ(state("fight")["p2 level"], "4") << "a folder without a Difficulty plays at 4";
}

TEST_F(Menus, TheMenusMatchesAgainstTheComputerPlayAtTheFoldersDifficulty) {
  const auto dir =
      DemoWith({{"Game.xml", DemoGameXml("Rounds=\"3\"", "Rounds=\"3\" Difficulty=\"7\"")}});
  EXPECT_EQ(run(kToTheMenu + Confirm("A") + "wait 300\n" + Confirm("A") + Confirm("A") +
                    "wait 300\n" + Confirm("A") + "wait 1000\nstate fight\nquit\n",
                dir),
            0);
  EXPECT_EQ(state("fight")["p2 level"], "7") << "ONE PLAYER";
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Hold("Down") + Hold("Down") + Confirm("A") +
                    "wait 300\n" + Confirm("A") + "wait 500\n" + kSkipMovie +
                    "wait 1000\nstate story\nquit\n",
                dir),
            0);
  EXPECT_EQ(state("story")["p2 level"], "7") << "STORY";
}

TEST_F(Menus, RandomBecomesTwoDifferentRealCharacters) {
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Confirm("A") + "wait 300\n" + Hold("Left") + Hold("J") +
                Hold("J") + "state onRandom\n" + Confirm("A") + Confirm("Q") + "wait 300\n" +
                Confirm("A") + "wait 1000\nstate fight\nquit\n"),
            0);
  EXPECT_EQ(state("onRandom")["entry1"], "Random");
  EXPECT_EQ(state("onRandom")["entry2"], "Random") << "both may stand on Random";
  const std::string p1 = state("fight")["p1 character"], p2 = state("fight")["p2 character"];
  EXPECT_TRUE(p1 == "Kira" || p1 == "Brann" || p1 == "Vex") << p1;
  EXPECT_TRUE(p2 == "Kira" || p2 == "Brann" || p2 == "Vex") << p2;
  EXPECT_NE(p1, p2);
}

TEST_F(Menus, WithOneCharacterBothCursorsStandOnItAndRandomGivesAMirrorMatch) {
  std::string xml = DemoGameXml("", "");
  const auto brann = xml.find("    <Character Name=\"Brann\"");
  const auto end = xml.find("  </Characters>");
  ASSERT_TRUE(brann != std::string::npos && end != std::string::npos);
  xml.erase(brann, end - brann);
  const auto dir = DemoWith({{"Game.xml", xml}});
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Confirm("A") + "wait 300\nstate select\n" +
                    Hold("Left") + Hold("J") + "state random\n" + Confirm("A") + Confirm("Q") +
                    "wait 300\n" + Confirm("A") + "wait 1000\nstate fight\nquit\n",
                dir),
            0);
  EXPECT_EQ(state("select")["cursor1"], "2");
  EXPECT_EQ(state("select")["cursor2"], "2") << "no third entry";
  EXPECT_EQ(state("random")["entry1"], "Random");
  EXPECT_EQ(state("random")["entry2"], "Random");
  EXPECT_EQ(state("fight")["p1 character"], "Kira");
  EXPECT_EQ(state("fight")["p2 character"], "Kira");
}

TEST_F(Menus, ADisabledStageIsShownButCannotBePickedAndEscapeGoesBack) {
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Confirm("A") + "wait 300\n" + Confirm("A") +
                Confirm("Q") + "wait 300\n" + Hold("Left") + "state rooftop\n" + Confirm("A") +
                "wait 300\nstate still\n" + Hold("Right") + Hold("Right") + "state temple\n" +
                Confirm("Escape") + "wait 300\nstate menu\nquit\n"),
            0);
  EXPECT_EQ(state("rooftop")["stage"], "Rooftop");
  EXPECT_EQ(state("rooftop")["disabled"], "true");
  EXPECT_EQ(state("still")["screen"], "stageSelect") << "Punch on a closed stage does nothing";
  EXPECT_EQ(state("temple")["stage"], "Temple") << "past the last stage to the first, and on";
  EXPECT_EQ(state("menu")["screen"], "menu");
}

TEST_F(Menus, ExitOpensTheHelpPageAndEndsTheGame) {
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Hold("Down") + Hold("Down") + Hold("Down") +
                Confirm("A") + "wait 60000\nstate after\n"),
            0);
  ASSERT_EQ(machine->shellCalls().size(), 1u);
  EXPECT_EQ(machine->shellCalls()[0].path,
            (std::filesystem::path(VDX_DEMO_DIR) / "HTML" / "Vandrel.htm").string());
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "after.json")) << "nothing ran on";
}

TEST_F(Menus, AnItemOfAnUnknownTypeDoesNothing) {
  const auto dir =
      DemoWith({{"Game.xml", DemoGameXml("Name=\"EXIT\" Type=\"3\"", "Name=\"EXIT\" Type=\"9\"")}});
  EXPECT_EQ(run(kToTheMenu + "press Down\nwait 1000\nrelease Down\nwait 300\n" + Confirm("A") +
                    "wait 500\nstate menu\nquit\n",
                dir),
            0);
  EXPECT_EQ(state("menu")["screen"], "menu");
  EXPECT_EQ(state("menu")["selected"], "5");
  EXPECT_TRUE(machine->shellCalls().empty());
  EXPECT_NE(folder.read("log.txt").find("Menu item \"EXIT\" has Type 9, which starts nothing"),
            std::string::npos);
}

TEST_F(Menus, ClosingTheWindowEndsEveryScreenAlsoWithAKeyHeld) {
  const std::vector<std::string> toScreens{
      "wait 300\n", kToTheMenu, kToTheMenu + Confirm("A") + "wait 300\n",
      kToTheMenu + Confirm("A") + "wait 300\n" + Confirm("A") + Confirm("A") + "wait 300\n",
      // A Punch still held: the select screen waits for it to be let go.
      kToTheMenu + "press A\nwait 1000\n"};
  for (const std::string& to : toScreens) {
    EXPECT_EQ(run(to + "press Right\nwait 200\nquit\n"), 0);
    EXPECT_TRUE(machine->shellCalls().empty());
  }
}

TEST_F(Menus, TrainingPicksTheFightersAndTheStageThenPlaysWithItsOwnMenu) {
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Hold("Down") + "state item\n" + Confirm("A") +
                "wait 300\n" + Confirm("A") + Hold("Right") + Confirm("A") + "wait 300\n" +
                Confirm("A") + "wait 1500\nstate training\ntap Tab\nwait 100\nstate menu\n" +
                Hold("Down") + Hold("Right") + "tap Tab\nwait 100\nstate closed\n" +
                "press Escape\nwait 300\nrelease Escape\nwait 100\nstate paused\n" + Hold("Down") +
                Hold("Down") + Hold("Down") + Confirm("A") + "wait 500\nstate back\nquit\n"),
            0);
  EXPECT_EQ(state("item")["selected"], "3");
  EXPECT_EQ(state("training")["screen"], "training");
  EXPECT_EQ(state("training")["p1 character"], "Kira");
  EXPECT_EQ(state("training")["p2 character"], "Vex") << "the dummy, picked with the same keys";
  EXPECT_EQ(state("training")["training menu"], "false");
  EXPECT_EQ(state("menu")["training menu"], "true");
  EXPECT_EQ(state("closed")["training menu"], "false");
  EXPECT_EQ(state("paused")["training paused"], "true");
  EXPECT_EQ(state("paused")["p2 ActionName"], "Block")
      << "the menu's Guard was set to All with Right, and the dummy blocks";
  EXPECT_EQ(state("back")["screen"], "menu") << "Exit to Menu";
}

TEST_F(Menus, StoryModePlaysTheRungsMovieThenFightsItsOpponentOnItsStage) {
  EXPECT_EQ(
      run(kToTheMenu + Hold("Down") + Hold("Down") + Hold("Down") + "state story\n" + Confirm("A") + "wait 300\n" +
          Confirm("A") + "wait 500\nstate movie\n" + kSkipMovie + "wait 1000\nstate fight\nquit\n"),
      0);
  EXPECT_EQ(state("story")["selected"], "4");
  EXPECT_EQ(state("fight")["p1 character"], "Kira");
  EXPECT_EQ(state("fight")["p2 character"], "Brann") << "the ladder's first opponent";
  EXPECT_EQ(state("fight").count("p2 computer"), 1u);
  EXPECT_EQ(moviesOpened(), (std::vector<std::string>{"VDTitle.avi", "kira_1.avi"}));
  bool temple = false;
  for (const std::string& call : machine->audioCalls())
    temple = temple || call.find("temple") != std::string::npos;
  EXPECT_TRUE(temple) << "the Temple's music: the rung's stage";
}

// Kira's ladder of one fight against a Brann who falls at the first blow and
// does nothing, in a match of one round.
const char* kShortLadder = R"(<Story>
  <Character Name="Kira" Opponents="1" WinFile="Movies\Story\kira_end.avi">
    <Opponent Name="Brann" Stage="Harbour" BeforeFile="Movies\Story\kira_1.avi"/>
  </Character>
  <Character Name="Vex" Opponents="1"><Opponent Name="Nobody" Stage="Harbour"/></Character>
</Story>)";
const char* kIdleBrann = R"(<AI><Character Name="Brann" Aggression="0" Attack="0" AttackFar="0"
  Block="0" Retreat="0"/></AI>)";

TEST_F(Menus, AWonLadderIsRecordedInSaveDatAndALostOneChangesNothing) {
  RunRequest oneRound;
  oneRound.rounds = 1;
  const auto dir = DemoWith({{"story.xml", kShortLadder},
                             {"ai.xml", kIdleBrann},
                             {"Game.xml", DemoGameXml("Health=\"120\"", "Health=\"1\"")},
                             {"save.dat", std::string("\x2a\0\0\0", 4)}});
  const std::string toLadder = kToTheMenu + Hold("Down") + Hold("Down") + Hold("Down") +
                               Confirm("A") +
                               "wait 300\n" + Confirm("A") + kSkipMovie + "wait 1000\n";
  EXPECT_EQ(run(toLadder + PunchOut(3) + "wait 500\nstate ko\n" + Confirm("A") + kSkipMovie +
                    kSkipMovie + "wait 500\nstate end\n" + kSkipMovie + "wait 500\nstate back\n",
                dir, "1", oneRound),
            0);
  EXPECT_EQ(state("ko")["RoundLoser"], "2");
  EXPECT_EQ(moviesOpened().back(), "kira_end.avi") << "the ladder's closing movie";
  EXPECT_EQ(state("back")["screen"], "menu");
  EXPECT_EQ(folder.read("demo/save.dat"), std::string("\x2a\x01\0\0", 4))
      << "Kira, the first character, is bit 0 of byte 1; byte 0 is kept";

  // Kira falls at the first blow of an eager Brann and stands idle.
  std::filesystem::remove_all(dir);
  const auto losing = DemoWith({{"story.xml", kShortLadder},
                                {"Game.xml", DemoGameXml("Health=\"100\"", "Health=\"1\"")},
                                {"save.dat", std::string("\x2a\x02\0\0", 4)}});
  EXPECT_EQ(run(toLadder + "wait 30000\nstate lost\n" + Confirm("A") + kSkipMovie + kSkipMovie +
                    "wait 500\nstate after\n",
                losing, "1", oneRound),
            0);
  EXPECT_EQ(state("lost")["RoundLoser"], "1");
  EXPECT_EQ(state("after")["screen"], "menu");
  EXPECT_EQ(folder.read("demo/save.dat"), std::string("\x2a\x02\0\0", 4));
  for (const std::string& movie : moviesOpened())
    EXPECT_NE(movie, "kira_end.avi");
}

TEST_F(Menus, AFighterWithoutALadderCannotStartOneAndABrokenRungIsSkipped) {
  const auto dir = DemoWith({{"story.xml", kShortLadder}});
  // Brann has no ladder: Punch on him does nothing; Vex's only rung names
  // nobody, so his ladder is over at once (no movie, no fight).
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Hold("Down") + Hold("Down") + Confirm("A") +
                    "wait 300\n" +
                    Hold("Right") + Confirm("A") + "wait 300\nstate brann\n" + Hold("Right") +
                    Confirm("A") + "wait 1500\nstate vex\nquit\n",
                dir),
            0);
  EXPECT_EQ(state("brann")["screen"], "characterSelect");
  EXPECT_EQ(state("brann")["chosen1"], "");
  EXPECT_EQ(state("vex")["screen"], "menu");
  EXPECT_NE(folder.read("log.txt").find("skips its fight against \"Nobody\""), std::string::npos);
  EXPECT_EQ(folder.read("demo/save.dat").size(), 4u) << "Vex's empty ladder is finished";
}

// Every file a run opens is one the content check looks at: the tour goes
// through the title, the menu, a story ladder with its movies (rung, round,
// match and closing), both select screens, the stage select, the versus
// screen, fights and the pause menu, and records each file the game found.
TEST_F(Menus, EveryFileTheGameOpensIsOneTheContentCheckLooksAt) {
  const auto dir = DemoWith({{"story.xml", kShortLadder},
                             {"ai.xml", kIdleBrann},
                             {"Game.xml", DemoGameXml("Health=\"120\"", "Health=\"1\"")}});
  std::set<std::string> opened;
  prepare = [&opened](Game& game) {
    game.paths.observeFiles(
        [&opened](const std::filesystem::path& file) { opened.insert(file.string()); });
  };
  const std::string escape = "press Escape\nwait 150\nrelease Escape\nwait 100\n";
  const std::string winRound = PunchOut(3) + "wait 500\n" + Confirm("A") + kSkipMovie + kSkipMovie;
  // A ladder of three rounds: two won, each followed by its movies.
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Hold("Down") + Hold("Down") + Confirm("A") +
                    "wait 300\n" + Confirm("A") + kSkipMovie + "wait 1000\n" + winRound + "wait 1000\n" +
                    winRound + "wait 500\n" + kSkipMovie + "wait 500\nstate ladder\nquit\n",
                dir),
            0);
  EXPECT_EQ(state("ladder")["screen"], "menu");
  const std::vector<std::string> ladderMovies = moviesOpened();
  // Two players, a fight left through the pause menu; then one player's picks.
  EXPECT_EQ(run(kToTheMenu + Hold("Down") + Confirm("A") + "wait 300\n" + Confirm("A") +
                    Confirm("Q") + "wait 300\n" + Confirm("A") + "wait 1000\ntap D\nwait 300\n" +
                    escape + "state paused\ntap Down\nwait 200\ntap A\nwait 500\n" + Confirm("A") +
                    "wait 300\n" + Confirm("A") + Hold("Right") + Confirm("A") + "wait 300\n" +
                    Confirm("A") + "wait 1000\nstate fight\nquit\n",
                dir),
            0);
  EXPECT_EQ(state("paused")["paused"], "true");
  EXPECT_EQ(state("fight")["p2 computer"].empty(), false) << "the one-player fight";

  // What the check looks at, found in the same folder.
  const PathResolver paths(dir);
  Settings settings;
  Content content;
  LoadReport report;
  ASSERT_TRUE(GetXML(paths, settings, content, report));
  std::set<std::string> checked;
  ForEachNeededFile(paths, settings, content, [&](const NamedFile& file) {
    if (const auto found = paths.find(file.path)) checked.insert(found->string());
  });
  // The content files that the check reads with its own readers, and the
  // game's own record of won ladders.
  for (const char* own : {"Game.xml", "ai.xml", "story.xml", "save.dat"})
    checked.insert((dir / own).string());
  for (const std::string& file : opened)
    EXPECT_TRUE(checked.contains(file)) << file << " is opened but not checked";

  // The tour went where it should: these were opened and so are checked.
  auto openedOne = [&opened](const std::string& ending) {
    for (const std::string& file : opened)
      if (FoldKey(file).ends_with(FoldKey(ending))) return true;
    return false;
  };
  for (const char* file : {"VDTitle.avi", "kira_1.avi", "kira_end.avi", "random.bmp", "menu.ogg",
                           "PowerUp.wav", "VDXFont.bmp"})
    EXPECT_TRUE(openedOne(file)) << file;
  EXPECT_GE(ladderMovies.size(), 7u) << "title, rung, round and match movies, closing movie";
  EXPECT_GT(opened.size(), 100u);
}

}  // namespace
}  // namespace vdx
