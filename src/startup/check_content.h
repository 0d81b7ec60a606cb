// `vdx --check-content`: reads a game folder as the game would and reports.
#pragma once

#include <ostream>

#include "core/player_folders.h"

namespace vdx {

// Returns 0 when nothing was skipped and every needed file is there and
// decodes, else 1. Reads the player's Game.xml in place of the game folder's
// when the game would (and the text report says so).
// `json`: the same report as JSON (content/content_report_json.h has its shape).
int RunContentCheck(const PlayerFolders& folders, std::ostream& out, bool json = false);

}  // namespace vdx
