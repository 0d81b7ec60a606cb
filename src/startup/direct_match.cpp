#include "startup/direct_match.h"

#include <cstdio>
#include <iostream>

#include "core/log.h"
#include "game/player_files.h"
#include "match/fight_loop.h"
#include "match/training_mode.h"
#include "fight/replay.h"
#include "platform/resident_memory.h"
#include "startup/replay_run.h"

namespace vdx {
namespace {

template <typename T>
std::string NamesOf(const Collection<T>& records) {
  std::string names;
  for (std::size_t i = 1; i <= records.size(); ++i)
    names += (i > 1 ? ", " : "") + records.keyAt(i);
  return names.empty() ? "none" : names;
}

}  // namespace

std::variant<MatchSetup, std::string> ResolveDirectMatch(const Content& content,
                                                         const std::string& versus,
                                                         const std::optional<std::string>& stage) {
  MatchSetup setup;
  const auto comma = versus.find(',');
  const std::string names[2] = {versus.substr(0, comma), versus.substr(comma + 1)};
  std::string* keys[2] = {&setup.player1, &setup.player2};
  for (int i = 0; i < 2; ++i) {
    const cCharacter* c = content.Characters.find(names[i]);
    if (c == nullptr)
      return "no character \"" + names[i] + "\"; the characters are: " +
             NamesOf(content.Characters);
    *keys[i] = c->Name;
  }
  if (stage) {
    const cStage* s = content.Stages.find(*stage);
    if (s == nullptr)
      return "no stage \"" + *stage + "\"; the stages are: " + NamesOf(content.Stages);
    setup.stage = s->Name;
  } else {
    for (const cStage& s : content.Stages)
      if (!s.Disabled) {
        setup.stage = s.Name;
        break;
      }
    if (setup.stage.empty()) return "no stage is enabled in Game.xml";
  }
  setup.GameMode = 2;
  return setup;
}

namespace {

std::string Megabytes(std::optional<std::uint64_t> bytes) {
  if (!bytes) return "unknown";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(*bytes) / (1024.0 * 1024.0));
  return text;
}

std::string MatchLine(int number, const MatchSetup& setup, const MatchResult& result) {
  const std::string names[3] = {"", setup.player1, setup.player2};
  std::string line = "match " + std::to_string(number) + ": ";
  if (result.winner != 0)
    line += names[result.winner] + " (player " + std::to_string(result.winner) + ") won";
  else if (result.undecided)
    line += "undecided";
  else
    line += "not finished";
  return line + ", " + std::to_string(result.rounds) + " rounds, " +
         std::to_string(result.frames) + " frames";
}

}  // namespace

int PlayDirectMatches(Game& game, const RunRequest& request, std::string* frameHashes) {
  const auto match = ResolveDirectMatch(game.content, *request.versus, request.stage);
  if (const auto* problem = std::get_if<std::string>(&match)) {
    std::cerr << "vdx: " << *problem << "\n";
    return kStatusRefused;
  }
  MatchSetup setup = std::get<MatchSetup>(match);
  setup.computer = request.cpu;
  setup.levels = request.levels.value_or(
      std::array<Integer, 2>{game.settings.Difficulty, game.settings.Difficulty});
  if (request.cpu != ComputerPlays::None) setup.GameMode = 1;
  const bool series = request.matches > 1;
  Replay recorded;
  std::uint64_t recordedFrames = 0;
  bool recordFull = false;
  std::optional<std::uint64_t> firstMemory, lastMemory;
  int undecided = 0;
  for (int n = 1; n <= request.matches && !game.QuitRequested; ++n) {
    ReplayMatch* record = nullptr;
    if (request.record) record = &recorded.matches.emplace_back();
    FightOutputs outputs{frameHashes, record};
    outputs.recordRoom = kMostReplayFrames - recordedFrames;
    outputs.draw = request.draw;
    if (series) outputs.frameLimit = kUndecidedAfterFrames;
    const MatchResult result = PlayMatch(game, setup, outputs);
    if (record != nullptr) {
      record->contentFingerprint = MatchFingerprint(game.paths, game.content, setup);
      recordedFrames += record->frames.size();
      recordFull = recordFull || result.recordFull;
    }
    // Measured on what is in use, not on what the allocator keeps for later.
    platform::ReturnFreeMemory();
    (n == 1 ? firstMemory : lastMemory) = platform::ResidentBytes();
    if (result.undecided) ++undecided;
    if (series && !result.quit) std::cout << MatchLine(n, setup, result) << "\n" << std::flush;
  }
  if (series) {
    std::cout << "resident memory: " << Megabytes(firstMemory) << " after the first match, "
              << Megabytes(lastMemory ? lastMemory : firstMemory) << " after the last; "
              << undecided << " undecided\n";
  }
  // A series, or the computer fighting itself, ends the run with its matches.
  if (series || request.cpu == ComputerPlays::Both) game.QuitRequested = true;
  if (request.record) {
    const std::filesystem::path file = ReplayFileForWriting(game, *request.record);
    if (recordFull) {
      const std::string full = "the replay " + file.string() + " holds the first " +
                               std::to_string(kMostReplayFrames) +
                               " fight frames of the run, as many as a replay can hold";
      WriteLog(game.log, LogOpening::Append, {full});
      std::cerr << "vdx: " << full << "\n";
    }
    const WriteResult written = WriteReplayFile(file, recorded);
    if (!written.ok) {
      ReportFailedWrite(game.log, file,
                        "cannot write the replay " + file.string() + ": " + written.error);
      return kStatusNotWritten;
    }
  }
  return 0;
}

int PlayDirectTraining(Game& game, const RunRequest& request) {
  const auto match = ResolveDirectMatch(game.content, *request.training, request.stage);
  if (const auto* problem = std::get_if<std::string>(&match)) {
    std::cerr << "vdx: " << *problem << "\n";
    return kStatusRefused;
  }
  PlayTraining(game, std::get<MatchSetup>(match));
  return 0;
}

}  // namespace vdx
