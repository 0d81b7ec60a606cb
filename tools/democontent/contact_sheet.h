// A picture of every frame of every action of a fighter, for looking at.
#pragma once

#include "raster.h"
#include "roster.h"

namespace democontent {

Image ContactSheet(const Character& character, const std::vector<Character>& roster);

}  // namespace democontent
