// The front end's pictures: backgrounds, the menu strips, the font sheet with
// its glyph table, the random-pick tile and the stage portraits.
#pragma once

#include <string>
#include <vector>

#include "raster.h"
#include "roster.h"
#include "stages.h"

namespace democontent {

struct MenuEntry {
  std::string label;  // drawn in the strip
  int type = 0;       // what choosing it does
};

// One player, two players, story, exit (types 1, 2, 4, 3).
std::vector<MenuEntry> MenuEntries();

struct Glyph {
  int id = 0;  // character code
  int x = 0, y = 0, width = 0, height = 0;
};

struct FontSheet {
  Image image;  // 512 x 512
  std::vector<Glyph> glyphs;
};

FontSheet MakeFontSheet(const Font& font);
Image MakeMenuStrips(const Font& font);  // text.bmp
Image MakeMenuBackground(const Font& font, const std::vector<Character>& roster);
Image MakeSelectBackground(const Font& font);
Image MakeStageSelectBackground(const Font& font);
Image MakeSplash(const Font& font, const std::vector<Character>& roster);
// The picture behind the settings launcher's form: the title at the top, room
// for the menu on the left and the panel on the right.
Image MakeLauncherBackground(const Font& font);
// The "Random" entry's tile, laid out like the portraits.
Image MakeRandomTile(const Font& font);
Image MakeStagePortrait(const Image& stageBackground, int width, int height);
// A frame of the title movie (t from 0 to 1), 320 x 240.
Image MakeTitleFrame(const Font& font, const std::vector<Character>& roster, double t);

}  // namespace democontent
