// The demo's movies: the title, the round and match event movies of each
// fighter, and the story scenes.
#pragma once

#include <string>
#include <vector>

#include "raster.h"
#include "roster.h"

namespace democontent {

inline constexpr int kMovieFps = 10;

std::vector<Image> TitleMovie(const Font& font, const std::vector<Character>& roster);
// caption: "ROUND WON", "VICTORY", ...; `good` picks warm or cold colours.
std::vector<Image> EventMovie(const Font& font, const Character& c, const std::string& caption,
                              bool good);
std::vector<Image> VersusMovie(const Font& font, const Character& a, const Character& b, int rung);
std::vector<Image> EndingMovie(const Font& font, const Character& c);

}  // namespace democontent
