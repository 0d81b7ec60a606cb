#include "content/content_files.h"

#include <cmath>
#include <map>
#include <set>

#include "content/xml_values.h"

namespace vdx {
namespace {

// Pictures, music and help the engine opens by fixed names.
constexpr const char* kEngineFiles[] = {
    "\\VDXFont.bmp",
    "\\text.bmp",
    "\\random.bmp",
    "\\bullet.bmp",
    "\\HealthMeter.bmp",
    "\\ball.bmp",
    "\\hball.bmp",
    "\\Effects\\Snow\\Snow01.bmp",
    "\\Effects\\Snow\\Snow03.bmp",
    "\\Effects\\Bubble\\bubble01.bmp",
    "\\Effects\\Rain\\rain.bmp",
    "\\Effects\\flash\\flash01.bmp",
    "\\effects\\spark\\spark.bmp",
    "\\Stages\\Music\\menu.ogg",
    "\\HTML\\Vandrel.htm",
};

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

void AddCharacterFiles(const cCharacter& c, const Settings& settings, const Content& content,
                       std::vector<NamedFile>& files) {
  const std::string owner = "Character " + Quoted(c.Name);
  const std::string folder = "\\Characters\\" + c.Path;
  if (!c.Portrait.empty())
    files.push_back({owner + " Portrait", folder + "\\Select\\" + c.Portrait});
  const std::string extension = c.UseVDP ? ".VDP" : ".bmp";
  for (const cAction& a : c.Actions) {
    // Aliased actions show another action's frames; grabs have a folder per opponent.
    if (a.Alias != a.Name || a.Count <= 0 || a.Sprites.empty() || a.AnimationType == "Grab")
      continue;
    // Sizes as the fighter loader makes them: wide frames for large actions.
    files.push_back({owner + " Action " + Quoted(a.Name) + " first frame",
                     folder + "\\" + a.Alias + "\\" + a.Sprites + "01" + extension,
                     a.bLarge ? 364 : 256, 256});
  }
  for (const cEffect& e : c.Effects) {
    if (e.Alias != e.Name || e.Frames <= 0 || e.Sprites.empty()) continue;
    files.push_back({owner + " Effect " + Quoted(e.Name) + " first frame",
                     "\\Effects\\" + e.Alias + "\\" + e.Sprites + "01.bmp"});
  }
  for (const char* type : {"OnWinGame", "OnLoseGame"}) {
    const cEvent* event = content.Events.find(type);
    if (event != nullptr && !event->File.empty())
      files.push_back({owner + " " + type + " movie", folder + "\\" + event->File});
  }
  for (const char* type : {"OnWinRound", "OnLoseRound"}) {
    const cEvent* event = content.Events.find(type);
    if (event == nullptr || event->File.empty()) continue;
    for (int wins = 1; wins <= RoundMoviesPerFighter(settings.Rounds); ++wins)
      files.push_back({owner + " " + type + " movie",
                       folder + "\\" + std::to_string(wins) + "_" + event->File});
  }
}

}  // namespace

std::vector<NamedFile> FilesNeededByContent(const Settings& settings, const Content& content) {
  std::vector<NamedFile> files;
  for (const char* path : kEngineFiles)
    files.push_back({"the game", path});
  auto setting = [&files](const char* name, const std::string& value) {
    if (!value.empty()) files.push_back({std::string("setting ") + name, "\\" + value});
  };
  setting("MenuBack", settings.MenuBack);
  setting("SelectScreen Background", settings.SelectScreenBackground);
  setting("Stages SelectBackground", settings.StageSelectBackground);

  for (const cCharacter& c : content.Characters)
    AddCharacterFiles(c, settings, content, files);
  for (const cStage& s : content.Stages) {
    const std::string owner = "Stage " + Quoted(s.Name);
    if (!s.Background.empty())
      files.push_back({owner + " Background", "\\Stages\\" + s.Background});
    if (!s.Music.empty()) files.push_back({owner + " Music", "\\Stages\\Music\\" + s.Music});
    for (const cAnim& a : s.Animations) {
      if (a.Alias != a.Name || a.Frames <= 0 || a.Sprites.empty()) continue;
      files.push_back({owner + " animation " + Quoted(a.Name) + " first frame",
                       "\\Stages\\" + a.Alias + "\\" + a.Sprites + "01.bmp"});
    }
  }
  for (const cStory& story : content.Stories) {
    const std::string owner = "story of " + Quoted(story.Character);
    if (!story.WinFile.empty()) files.push_back({owner + " WinFile", "\\" + story.WinFile});
    for (const cOpponents& o : story.Opponents)
      if (!o.beforefile.empty())
        files.push_back(
            {owner + " opponent " + Quoted(o.Name) + " BeforeFile", "\\" + o.beforefile});
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

// A sound is found by its file name in Sounds or in the fighter's own Sounds.
void FindMissingSounds(const PathResolver& paths, const Content& content, MissingList& missing) {
  std::set<std::string> shared;
  for (const std::string& name : paths.list("\\Sounds"))
    shared.insert(FoldKey(name));
  for (const cCharacter& c : content.Characters) {
    std::set<std::string> own = shared;
    for (const std::string& name : paths.list("\\Characters\\" + c.Path + "\\Sounds"))
      own.insert(FoldKey(name));
    std::set<std::string> reported;
    auto check = [&](const std::string& sfx, const std::string& owner) {
      if (sfx.empty() || own.contains(FoldKey(sfx)) || !reported.insert(FoldKey(sfx)).second)
        return;
      const std::string path = "\\Sounds\\" + sfx;
      missing.add(owner + " SFX", path, !PathResolver::Split(path));
    };
    for (const cAction& a : c.Actions)
      check(a.SFX, "Character " + Quoted(c.Name) + " Action " + Quoted(a.Name));
    for (const cEffect& e : c.Effects)
      check(e.SFX, "Character " + Quoted(c.Name) + " Effect " + Quoted(e.Name));
  }
}

}  // namespace

void FindMissingFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                      LoadReport& report) {
  MissingList missing(report);
  for (const NamedFile& file : FilesNeededByContent(settings, content)) {
    if (!PathResolver::Split(file.path))
      missing.add(file.owner, file.path, true);
    else if (!paths.find(file.path))
      missing.add(file.owner, file.path, false);
  }
  FindMissingSounds(paths, content, missing);
}

}  // namespace vdx
