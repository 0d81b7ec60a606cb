// The content collections, filled once at start-up from the three XML files.
#pragma once

#include "content/collection.h"
#include "content/records.h"

namespace vdx {

struct Content {
  Collection<cCharacter> Characters;  // key: Name
  Collection<cStage> Stages;          // key: Name
  Collection<cEvent> Events;          // key: EventType
  Collection<cMenu> MenuItems;        // no key, document order
  Collection<cRect> FontChars;        // key: the glyph's character code in decimal
  Collection<cAI> AIProfiles;         // key: character name
  Collection<cStory> Stories;         // key: character name
};

}  // namespace vdx
