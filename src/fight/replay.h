// Replays: the matches of one run, each as its start (fighters, stage, mode,
// the settings that change play, the generator's state, the content's
// fingerprint) and both players' buttons of every fight frame. Played back
// frame by frame, a replay runs the same fight again.
//
// The file is compact: frames come as runs of the same buttons, most frames
// repeating the one before. Its layout is described in README.md ("Replay
// files").
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "content/records.h"
#include "content/settings.h"
#include "core/files.h"
#include "fight/fight_state.h"
#include "input/player_input.h"

namespace vdx {

// The format version this program writes. It reads this one and the one
// before, whose matches hold no computer levels and play at the profile's
// level (kProfileDifficulty).
inline constexpr std::uint16_t kReplayVersion = 3;
inline constexpr std::uint16_t kReplayVersionWithoutLevels = 2;

// The most fight frames a replay holds, all its matches together: more than a
// day of fight. A file that claims more is refused before anything is made of
// it, so that a few bytes cannot ask for gigabytes; a recorder stops adding
// frames at this count.
inline constexpr std::uint64_t kMostReplayFrames = 10'000'000;

// The settings of Game.xml that change how a fight plays out (Rounds,
// Weather, CharacterWidth) or what it draws (Shadows, LowDetail, so that a
// replay shows the same pictures).
struct ReplaySettings {
  Integer Rounds = 0;
  bool Weather = false;
  bool Shadows = false;
  bool LowDetail = false;
  Integer CharacterWidth = 0;
};

struct ReplayMatch {
  MatchSetup setup;  // the fighters, the stage, the mode, who the computer plays
  ReplaySettings settings;
  std::uint64_t randomState = 0;         // RandomGenerator::state() at the match start
  std::uint64_t contentFingerprint = 0;  // ContentFingerprint of the content it was played on
  std::vector<FightInputs> frames;       // one per fight frame, in order
};

struct Replay {
  std::vector<ReplayMatch> matches;  // in the order they were played
  // The version the file was read from. One of kReplayVersionWithoutLevels
  // is written back in its own format while every level in it is the
  // profile's, so that a file reads and writes back to the same bytes.
  std::uint16_t version = kReplayVersion;
};

struct ReplayError {
  std::string message;  // "the file is cut short: it holds 40 of its 212 bytes"
};

ReplaySettings ReplaySettingsOf(const Settings& settings);
// Puts a replay's settings into the game's, leaving the others as they are.
void ApplyReplaySettings(const ReplaySettings& replay, Settings& settings);

// FNV-1a, 64 bits, continued from `hash`.
std::uint64_t Fnv1a64(std::string_view bytes, std::uint64_t hash = 0xCBF29CE484222325u);

// The fingerprint of the content a fight depends on: FNV-1a over each file's
// length (8 bytes, little-endian) and bytes, in this order. A missing file is
// given as empty.
std::uint64_t ContentFingerprint(std::string_view gameXml, std::string_view aiXml,
                                 std::string_view storyXml);
// A fingerprint continued with one more file: its length and bytes as above,
// or, for a file that is not there, a length of 2^64 - 1 and no bytes.
std::uint64_t FingerprintFile(std::uint64_t hash, const std::optional<std::string>& bytes);

// The message to show when match `number` (1-based) was recorded on content
// with another fingerprint than `here`; empty when they are the same.
std::string MatchContentMismatch(std::size_t number, std::uint64_t recorded, std::uint64_t here);
// The same for every match of the replay against one fingerprint: the first
// mismatch, or empty.
std::string ContentMismatch(const Replay& replay, std::uint64_t fingerprint);

std::string EncodeReplay(const Replay& replay);
// The file around a body: header, body, checksum. The last step of
// EncodeReplay; tests and the fuzzer seal bodies they made or altered.
std::string SealReplay(std::string_view body, std::uint16_t version = kReplayVersion);
// Reads what EncodeReplay wrote, or says what is wrong with the bytes.
std::variant<Replay, ReplayError> DecodeReplay(std::string_view bytes);

// Writes the file whole (see WriteWholeFile): a failed write leaves the old one.
WriteResult WriteReplayFile(const std::filesystem::path& path, const Replay& replay);
// The replay of a file; the error names the file.
std::variant<Replay, ReplayError> ReadReplayFile(const std::filesystem::path& path);

}  // namespace vdx
