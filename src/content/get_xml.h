// Reads the three content files of the game folder, Game.xml, ai.xml and
// story.xml, in that order. A missing or unreadable file leaves what it would
// have filled empty, zero or false.
#pragma once

#include "content/content.h"
#include "content/load_report.h"
#include "content/paths.h"
#include "content/settings.h"

namespace vdx {

// Returns false when Game.xml is missing, cannot be read or is not well-formed
// XML (the report's one step for Game.xml says which): nothing can be played
// then. ai.xml and story.xml are read either way; the game plays without them.
bool GetXML(const PathResolver& paths, Settings& settings, Content& content, LoadReport& report);

}  // namespace vdx
