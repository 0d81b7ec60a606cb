// Whole matches on the demo folder, played by scripts on the headless
// platform: what a player does, read back through the fight's state dumps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <map>
#include <string>
#include <variant>

#include "content/get_xml.h"
#include "match/fight_loop.h"
#include "fight/next_frame_index.h"
#include "fight/replay.h"
#include "graphics/sprite_loading.h"
#include "platform/headless/headless_platform.h"
#include "platform/picture_files.h"
#include "screens/json_scan.h"
#include "startup/main_routine.h"
#include "startup/replay_run.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

// One state dump: the fight's fields and each player's.
struct Dump {
  std::map<std::string, std::string> fight;
  std::map<std::string, std::string> players[3];

  long number(int player, const std::string& key) const { return std::stol(players[player].at(key)); }
  std::string text(int player, const std::string& key) const { return players[player].at(key); }
};

// The summary's "key": value pairs; values of the players' list go to the
// player named by the last "player" key. The whole state that follows the
// summary is left out.
Dump ParseDump(const std::string& json) {
  Dump dump;
  const auto playersAt = json.find("\"players\"");
  const auto playersEnd = json.find(']', playersAt);
  const auto stateAt = json.find("\"state\": ");
  int player = 0;
  auto visit = [&](std::size_t at, const std::string& key, const std::string& value) {
    if (value == "[" || at >= stateAt) return;
    if (at > playersAt && at < playersEnd) {
      if (key == "player") player = std::stoi(value);
      dump.players[player][key] = value;
    } else {
      dump.fight[key] = value;
    }
  };
  testing::ScanJsonFields(json, visit);
  return dump;
}

// Runs `vdx --versus Kira,Brann` (or the given fighters) with a script whose
// "state NAME" lines write dumps into the test folder; returns them by name.
class Fight : public ::testing::Test {
 protected:
  std::map<std::string, Dump> play(std::string script, const std::string& versus = "Kira,Brann",
                                   RunRequest request = {},
                                   const std::filesystem::path& gameDir = VDX_DEMO_DIR,
                                   const std::string& commandLine = "1",
                                   platform::HeadlessPlatform** machine = nullptr) {
    // "state NAME" writes NAME.json into the test folder.
    std::vector<std::string> names;
    std::string written;
    std::size_t at = 0;
    while (at < script.size()) {
      const auto lineEnd = std::min(script.find('\n', at), script.size());
      const std::string line = script.substr(at, lineEnd - at);
      if (line.rfind("state ", 0) == 0) {
        names.push_back(line.substr(6));
        written += "state " + (folder.path() / (names.back() + ".json")).string() + "\n";
      } else {
        written += line + "\n";
      }
      at = lineEnd + 1;
    }
    script = written;
    auto parsed = platform::ParseScript(script);
    EXPECT_TRUE(std::holds_alternative<platform::Script>(parsed));
    // Each run on a machine of its own, kept for the test to look at.
    machines.push_back(std::make_unique<platform::HeadlessPlatform>());
    platform::HeadlessPlatform& platform = *machines.back();
    if (machine != nullptr) *machine = &platform;
    platform.runScript(std::get<platform::Script>(std::move(parsed)));
    Game game(platform, gameDir);
    game.log.path = folder.path() / "log.txt";
    request.versus = versus;
    EXPECT_EQ(Main(game, commandLine, request), 0);
    std::map<std::string, Dump> dumps;
    for (const std::string& name : names)
      dumps[name] = ParseDump(folder.read(name + ".json"));
    return dumps;
  }

  // The demo folder without the falling pick-up (its picture), so that
  // nobody takes one by chance: every file but ball.bmp, linked.
  std::filesystem::path DemoWithoutPickUp() {
    const auto dir = folder.path() / "demo";
    std::filesystem::create_directories(dir);
    for (const auto& entry : std::filesystem::directory_iterator(VDX_DEMO_DIR))
      if (entry.path().filename() != "ball.bmp")
        std::filesystem::create_symlink(entry.path(), dir / entry.path().filename());
    return dir;
  }

  testing::TestFolder folder;
  std::vector<std::unique_ptr<platform::HeadlessPlatform>> machines;
};

TEST_F(Fight, TheFirstKeyOnlyStartsTheFightAndAHeldKeyWaitsForItsRelease) {
  auto d = play(
      "wait 400\nstate before\n"
      "press A\nwait 400\nstate held\nrelease A\nwait 200\n"
      "press A\nwait 100\nstate punch\nrelease A\nquit\n");
  EXPECT_EQ(d["before"].fight["FightStarted"], "false");
  EXPECT_EQ(d["before"].number(1, "x"), 0);
  EXPECT_EQ(d["before"].number(2, "x"), 300);
  EXPECT_EQ(d["before"].text(2, "facing"), "left");
  EXPECT_EQ(d["before"].fight["CameraX"], "320") << "(1280 - 640) / 2";
  EXPECT_EQ(d["held"].fight["FightStarted"], "true");
  EXPECT_EQ(d["held"].text(1, "ActionName"), "Standing") << "the Punch that started it";
  EXPECT_EQ(d["punch"].text(1, "ActionName"), "Punch");
}

