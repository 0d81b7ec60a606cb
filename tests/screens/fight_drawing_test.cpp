// What the fight draws of its fighters, checked on the pictures of a scripted
// match on the demo folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "content/get_xml.h"
#include "fight/fighter_pass.h"
#include "graphics/sprite_loading.h"
#include "platform/headless/headless_platform.h"
#include "platform/picture_files.h"
#include "screens/json_scan.h"
#include "startup/main_routine.h"
#include "unit/test_folder.h"

namespace vdx {
namespace {

namespace fs = std::filesystem;

// One fighter as a state dump tells it.
struct Seen {
  std::string action;
  long frame = 0, x = 0, y = 0;
  bool facingLeft = false, grabCaught = false;
};

std::map<int, Seen> ReadDump(const std::string& json) {
  std::map<int, Seen> out;
  int player = 0;
  // The summary; the whole state follows it.
  const std::size_t stateAt = json.find("\"state\": ");
  testing::ScanJsonFields(json, [&](std::size_t at, const std::string& key, const std::string& value) {
    if (at >= stateAt) return;
    if (key == "player") player = std::stoi(value);
    if (player == 0) return;
    Seen& s = out[player];
    if (key == "ActionName") s.action = value;
    if (key == "CurrentFrame") s.frame = std::stol(value);
    if (key == "x") s.x = std::stol(value);
    if (key == "y") s.y = std::stol(value);
    if (key == "facing") s.facingLeft = value == "left";
    if (key == "grabCaught") s.grabCaught = value == "true";
  });
  return out;
}

bool Keyed(std::uint32_t pixel) {
  return To565(pixel) == 0;  // the fighters' key is black, compared in 5-6-5
}

// A fighter's frame where the fight draws it: the picture's pixel under a
// point of the screen, or nullopt where the frame is not drawn.
struct Placed {
  const Surface* picture = nullptr;
  long left = 0, top = 0;
  bool mirrored = false;

