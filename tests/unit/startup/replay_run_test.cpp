#include "startup/replay_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "content/get_xml.h"
#include "core/files.h"
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

}  // namespace
}  // namespace vdx