TEST_F(Fight, WalkingStepsByTheWalksSpeedAndTheLeftEdgeScrollsTheCamera) {
  auto d = play(
      "wait 300\ntap D\nwait 300\n"
      "press Right\nwait 1000\nrelease Right\nwait 300\nstate walked\n"
      "press Left\nwait 1300\nstate scrolling\nwait 2000\nstate stopped\nrelease Left\n"
      // Brann walks towards Kira while she backs into the edge: he stays clear
      // of his own edge, so the camera goes on to the stage's end.
      "press J\npress Left\nwait 4000\nstate end\nrelease Left\nrelease J\nquit\n");
  const long walked = d["walked"].number(1, "x");
  EXPECT_GT(walked, 9 * 8);
  EXPECT_EQ(walked % 9, 0) << "whole steps of Walk's Speed 9";
  EXPECT_EQ(d["walked"].text(1, "MoveState"), "Standing");
  // At the edge each step scrolls the camera 15 to the left and shifts the
  // opponent 15 to the right, so he keeps his place on the stage.
  const Dump& s = d["scrolling"];
  EXPECT_EQ(s.number(1, "x"), 0);
  const long steps = (320 - std::stol(s.fight.at("CameraX"))) / 15;
  EXPECT_GT(steps, 0);
  EXPECT_EQ(std::stol(s.fight.at("CameraX")), 320 - 15 * steps);
  EXPECT_EQ(s.number(2, "x"), 300 + 15 * steps);
  // Once the opponent is at his own edge (629 - Width 200) the camera stops.
  EXPECT_EQ(d["stopped"].number(2, "x"), 429);
  EXPECT_EQ(d["stopped"].fight["CameraX"], "185");
  EXPECT_EQ(d["end"].fight["CameraX"], "0") << "the stage's left end";
  EXPECT_EQ(d["end"].text(1, "facing"), "right");
}

TEST_F(Fight, WalkingIntoTheOpponentPushesItAtAThirdOfThePace) {
  auto d = play(
      "wait 300\ntap D\nwait 300\npress Right\nwait 5000\nstate pushing\nwait 850\nstate later\n"
      "release Right\nquit\n");
  const Dump& a = d["pushing"];
  const Dump& b = d["later"];
  EXPECT_GT(a.number(2, "x"), 300) << "Brann was pushed";
  EXPECT_EQ(b.number(2, "x") - a.number(2, "x"), b.number(1, "x") - a.number(1, "x"));
  EXPECT_EQ((b.number(1, "x") - a.number(1, "x")) % 3, 0) << "steps of round(9 / 3) = 3";
  EXPECT_LT(b.number(1, "x") - a.number(1, "x"), 9 * 10 / 2) << "slower than walking";
}

TEST_F(Fight, AJumpRisesAndLandsAtItsStartHeightAndDownDucks) {
  std::string script = "wait 300\ntap D\nwait 300\npress Up\n";
  // Up is let go before the jump lands: a held Up jumps again.
  for (int i = 0; i < 20; ++i)
    script += std::string(i == 4 ? "release Up\n" : "") + "wait 40\nstate jump" +
              std::to_string(i) + "\n";
  script += "wait 400\nstate landed\npress Down\nwait 300\nstate ducking\n"
            "release Down\nquit\n";
  auto d = play(script);
  long top = 202;
  bool falling = false;
  long previous = 202;
  for (int i = 0; i < 20; ++i) {
    const long y = d["jump" + std::to_string(i)].number(1, "y");
    EXPECT_EQ((202 - y) % 22, 0) << "steps of JumpSpeed 22";
    if (y > previous) falling = true;
    if (falling) {
      EXPECT_GE(y, previous) << "one rise, one fall";
    }
    top = std::min(top, y);
    previous = y;
  }
  EXPECT_EQ(top, 202 - 2 * 22) << "it rises until its TopJumpFrame";
  EXPECT_EQ(d["landed"].number(1, "y"), 202);
  EXPECT_EQ(d["landed"].text(1, "ActionName"), "Standing");
  EXPECT_EQ(d["ducking"].text(1, "ActionName"), "Duck");
  EXPECT_EQ(d["ducking"].text(1, "MoveState"), "Duck");
}

TEST_F(Fight, EachButtonStartsItsAction) {
  auto d = play(
      "wait 300\ntap D\nwait 300\n"
      "press A\nwait 150\nstate punch\nrelease A\nwait 700\n"
      "press S\nwait 150\nstate kick\nrelease S\nwait 700\n"
      "press D\nwait 150\nstate block\nrelease D\nwait 900\n"
      "press Left\npress S\nwait 150\nstate sweep\nrelease S\nrelease Left\nwait 900\nquit\n");
  EXPECT_EQ(d["punch"].text(1, "ActionName"), "Punch");
  EXPECT_EQ(d["kick"].text(1, "ActionName"), "Kick");
  EXPECT_EQ(d["block"].text(1, "ActionName"), "Block");
  EXPECT_EQ(d["block"].text(1, "MoveState"), "Block");
  EXPECT_EQ(d["sweep"].text(1, "ActionName"), "SweepKick") << "back and kick held together";
}

TEST_F(Fight, ASequenceWithinHalfASecondStartsTheSpecialAndASlowerOneDoesNot) {
  auto d = play(
      "wait 300\ntap D\nwait 300\n"
      "press Down\nwait 60\nrelease Down\npress Right\nwait 60\nrelease Right\n"
      "press A\nwait 200\nstate special\nrelease A\nwait 1200\n"
      "press Down\nwait 60\nrelease Down\nwait 300\npress Right\nwait 60\nrelease Right\n"
      "wait 200\npress A\nwait 200\nstate slow\nrelease A\nwait 800\nquit\n");
  EXPECT_EQ(d["special"].text(1, "ActionName"), "FlameWave");
  EXPECT_EQ(d["special"].text(1, "KeySequence"), "") << "taken, so it cannot fire twice";
  EXPECT_EQ(d["slow"].text(1, "ActionName"), "Punch") << "the D had gone from the history";
}

