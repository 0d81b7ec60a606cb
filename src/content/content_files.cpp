#include "content/content_files.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "content/xml_values.h"

namespace vdx {
namespace {

// Pictures, music and help the engine opens by fixed names.
struct EngineFile {
  std::string_view path;
  FileUse use;
};
constexpr EngineFile kEngineFiles[] = {
    {"\\VDXFont.bmp", FileUse::Picture},
    {"\\text.bmp", FileUse::Picture},
    {"\\random.bmp", FileUse::Picture},
    {"\\bullet.bmp", FileUse::Picture},
    {"\\HealthMeter.bmp", FileUse::Picture},
    {"\\ball.bmp", FileUse::Picture},
    {"\\hball.bmp", FileUse::Picture},
    {kSnowPictures[0], FileUse::Picture},
    {kSnowPictures[1], FileUse::Picture},
    {kSnowPictures[2], FileUse::Picture},
    {"\\Effects\\Bubble\\bubble01.bmp", FileUse::Picture},
    {kRainPicture, FileUse::Picture},
    {"\\Effects\\flash\\flash01.bmp", FileUse::Picture},
    {"\\effects\\spark\\spark.bmp", FileUse::Picture},
    {kMenuMusic, FileUse::Music},
    {kTitleMovie, FileUse::Movie},
    {"\\HTML\\Vandrel.htm", FileUse::Page},
};

// The sound the fight plays when a fighter collects the pick-up.
constexpr const char* kPickUpSound = "PowerUp.wav";

// The frame sizes of the fighter loader: wide frames for throws and large actions.
constexpr int kFrameSize = 256;
constexpr int kWideFrame = 364;

std::string Quoted(const std::string& s) {
  return "\"" + s + "\"";
}

// The round wins after which a round movie can play: every win that does not
// yet decide the match.
int RoundMoviesPerFighter(Integer rounds) {
  if (rounds <= 1) return 0;
  const int winsNeeded = static_cast<int>(RoundHalfEven(rounds / 2.0 + 0.5));
  return winsNeeded - 1;
}

std::string TwoDigits(int n) {
  return (n < 10 ? "0" : "") + std::to_string(n);
}

// A sound the game loads because it is in a sound folder.
NamedFile Listed(std::string owner, std::string path) {
  NamedFile file{std::move(owner), std::move(path), FileUse::Sound};
  file.listed = true;
  return file;
}

// Sounds are found by file name: in Sounds, or else in the fighter's own
// Sounds folder. A name found in neither is looked for in Sounds.
class SoundFinder {
 public:
  explicit SoundFinder(const PathResolver& paths) : paths_(paths) {
    for (const std::string& name : paths.list("\\Sounds"))
      shared_.insert(FoldKey(name));
  }

  std::string pathOf(const std::string& name, const cCharacter* fighter) const {
    if (fighter != nullptr && !shared_.contains(FoldKey(name))) {
      const std::string folder = FighterSoundsFolder(*fighter);
      for (const std::string& own : paths_.list(folder))
        if (FoldKey(own) == FoldKey(name)) return folder + "\\" + own;
    }
    return "\\Sounds\\" + name;
  }

