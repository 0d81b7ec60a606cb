// save.dat, the record of finished story ladders: 4 bytes. Byte 1 bit k marks
// the character at position k + 1 of Game.xml (CharCount) as having finished
// its ladder, byte 2 bit k the character k + 9, byte 3 bit k the character
// k + 17; byte 0 is kept as it was.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "content/records.h"
#include "game/game.h"

namespace vdx {

inline constexpr std::size_t kStoryProgressSize = 4;
inline constexpr Integer kMostRecordedCharacters = 24;

struct StoryProgress {
  std::array<std::uint8_t, kStoryProgressSize> bytes{};
};

struct StoryProgressRead {
  StoryProgress progress;
  std::string problem;  // why the bytes were not used; empty when they were
};

// The progress in a file's bytes; nothing (no file) is no ladder finished. A
// file of any other length than 4 bytes is damaged: it reads as no ladder
// finished, and `problem` says why.
StoryProgressRead ReadStoryProgress(std::optional<std::string_view> bytes);

// Whether the character at this position of Game.xml has finished its ladder.
bool LadderFinished(const StoryProgress& progress, Integer charCount);

// Marks it; false for a position save.dat has no bit for (below 1, above 24).
bool MarkLadderFinished(StoryProgress& progress, Integer charCount);

// Reads save.dat (see SaveFileForReading); a damaged file is logged and reads as no
// ladder finished.
StoryProgress LoadStoryProgress(Game& game);

// Adds the character's finished ladder to save.dat through the safe write
// (unchanged when it is there already). What cannot be recorded is logged and
// the game goes on.
void RecordFinishedLadder(Game& game, const cCharacter& character);

}  // namespace vdx