TEST_F(Fight, TheFinisherIsRefusedInTheFirstRoundAndTheThrowNeedsToBeClose) {
  auto d = play(
      "wait 300\ntap D\nwait 300\n"
      "press Down\nwait 60\nrelease Down\npress Left\nwait 60\nrelease Left\n"
      "press S\nwait 200\nstate finisher\nrelease S\nwait 900\n"
      "press Down\nwait 60\nrelease Down\npress Right\nwait 60\nrelease Right\n"
      "press S\nwait 200\nstate throw\nrelease S\nwait 900\nquit\n");
  EXPECT_NE(d["finisher"].text(1, "ActionName"), "Sexuality");
  EXPECT_NE(d["throw"].text(1, "ActionName"), "Throw") << "300 pixels away";
}

// The first row of a picture with a drawn (not black) pixel.
int TopDrawnRow(const Surface& picture) {
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (To565(picture.at(x, y)) != 0) return y;
  return picture.height;
}

TEST_F(Fight, HeldDownKeepsTheFighterCrouchedUntilItIsLetGo) {
  std::string script = "wait 300\ntap D\nwait 300\npress Down\n";
  for (int i = 0; i < 12; ++i)
    script += "wait 150\nstate held" + std::to_string(i) + "\n";
  script += "release Down\nwait 300\nstate up\nquit\n";
  auto d = play(script);
  // Kira's frames, to see what each dumped frame shows.
  platform::HeadlessPlatform reader;
  Game game(reader, VDX_DEMO_DIR);
  game.log.path = folder.path() / "frames.log";
  GetXML(game.paths, game.settings, game.content, game.loadReport);
  cCharacter kira = *game.content.Characters.find("Kira");
  FighterFrames frames;
  loadcharacteractions(LoadContext{reader, game.paths, game.log, nullptr}, kira, frames,
                       "brann", false);
  const auto picture = [&](long frame) -> const Surface& {
    EXPECT_GE(frame, 1);
    EXPECT_LE(frame, static_cast<long>(frames.frames.size()));
    return *frames.frames[static_cast<std::size_t>(frame - 1)];
  };
  const int standingTop = TopDrawnRow(picture(kira.Actions.find("Standing")->Offset));
  const long first = d["held0"].number(1, "CurrentFrame");
  for (int i = 0; i < 12; ++i) {
    const Dump& held = d["held" + std::to_string(i)];
    EXPECT_EQ(held.text(1, "ActionName"), "Duck") << (i + 1) * 150 << " ms into the hold";
    EXPECT_EQ(held.number(1, "CurrentFrame"), first) << (i + 1) * 150 << " ms: one held pose";
  }
  EXPECT_GT(TopDrawnRow(picture(first)), standingTop + 25) << "the held pose is a crouch";
  EXPECT_EQ(d["up"].text(1, "ActionName"), "Standing") << "up again once Down is let go";
}

TEST_F(Fight, AFlipCrossesOverTheOpponentAndTheBackKeyTurnsTheFighter) {
  auto d = play(
      "wait 300\ntap D\nwait 300\npress Right\nwait 2500\nrelease Right\nwait 100\nstate close\n"
      "press Right\npress Up\nwait 150\nstate flip\nrelease Up\nrelease Right\nwait 600\n"
      "state over\npress Left\nwait 300\nstate turned\nrelease Left\nwait 300\n"
      // Close again, from the other side: Down, forward (now Left), Kick throws.
      "press Down\nwait 60\nrelease Down\npress Left\nwait 60\nrelease Left\npress S\nwait 150\n"
      "state throw\nrelease S\nwait 900\nquit\n");
  const long brann = d["close"].number(2, "x");
  EXPECT_LT(d["close"].number(1, "x"), brann);
  EXPECT_EQ(d["flip"].text(1, "ActionName"), "Flip");
  EXPECT_LT(d["flip"].number(1, "y"), 202) << "in the air";
  const Dump& over = d["over"];
  EXPECT_GT(over.number(1, "x"), brann) << "landed on his other side";
  EXPECT_EQ(over.number(1, "y"), 202);
  // Nobody turns by landing: the back key turns the fighter to the opponent,
  // and the held key, now forward, walks on.
  EXPECT_EQ(over.text(1, "facing"), "right");
  EXPECT_EQ(over.text(2, "facing"), "left");
  EXPECT_EQ(d["turned"].text(1, "facing"), "left");
  EXPECT_EQ(d["throw"].text(1, "ActionName"), "Throw") << "close enough, from either side";
}

