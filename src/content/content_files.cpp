#include "content/content_files.h"

#include <cmath>
#include <map>
#include <set>

#include "content/xml_values.h"

namespace vdx {
namespace {

// Pictures, music and help the engine opens by fixed names.
struct EngineFile {
  const char* path;
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
    {"\\Effects\\Snow\\Snow01.bmp", FileUse::Picture},
    {"\\Effects\\Snow\\Snow03.bmp", FileUse::Picture},
    {"\\Effects\\Bubble\\bubble01.bmp", FileUse::Picture},
    {"\\Effects\\Rain\\rain.bmp", FileUse::Picture},
    {"\\Effects\\flash\\flash01.bmp", FileUse::Picture},
    {"\\effects\\spark\\spark.bmp", FileUse::Picture},
    {"\\Stages\\Music\\menu.ogg", FileUse::Music},
    {"\\HTML\\Vandrel.htm", FileUse::Page},
};

// The sound the fight plays when a fighter collects the pick-up.
constexpr const char* kPickUpSound = "PowerUp.wav";

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

// Frames k = 1..count of a record: Sprites + two digits + the extension, in
// the record's folder.
void AddFrames(std::vector<NamedFile>& files, const std::string& owner, const std::string& folder,
               const std::string& sprites, int count, const char* extension, FileUse use,
               int width = 0, int height = 0) {
  for (int k = 1; k <= count; ++k)
    files.push_back({owner + " frame " + std::to_string(k),
                     folder + "\\" + sprites + TwoDigits(k) + extension, use, width, height});
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
      const std::string folder = "\\Characters\\" + fighter->Path + "\\Sounds";
      for (const std::string& own : paths_.list(folder))
        if (FoldKey(own) == FoldKey(name)) return folder + "\\" + own;
    }
    return "\\Sounds\\" + name;
  }

 private:
  const PathResolver& paths_;
  std::set<std::string> shared_;  // folded file names
};

void AddCharacterFiles(const cCharacter& c, const Settings& settings, const Content& content,
                       const SoundFinder& sounds, std::vector<NamedFile>& files) {
  const std::string owner = "Character " + Quoted(c.Name);
  const std::string folder = "\\Characters\\" + c.Path;
  if (!c.Portrait.empty())
    files.push_back({owner + " Portrait", folder + "\\Select\\" + c.Portrait});
  auto sound = [&](const std::string& name, const std::string& who) {
    if (!name.empty()) files.push_back({who, sounds.pathOf(name, &c), FileUse::Sound});
  };
  sound(c.SelectSound, owner + " SelectSound");
  const char* extension = c.UseVDP ? ".VDP" : ".bmp";
  for (const cAction& a : c.Actions) {
    const std::string action = owner + " Action " + Quoted(a.Name);
    sound(a.SFX, action + " SFX");
    // Aliased actions show another action's frames.
    if (a.Alias != a.Name || a.Count <= 0 || a.Sprites.empty()) continue;
    // Sizes as the fighter loader makes them: wide frames for throws and large actions.
    const bool grab = a.AnimationType == "Grab";
    const int width = grab || a.bLarge ? 364 : 256;
    const std::string frames = folder + "\\" + a.Alias;
    if (!grab) {
      AddFrames(files, action, frames, a.Sprites, a.Count, extension, FileUse::FighterFrame, width,
                256);
      continue;
    }
    // A throw is drawn once per opponent, in a folder named by the opponent's Path.
    for (const cCharacter& opponent : content.Characters)
      AddFrames(files, action + " on " + Quoted(opponent.Name), frames + "\\" + opponent.Path,
                a.Sprites, a.Count, extension, FileUse::FighterFrame, width, 256);
  }
  for (const cEffect& e : c.Effects) {
    const std::string effect = owner + " Effect " + Quoted(e.Name);
    sound(e.SFX, effect + " SFX");
    if (e.Alias != e.Name || e.Frames <= 0 || e.Sprites.empty()) continue;
    AddFrames(files, effect, "\\Effects\\" + e.Alias, e.Sprites, e.Frames, ".bmp",
              FileUse::Picture);
  }
  for (const char* type : {"OnWinGame", "OnLoseGame"}) {
    const cEvent* event = content.Events.find(type);
    if (event != nullptr && !event->File.empty())
      files.push_back({owner + " " + type + " movie", folder + "\\" + event->File, FileUse::Movie});
  }
  for (const char* type : {"OnWinRound", "OnLoseRound"}) {
    const cEvent* event = content.Events.find(type);
    if (event == nullptr || event->File.empty()) continue;
    for (int wins = 1; wins <= RoundMoviesPerFighter(settings.Rounds); ++wins)
      files.push_back({owner + " " + type + " movie",
                       folder + "\\" + std::to_string(wins) + "_" + event->File, FileUse::Movie});
  }
}

}  // namespace

