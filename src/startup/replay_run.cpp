#include "startup/replay_run.h"

#include <iostream>
#include <unordered_set>
#include <variant>

#include "content/content_files.h"
#include "core/files.h"
#include "match/fight_loop.h"
#include "fight/replay.h"
#include "startup/main_routine.h"

namespace vdx {

namespace {

// The fingerprint of the three XML files, continued with the fight frames of
// each pairing `pairs` visits (each file once) and the pictures every match
// reads.
template <typename Pairs>
std::uint64_t FingerprintOf(const PathResolver& paths, Pairs pairs) {
  auto bytes = [&paths](std::string_view name) -> std::optional<std::string> {
    const auto file = paths.find(name);
    return file ? ReadWholeFile(*file) : std::nullopt;
  };
  auto text = [&bytes](std::string_view name) { return bytes(name).value_or(std::string()); };
  std::uint64_t hash =
      ContentFingerprint(text("\\Game.xml"), text("\\ai.xml"), text("\\story.xml"));
  // Each file once, in the order the fighters name them, read one at a time.
  std::unordered_set<std::string> hashed;
  const FileVisitor add = [&](const NamedFile& frame) {
    if (hashed.insert(FoldKey(frame.path)).second) hash = FingerprintFile(hash, bytes(frame.path));
  };
  if (!pairs(add)) return hash;
  // The rules read two more pictures: the pick-up's (a fighter takes it where
  // its pixels touch) and the snowflakes' (a flake starts again as high as
  // its picture).
  add(NamedFile{"the pick-up", "\\ball.bmp"});
  for (const std::string_view flake : kSnowPictures) add(NamedFile{"snow", std::string(flake)});
  return hash;
}

}  // namespace

std::uint64_t MatchFingerprint(const PathResolver& paths, const Content& content,
                               const MatchSetup& setup) {
  return FingerprintOf(paths, [&](const FileVisitor& add) {
    const cCharacter* one = content.Characters.find(setup.player1);
    const cCharacter* two = content.Characters.find(setup.player2);
    if (one == nullptr || two == nullptr) return false;
    ForEachFightFrame(*one, *two, add);
    ForEachFightFrame(*two, *one, add);
    return true;
  });
}

std::uint64_t GameFolderFingerprint(const PathResolver& paths, const Content& content) {
  return FingerprintOf(paths, [&](const FileVisitor& add) {
    for (const cCharacter& one : content.Characters)
      for (const cCharacter& two : content.Characters) ForEachFightFrame(one, two, add);
    return true;
  });
}

int PlayReplayFile(Game& game, const std::filesystem::path& file, std::string* frameHashes,
                   bool draw, int syncTest) {
  auto read = ReadReplayFile(file);
  if (const auto* error = std::get_if<ReplayError>(&read)) {
    std::cerr << "vdx: " << error->message << "\n";
    return 2;
  }
  const Replay& replay = std::get<Replay>(read);
  for (std::size_t m = 0; m < replay.matches.size(); ++m) {
    const MatchSetup& s = replay.matches[m].setup;
    if (!game.content.Characters.contains(s.player1) ||
        !game.content.Characters.contains(s.player2) || !game.content.Stages.contains(s.stage)) {
      std::cerr << "vdx: " << file.string() << ": a match of " << s.player1 << " and "
                << s.player2 << " on " << s.stage << " names what this game folder lacks\n";
      return 2;
    }
    const std::string mismatch = MatchContentMismatch(
        m + 1, replay.matches[m].contentFingerprint, MatchFingerprint(game.paths, game.content, s));
    if (!mismatch.empty()) {
      std::cerr << "vdx: " << file.string() << ": " << mismatch << "\n";
      return 2;
    }
  }
  int status = 0;
  for (std::size_t m = 0; m < replay.matches.size(); ++m) {
    std::string syncFailure;
    FightOutputs outputs{frameHashes, nullptr};
    outputs.draw = draw;
    outputs.syncTest = syncTest;
    outputs.syncFailure = &syncFailure;
    ReplayMatchAgain(game, replay.matches[m], outputs);
    if (!syncFailure.empty()) {
      std::cerr << "vdx: " << file.string() << ": match " << m + 1 << ": the sync test ("
                << syncTest << (syncTest == 1 ? " frame" : " frames") << " ahead) failed: " << syncFailure << "\n";
      status = kStatusSyncFailed;
      break;
    }
    if (game.QuitRequested) break;
  }
  // A replay run ends with its replay.
  game.QuitRequested = true;
  return status;
}

}  // namespace vdx
