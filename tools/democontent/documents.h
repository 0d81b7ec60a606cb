// The text files of the demo folder: Game.xml, ai.xml, story.xml, keys.txt and
// the help page.
#pragma once

#include <string>
#include <vector>

#include "moves.h"
#include "roster.h"
#include "screens.h"
#include "stages.h"

namespace democontent {

// Event movie files, as the round flow builds their names.
inline constexpr const char* kWinRoundMovie = "winround.avi";
inline constexpr const char* kLoseRoundMovie = "loseround.avi";
inline constexpr const char* kWinGameMovie = "wingame.avi";
inline constexpr const char* kLoseGameMovie = "losegame.avi";

struct StoryRung {
  std::string opponent, stage, beforeFile;
};
struct StorySpec {
  std::string character, winFile;
  std::vector<StoryRung> rungs;
};
std::vector<StorySpec> Stories(const std::vector<Character>& roster,
                               const std::vector<StageSpec>& stages);

std::string GameXml(const std::vector<Character>& roster, const std::vector<StageSpec>& stages,
                    const std::vector<Glyph>& glyphs);
std::string AiXml(const std::vector<Character>& roster);
std::string StoryXml(const std::vector<StorySpec>& stories);
std::string KeysTxt();
std::string HelpPage(const std::vector<Character>& roster);

}  // namespace democontent
