#include "startup/replay_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "content/get_xml.h"
#include "core/files.h"
#include "core/random.h"
#include "fight/replay.h"
#include "platform/headless/headless_platform.h"
#include "startup/main_routine.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

namespace fs = std::filesystem;

// A game folder that is the demo's (linked) but for one file of its own.
fs::path DemoWithOwn(const testing::TestFolder& folder, const fs::path& relative,
                     const std::string& bytes) {
  const fs::path dir = folder.path() / "demo";
  const fs::path demo = VDX_DEMO_DIR;
  // Link each entry beside the path to the file, folder by folder down to it.
  fs::path from = demo, to = dir;
  for (const fs::path& part : relative) {
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from))
      if (entry.path().filename() != part)
        fs::create_symlink(entry.path(), to / entry.path().filename());
    from /= part;
    to /= part;
  }
  folder.write((fs::path("demo") / relative).string(), bytes);
  return dir;
}

std::uint64_t FingerprintOf(const fs::path& dir, const char* player1, const char* player2) {
  const PathResolver paths(dir);
  Settings settings;
  Content content;
  LoadReport report;
  GetXML(paths, settings, content, report);
  MatchSetup setup;
  setup.player1 = player1;
  setup.player2 = player2;
  setup.stage = "Harbour";
  return MatchFingerprint(paths, content, setup);
}

// The rules read the XML files and the fighters' and effects' frames (the
// pixel hit tests): a replay must not be played on other pictures.
TEST(MatchFingerprint, CoversTheFramesTheFightersRulesRead) {
  const auto frame = ReadWholeFile(fs::path(VDX_DEMO_DIR) / "Characters/vex/Standing/stand02.VDP");
  ASSERT_TRUE(frame.has_value()) << "the demo folder";
  std::string other = *frame;
  other[other.size() / 2] ^= 1;
  const std::uint64_t kiraVex = FingerprintOf(VDX_DEMO_DIR, "Kira", "Vex");
  const std::uint64_t kiraBrann = FingerprintOf(VDX_DEMO_DIR, "Kira", "Brann");
  EXPECT_NE(kiraVex, kiraBrann) << "other fighters, other frames";
  EXPECT_EQ(FingerprintOf(VDX_DEMO_DIR, "Kira", "Vex"), kiraVex) << "the same folder, the same";

  testing::TestFolder one;
  const fs::path changed = DemoWithOwn(one, "Characters/vex/Standing/stand02.VDP", other);
  EXPECT_NE(FingerprintOf(changed, "Kira", "Vex"), kiraVex) << "one bit of one of Vex's frames";
  EXPECT_NE(FingerprintOf(changed, "Vex", "Kira"), FingerprintOf(VDX_DEMO_DIR, "Vex", "Kira"));
  EXPECT_EQ(FingerprintOf(changed, "Kira", "Brann"), kiraBrann) << "Vex does not fight here";

  testing::TestFolder two;
  const fs::path gone = DemoWithOwn(two, "Characters/vex/Standing/stand02.VDP", "");
  fs::remove(gone / "Characters/vex/Standing/stand02.VDP");
  EXPECT_NE(FingerprintOf(gone, "Kira", "Vex"), kiraVex) << "a frame taken away";
}

// Kira against Brann on the harbour from buttons alone: a block to start the
// fight, then both walk in, punch, kick, jump and sweep.
Replay ButtonReplay() {
  const PathResolver paths(VDX_DEMO_DIR);
  Settings settings;
  Content content;
  LoadReport report;
  GetXML(paths, settings, content, report);
  ReplayMatch match;
  match.setup.player1 = "Kira";
  match.setup.player2 = "Brann";
  match.setup.stage = "Harbour";
  match.setup.GameMode = 2;
  match.settings = ReplaySettingsOf(settings);
  match.randomState = RandomGenerator().state();
  match.contentFingerprint = MatchFingerprint(paths, content, match.setup);
  const auto hold = [&match](int frames, std::uint8_t one, std::uint8_t two) {
    for (int i = 0; i < frames; ++i) match.frames.push_back({PlayerInput{one}, PlayerInput{two}});
  };
  hold(20, 0, 0);
  hold(4, kButtonBlock, 0);
  hold(20, 0, 0);
  hold(50, kButtonRight, kButtonLeft);
  hold(12, kButtonPunch, kButtonKick);
  hold(20, 0, kButtonBlock);
  hold(12, kButtonDown | kButtonKick, kButtonUp);
  hold(30, kButtonUp | kButtonRight, 0);
  hold(12, kButtonKick, kButtonPunch);
  hold(40, 0, 0);
  Replay replay;
  replay.matches.push_back(match);
  return replay;
}

struct ReplayRun {
  int status = -1;
  std::string errors;
  std::vector<std::string> lines;  // the frame hashes
};

ReplayRun PlayHeadless(const testing::TestFolder& folder, const fs::path& file, bool draw,
                       int syncTest, const std::string& hashes) {
  platform::HeadlessPlatform platform;
  Game game(platform, VDX_DEMO_DIR);
  game.log.path = folder.path() / "log.txt";
  RunRequest request;
  request.replay = file;
  request.frameHashes = folder.path() / hashes;
  request.draw = draw;
  request.syncTest = syncTest;
  ReplayRun run;
  ::testing::internal::CaptureStderr();
  run.status = Main(game, "1", request);
  run.errors = ::testing::internal::GetCapturedStderr();
  std::istringstream text(folder.read(hashes));
  for (std::string line; std::getline(text, line);) run.lines.push_back(line);
  return run;
}

// A replay plays the same states drawn or not, and with the sync test, which
// passes silently and changes nothing, pictures included.
TEST(PlayReplayFile, PlaysTheSameStatesUndrawnAndUnderTheSyncTest) {
  testing::TestFolder folder;
  const Replay replay = ButtonReplay();
  const fs::path file = folder.path() / "buttons.vdr";
  ASSERT_TRUE(WriteReplayFile(file, replay).ok);

  const ReplayRun drawn = PlayHeadless(folder, file, true, 0, "drawn.txt");
  ASSERT_EQ(drawn.status, 0) << drawn.errors;
  ASSERT_EQ(drawn.lines.size(), replay.matches[0].frames.size()) << "a line per recorded frame";
  const ReplayRun checked = PlayHeadless(folder, file, true, 3, "checked.txt");
  EXPECT_EQ(checked.status, 0) << checked.errors;
  EXPECT_EQ(checked.errors, "");
  EXPECT_EQ(checked.lines, drawn.lines) << "stepping ahead and back leaves the fight as it was";
  const ReplayRun unseen = PlayHeadless(folder, file, false, 8, "unseen.txt");
  EXPECT_EQ(unseen.status, 0) << unseen.errors;
  EXPECT_EQ(unseen.errors, "");
  ASSERT_EQ(unseen.lines.size(), drawn.lines.size());
  for (std::size_t i = 0; i < drawn.lines.size(); ++i) {
    const std::string& line = drawn.lines[i];
    const auto picture = line.rfind(' ');
    ASSERT_EQ(line.size() - picture - 1, 16u) << "a drawn frame's picture hash: " << line;
    EXPECT_EQ(unseen.lines[i], line.substr(0, picture) + " -") << "frame " << i + 1;
  }
}

}  // namespace
}  // namespace vdx