  std::optional<std::uint32_t> at(long x, long y) const {
    long px = x - left;
    const long py = y - top;
    if (picture == nullptr || px < 0 || py < 0 || px >= picture->width || py >= picture->height)
      return std::nullopt;
    if (mirrored) px = picture->width - 1 - px;
    const std::uint32_t texel = picture->at(static_cast<int>(px), static_cast<int>(py));
    if (Keyed(texel)) return std::nullopt;
    return texel & 0xFFFFFF;
  }
};

Placed Place(const cCharacter& c, const FighterFrames& frames, const Seen& s) {
  FighterState f;
  f.ActionName = s.action;
  const cAction* action = CurrentAction(c, f);
  const bool wide = action != nullptr && (action->AnimationType == "Grab" || action->bLarge);
  Placed p;
  if (s.frame >= 1 && s.frame <= static_cast<long>(frames.frames.size()))
    p.picture = frames.frames[static_cast<std::size_t>(s.frame - 1)].get();
  p.left = s.x - (wide ? 108 : 0);
  p.top = s.y + (action != nullptr ? action->yOffset : 0);
  p.mirrored = s.facingLeft;
  return p;
}

// The share of the victim's own frame that shows on the screen, counted where
// the thrower's frame does not cover it and above the shadows. A sprite's
// 256 columns are drawn over 255 (the blitter's rectangle), so a pixel counts
// as shown when it is one of the texels next to the one under it.
double ShownShare(const platform::Image& shot, const Placed& victim, const Placed& thrower) {
  long counted = 0, shown = 0;
  for (long y = 0; y < 400; ++y)
    for (long x = 0; x < shot.width; ++x) {
      if (!victim.at(x, y) || thrower.at(x, y)) continue;
      ++counted;
      const std::uint32_t pixel =
          shot.pixels[static_cast<std::size_t>(y * shot.width + x)] & 0xFFFFFF;
      bool near = false;
      for (long dy = -1; dy <= 1 && !near; ++dy)
        for (long dx = -1; dx <= 1 && !near; ++dx)
          near = victim.at(x + dx, y + dy) == pixel;
      shown += near;
    }
  return counted == 0 ? -1.0 : static_cast<double>(shown) / static_cast<double>(counted);
}

TEST(FightDrawing, AThrownFighterShowsOnlyInTheThrowersFramesWhileTheGrabHolds) {
  testing::TestFolder folder;
  // The demo without the falling pick-up, so that nothing passes over the fighters.
  const fs::path demo = folder.path() / "demo";
  fs::create_directories(demo);
  for (const auto& entry : fs::directory_iterator(VDX_DEMO_DIR))
    if (entry.path().filename() != "ball.bmp")
      fs::create_symlink(entry.path(), demo / entry.path().filename());

  // Kira walks up to Brann and throws him (Down, forward, Kick); a picture and
  // a state every frame from just before the throw until well after it.
  std::string script =
      "wait 300\ntap D\nwait 300\npress Right\nwait 2500\nrelease Right\nwait 200\n"
      "press Down\nwait 60\nrelease Down\npress Right\nwait 60\nrelease Right\n";
  constexpr int kSamples = 90;
  for (int i = 0; i < kSamples; ++i) {
    if (i == 1) script += "press S\n";
    if (i == 5) script += "release S\n";
    const std::string name = (folder.path() / ("s" + std::to_string(i))).string();
    script += "wait 16\nstate " + name + ".json\nscreenshot " + name + ".png\n";
  }
  script += "quit\n";
  auto parsed = platform::ParseScript(script);
  ASSERT_TRUE(std::holds_alternative<platform::Script>(parsed));
  platform::HeadlessPlatform platform;
  platform.runScript(std::get<platform::Script>(std::move(parsed)));
  Game game(platform, demo);
  game.log.path = folder.path() / "log.txt";
  RunRequest request;
  request.versus = "Kira,Brann";
  request.stage = "Neon Street";  // no rain or snow over the fighters
  ASSERT_EQ(Main(game, "1", request), 0);

  // The fighters' frames, as the fight loads them.
  platform::HeadlessPlatform reader;
  Game content(reader, demo);
  content.log.path = folder.path() / "log.txt";
  GetXML(content.paths, content.settings, content.content, content.loadReport);
  const LoadContext ctx{reader, content.paths, content.log, nullptr};
  cCharacter kira = *content.content.Characters.find("Kira");
  cCharacter brann = *content.content.Characters.find("Brann");
  FighterFrames kiraFrames, brannFrames;
  loadcharacteractions(ctx, kira, kiraFrames, brann.Path, false);
  loadcharacteractions(ctx, brann, brannFrames, kira.Path, false);

  // The fighter going first is drawn before the other's turn: on the frame a
  // throw begins or ends while the thrown one goes first, its picture follows
  // one frame late. Those frames are not judged.
  int before = 0, held = 0, heldStanding = 0, after = 0;
  bool thrown = false, wasHeld = false;
  for (int i = 0; i < kSamples; ++i) {
    const std::string name = (folder.path() / ("s" + std::to_string(i))).string();
    const auto dump = ReadDump(folder.read("s" + std::to_string(i) + ".json"));
    const auto shot = platform::ReadPng(name + ".png");
    ASSERT_TRUE(shot && dump.count(1) && dump.count(2)) << i;
    const Seen& thrower = dump.at(1);
    const Seen& victim = dump.at(2);
    const double share =
        ShownShare(*shot, Place(brann, brannFrames, victim), Place(kira, kiraFrames, thrower));
    ASSERT_GE(share, 0.0) << "sample " << i << ": nothing of Brann to look at";
    const bool isHeld = thrower.action == "Throw" && thrower.grabCaught;
    EXPECT_TRUE(isHeld || thrower.action != "Throw") << "sample " << i << ": caught nobody";
    const bool changed = i > 0 && isHeld != wasHeld;
    wasHeld = isHeld;
    if (changed) continue;
    if (isHeld) {
      thrown = true;
      ++held;
      heldStanding += victim.action == "Standing";
      EXPECT_LT(share, 0.05) << "sample " << i << ": Brann (" << victim.action
                             << ") drawn beside Kira's throw, which shows him";
    } else {
      (thrown ? after : before) += 1;
      EXPECT_GT(share, 0.6) << "sample " << i << ": Brann (" << victim.action
                            << ") missing while Kira is " << thrower.action;
    }
  }
  EXPECT_GT(before, 0) << "no picture before the throw";
  EXPECT_GT(held, 10) << "the throw was not seen";
  EXPECT_GT(after, 10) << "no picture after the throw";
  // Brann is back on his feet before Kira's throw ends: still only the throw shows him.
  EXPECT_GT(heldStanding, 0);
}

}  // namespace
}  // namespace vdx