TEST_F(Fight, APunchCostsItsDamageAndASecondWithinASecondAddsTheComboBonus) {
  auto d = play(
      "wait 300\ntap D\nwait 300\npress Right\nwait 3000\nrelease Right\nwait 200\n"
      "press A\nwait 150\nstate first\nrelease A\nwait 400\n"
      "press A\nwait 150\nstate second\nrelease A\nwait 1500\nstate later\nquit\n",
      "Kira,Brann", {}, DemoWithoutPickUp());
  // Punch 6: 120 - 6 - 0.6 = 113.4; the second within a second adds 0.1 x 6 x 2.
  EXPECT_EQ(d["first"].text(2, "ActionName"), "Hit");
  EXPECT_EQ(d["first"].text(2, "HitFlag"), "true");
  EXPECT_EQ(d["first"].number(2, "health"), 113);
  EXPECT_EQ(d["first"].number(1, "ComboCount"), 1);
  EXPECT_GE(std::stol(d["first"].fight.at("flashes")), 1) << "where the fist landed";
  EXPECT_EQ(d["second"].number(2, "health"), 106);
  EXPECT_EQ(d["second"].number(1, "ComboCount"), 2);
  EXPECT_EQ(d["second"].number(1, "health"), 100) << "Kira untouched";
  EXPECT_EQ(d["later"].number(1, "ComboCount"), 0) << "the combo ended a second after";
  EXPECT_EQ(d["later"].number(2, "health"), 106);
}

TEST_F(Fight, ABlockedPunchChipsOnceAndTheSweepBreaksTheBlock) {
  auto d = play(
      "wait 300\ntap D\nwait 300\npress Right\nwait 3000\nrelease Right\nwait 200\n"
      // Brann's block starts at his next standing step, within 150 ms.
      "press E\nwait 200\npress A\nwait 100\nrelease A\nwait 250\nstate blocked\n"
      "release E\nwait 600\npress E\nwait 60\npress Left\npress S\nwait 150\nstate swept\n"
      "release S\nrelease Left\nrelease E\nwait 500\nquit\n",
      "Kira,Brann", {}, DemoWithoutPickUp());
  EXPECT_EQ(d["blocked"].text(2, "MoveState"), "Block");
  EXPECT_EQ(d["blocked"].number(2, "health"), 119) << "one chip of 6 / 6, not one a frame";
  EXPECT_EQ(d["blocked"].number(1, "ComboCount"), 0) << "a block ends the combo";
  EXPECT_EQ(std::stol(d["blocked"].fight.at("flashes")), 0) << "a blocked blow does not flash";
  // SweepKick 8, a hard hit, lands through the block: 119 - 8 - 0.8 = 110.2.
  EXPECT_EQ(d["swept"].text(2, "ActionName"), "HardHit");
  EXPECT_EQ(d["swept"].number(2, "health"), 110);
}

// Pixels of exactly this colour in a screenshot of the test folder.
long CountColour(const std::filesystem::path& png, std::uint32_t colour) {
  const auto image = platform::ReadPng(png.string());
  if (!image) return -1;
  return std::count(image->pixels.begin(), image->pixels.end(), colour);
}

TEST_F(Fight, WithDebugF1DrawsTheBoxesOverTheFightAndF2AndF3StepItWithoutChangingIt) {
  const std::string moves =
      "wait 300\ntap D\nwait 300\npress Right\nwait 600\nrelease Right\npress A\nwait 150\n"
      "release A\nwait 300\n";
  const auto shot = [this](const char* name) { return (folder.path() / name).string(); };
  RunRequest plainRun;
  plainRun.frameHashes = folder.path() / "plain.txt";
  // F4 does nothing: the same script's timing without the boxes.
  auto plain = play("tap F4\n" + moves + "state end\nscreenshot " + shot("plain.png") +
                        "\ntap F4\nwait 100\nquit\n",
                    "Kira,Brann", plainRun, VDX_DEMO_DIR, "1 DEBUG");
  RunRequest boxesRun;
  boxesRun.frameHashes = folder.path() / "boxes.txt";
  auto boxes = play("tap F1\n" + moves + "state end\nscreenshot " + shot("boxes.png") +
                        "\ntap F1\nwait 100\nscreenshot " + shot("hidden.png") + "\nquit\n",
                    "Kira,Brann", boxesRun, VDX_DEMO_DIR, "1 DEBUG");
  const auto red = 0x00FF0000u, green = 0x0000FF00u;
  EXPECT_EQ(CountColour(folder.path() / "plain.png", green), 0);
  EXPECT_GT(CountColour(folder.path() / "boxes.png", red), 200) << "the boxes' outlines";
  EXPECT_GT(CountColour(folder.path() / "boxes.png", green), 200) << "the bodies' outlines";
  EXPECT_EQ(CountColour(folder.path() / "hidden.png", green), 0) << "F1 again hides them";
  // The fight and its pictures are the same frame for frame.
  const std::string plainHashes = folder.read("plain.txt");
  const std::string boxHashes = folder.read("boxes.txt");
  EXPECT_GT(std::count(plainHashes.begin(), plainHashes.end(), '\n'), 50);
  EXPECT_EQ(plainHashes, boxHashes);
  EXPECT_EQ(plain["end"].fight["stateHash"], boxes["end"].fight["stateHash"]);

  // F2 holds the fight; each F3 moves it one frame on.
  auto stepped = play("wait 300\ntap D\nwait 300\nstate before\ntap F2\nwait 500\nstate held\n"
                      "tap F3\nwait 100\nstate once\ntap F3\nwait 100\ntap F3\nwait 100\n"
                      "state thrice\ntap F2\nwait 500\nstate running\nquit\n",
                      "Kira,Brann", {}, VDX_DEMO_DIR, "1 DEBUG");
  const long before = std::stol(stepped["before"].fight["frame"]);
  const long held = std::stol(stepped["held"].fight["frame"]);
  EXPECT_LE(held - before, 1) << "the press of F2 itself may end the frame it came in";
  EXPECT_EQ(std::stol(stepped["once"].fight["frame"]), held + 1);
  EXPECT_EQ(std::stol(stepped["thrice"].fight["frame"]), held + 3);
  EXPECT_GT(std::stol(stepped["running"].fight["frame"]), held + 3 + 20);
  // Without the DEBUG switch the keys do nothing.
  auto plainKeys = play("wait 300\ntap D\nwait 300\ntap F2\nwait 500\nstate on\nquit\n");
  EXPECT_GT(std::stol(plainKeys["on"].fight["frame"]), 50);
}

