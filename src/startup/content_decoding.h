// The content check's second look: every needed file that is there is opened
// with the reader the game will use, so that a file the game would pass over
// in silence (a bitmap cut short, a sound that is not a sound, a movie that
// does not decode) is reported before a player meets it.
#pragma once

#include "content/content.h"
#include "content/load_report.h"
#include "content/paths.h"
#include "content/settings.h"
#include "platform/platform.h"

namespace vdx {

// Adds the needed files that exist but cannot be used to `report.broken`, each
// path once with all that need it. Sounds and music are read by `audio`'s
// mixer, which must be open (the headless platform's reads them as the real
// one does).
void FindBrokenFiles(const PathResolver& paths, const Settings& settings, const Content& content,
                     platform::Platform& audio, LoadReport& report);

}  // namespace vdx
