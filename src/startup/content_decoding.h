// The content check's second look: every needed file that is there is opened
// with the reader the game will use, so that a file the game would pass over
// in silence (a bitmap cut short, a movie that does not decode) is reported
// before a player meets it.
#pragma once

#include "content/content.h"
#include "content/load_report.h"
#include "content/paths.h"
#include "content/settings.h"

namespace vdx {

// Adds the needed pictures and movies that exist but do not decode to
// `report.broken`, each path once with all that need it.
void FindBrokenFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                     LoadReport& report);

}  // namespace vdx