// Kira punches Brann out: walk in, then 24 punches while walking on.
std::string KnockOutBrann() {
  std::string script = "press Right\nwait 2500\n";
  for (int i = 0; i < 24; ++i) script += "press A\nwait 110\nrelease A\nwait 240\n";
  return script + "release Right\n";
}

TEST_F(Fight, AMatchOfThreeRoundsWaitsForPunchAfterEachKnockOutPlaysTheEventMoviesAndEnds) {
  platform::HeadlessPlatform* machine = nullptr;
  const std::string skipMovie = "wait 2100\ntap S\nwait 300\n";
  RunRequest request;
  auto d = play("wait 300\ntap D\nwait 300\n" + KnockOutBrann() + "wait 500\nstate ko1\n"
                    "screenshot " + (folder.path() / "round.png").string() + "\nwait 1000\n"
                    "state waiting\ntap Q\n" + skipMovie + skipMovie + "wait 500\nstate round2\n"
                    "tap D\nwait 300\n" + KnockOutBrann() + "wait 500\nstate ko2\n"
                    "screenshot " + (folder.path() / "match.png").string() + "\ntap A\n" +
                    skipMovie + skipMovie + "wait 500\nquit\n",
                "Kira,Brann", request, DemoWithoutPickUp(), "1", &machine);
  EXPECT_EQ(d["ko1"].text(2, "ActionName"), "KO");
  EXPECT_EQ(d["ko1"].fight["RoundLoser"], "2");
  EXPECT_EQ(d["ko1"].number(1, "RoundWins"), 1);
  EXPECT_GE(std::stol(d["waiting"].fight["frame"]) - std::stol(d["ko1"].fight["frame"]), 55)
      << "the round end runs its frames, a second of them";
  EXPECT_EQ(d["waiting"].text(2, "ActionName"), "KO") << "waiting for Punch";
  // Round 2: both fighters back at the start, the wins kept.
  EXPECT_EQ(d["round2"].fight["round"], "2");
  EXPECT_EQ(d["round2"].number(2, "health"), 120);
  EXPECT_EQ(d["round2"].number(1, "x"), 0);
  EXPECT_EQ(d["round2"].number(1, "RoundWins"), 1);
  EXPECT_EQ(d["ko2"].number(1, "RoundWins"), 2);
  // The movies asked for, in order: the loser's first, numbered by the winner's wins.
  std::vector<std::string> movies;
  for (const std::string& call : machine->audioCalls())
    if (call.rfind("openMovie ", 0) == 0)
      movies.push_back(std::filesystem::path(call.substr(10)).parent_path().filename().string() +
                       "/" + std::filesystem::path(call).filename().string());
  const std::vector<std::string> expected{"brann/1_loseround.avi", "kira/1_winround.avi",
                                          "brann/losegame.avi", "kira/wingame.avi"};
  EXPECT_EQ(movies, expected);
  // The banners, in their place over the frozen fight: the round's result in
  // its font's colour, then the winner's name in the match result's.
  const auto round = platform::ReadPng((folder.path() / "round.png").string());
  const auto match = platform::ReadPng((folder.path() / "match.png").string());
  ASSERT_TRUE(round && match);
  // Pixels of a font's colour (0x00BBGGRR) inside and outside the banner's place.
  const auto inkOf = [](const platform::Image& shot, std::uint32_t bgr, bool inside) {
    const std::uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    int n = 0;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) {
        const bool in = x >= 160 && x < 510 && y >= 130 && y < 200;
        n += in == inside && (shot.pixels[static_cast<std::size_t>(y) * shot.width + x] &
                              0xFFFFFF) == rgb;
      }
    return n;
  };
  platform::HeadlessPlatform reader;
  Game demo(reader, VDX_DEMO_DIR);
  GetXML(demo.paths, demo.settings, demo.content, demo.loadReport);
  const Settings& settings = demo.settings;
  EXPECT_GT(inkOf(*round, settings.RoundLossFont.FontColor, true), 100) << "the round's text";
  EXPECT_EQ(inkOf(*round, settings.GameOverFont.FontColor, true), 0);
  EXPECT_GT(inkOf(*match, settings.GameOverFont.FontColor, true), 100) << "\"Kira wins\"";
  EXPECT_EQ(inkOf(*match, settings.GameOverFont.FontColor, false), 0) << "only in its place";
}