 private:
  const PathResolver& paths_;
  std::set<std::string> shared_;  // folded file names
};

// The opponents' folders of the throws: one per Path (letter case aside), with
// the name of the first character that has it.
struct OpponentFolder {
  std::string path;
  std::string name;
};
struct OpponentFolders {
  std::vector<OpponentFolder> folders;  // in the roster's order
  // A Path of one folder name, folded: found in a throw folder's listing.
  std::unordered_map<std::string, std::size_t> plain;
  // Paths with separators (or none): looked for one by one.
  std::vector<std::size_t> others;
  std::unordered_set<std::string> othersSeen;  // folded
};

// The frames of one action (on one opponent, for a throw).
void VisitActionFrames(const cCharacter& c, const cAction& a, std::string_view opponentPath,
                       const std::string& owner, const FileVisitor& visit) {
  const int width = IsThrow(a) || a.bLarge ? kWideFrame : kFrameSize;
  for (int k = 1; k <= a.Count; ++k)
    visit({owner + " frame " + std::to_string(k), ActionFramePath(c, a, opponentPath, k),
           FileUse::FighterFrame, width, kFrameSize});
}

// A throw's frames on each opponent folder that is there. The folders that are
// not make one entry (the first of them, and how many others), so that a roster
// without them costs a line per throw, not one per pair of characters. The
// throw's folder is listed once and its names looked up among the opponents,
// so a throw costs what its folder holds, not the length of the roster.
void VisitThrowFrames(const cCharacter& c, const cAction& a, const OpponentFolders& opponents,
                      const PathResolver& paths, const std::string& action,
                      const FileVisitor& visit) {
  std::vector<std::size_t> there;  // entries of opponents.folders whose folder is there
  for (const std::string& name : paths.list(ActionFolder(c, a, "")))
    if (const auto it = opponents.plain.find(FoldKey(name)); it != opponents.plain.end())
      there.push_back(it->second);
  for (const std::size_t entry : opponents.others) {
    const std::string folder = ActionFolder(c, a, opponents.folders[entry].path);
    // A path that climbs out is listed frame by frame, to be refused.
    if (!PathResolver::Split(folder) || paths.find(folder)) there.push_back(entry);
  }
  // In the roster's order; a listing may hold one name in two letter cases.
  std::sort(there.begin(), there.end());
  there.erase(std::unique(there.begin(), there.end()), there.end());
  for (const std::size_t entry : there) {
    const OpponentFolder& opponent = opponents.folders[entry];
    VisitActionFrames(c, a, opponent.path, action + " on " + Quoted(opponent.name), visit);
  }
  const std::size_t absent = opponents.folders.size() - there.size();
  if (absent == 0) return;
  std::size_t first = 0;  // the first entry missing from `there`
  while (first < there.size() && there[first] == first)
    ++first;
  const OpponentFolder& opponent = opponents.folders[first];
  NamedFile entry{action + " on " + Quoted(opponent.name), ActionFolder(c, a, opponent.path) + "\\",
                  FileUse::FighterFrame, kWideFrame, kFrameSize};
  if (absent > 1)
    entry.owner += " and " + std::to_string(absent - 1) + " other opponent" +
                   (absent > 2 ? "s" : "") + " (their folders of frames)";
  else
    entry.owner += " (its folder of frames)";
  visit(entry);
}

// The actions whose frames are read from files: all but those that share
// another action's frames, and but those without frames to read.
std::vector<bool> ActionsReadingFrames(const cCharacter& c) {
  std::vector<bool> reads = ActionsSharingFrames(c);
  std::size_t i = 0;
  for (const cAction& a : c.Actions) {
    reads[i] = !reads[i] && a.Count > 0 && !a.Sprites.empty();
    ++i;
  }
  return reads;
}

void VisitEffectFrames(const cCharacter& c, const FileVisitor& visit) {
  const std::vector<bool> shares = AnimationsSharingFrames(c.Effects);
  std::size_t i = 0;
  for (const cEffect& e : c.Effects) {
    if (shares[i++] || e.Frames <= 0 || e.Sprites.empty()) continue;
    const std::string owner = "Character " + Quoted(c.Name) + " Effect " + Quoted(e.Name);
    for (int k = 1; k <= e.Frames; ++k)
      visit({owner + " frame " + std::to_string(k),
             RecordFramePath("\\Effects\\", e.Alias, e.Sprites, k)});
  }
}

OpponentFolders FindOpponentFolders(const Content& content) {
  OpponentFolders opponents;
  for (const cCharacter& c : content.Characters) {
    std::string folded = FoldKey(c.Path);
    const std::size_t entry = opponents.folders.size();
    const bool plain =
        !folded.empty() && folded != "." && folded.find_first_of("\\/") == std::string::npos;
    if (plain) {
      if (!opponents.plain.try_emplace(folded, entry).second) continue;
    } else if (!opponents.othersSeen.insert(folded).second) {
      continue;
    } else {
      opponents.others.push_back(entry);
    }
    opponents.folders.push_back({c.Path, c.Name});
  }
  return opponents;
}

void VisitCharacterFiles(const cCharacter& c, const Settings& settings, const Content& content,
                         const SoundFinder& sounds, const PathResolver& paths,
                         const OpponentFolders& opponents, const FileVisitor& visit) {
  const std::string owner = "Character " + Quoted(c.Name);
  if (!c.Portrait.empty()) visit({owner + " Portrait", CharacterPortraitPath(c)});
  auto sound = [&](const std::string& name, const std::string& who) {
    if (!name.empty()) visit({who, sounds.pathOf(name, &c), FileUse::Sound});
  };
  sound(c.SelectSound, owner + " SelectSound");
  const std::vector<bool> reads = ActionsReadingFrames(c);
  std::size_t i = 0;
  for (const cAction& a : c.Actions) {
    const std::string action = owner + " Action " + Quoted(a.Name);
    sound(a.SFX, action + " SFX");
    if (!reads[i++]) continue;
    if (!IsThrow(a)) {
      VisitActionFrames(c, a, "", action, visit);
      continue;
    }
    VisitThrowFrames(c, a, opponents, paths, action, visit);
  }
  for (const cEffect& e : c.Effects)
    sound(e.SFX, owner + " Effect " + Quoted(e.Name) + " SFX");
  VisitEffectFrames(c, visit);
  // A fight loads every file of the fighter's own Sounds folder (after the
  // names above, so that a report names those who ask for a file first).
  const std::string ownSounds = FighterSoundsFolder(c);
  for (const std::string& name : paths.list(ownSounds))
    visit(Listed(owner + " Sounds", ownSounds + "\\" + name));
  for (const char* type : {"OnWinGame", "OnLoseGame"}) {
    const cEvent* event = content.Events.find(type);
    if (event != nullptr && !event->File.empty())
      visit({owner + " " + type + " movie", EventMoviePath(c, "", *event), FileUse::Movie});
  }
  for (const char* type : {"OnWinRound", "OnLoseRound"}) {
    const cEvent* event = content.Events.find(type);
    if (event == nullptr || event->File.empty()) continue;
    for (int wins = 1; wins <= RoundMoviesPerFighter(settings.Rounds); ++wins)
      visit({owner + " " + type + " movie", EventMoviePath(c, std::to_string(wins) + "_", *event),
             FileUse::Movie});
  }
}

void VisitStageFiles(const cStage& s, const SoundFinder& sounds, const FileVisitor& visit) {
  const std::string owner = "Stage " + Quoted(s.Name);
  if (!s.Background.empty()) {
    visit({owner + " Background", StageBackgroundPath(s)});
    NamedFile portrait{owner + " Portrait", StagePortraitPath(s)};
    portrait.optional = true;  // else the background stands in
    visit(portrait);
  }
  if (!s.Music.empty()) visit({owner + " Music", "\\Stages\\Music\\" + s.Music, FileUse::Music});
  const std::vector<bool> shares = AnimationsSharingFrames(s.Animations);
  std::size_t i = 0;
  for (const cAnim& a : s.Animations) {
    const std::string animation = owner + " animation " + Quoted(a.Name);
    if (!a.SFX.empty()) visit({animation + " SFX", sounds.pathOf(a.SFX, nullptr), FileUse::Sound});
    if (shares[i++] || a.Frames <= 0 || a.Sprites.empty()) continue;
    for (int k = 1; k <= a.Frames; ++k)
      visit({animation + " frame " + std::to_string(k),
             RecordFramePath("\\Stages\\", a.Alias, a.Sprites, k)});
  }
}

}  // namespace

int FrameFileNumber(int k, int aStep, int count) {
  int f = 0;
  for (int i = 1; i <= k; ++i) {
    f += aStep;
    if (aStep == 2 && f == 2) f = 1;
  }
  return std::min(f, std::max(1, 2 * count - 1));
}

std::string CharacterFolder(const cCharacter& c) {
  return "\\Characters\\" + c.Path;
}

bool IsThrow(const cAction& a) {
  return a.AnimationType == "Grab";
}

std::vector<bool> ActionsSharingFrames(const cCharacter& c) {
  return RecordsSharingFrames(c.Actions, [](const cAction& a) { return a.Count; });
}

std::string ActionFolder(const cCharacter& c, const cAction& a, std::string_view opponentPath) {
  std::string folder = CharacterFolder(c) + "\\" + a.Alias;
  if (IsThrow(a)) folder += "\\" + std::string(opponentPath);
  return folder;
}

std::string ActionFramePath(const cCharacter& c, const cAction& a, std::string_view opponentPath,
                            int k) {
  const std::string folder = ActionFolder(c, a, opponentPath);
  const int f = FrameFileNumber(k, a.aStep == 2 ? 2 : 1, a.Count);
  return folder + "\\" + a.Sprites + TwoDigits(f) + (c.UseVDP ? ".VDP" : ".bmp");
}

std::string RecordFramePath(std::string_view root, const std::string& alias,
                            const std::string& sprites, int k) {
  return std::string(root) + alias + "\\" + sprites + TwoDigits(k) + ".bmp";
}

std::string CharacterPortraitPath(const cCharacter& c) {
  return CharacterFolder(c) + "\\Select\\" + c.Portrait;
}

std::string StagePortraitPath(const cStage& s) {
  return "\\Stages\\Portraits\\" + s.Background;
}

std::string StageBackgroundPath(const cStage& s) {
  return "\\Stages\\" + s.Background;
}

std::string FighterSoundsFolder(const cCharacter& c) {
  return CharacterFolder(c) + "\\Sounds";
}

std::string EventMoviePath(const cCharacter& c, std::string_view prefix, const cEvent& event) {
  return CharacterFolder(c) + "\\" + std::string(prefix) + event.File;
}

void ForEachNeededFile(const PathResolver& paths, const Settings& settings, const Content& content,
                       const FileVisitor& visit) {
  const SoundFinder sounds(paths);
  for (const EngineFile& file : kEngineFiles)
    visit({"the game", std::string(file.path), file.use});
  visit({"the game (the pick-up)", sounds.pathOf(kPickUpSound, nullptr), FileUse::Sound});
  auto setting = [&visit](const char* name, const std::string& path, FileUse use) {
    visit({std::string("setting ") + name, path, use});
  };
  if (!settings.MenuBack.empty()) setting("MenuBack", "\\" + settings.MenuBack, FileUse::Picture);
  if (!settings.SplashScreen.empty())
    setting("SelectScreen SplashScreen", "\\" + settings.SplashScreen, FileUse::Picture);
  if (!settings.SelectScreenBackground.empty())
    setting("SelectScreen Background", "\\" + settings.SelectScreenBackground, FileUse::Picture);
  if (!settings.SelectScreenMusic.empty())
    setting("SelectScreen Music", "\\Stages\\Music\\" + settings.SelectScreenMusic, FileUse::Music);
  if (!settings.SelectScreenSound.empty())
    setting("SelectScreen SelectSound", sounds.pathOf(settings.SelectScreenSound, nullptr),
            FileUse::Sound);
  if (!settings.StageSelectBackground.empty())
    setting("Stages SelectBackground", "\\" + settings.StageSelectBackground, FileUse::Picture);

  const OpponentFolders opponents = FindOpponentFolders(content);
  for (const cCharacter& c : content.Characters)
    VisitCharacterFiles(c, settings, content, sounds, paths, opponents, visit);
  for (const cStage& s : content.Stages)
    VisitStageFiles(s, sounds, visit);
  for (const cStory& story : content.Stories) {
    const std::string owner = "story of " + Quoted(story.Character);
    if (!story.WinFile.empty()) visit({owner + " WinFile", "\\" + story.WinFile, FileUse::Movie});
    for (const cOpponents& o : story.Opponents)
      if (!o.beforefile.empty())
        visit({owner + " opponent " + Quoted(o.Name) + " BeforeFile", "\\" + o.beforefile,
               FileUse::Movie});
  }
  // A fight loads every file of Sounds.
  for (const std::string& name : paths.list("\\Sounds"))
    visit(Listed("the game (Sounds)", "\\Sounds\\" + name));
}

void ForEachFightFrame(const cCharacter& fighter, const cCharacter& opponent,
                       const FileVisitor& visit) {
  const std::string owner = "Character " + Quoted(fighter.Name);
  const std::vector<bool> reads = ActionsReadingFrames(fighter);
  std::size_t i = 0;
  for (const cAction& a : fighter.Actions)
    if (reads[i++])
      VisitActionFrames(fighter, a, opponent.Path, owner + " Action " + Quoted(a.Name), visit);
  VisitEffectFrames(fighter, visit);
}

std::vector<NamedFile> FilesNeededByContent(const PathResolver& paths, const Settings& settings,
                                            const Content& content) {
  std::vector<NamedFile> files;
  ForEachNeededFile(paths, settings, content,
                    [&files](const NamedFile& file) { files.push_back(file); });
  return files;
}

namespace {

// Gathers the files that are not there: each path once, with everything that
// needs it.
class MissingList {
 public:
  explicit MissingList(LoadReport& report) : report_(report) {}

  void add(const std::string& owner, const std::string& path, bool refused) {
    const auto [at, added] = index_.try_emplace(FoldKey(path), report_.missing.size());
    const std::size_t entry = at->second;
    if (!owners_.insert({entry, owner}).second) return;
    if (added)
      report_.missing.push_back({owner, path, refused});
    else
      report_.missing[entry].owner += "; " + owner;
  }

 private:
  LoadReport& report_;
  std::map<std::string, std::size_t> index_;              // folded path -> its entry
  std::set<std::pair<std::size_t, std::string>> owners_;  // who is already named where
};

}  // namespace

void FindMissingFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                      LoadReport& report) {
  MissingList missing(report);
  // Each path is looked for once: a frame shared by many owners costs one look.
  std::unordered_set<std::string> present;  // folded paths found
  ForEachNeededFile(paths, settings, content, [&](const NamedFile& file) {
    const std::string key = FoldKey(file.path);
    if (present.contains(key)) return;
    if (!PathResolver::Split(file.path)) {
      if (!file.optional) missing.add(file.owner, file.path, true);
    } else if (paths.find(file.path))
      present.insert(key);
    else if (!file.optional)
      missing.add(file.owner, file.path, false);
  });
}

}  // namespace vdx
