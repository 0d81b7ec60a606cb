// Names that one content file gives and another must have: a story ladder's
// fighter, its opponents and their stages, and a computer profile's character
// and its moves, are names of Game.xml. A name that matches nothing would leave
// a ladder that cannot be climbed, or a computer that never uses its profile.
#pragma once

#include "content/content.h"
#include "content/load_report.h"

namespace vdx {

// Adds every story and profile name that matches no character or stage to `report.unknownNames`.
void FindUnknownNames(const Content& content, LoadReport& report);

}  // namespace vdx
