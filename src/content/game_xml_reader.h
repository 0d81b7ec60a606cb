// Reads Game.xml: the settings, both key bindings, the text styles, the screens'
// pictures, the characters with their actions and effects, the stages with their
// scenery, the events, the menu items and the glyph table.
#pragma once

#include <string_view>

#include "content/content.h"
#include "content/load_report.h"
#include "content/settings.h"

namespace vdx {

// Reads the document text into the settings and collections. Never fails: every
// step that cannot be done is skipped and written down in `report`.
// False when the text is not well-formed XML, so nothing could be read.
bool ReadGameXml(std::string_view xml, Settings& settings, Content& content, LoadReport& report);

}  // namespace vdx