TEST_F(Fight, EscapeOpensThePauseMenuWhichPlayerOneSteersToGoOnLeaveTheMatchOrTheGame) {
  const std::string escape = "press Escape\nwait 150\nrelease Escape\nwait 100\n";
  auto d = play("wait 300\ntap D\nwait 300\n" + escape + "state paused\n"
                "press Down\nwait 400\nrelease Down\nwait 100\nstate down\n"
                "tap Up\nwait 100\nstate up\ntap Up\nwait 200\ntap Up\nwait 200\nstate top\n"
                "press L\nwait 300\nrelease L\nstate still\n"
                "tap A\nwait 300\nstate going\n" + escape + "state again\n"
                "tap Down\nwait 200\ntap A\nwait 300\nstate left\nquit\n");
  EXPECT_EQ(d["paused"].fight["paused"], "true");
  EXPECT_EQ(d["paused"].fight["pauseItem"], "1");
  EXPECT_EQ(d["down"].fight["pauseItem"], "3") << "a held key moves once in 150 ms, up to the last";
  EXPECT_EQ(d["up"].fight["pauseItem"], "2");
  EXPECT_EQ(d["top"].fight["pauseItem"], "1") << "no wrapping past the first";
  EXPECT_EQ(d["still"].number(2, "x"), 300) << "player 2 does not move while paused";
  EXPECT_EQ(d["going"].fight["paused"], "false");
  EXPECT_EQ(d["going"].text(1, "ActionName"), "Standing") << "the Punch that chose does not punch";
  EXPECT_EQ(d["again"].fight["pauseItem"], "1") << "the choice is kept";
  EXPECT_EQ(d["left"].fight["screen"], "menu") << "Exit to Menu left the match for the menu";
  EXPECT_EQ(d["left"].fight.count("frame"), 0u) << "no fight to dump";

  platform::HeadlessPlatform* machine = nullptr;
  play("wait 300\ntap D\nwait 300\n" + escape + "tap Down\nwait 200\ntap Down\nwait 200\ntap A\n"
       "wait 5000\nquit\n",
       "Kira,Brann", {}, VDX_DEMO_DIR, "1", &machine);
  ASSERT_EQ(machine->shellCalls().size(), 1u) << "Exit Game opens the game's page and ends";
  EXPECT_EQ(std::filesystem::path(machine->shellCalls()[0].path).filename(), "Vandrel.htm");
}

TEST_F(Fight, BothPlayersMayBeTheSameCharacter) {
  auto d = play(
      "wait 300\ntap D\nwait 300\npress A\npress Q\nwait 150\nstate both\nrelease A\nrelease Q\n"
      "wait 500\nquit\n",
      "vex,VEX");
  EXPECT_EQ(d["both"].text(1, "character"), "Vex");
  EXPECT_EQ(d["both"].text(2, "character"), "Vex");
  EXPECT_EQ(d["both"].text(1, "ActionName"), "Punch");
  EXPECT_EQ(d["both"].text(2, "ActionName"), "Punch");
  EXPECT_EQ(d["both"].number(1, "CurrentFrame"), d["both"].number(2, "CurrentFrame"))
      << "each plays from its own copy of the frames";
}

// The x of the first running effect named `name` in a dump's "effects" list
// ("Name X Y facing; ..."), and its facing; -9999 when none runs.
long EffectX(const Dump& d, int player, const std::string& name, std::string* facing = nullptr) {
  const std::string list = d.text(player, "effects");
  const auto at = list.find(name + " ");
  if (at == std::string::npos) return -9999;
  std::istringstream in(list.substr(at + name.size()));
  long x = 0, y = 0;
  std::string way;
  in >> x >> y >> way;
  if (facing != nullptr) *facing = way.substr(0, way.find(';'));
  return x;
}

TEST_F(Fight, ASpecialTypedInAScriptFliesAtTheOpponentAndHitsItOnce) {
  auto d = play(
      "wait 300\ntap D\nwait 300\n"
      "press Down\nwait 60\nrelease Down\npress Right\nwait 60\nrelease Right\n"
      "press A\nwait 200\nstate fired\nrelease A\nwait 150\nstate flying\nwait 1500\n"
      "state after\nquit\n",
      "Kira,Brann", {}, DemoWithoutPickUp());
  std::string facing;
  const long fired = EffectX(d["fired"], 1, "KiraFlame", &facing);
  ASSERT_NE(fired, -9999) << d["fired"].text(1, "effects");
  EXPECT_EQ(facing, "right");
  EXPECT_GT(EffectX(d["flying"], 1, "KiraFlame"), fired) << "towards Brann";
  EXPECT_EQ(d["after"].number(2, "health"), 120 - 14) << "its Damage, once";
  EXPECT_EQ(d["after"].text(1, "effects"), "") << "flown, burst and done";
}

TEST_F(Fight, InAMirrorMatchEachPlayerFiresAndIsHitByTheOthersOwnStar) {
  auto d = play(
      "wait 300\ntap D\nwait 300\n"
      "press Down\npress K\nwait 60\nrelease Down\nrelease K\n"
      "press Right\npress J\nwait 60\nrelease Right\nrelease J\n"
      "press A\npress Q\nwait 200\nstate fired\nrelease A\nrelease Q\nwait 1500\n"
      "state after\nquit\n",
      "vex,VEX", {}, DemoWithoutPickUp());
  std::string one, two;
  EXPECT_NE(EffectX(d["fired"], 1, "VexStar", &one), -9999);
  EXPECT_NE(EffectX(d["fired"], 2, "VexStar", &two), -9999);
  EXPECT_EQ(one, "right");
  EXPECT_EQ(two, "left");
  EXPECT_EQ(d["after"].number(1, "health"), 90 - 12);
  EXPECT_EQ(d["after"].number(2, "health"), 90 - 12);
}