std::vector<NamedFile> FilesNeededByContent(const PathResolver& paths, const Settings& settings,
                                            const Content& content) {
  const SoundFinder sounds(paths);
  std::vector<NamedFile> files;
  for (const EngineFile& file : kEngineFiles)
    files.push_back({"the game", file.path, file.use});
  files.push_back({"the game (the pick-up)", sounds.pathOf(kPickUpSound, nullptr), FileUse::Sound});
  auto setting = [&files](const char* name, const std::string& path, FileUse use) {
    files.push_back({std::string("setting ") + name, path, use});
  };
  if (!settings.MenuBack.empty())
    setting("MenuBack", "\\" + settings.MenuBack, FileUse::Picture);
  if (!settings.SplashScreen.empty())
    setting("SelectScreen SplashScreen", "\\" + settings.SplashScreen, FileUse::Picture);
  if (!settings.SelectScreenBackground.empty())
    setting("SelectScreen Background", "\\" + settings.SelectScreenBackground, FileUse::Picture);
  if (!settings.SelectScreenMusic.empty())
    setting("SelectScreen Music", "\\Stages\\Music\\" + settings.SelectScreenMusic,
            FileUse::Music);
  if (!settings.SelectScreenSound.empty())
    setting("SelectScreen SelectSound", sounds.pathOf(settings.SelectScreenSound, nullptr),
            FileUse::Sound);
  if (!settings.StageSelectBackground.empty())
    setting("Stages SelectBackground", "\\" + settings.StageSelectBackground, FileUse::Picture);

  for (const cCharacter& c : content.Characters)
    AddCharacterFiles(c, settings, content, sounds, files);
  for (const cStage& s : content.Stages) {
    const std::string owner = "Stage " + Quoted(s.Name);
    if (!s.Background.empty())
      files.push_back({owner + " Background", "\\Stages\\" + s.Background});
    if (!s.Music.empty())
      files.push_back({owner + " Music", "\\Stages\\Music\\" + s.Music, FileUse::Music});
    for (const cAnim& a : s.Animations) {
      const std::string animation = owner + " animation " + Quoted(a.Name);
      if (!a.SFX.empty())
        files.push_back({animation + " SFX", sounds.pathOf(a.SFX, nullptr), FileUse::Sound});
      if (a.Alias != a.Name || a.Frames <= 0 || a.Sprites.empty()) continue;
      AddFrames(files, animation, "\\Stages\\" + a.Alias, a.Sprites, a.Frames, ".bmp",
                FileUse::Picture);
    }
  }
  for (const cStory& story : content.Stories) {
    const std::string owner = "story of " + Quoted(story.Character);
    if (!story.WinFile.empty())
      files.push_back({owner + " WinFile", "\\" + story.WinFile, FileUse::Movie});
    for (const cOpponents& o : story.Opponents)
      if (!o.beforefile.empty())
        files.push_back({owner + " opponent " + Quoted(o.Name) + " BeforeFile",
                         "\\" + o.beforefile, FileUse::Movie});
  }
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
  for (const NamedFile& file : FilesNeededByContent(paths, settings, content)) {
    if (!PathResolver::Split(file.path))
      missing.add(file.owner, file.path, true);
    else if (!paths.find(file.path))
      missing.add(file.owner, file.path, false);
  }
}

}  // namespace vdx
