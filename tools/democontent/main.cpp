// Writes the complete demo game folder of vdx: content files, pictures, packed
// frames, sounds, music and movies, all made here from code.
//
//   vdx_democontent OUTPUT_DIR                  the game folder
//   vdx_democontent --contact-sheets DIR        a PNG per fighter with every frame
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "audio.h"
#include "avi.h"
#include "contact_sheet.h"
#include "documents.h"
#include "effect_frames.h"
#include "fighter_frames.h"
#include "image_files.h"
#include "movies.h"
#include "roster.h"
#include "screens.h"
#include "stages.h"

namespace fs = std::filesystem;
using namespace democontent;

namespace {

constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

std::string Number(int n) {
  return (n < 10 ? "0" : "") + std::to_string(n);
}

void Bmp(const fs::path& path, const Image& image) {
  WriteFile(path, EncodeBmp(image));
}

void WriteFighter(const fs::path& root, const Character& c, const std::vector<Character>& roster,
                  const Font& font) {
  const fs::path folder = root / "Characters" / c.fighter.path;
  auto writeFrame = [&](const fs::path& dir, const std::string& sprites, int k, const Image& f) {
    const std::string base = sprites + Number(k + 1);
    if (c.useVdp)
      WriteFile(dir / (base + ".VDP"), EncodeVdp(f));
    else
      Bmp(dir / (base + ".bmp"), f);
  };
  for (const ActionSpec& a : ActionsFor(c.fighter, c.special)) {
    if (!a.alias.empty()) continue;  // shows another action's frames
    if (a.grab) {
      // A throw shows both fighters, so it is drawn once per opponent.
      for (const Character& victim : roster)
        for (int k = 0; k < a.count; ++k)
          writeFrame(folder / a.name / victim.fighter.path, a.sprites, k,
                     RenderActionFrame(c, a, k, &victim));
      continue;
    }
    for (int k = 0; k < a.count; ++k)
      writeFrame(folder / a.name, a.sprites, k, RenderActionFrame(c, a, k));
  }
  Bmp(folder / "Select" / "portrait.bmp", RenderPortrait(c, font));
  const double pitch = c.fighter.name == "Brann" ? 0.7 : c.fighter.name == "Vex" ? 1.1 : 1.4;
  WriteFile(folder / "Sounds" / (c.fighter.path + "_shout.wav"),
            EncodeWav8(Shout(pitch, static_cast<int>(c.fighter.path.size())), kEffectRate));
  // Round movies follow the first win of a three-round match ("1_").
  WriteFile(folder / (std::string("1_") + kWinRoundMovie),
            EncodeAvi(EventMovie(font, c, "ROUND WON", true), kMovieFps));
  WriteFile(folder / (std::string("1_") + kLoseRoundMovie),
            EncodeAvi(EventMovie(font, c, "ROUND LOST", false), kMovieFps));
  WriteFile(folder / kWinGameMovie, EncodeAvi(EventMovie(font, c, "VICTORY", true), kMovieFps));
  WriteFile(folder / kLoseGameMovie, EncodeAvi(EventMovie(font, c, "DEFEAT", false), kMovieFps));

  for (const EffectSpec& e : c.effects) {
    if (!e.alias.empty()) continue;
    for (int k = 0; k < e.frames; ++k)
      Bmp(root / "Effects" / e.name / (e.sprites + Number(k + 1) + ".bmp"),
          RenderEffectFrame(e, k));
  }
}

void WriteStages(const fs::path& root, const std::vector<StageSpec>& stages) {
  for (const StageSpec& s : stages) {
    const Image background = PaintStage(s);
    Bmp(root / "Stages" / s.background, background);
    Bmp(root / "Stages" / "Portraits" / s.background, MakeStagePortrait(background, 300, 224));
    for (const AnimSpec& a : s.anims)
      for (int k = 0; k < a.frames; ++k)
        Bmp(root / "Stages" / a.name / (a.sprites + Number(k + 1) + ".bmp"), RenderAnimFrame(a, k));
  }
  const fs::path music = root / "Stages" / "Music";
  WriteFile(music / "menu.ogg", EncodeOgg(Music(Tune::Menu, kMusicRate), kMusicRate, 1));
  WriteFile(music / "harbour.ogg", EncodeOgg(Music(Tune::Harbour, kMusicRate), kMusicRate, 2));
  WriteFile(music / "temple.ogg", EncodeOgg(Music(Tune::Temple, kMusicRate), kMusicRate, 3));
  WriteFile(music / "neon.WAV", EncodeWav16(Music(Tune::Neon, kMusicRate), kMusicRate));
}

void WriteScreens(const fs::path& root, const std::vector<Character>& roster, const Font& font,
                  const FontSheet& sheet) {
  Bmp(root / "menuback.bmp", MakeMenuBackground(font, roster));
  Bmp(root / "select.bmp", MakeSelectBackground(font));
  Bmp(root / "stagesel.bmp", MakeStageSelectBackground(font));
  Bmp(root / "splash.bmp", MakeSplash(font, roster));
  Bmp(root / "launcher.bmp", MakeLauncherBackground(font));
  Bmp(root / "text.bmp", MakeMenuStrips(font));
  Bmp(root / "VDXFont.bmp", sheet.image);
  Bmp(root / "random.bmp", MakeRandomTile(font));
  Bmp(root / "bullet.bmp", BulletPicture());
  Bmp(root / "HealthMeter.bmp", HealthMeterPicture());
  Bmp(root / "ball.bmp", BallPicture());
  Bmp(root / "hball.bmp", BallHighlight());
  for (int n = 1; n <= 3; ++n)
    Bmp(root / "Effects" / "Snow" / ("Snow" + Number(n) + ".bmp"), SnowPicture(n));
  Bmp(root / "Effects" / "Bubble" / "bubble01.bmp", BubblePicture());
  Bmp(root / "Effects" / "Rain" / "rain.bmp", RainPicture());
  Bmp(root / "Effects" / "flash" / "flash01.bmp", FlashPicture());
  Bmp(root / "Effects" / "spark" / "spark.bmp", SparkPicture());
}

void WriteSounds(const fs::path& root) {
  for (const char* name : {"punch", "kick", "hit", "block", "jump", "ko", "fireball", "PowerUp"})
    WriteFile(root / "Sounds" / (std::string(name) + ".wav"),
              EncodeWav8(EffectSound(name), kEffectRate));
  WriteFile(root / "Sounds" / "select.wav", EncodeWav8(EffectSound("block"), kEffectRate));
}

void WriteMovies(const fs::path& root, const std::vector<Character>& roster,
                 const std::vector<StorySpec>& stories, const Font& font) {
  Samples jingle = Music(Tune::Menu, kEffectRate);
  jingle.resize(4 * kEffectRate);
  WriteFile(root / "Movies" / "VDTitle.avi",
            EncodeAvi(TitleMovie(font, roster), kMovieFps, jingle));
  auto find = [&](const std::string& name) -> const Character& {
    for (const Character& c : roster)
      if (c.fighter.name == name) return c;
    return roster.front();
  };
  auto path = [&root](const std::string& contentPath) {
    fs::path p = root;
    std::string part;
    for (char ch : contentPath + "\\") {
      if (ch == '\\') {
        if (!part.empty()) p /= part;
        part.clear();
      } else {
        part += ch;
      }
    }
    return p;
  };
  for (const StorySpec& s : stories) {
    const Character& hero = find(s.character);
    int rung = 1;
    for (const StoryRung& r : s.rungs)
      WriteFile(path(r.beforeFile),
                EncodeAvi(VersusMovie(font, hero, find(r.opponent), rung++), kMovieFps));
    WriteFile(path(s.winFile), EncodeAvi(EndingMovie(font, hero), kMovieFps));
  }
}

int Generate(const fs::path& root) {
  const Font font(kFontPath);
  if (!font.ok()) {
    std::cerr << "vdx_democontent: cannot read the font " << kFontPath << "\n";
    return 1;
  }
  const auto roster = Roster();
  const auto stages = Stages();
  const auto stories = Stories(roster, stages);
  const FontSheet sheet = MakeFontSheet(font);

  for (const Character& c : roster)
    WriteFighter(root, c, roster, font);
  WriteStages(root, stages);
  WriteScreens(root, roster, font, sheet);
  WriteSounds(root);
  WriteMovies(root, roster, stories, font);

  WriteFile(root / "ai.xml", AiXml(roster));
  WriteFile(root / "story.xml", StoryXml(stories));
  WriteFile(root / "keys.txt", KeysTxt());
  WriteFile(root / "HTML" / "Vandrel.htm", HelpPage(roster));
  // Last, so that a finished Game.xml means a finished folder.
  WriteFile(root / "Game.xml", GameXml(roster, stages, sheet.glyphs));
  return 0;
}

int ContactSheets(const fs::path& dir) {
  const auto roster = Roster();
  for (const Character& c : roster)
    WriteFile(dir / (c.fighter.path + ".png"), EncodePng(ContactSheet(c, roster)));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && std::string(argv[1]) == "--contact-sheets") return ContactSheets(argv[2]);
    if (argc == 2 && argv[1][0] != '-') return Generate(argv[1]);
    std::cerr << "usage: vdx_democontent OUTPUT_DIR | --contact-sheets DIR\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "vdx_democontent: " << e.what() << "\n";
    return 1;
  }
}