// The demo folder with Game.xml's Weather setting switched off.
std::filesystem::path DemoWithoutWeather(const std::filesystem::path& dir) {
  std::filesystem::create_directories(dir);
  for (const auto& entry : std::filesystem::directory_iterator(VDX_DEMO_DIR))
    if (entry.path().filename() != "Game.xml")
      std::filesystem::create_symlink(entry.path(), dir / entry.path().filename());
  std::ifstream in(std::filesystem::path(VDX_DEMO_DIR) / "Game.xml", std::ios::binary);
  std::string xml((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto at = xml.find("Weather=\"True\"");
  if (at != std::string::npos) xml.replace(at, 14, "Weather=\"False\"");
  std::ofstream(dir / "Game.xml", std::ios::binary) << xml;
  return dir;
}

// A stage background that does not decode leaves the stage black; the log
// says which file it was.
TEST_F(Fight, AStageBackgroundThatDoesNotDecodeIsLogged) {
  namespace fs = std::filesystem;
  const fs::path dir = folder.path() / "damaged";
  const fs::path demo = VDX_DEMO_DIR;
  fs::create_directories(dir / "Stages");
  for (const auto& entry : fs::directory_iterator(demo))
    if (entry.path().filename() != "Stages")
      fs::create_symlink(entry.path(), dir / entry.path().filename());
  for (const auto& entry : fs::directory_iterator(demo / "Stages"))
    if (entry.path().filename() != "harbour.bmp")
      fs::create_symlink(entry.path(), dir / "Stages" / entry.path().filename());
  folder.write("damaged/Stages/harbour.bmp", "BM and then nothing a bitmap needs");
  RunRequest request;
  request.stage = "Harbour";
  play("wait 400\nquit\n", "Kira,Brann", request, dir);
  EXPECT_NE(folder.read("log.txt").find("\\Stages\\harbour.bmp: missing or not a picture"),
            std::string::npos)
      << folder.read("log.txt");
}

TEST_F(Fight, RainAndSnowFallWithTheWeatherSettingOnAndNotWithItOff) {
  const auto off = DemoWithoutWeather(folder.path() / "dry");
  for (const std::string stage : {"Harbour", "Temple"}) {
    const auto shot = [&](const std::string& name) {
      return (folder.path() / (stage + name + ".png")).string();
    };
    // The same moment twice, 48 ms apart, with the weather on and off.
    const std::string script = "wait 400\nstate now\nscreenshot %1\nwait 48\nscreenshot %2\nquit\n";
    const auto with = [&](const std::string& a, const std::string& b) {
      std::string text = script;
      text.replace(text.find("%1"), 2, shot(a));
      text.replace(text.find("%2"), 2, shot(b));
      return text;
    };
    RunRequest request;
    request.stage = stage;
    auto wet = play(with("-on-1", "-on-2"), "Kira,Brann", request);
    auto dry = play(with("-off-1", "-off-2"), "Kira,Brann", request, off);
    const bool rain = stage == "Harbour";
    EXPECT_EQ(wet["now"].fight["raining"], rain ? "true" : "false") << stage;
    EXPECT_EQ(wet["now"].fight["snowing"], rain ? "false" : "true") << stage;
    EXPECT_EQ(dry["now"].fight["raining"], "false") << stage;
    EXPECT_EQ(dry["now"].fight["snowing"], "false") << stage;
    const auto on1 = platform::ReadPng(shot("-on-1")), on2 = platform::ReadPng(shot("-on-2"));
    const auto off1 = platform::ReadPng(shot("-off-1")), off2 = platform::ReadPng(shot("-off-2"));
    ASSERT_TRUE(on1 && on2 && off1 && off2);
    const auto differing = [](const platform::Image& a, const platform::Image& b) {
      long n = 0;
      for (std::size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
      return n;
    };
    // Drops and flakes all over the picture, and moving; without them the
    // same picture but for the scenery's slow drift.
    EXPECT_GT(differing(*on1, *off1), 500) << stage;
    EXPECT_GT(differing(*on1, *on2), differing(*off1, *off2) + 300) << stage;
  }
}

TEST_F(Fight, TheSameScriptGivesTheSameFrameHashes) {
  const std::string script =
      "wait 300\ntap D\nwait 300\npress Right\nwait 700\nrelease Right\npress Up\nwait 400\n"
      "release Up\nwait 500\nquit\n";
  RunRequest request;
  request.frameHashes = folder.path() / "first.txt";
  play(script, "Kira,Brann", request);
  const std::string first = folder.read("first.txt");
  platform::HeadlessPlatform again;
  auto parsed = platform::ParseScript(script);
  again.runScript(std::get<platform::Script>(std::move(parsed)));
  Game game(again, VDX_DEMO_DIR);
  game.log.path = folder.path() / "log2.txt";
  request.versus = "Kira,Brann";
  request.frameHashes = folder.path() / "second.txt";
  ASSERT_EQ(Main(game, "1", request), 0);
  EXPECT_GT(std::count(first.begin(), first.end(), '\n'), 60);
  EXPECT_EQ(first, folder.read("second.txt"));
}

TEST_F(Fight, TheComputerAgainstItselfRepeatsItsFightForTheSameSeedAndVariesWithAnother) {
  const auto hashesOf = [this](std::uint64_t seed, const char* file) {
    RunRequest request;
    request.cpu = ComputerPlays::Both;
    request.seed = seed;
    request.frameHashes = folder.path() / file;
    play("wait 8000\nquit\n", "Kira,Brann", request);
    return folder.read(file);
  };
  const std::string first = hashesOf(7, "seven.txt");
  EXPECT_GT(std::count(first.begin(), first.end(), '\n'), 400);
  EXPECT_EQ(hashesOf(7, "seven-again.txt"), first);
  EXPECT_NE(hashesOf(8, "eight.txt"), first) << "another seed, other choices";
}

// A replay run: no script, the recorded frames are the input.
int RunReplay(const testing::TestFolder& folder, const std::filesystem::path& file,
              const std::string& hashes, std::string* errors = nullptr) {
  platform::HeadlessPlatform platform;
  Game game(platform, VDX_DEMO_DIR);
  game.log.path = folder.path() / "replay-log.txt";
  RunRequest request;
  request.replay = file;
  request.frameHashes = folder.path() / hashes;
  ::testing::internal::CaptureStderr();
  const int status = Main(game, "1", request);
  const std::string err = ::testing::internal::GetCapturedStderr();
  if (errors != nullptr) *errors = err;
  return status;
}

TEST_F(Fight, ARecordedMatchReplaysToTheSameFramesAndABadReplayIsRefused) {
  RunRequest request;
  request.frameHashes = folder.path() / "played.txt";
  request.record = folder.path() / "match.vdr";
  play("wait 300\ntap D\nwait 300\npress Right\nwait 500\nrelease Right\npress Up\nwait 300\n"
       "release Up\npress Q\nwait 200\nrelease Q\npress Down\npress A\nwait 300\nrelease A\n"
       "release Down\nwait 400\nquit\n",
       "Kira,Vex", request);
  const std::string played = folder.read("played.txt");
  ASSERT_GT(std::count(played.begin(), played.end(), '\n'), 80);

  ASSERT_EQ(RunReplay(folder, folder.path() / "match.vdr", "replayed.txt"), 0);
  EXPECT_EQ(folder.read("replayed.txt"), played) << "the same states and the same pictures";

  // The recorded file, read back: what a replay starts from.
  auto read = ReadReplayFile(folder.path() / "match.vdr");
  ASSERT_TRUE(std::holds_alternative<Replay>(read));
  Replay replay = std::get<Replay>(read);
  ASSERT_EQ(replay.matches.size(), 1u);
  EXPECT_EQ(replay.matches[0].setup.player1, "Kira");
  EXPECT_EQ(replay.matches[0].setup.player2, "Vex");
  EXPECT_EQ(replay.matches[0].frames.size(),
            static_cast<std::size_t>(std::count(played.begin(), played.end(), '\n')));

  std::string errors;
  const std::string bytes = folder.read("match.vdr");
  folder.write("cut.vdr", bytes.substr(0, bytes.size() / 2));
  EXPECT_EQ(RunReplay(folder, folder.path() / "cut.vdr", "cut.txt", &errors), 2);
  EXPECT_NE(errors.find("cut.vdr"), std::string::npos) << errors;
  EXPECT_TRUE(folder.read("cut.txt").empty()) << "nothing played";

  Replay other = replay;
  other.matches[0].contentFingerprint ^= 1;
  ASSERT_TRUE(WriteReplayFile(folder.path() / "other.vdr", other).ok);
  EXPECT_EQ(RunReplay(folder, folder.path() / "other.vdr", "other.txt", &errors), 2);
  EXPECT_NE(errors.find("other content"), std::string::npos) << errors;

  Replay unknown = replay;
  unknown.matches[0].setup.player2 = "Nobody";
  ASSERT_TRUE(WriteReplayFile(folder.path() / "unknown.vdr", unknown).ok);
  EXPECT_EQ(RunReplay(folder, folder.path() / "unknown.vdr", "unknown.txt", &errors), 2);
  EXPECT_NE(errors.find("Nobody"), std::string::npos) << errors;

  // Two matches in one file play one after the other.
  Replay twice = replay;
  twice.matches.push_back(replay.matches[0]);
  ASSERT_TRUE(WriteReplayFile(folder.path() / "twice.vdr", twice).ok);
  ASSERT_EQ(RunReplay(folder, folder.path() / "twice.vdr", "twice.txt"), 0);
  EXPECT_EQ(folder.read("twice.txt"), played + played);
}

TEST(NextFrameIndex, StepsLoopsHoldsAndKeepsToTheActionsFrames) {
  cAction a;
  a.Offset = 10;
  a.Count = 4;  // frames 10..13
  Long f = 3;   // from another action
  EXPECT_EQ(NextFrameIndex(a, false, true, f), 11) << "a new action shows Offset + 1 first";
  EXPECT_EQ(NextFrameIndex(a, false, true, f), 12);
  EXPECT_EQ(NextFrameIndex(a, false, true, f), 13);
  EXPECT_EQ(NextFrameIndex(a, false, true, f), 10) << "loops";
  f = 13;
  EXPECT_EQ(NextFrameIndex(a, false, false, f), 13) << "holds its end";
  f = 3;
  EXPECT_EQ(NextFrameIndex(a, true, true, f), 13) << "reverse starts at the last frame";
  EXPECT_EQ(NextFrameIndex(a, true, true, f), 12);
  EXPECT_EQ(NextFrameIndex(a, true, true, f), 11);
  EXPECT_EQ(NextFrameIndex(a, true, true, f), 13) << "and wraps without showing frame 10";
  a.AnimationType = "StaticHold";
  f = 12;
  EXPECT_EQ(NextFrameIndex(a, false, true, f), 13);
  EXPECT_EQ(NextFrameIndex(a, false, true, f), 13) << "stays, never on the next action's frame";
  a.Count = 0;
  f = 7;
  EXPECT_EQ(NextFrameIndex(a, false, true, f), 7) << "no frames: nothing moves";
}

}  // namespace
}  // namespace vdx
