#include "startup/replay_run.h"

#include <iostream>
#include <variant>

#include "core/files.h"
#include "fight/fight_loop.h"
#include "fight/replay.h"

namespace vdx {

std::uint64_t GameFolderFingerprint(const PathResolver& paths) {
  auto bytes = [&paths](const char* name) {
    const auto file = paths.find(name);
    const auto read = file ? ReadWholeFile(*file) : std::nullopt;
    return read.value_or(std::string());
  };
  return ContentFingerprint(bytes("\\Game.xml"), bytes("\\ai.xml"), bytes("\\story.xml"));
}

int PlayReplayFile(Game& game, const std::filesystem::path& file, std::string* frameHashes) {
  auto read = ReadReplayFile(file);
  if (const auto* error = std::get_if<ReplayError>(&read)) {
    std::cerr << "vdx: " << error->message << "\n";
    return 2;
  }
  const Replay& replay = std::get<Replay>(read);
  const std::string mismatch = ContentMismatch(replay, GameFolderFingerprint(game.paths));
  if (!mismatch.empty()) {
    std::cerr << "vdx: " << file.string() << ": " << mismatch << "\n";
    return 2;
  }
  for (const ReplayMatch& match : replay.matches) {
    const MatchSetup& s = match.setup;
    if (!game.content.Characters.contains(s.player1) ||
        !game.content.Characters.contains(s.player2) || !game.content.Stages.contains(s.stage)) {
      std::cerr << "vdx: " << file.string() << ": a match of " << s.player1 << " and "
                << s.player2 << " on " << s.stage << " names what this game folder lacks\n";
      return 2;
    }
  }
  for (const ReplayMatch& match : replay.matches) {
    ReplayMatchAgain(game, match, FightOutputs{frameHashes, nullptr});
    if (game.QuitRequested) break;
  }
  // A replay run ends with its replay.
  game.QuitRequested = true;
  return 0;
}

}  // namespace vdx
