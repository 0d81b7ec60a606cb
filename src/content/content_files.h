// The files the game will open for the loaded content: the pictures, sounds,
// music and movies that the content names, and the fixed files the engine
// itself needs. The loaders build their paths with the functions below, and
// `vdx --check-content` walks the same list, so what the game opens is what the
// check looks at.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "content/content.h"
#include "content/load_report.h"
#include "content/paths.h"
#include "content/settings.h"

namespace vdx {

// How the game opens a file, which is how the check must open it.
enum class FileUse {
  Picture,       // a bitmap, drawn at whatever size the screen needs
  FighterFrame,  // a fighter's frame: a bitmap or a packed frame of exactly its frame size
  Sound,         // read whole into the sound table
  Music,         // streamed by the music player
  Movie,         // played by the movie player
  Page,          // opened by the desktop (the help page)
};

struct NamedFile {
  std::string owner;  // what needs it: Stage "Harbour" Background
  std::string path;   // content path under the game folder: \Stages\harbour.bmp
  FileUse use = FileUse::Picture;
  // A fighter frame's size in the game; 0 for others.
  int frameWidth = 0;
  int frameHeight = 0;
  // The game does without it (it looks for another): not missing when absent.
  bool optional = false;
  // Found by listing a folder the game loads whole (the sounds): a report names
  // this owner only when nothing else needs the file.
  bool listed = false;
};

using FileVisitor = std::function<void(const NamedFile&)>;

// --- Where the game finds each kind of file.

inline constexpr std::string_view kTitleMovie = "\\Movies\\VDTitle.avi";
inline constexpr std::string_view kMenuMusic = "\\Stages\\Music\\menu.ogg";
// The weather's pictures, opened for a stage with rain or snow.
inline constexpr std::string_view kRainPicture = "\\Effects\\Rain\\rain.bmp";
inline constexpr std::array<std::string_view, 3> kSnowPictures = {
    "\\Effects\\Snow\\Snow01.bmp", "\\Effects\\Snow\\Snow02.bmp", "\\Effects\\Snow\\Snow03.bmp"};

// The file number of frame k (1-based) of an action: 1, 2, 3, ... or, in low
// detail (aStep 2), 1, 3, 5, ...; never past 2 x Count - 1.
int FrameFileNumber(int k, int aStep, int count);

// The folder of a character: \Characters\<Path>.
std::string CharacterFolder(const cCharacter& c);
// A throw's frames show both fighters, so they are drawn once per opponent.
bool IsThrow(const cAction& a);
// The folder of an action's frames (a throw's on one opponent).
std::string ActionFolder(const cCharacter& c, const cAction& a, std::string_view opponentPath);
// For each record of a character's actions, effects or a stage's animations,
// in their order: whether it shows the frames of the record its Alias names
// instead of reading files. It does when that record comes no later and the
// frames laid out before this one hold its count from there; otherwise an
// aliased record reads the alias's folder itself. The loaders and the lists of
// needed files (the content check, the match fingerprint) all go by it.
template <typename Record, typename FrameCount>
std::vector<bool> RecordsSharingFrames(const Collection<Record>& records, FrameCount frameCount) {
  std::vector<bool> shares;
  std::unordered_map<const Record*, long long> firstFrame;  // 1-based, of those laid out
  long long laidOut = 0;  // frames laid out before the current record
  for (const Record& r : records) {
    const long long count = std::max(0, static_cast<int>(frameCount(r)));
    firstFrame.emplace(&r, laidOut + 1);
    const Record* aliased = r.Alias != r.Name ? records.find(r.Alias) : nullptr;
    const auto named = aliased != nullptr ? firstFrame.find(aliased) : firstFrame.end();
    shares.push_back(named != firstFrame.end() && named->second + count - 1 <= laidOut);
    laidOut += count;  // shared or read, a record lays out its count of frames
  }
  return shares;
}
std::vector<bool> ActionsSharingFrames(const cCharacter& c);
template <typename Record>
std::vector<bool> AnimationsSharingFrames(const Collection<Record>& records) {
  return RecordsSharingFrames(records, [](const Record& r) { return r.Frames; });
}
// Frame k (1-based, 1..Count) of an action; `opponentPath` names the folder of
// a throw's frames.
std::string ActionFramePath(const cCharacter& c, const cAction& a, std::string_view opponentPath,
                            int k);
// Frame k of an effect (root "\Effects\") or a stage animation (root "\Stages\"):
// root + Alias + "\" + Sprites + two digits + ".bmp".
std::string RecordFramePath(std::string_view root, const std::string& alias,
                            const std::string& sprites, int k);
std::string CharacterPortraitPath(const cCharacter& c);
// A stage's tile on the stage select screen: Stages\Portraits\<Background>,
// or else the background itself.
std::string StagePortraitPath(const cStage& s);
std::string StageBackgroundPath(const cStage& s);
// A fighter's own sounds: every file of this folder.
std::string FighterSoundsFolder(const cCharacter& c);
// An event movie of a character: its folder, `prefix` ("1_" for the first
// round won, empty for the match) and the event's File.
std::string EventMoviePath(const cCharacter& c, std::string_view prefix, const cEvent& event);

// --- The lists.

// Calls `visit` for every file the content needs, as each owner names it (a
// path needed twice comes twice). A throw's frames are listed per opponent
// folder (each Path once) that is there; the folders that are not make one
// entry per throw, a folder path ending in "\", so the cost is that of the
// characters and the files the folder holds, never of every pair of
// characters at once. `paths` finds the sounds and
// lists the sound folders, whose every file the game loads.
void ForEachNeededFile(const PathResolver& paths, const Settings& settings, const Content& content,
                       const FileVisitor& visit);

// The frames a fight's rules read for `fighter` against `opponent`: its action
// frames (a throw's on that opponent) and its effects' frames.
void ForEachFightFrame(const cCharacter& fighter, const cCharacter& opponent,
                       const FileVisitor& visit);

// ForEachNeededFile's files in a list (for small content: tests).
std::vector<NamedFile> FilesNeededByContent(const PathResolver& paths, const Settings& settings,
                                            const Content& content);

// Adds every needed file that does not exist to `report.missing`, each path
// once with all that need it; a path that would leave the game folder is added
// as refused.
void FindMissingFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                      LoadReport& report);

}  // namespace vdx
