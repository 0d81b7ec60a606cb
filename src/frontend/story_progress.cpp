#include "frontend/story_progress.h"

#include "core/files.h"
#include "core/log.h"
#include "game/player_files.h"

namespace vdx {

StoryProgressRead ReadStoryProgress(std::optional<std::string_view> bytes) {
  StoryProgressRead read;
  if (!bytes) return read;
  if (bytes->size() != kStoryProgressSize) {
    read.problem = "save.dat is damaged (" + std::to_string(bytes->size()) +
                   " bytes instead of 4); it counts as no story finished";
    return read;
  }
  for (std::size_t i = 0; i < kStoryProgressSize; ++i)
    read.progress.bytes[i] = static_cast<std::uint8_t>((*bytes)[i]);
  return read;
}

namespace {

// The byte and bit of a position, or nothing.
std::optional<std::pair<std::size_t, int>> BitOf(Integer charCount) {
  if (charCount < 1 || charCount > kMostRecordedCharacters) return std::nullopt;
  const int index = charCount - 1;
  return std::pair<std::size_t, int>{static_cast<std::size_t>(1 + index / 8), index % 8};
}

}  // namespace

bool LadderFinished(const StoryProgress& progress, Integer charCount) {
  const auto bit = BitOf(charCount);
  return bit && (progress.bytes[bit->first] & (1u << bit->second)) != 0;
}

bool MarkLadderFinished(StoryProgress& progress, Integer charCount) {
  const auto bit = BitOf(charCount);
  if (!bit) return false;
  progress.bytes[bit->first] =
      static_cast<std::uint8_t>(progress.bytes[bit->first] | (1u << bit->second));
  return true;
}

StoryProgress LoadStoryProgress(Game& game) {
  const std::filesystem::path path = SaveFileForReading(game);
  std::optional<std::string> bytes;
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    bytes = ReadWholeFile(path);
    if (!bytes) {
      WriteLog(game.log, LogOpening::Append,
               {"save.dat cannot be read; it counts as no story finished"});
      return {};
    }
  }
  StoryProgressRead read = ReadStoryProgress(bytes);
  if (!read.problem.empty()) WriteLog(game.log, LogOpening::Append, {read.problem});
  return read.progress;
}

void RecordFinishedLadder(Game& game, const cCharacter& character) {
  StoryProgress progress = LoadStoryProgress(game);
  const StoryProgress before = progress;
  if (!MarkLadderFinished(progress, character.CharCount)) {
    WriteLog(game.log, LogOpening::Append,
             {"save.dat has no place for " + character.Name + " (character " +
              std::to_string(character.CharCount) + " of Game.xml; it holds 24)"});
    return;
  }
  const std::filesystem::path path = SaveFileForWriting(game);
  std::error_code error;
  if (progress.bytes == before.bytes &&
      std::filesystem::file_size(path, error) == kStoryProgressSize)
    return;
  // A folder that cannot be made is reported; the write below then says why it fails.
  ReadyPlayerFolder(game, path.parent_path());
  const WriteResult written =
      WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(progress.bytes.data()),
                                            progress.bytes.size()));
  if (!written.ok)
    ReportFailedWrite(
        game.log, path,
        "The finished story of " + character.Name + " is not recorded: " + written.error);
}

}  // namespace vdx
