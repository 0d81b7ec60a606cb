// Names that one content file gives and another must have: a story ladder's
// fighter, its opponents and their stages, and a computer profile's character
// and its moves, are names of Game.xml; and each character of Game.xml has a
// profile. A name that matches nothing would leave a ladder that cannot be
// climbed, or a computer that never uses its profile; a character without one
// is played by the computer without its habits.
#pragma once

#include "content/content.h"
#include "content/load_report.h"

namespace vdx {

// Adds every story and profile name that matches no character or stage, and
// every character without a profile, to `report.unknownNames`.
void FindUnknownNames(const Content& content, LoadReport& report);

}  // namespace vdx
