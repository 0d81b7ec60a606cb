// A game on the demo folder for the fight benchmarks, its log kept out of the
// folder, and the demo match: Kira and Brann on the harbour (in the rain when
// Game.xml's Weather is on, as in the demo folder).
#pragma once

#include <filesystem>

#include "content/get_xml.h"
#include "fight/fight_state.h"
#include "game/game.h"
#include "platform/headless/headless_platform.h"

namespace bench {

struct DemoGame {
  DemoGame() : game(platform, VDX_DEMO_DIR) {
    const auto work = std::filesystem::temp_directory_path() / "vdx_bench_fight";
    std::filesystem::create_directories(work);
    platform.openAudio();
    game.log.path = work / "log.txt";
    vdx::GetXML(game.paths, game.settings, game.content, game.loadReport);
  }
  ~DemoGame() { platform.closeAudio(); }
  DemoGame(const DemoGame&) = delete;
  DemoGame& operator=(const DemoGame&) = delete;
  vdx::platform::HeadlessPlatform platform;
  vdx::Game game;
};

inline vdx::MatchSetup KiraAndBrannOnTheHarbour() {
  vdx::MatchSetup setup;
  setup.player1 = "Kira";
  setup.player2 = "Brann";
  setup.stage = "Harbour";
  return setup;
}

}  // namespace bench
