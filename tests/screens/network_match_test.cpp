// The network match loop of both sides, each on its own thread with its own
// headless game, over ENet on this machine. Two games that are not the same
// fight (here one plays in the rain and the other not, which the handshake
// would have refused) must both stop with "the two games went out of step"
// at the same checked frame, and both must write a report holding both
// sides' states of that frame and a replay that reads.
#include "match/network_match.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <unistd.h>

#include "content/get_xml.h"
#include "core/files.h"
#include "fight/replay.h"
#include "platform/headless/headless_platform.h"

// SDL keeps an error text for each thread that it sets one on and lets it go
// only for threads it made itself; the other side's thread here is ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libSDL2-2.0.so"; }

namespace vdx {
namespace {

struct Side {
  explicit Side(const std::filesystem::path& folder) : game(platform, VDX_DEMO_DIR) {
    game.log.path = folder / "log.txt";
    GetXML(game.paths, game.settings, game.content, game.loadReport);
    game.settings.Rounds = 1;
    options.computerPlaysLocal = true;
    options.outputs.draw = false;
    options.reportFolder = folder / "desyncs";
  }

  platform::HeadlessPlatform platform;
  Game game;
  NetMatchOptions options;
  NetMatchResult result;
};

// A host and a caller connected on a free port of the loopback.
struct Connected {
  std::unique_ptr<platform::NetTransport> host, caller;
  platform::PeerId hostsPeer = 0, callersPeer = 0;
};

Connected Connect() {
  Connected c;
  std::mt19937 pick(static_cast<unsigned>(getpid()));
  std::string error;
  std::uint16_t port = 0;
  for (int attempt = 0; attempt < 20 && !c.host; ++attempt) {
    port = static_cast<std::uint16_t>(20000 + pick() % 40000);
    c.host = platform::ListenOnPort(port, 1, error);
  }
  if (!c.host) return c;
  c.caller = platform::ConnectToHost("127.0.0.1", port, 3000, error);
  if (!c.caller) return c;
  for (int i = 0; i < 300 && (c.hostsPeer == 0 || c.callersPeer == 0); ++i) {
    if (auto e = c.host->nextEvent(); e && e->kind == platform::NetEvent::Kind::Connected)
      c.hostsPeer = e->peer;
    if (auto e = c.caller->nextEvent(); e && e->kind == platform::NetEvent::Kind::Connected)
      c.callersPeer = e->peer;
    c.host->waitForEvent(10);
  }
  return c;
}

TEST(NetworkMatch, TwoGamesOutOfStepStopOnBothSidesWithAReportEach) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("vdx_network_match_" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "host");
  std::filesystem::create_directories(folder / "joined");
  Connected link = Connect();
  ASSERT_TRUE(link.host && link.caller);
  ASSERT_NE(link.hostsPeer, 0u);
  ASSERT_NE(link.callersPeer, 0u);

  Side host(folder / "host"), joined(folder / "joined");
  host.game.settings.Weather = true;
  joined.game.settings.Weather = false;
  host.options.session.localPlayer = 1;
  joined.options.session.localPlayer = 2;
  host.options.computerSeed = 3;
  joined.options.computerSeed = 4;
  const MatchSetup setup{"Kira", "Brann", "Harbour", 2};
  NetLink hostLink(*link.host), joinedLink(*link.caller);
  hostLink.peer = link.hostsPeer;
  joinedLink.peer = link.callersPeer;

  std::thread other([&] {
    joined.result = PlayNetworkMatch(joined.game, setup, 0x5EED, joinedLink, joined.options);
  });
  host.result = PlayNetworkMatch(host.game, setup, 0x5EED, hostLink, host.options);
  other.join();

  for (const Side* side : {&host, &joined}) {
    const NetMatchResult& r = side->result;
    EXPECT_EQ(r.end, NetMatchEnd::Desynced);
    EXPECT_EQ(NetMatchEndText(r.end), "the two games went out of step");
    ASSERT_TRUE(r.desync);
    EXPECT_EQ(r.desync->frame % 30, 0u);
    EXPECT_LE(r.desync->frame, 90u) << "found late";
    ASSERT_FALSE(r.report.empty());
    const std::string report = ReadWholeFile(r.report / "report.txt").value_or("");
    EXPECT_NE(report.find("the two games went out of step at frame " + std::to_string(r.desync->frame)),
              std::string::npos)
        << report;
    // Both sides' states of that frame, each a dump of it.
    for (const char* name : {"here.json", "there.json"}) {
      const std::string dump = ReadWholeFile(r.report / name).value_or("");
      EXPECT_NE(dump.find("\"frame\": " + std::to_string(r.desync->frame)), std::string::npos)
          << name << " of " << r.report;
    }
    const auto replay = ReadReplayFile(r.report / "replay.vdr");
    ASSERT_TRUE(std::holds_alternative<Replay>(replay));
    EXPECT_GE(std::get<Replay>(replay).matches.at(0).frames.size(), r.desync->frame);
  }
  EXPECT_EQ(host.result.desync->frame, joined.result.desync->frame);
  // Each side's "there" is the other's "here".
  EXPECT_EQ(ReadWholeFile(host.result.report / "there.json"),
            ReadWholeFile(joined.result.report / "here.json"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vdx
